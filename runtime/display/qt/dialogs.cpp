#include "runtime/display/qt/dialogs.h"

#include <QAction>
#include <QColorDialog>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "runtime/display/qt/control_style.h"
#include "runtime/value/text.h"

namespace rt::qt {
namespace {

QString Q(const std::string& s) { return DecodeText(s, 0); }

QMessageBox::Icon IconOf(const std::string& name) {
  if (ClipEquals(name, "Question")) return QMessageBox::Question;
  if (ClipEquals(name, "Exclamation")) return QMessageBox::Warning;
  if (ClipEquals(name, "Hand")) return QMessageBox::Critical;
  if (ClipEquals(name, "Asterisk")) return QMessageBox::Information;
  return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole RoleOf(int b) {
  switch (b) {
    case button::kYes:
      return QMessageBox::YesRole;
    case button::kNo:
      return QMessageBox::NoRole;
    case button::kCancel:
      return QMessageBox::RejectRole;
    default:
      return QMessageBox::AcceptRole;
  }
}

DialogAnswer Message(const DialogRequest& r, QWidget* owner,
                     const std::function<void(QWidget*)>& opened) {
  QMessageBox box(owner);
  box.setWindowTitle(Q(r.caption));
  QStringList lines;
  for (const std::string& line : MessageLines(r.text)) lines << Q(line);
  box.setText(lines.join('\n'));
  const QMessageBox::Icon icon = IconOf(r.icon);
  if (icon != QMessageBox::NoIcon) {
    box.setIcon(icon);
  } else if (!IsBlank(r.icon)) {
    QPixmap picture(QString::fromStdString(Clip(r.icon)));
    if (!picture.isNull()) box.setIconPixmap(picture);
  }
  std::vector<int> offered = button::ButtonsOf(r.buttons == 0 ? button::kOk : r.buttons);
  if (offered.empty()) offered.push_back(button::kOk);
  std::map<QAbstractButton*, int> numbers;
  std::map<int, QPushButton*> by_number;
  for (int b : offered) {
    const std::string_view name = button::ButtonName(b);
    QPushButton* pb = box.addButton(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), RoleOf(b));
    numbers[pb] = b;
    by_number[b] = pb;
    if (b == r.default_button) box.setDefaultButton(pb);
  }
  // Escape answers Cancel, else No, else the only button there is.
  if (by_number.count(button::kCancel)) {
    box.setEscapeButton(by_number[button::kCancel]);
  } else if (by_number.count(button::kNo)) {
    box.setEscapeButton(by_number[button::kNo]);
  } else if (offered.size() == 1) {
    box.setEscapeButton(by_number[offered[0]]);
  }
  opened(&box);
  box.exec();
  opened(nullptr);
  DialogAnswer a = NoChoice(r);
  auto it = numbers.find(box.clickedButton());
  if (it != numbers.end()) a.button = it->second;
  return a;
}

DialogAnswer Popup(const DialogRequest& r, QWidget* owner, std::optional<QPoint> at,
                   const std::function<void(QWidget*)>& opened) {
  QMenu menu(owner);
  std::map<QAction*, int> numbers;
  for (const PopupItem& item : r.items) {
    if (item.separator) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(Q(item.text));
    a->setEnabled(!item.greyed);
    numbers[a] = item.number;
  }
  QAction* chosen = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&](QAction* a) { chosen = a; });
  opened(&menu);
  menu.exec(at.value_or(QCursor::pos()));
  opened(nullptr);
  DialogAnswer answer = NoChoice(r);
  auto it = numbers.find(chosen);
  if (it != numbers.end()) answer.item = it->second;
  return answer;
}

DialogAnswer Colour(const DialogRequest& r, QWidget* owner,
                    const std::function<void(QWidget*)>& opened) {
  QColorDialog dialog(ToQColor(r.colour), owner);
  dialog.setWindowTitle(Q(r.title));
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  opened(&dialog);
  const int result = dialog.exec();
  opened(nullptr);
  DialogAnswer a = NoChoice(r);
  if (result == QDialog::Accepted) {
    a.chosen = true;
    a.colour = FromQColor(dialog.selectedColor());
  }
  return a;
}

DialogAnswer File(const DialogRequest& r, QWidget* owner,
                  const std::function<void(QWidget*)>& opened) {
  const QString start = Q(Clip(r.file));
  QFileDialog dialog(owner, Q(r.title), QFileInfo(start).path(), FileFilters(r.filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (r.flags & 0x20) {
    dialog.setFileMode(QFileDialog::Directory);
  } else if (r.flags & 0x01) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!start.isEmpty()) dialog.selectFile(start);
  opened(&dialog);
  const int result = dialog.exec();
  opened(nullptr);
  DialogAnswer a = NoChoice(r);
  if (result == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    a.chosen = true;
    a.file = dialog.selectedFiles().front().toStdString();
  }
  return a;
}

}  // namespace

QString FileFilters(std::string_view filter) {
  QStringList parts = Q(std::string(filter)).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(';', ' ');
    if (parts[i].trimmed().isEmpty() && patterns.isEmpty()) continue;
    filters << parts[i].trimmed() + " (" + patterns + ")";
  }
  return filters.join(";;");
}

DialogAnswer RunDialog(const DialogRequest& request, QWidget* owner, std::optional<QPoint> at,
                       const std::function<void(QWidget*)>& opened) {
  switch (request.kind) {
    case DialogKind::kMessage:
      return Message(request, owner, opened);
    case DialogKind::kPopup:
      return Popup(request, owner, at, opened);
    case DialogKind::kColour:
      return Colour(request, owner, opened);
    case DialogKind::kFile:
      return File(request, owner, opened);
  }
  return NoChoice(request);
}

Status AnswerDialog(QWidget* dialog, const DialogRequest& request, const DialogAnswer& answer) {
  if (dialog == nullptr) return Status::NotFound("no dialog is open");
  switch (request.kind) {
    case DialogKind::kMessage: {
      const QString name = QString::fromUtf8(button::ButtonName(answer.button).data(),
                                             button::ButtonName(answer.button).size());
      for (QAbstractButton* b : static_cast<QMessageBox*>(dialog)->buttons()) {
        if (b->text() == name) {
          b->click();
          return Status::Ok();
        }
      }
      return Status::NotFound("the message box has no button " + name.toStdString());
    }
    case DialogKind::kPopup: {
      auto* menu = static_cast<QMenu*>(dialog);
      if (answer.item == 0) {
        menu->close();
        return Status::Ok();
      }
      int number = 0;
      for (QAction* a : menu->actions()) {
        if (a->isSeparator() || ++number != answer.item) continue;
        if (!a->isEnabled()) {
          return Status::Failed("item " + std::to_string(answer.item) + " is greyed");
        }
        a->trigger();
        menu->close();
        return Status::Ok();
      }
      return Status::NotFound("the menu has no item " + std::to_string(answer.item));
    }
    case DialogKind::kColour: {
      auto* d = static_cast<QColorDialog*>(dialog);
      if (!answer.chosen) {
        d->reject();
      } else {
        d->setCurrentColor(ToQColor(answer.colour));
        d->accept();
      }
      return Status::Ok();
    }
    case DialogKind::kFile: {
      auto* d = static_cast<QFileDialog*>(dialog);
      if (!answer.chosen) {
        d->reject();
        return Status::Ok();
      }
      // Typed into the name field, as a user would (selectFile leaves a focused field alone).
      const QFileInfo info(Q(answer.file));
      d->setDirectory(info.absolutePath());
      if (auto* name = d->findChild<QLineEdit*>("fileNameEdit")) {
        name->setText(info.fileName());
      } else {
        d->selectFile(info.absoluteFilePath());
      }
      static_cast<QDialog*>(d)->accept();  // the file dialog's own check of the name
      return d->result() == QDialog::Accepted
                 ? Status::Ok()
                 : Status::Failed("the file dialog did not take " + answer.file);
    }
  }
  return Status::Failed("unknown dialog");
}

}  // namespace rt::qt
