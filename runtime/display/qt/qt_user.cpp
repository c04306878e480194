#include "runtime/display/qt/qt_user.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <thread>

#include "runtime/display/qt/control_style.h"
#include "runtime/display/qt/dialogs.h"
#include "runtime/display/qt/display_impl.h"
#include "runtime/display/qt/qt_cursors.h"
#include "runtime/event/os_window.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

const Status kNotRunning = Status::Failed("the Qt display is not running");

Status NotShown(WindowRef ref) {
  return Status::NotFound("window " + std::to_string(ref) + " is not shown");
}

// The text a key types without Ctrl or Alt, as a keyboard gives it.
QString TypedBy(int key, Qt::KeyboardModifiers mods) {
  if (mods & (Qt::ControlModifier | Qt::AltModifier)) return QString();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    const QChar c(char16_t(u'a' + (key - Qt::Key_A)));
    return mods & Qt::ShiftModifier ? QString(c.toUpper()) : QString(c);
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(mods & Qt::ShiftModifier)) {
    return QString(QChar(char16_t(u'0' + (key - Qt::Key_0))));
  }
  switch (key) {
    case Qt::Key_Space:
      return " ";
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return "\r";
    case Qt::Key_Escape:
      return "\x1b";
    case Qt::Key_Backspace:
      return "\b";
    case Qt::Key_Tab:
      return "\t";
    default:
      return QString();
  }
}

// Where keys go: Qt's focus widget when it is in a runtime window, else the client area of
// the window with the runtime's focus, else of any shown window.
QWidget* KeyTarget(QtDisplay::Impl& impl) {
  if (QWidget* f = QApplication::focusWidget(); f && impl.ViewOfWidget(f)) return f;
  if (qt::WindowView* v = impl.View(FocusedWindow()); v && v->shown()) return v->client();
  for (const auto& w : OpenWindows()) {
    if (qt::WindowView* v = impl.View(w->ref()); v && v->shown()) return v->client();
  }
  return nullptr;
}

void SendKeyEvent(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(target, &release);
}

}  // namespace

QtUser::QtUser(QtDisplay& display) : display_(display) {}

Status QtUser::OnShownWindow(WindowRef ref, const std::function<Status(qt::WindowView&)>& act) {
  Status result = kNotRunning;
  display_.impl().CallGui([&] {
    qt::WindowView* v = display_.impl().View(ref);
    result = v != nullptr && v->shown() ? act(*v) : NotShown(ref);
  });
  return result;
}

Status QtUser::Pointer(WindowRef ref, PointerAction action, MouseButton button, int x, int y) {
  const Qt::MouseButton b = button == MouseButton::kLeft ? Qt::LeftButton : Qt::RightButton;
  return OnShownWindow(ref, [&](qt::WindowView& v) {
    const QPoint at(x, y);
    QWidget* target = v.client()->rect().contains(at) ? v.client()->childAt(at) : nullptr;
    if (target == nullptr) target = v.client();
    const QPointF global = v.client()->mapToGlobal(QPointF(at));
    const QPointF local = target->mapFromGlobal(global);
    auto send = [&](QEvent::Type type, Qt::MouseButton which) {
      if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held_ |= which;
      if (type == QEvent::MouseButtonRelease) held_ &= ~which;
      QMouseEvent e(type, local, global, which, Qt::MouseButtons(held_), Qt::NoModifier);
      QApplication::sendEvent(target, &e);
    };
    switch (action) {
      case PointerAction::kMove:
        send(QEvent::MouseMove, Qt::NoButton);
        break;
      case PointerAction::kPress:
        send(QEvent::MouseButtonPress, b);
        break;
      case PointerAction::kRelease:
        send(QEvent::MouseButtonRelease, b);
        break;
      case PointerAction::kDoubleClick:
        send(QEvent::MouseButtonPress, b);
        send(QEvent::MouseButtonRelease, b);
        send(QEvent::MouseButtonDblClick, b);
        send(QEvent::MouseButtonRelease, b);
        break;
    }
    return Status::Ok();
  });
}

Status QtUser::Click(WindowRef ref, int x, int y) {
  if (Status s = Pointer(ref, PointerAction::kPress, MouseButton::kLeft, x, y); !s.ok()) return s;
  return Pointer(ref, PointerAction::kRelease, MouseButton::kLeft, x, y);
}

Status QtUser::Key(std::string_view sequence) {
  const QKeySequence seq = QKeySequence::fromString(
      QString::fromUtf8(sequence.data(), static_cast<qsizetype>(sequence.size())),
      QKeySequence::PortableText);
  if (seq.isEmpty()) return Status::InvalidArgument("not a key: " + std::string(sequence));
  const QKeyCombination combination = seq[0];
  Status result = kNotRunning;
  display_.impl().CallGui([&] {
    QWidget* target = KeyTarget(display_.impl());
    if (target == nullptr) {
      result = Status::NotFound("no window takes keys");
      return;
    }
    const int key = combination.key();
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    SendKeyEvent(target, key, mods, TypedBy(key, mods));
    result = Status::Ok();
  });
  return result;
}

Status QtUser::Type(std::string_view text) {
  const QString chars = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  Status result = kNotRunning;
  display_.impl().CallGui([&] {
    QWidget* target = KeyTarget(display_.impl());
    if (target == nullptr) {
      result = Status::NotFound("no window takes keys");
      return;
    }
    for (const QChar c : chars) {
      int key = 0;
      Qt::KeyboardModifiers mods;
      if (c >= u'a' && c <= u'z') key = Qt::Key_A + (c.unicode() - u'a');
      if (c >= u'A' && c <= u'Z') key = Qt::Key_A + (c.unicode() - u'A'), mods = Qt::ShiftModifier;
      if (c >= u'0' && c <= u'9') key = Qt::Key_0 + (c.unicode() - u'0');
      if (c == u' ') key = Qt::Key_Space;
      SendKeyEvent(target, key, mods, QString(c));
    }
    result = Status::Ok();
  });
  return result;
}

Status QtUser::Activate(WindowRef ref) {
  return OnShownWindow(ref, [&](qt::WindowView& v) {
    v.outer()->window()->activateWindow();
    display_.impl().Activated(ref);
    return Status::Ok();
  });
}

Status QtUser::LeaveApplication() {
  return display_.impl().CallGui([&] { display_.impl().ApplicationDeactivated(); }) ? Status::Ok()
                                                                                    : kNotRunning;
}

Status QtUser::ChooseMenuItem(WindowRef ref, int feq) {
  Status result = kNotRunning;
  display_.impl().CallGui([&] {
    qt::WindowView* v = display_.impl().View(ref);
    if (v == nullptr || v->menu_bar() == nullptr) {
      result = Status::NotFound("window " + std::to_string(ref) + " has no menu bar");
      return;
    }
    for (QAction* a : v->menu_bar()->findChildren<QAction*>()) {
      if (a->data().isValid() && a->data().toInt() == feq && !a->menu()) {
        if (!a->isEnabled()) {
          result = Status::Failed("menu item " + std::to_string(feq) + " is disabled");
          return;
        }
        a->trigger();
        result = Status::Ok();
        return;
      }
    }
    result = Status::NotFound("no menu item " + std::to_string(feq));
  });
  return result;
}

Status QtUser::ResizeClient(WindowRef ref, int width, int height) {
  return OnShownWindow(ref, [&](qt::WindowView& v) {
    const QSize delta = QSize(width, height) - v.client()->size();
    v.outer()->resize(v.outer()->size() + delta);
    return Status::Ok();
  });
}

Status QtUser::WaitForDialog(std::chrono::milliseconds timeout, DialogRequest* request) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    bool found = false;
    if (!display_.impl().CallGui([&] {
          const DialogRequest* r = display_.impl().open_request();
          QWidget* d = display_.impl().open_dialog();
          if (r != nullptr && d != nullptr && d->isVisible()) {
            *request = *r;
            found = true;
          }
        })) {
      return kNotRunning;
    }
    if (found) return Status::Ok();
    if (std::chrono::steady_clock::now() >= deadline) return Status::Failed("no dialog was shown");
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

Status QtUser::Answer(const DialogAnswer& answer) {
  Status result = kNotRunning;
  display_.impl().CallGui([&] {
    const DialogRequest* r = display_.impl().open_request();
    if (r == nullptr) {
      result = Status::NotFound("no dialog is open");
      return;
    }
    result = qt::AnswerDialog(display_.impl().open_dialog(), *r, answer);
  });
  return result;
}

void QtUser::DismissDialogs() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    bool open = false;
    if (!display_.impl().CallGui([&] {
          QWidget* d = display_.impl().open_dialog();
          if (d == nullptr) return;
          open = true;
          if (auto* dialog = qobject_cast<QDialog*>(d)) {
            dialog->done(QDialog::Rejected);
          } else {
            d->close();
          }
        })) {
      return;
    }
    if (!open) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string QtUser::CursorAt(WindowRef ref, int x, int y) {
  std::string name;
  display_.impl().CallGui([&] {
    if (const QCursor* c = QGuiApplication::overrideCursor()) {
      name = qt::CursorNameOf(*c);
      return;
    }
    qt::WindowView* v = display_.impl().View(ref);
    if (v == nullptr) return;
    QWidget* w = v->client()->childAt(QPoint(x, y));
    if (w == nullptr) w = v->client();
    for (; w != nullptr; w = w->parentWidget()) {
      if (w->testAttribute(Qt::WA_SetCursor)) {
        name = qt::CursorNameOf(w->cursor());
        return;
      }
      if (w == v->client()) break;
    }
    name = "Arrow";
  });
  return name;
}

std::string QtUser::StatusText(WindowRef ref) {
  std::string text;
  display_.impl().CallGui([&] {
    if (qt::WindowView* v = display_.impl().View(ref)) text = v->status_text().toStdString();
  });
  return text;
}

int64_t QtUser::ClientPaints(WindowRef ref) {
  // Qt paints on its own schedule: wait until the count has stayed the same for a while.
  int64_t count = display_.impl().ClientPaints(ref);
  auto quiet_since = std::chrono::steady_clock::now();
  const auto deadline = quiet_since + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!display_.impl().CallGui([] {
          QEventLoop wait;
          QTimer::singleShot(30, &wait, &QEventLoop::quit);
          wait.exec();
        })) {
      break;
    }
    const int64_t now = display_.impl().ClientPaints(ref);
    if (now != count) {
      count = now;
      quiet_since = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - quiet_since > std::chrono::milliseconds(150)) {
      break;
    }
  }
  return count;
}

std::pair<std::string, std::string> QtUser::DrawnFace(const std::string& face) {
  std::pair<std::string, std::string> drawn;
  display_.impl().CallGui([&] {
    qt::Properties props;
    props[{prop::kFontFace, 0}] = Value(face);
    const QFontInfo info(qt::FontOf(&props, qt::Properties()));
    QString family = info.family();
    if (const qsizetype bracket = family.indexOf(" ["); bracket >= 0) family = family.left(bracket);
    drawn = {family.toStdString(), info.styleName().toStdString()};
  });
  return drawn;
}

}  // namespace rt
