#include "runtime/display/qt/control_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSpinBox>
#include <QTextOption>
#include <algorithm>

#include "runtime/display/qt/qt_cursors.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

// Shown as the base of an empty control the user must fill in (Required), unless the control
// has a background colour of its own.
const QColor kRequiredBase(0xFF, 0xFF, 0xE0);

QString ContentsText(const ControlState& c, int64_t charset) {
  const Value* v = Find(c.properties, prop::kContents);
  return v ? DecodeText(Clip(v->AsText()), charset) : QString();
}

std::optional<double> Bound(const Properties& p, int code) {
  const Value* v = Find(p, code);
  if (v == nullptr || (v->is_text() && IsBlank(v->AsText()))) return std::nullopt;
  return v->AsNumber();
}

QIcon IconOf(const Properties& p) {
  const QString file = QString::fromStdString(Clip(Text(p, prop::kIcon)));
  if (file.isEmpty() || !QFile::exists(file)) return QIcon();
  return QIcon(file);
}

QWidget* CreateWidget(ControlType type, QWidget* client) {
  switch (type) {
    case ControlType::kEntry:
      return new QLineEdit(client);
    case ControlType::kButton:
      return new QPushButton(client);
    case ControlType::kCheck:
      return new QCheckBox(client);
    case ControlType::kRadio: {
      auto* radio = new QRadioButton(client);
      radio->setAutoExclusive(false);  // the option group's value decides
      return radio;
    }
    case ControlType::kOption:
    case ControlType::kGroup:
      return new GroupView(client);
    case ControlType::kList:
      return new ListView(client);
    case ControlType::kCombo:
    case ControlType::kDropCombo: {
      auto* combo = new QComboBox(client);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      return combo;
    }
    case ControlType::kDropList:
      return new QComboBox(client);
    case ControlType::kSpin:
      return new SpinView(client);
    case ControlType::kText:
    case ControlType::kRtfText:
      return new QPlainTextEdit(client);
    case ControlType::kSheet:
      return new SheetWidget(client);
    default:
      return HasWidget(type) ? new PaintedWidget(client) : nullptr;
  }
}

}  // namespace

bool HasWidget(ControlType type) {
  switch (type) {
    case ControlType::kWindow:
    case ControlType::kTab:
    case ControlType::kMenu:
    case ControlType::kItem:
      return false;
    default:
      return true;
  }
}

SpinView::SpinView(QWidget* parent) : QAbstractSpinBox(parent) {}

void SpinView::SetRange(std::optional<double> low, std::optional<double> high, double value) {
  if (low == low_ && high == high_ && value == value_) return;
  low_ = low;
  high_ = high;
  value_ = value;
  update();
}

void SpinView::SetText(const QString& text) {
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

QAbstractSpinBox::StepEnabled SpinView::stepEnabled() const {
  StepEnabled e = StepNone;
  if (!high_ || value_ < *high_) e |= StepUpEnabled;
  if (!low_ || value_ > *low_) e |= StepDownEnabled;
  return e;
}

int SpinView::ArrowAt(const QPoint& point) const {
  QStyleOptionSpinBox option;
  initStyleOption(&option);
  const QStyle::SubControl part =
      style()->hitTestComplexControl(QStyle::CC_SpinBox, &option, point, this);
  if (part == QStyle::SC_SpinBoxUp) return 1;
  if (part == QStyle::SC_SpinBoxDown) return -1;
  return 0;
}

GroupView::GroupView(QWidget* parent) : QGroupBox(parent) {}

void GroupView::SetBevel(const Bevel& bevel) {
  if (bevel == bevel_) return;
  bevel_ = bevel;
  update();
}

void GroupView::paintEvent(QPaintEvent* event) {
  QGroupBox::paintEvent(event);
  if (bevel_.outer == 0 && bevel_.inner == 0) return;
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  QRect r =
      style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
  if (!title().isEmpty()) {
    const QRect caption =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    r.setTop(std::max(r.top(), caption.bottom() + 1));
  }
  QPainter p(this);
  PaintBevel(p, r, bevel_, palette());
}

ControlView::ControlView(const ControlState& c, QWidget* client, RowChosen row_chosen)
    : type_(c.type), feq_(c.feq), widget_(CreateWidget(c.type, client)) {
  if (!widget_) return;
  widget_->setFocusPolicy(Qt::NoFocus);
  widget_->setMouseTracking(true);
  for (QWidget* child : widget_->findChildren<QWidget*>()) {
    child->setFocusPolicy(Qt::NoFocus);
    child->setMouseTracking(true);
  }
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    // Choosing in the drop-down list is the one thing the list does by itself; the choice
    // goes to the model through the owner.
    const int feq = feq_;
    QObject::connect(combo, &QComboBox::activated, combo,
                     [feq, row_chosen](int index) { row_chosen(feq, index + 1); });
  }
}

ControlView::~ControlView() { delete widget_.data(); }

SheetWidget* ControlView::sheet() const { return dynamic_cast<SheetWidget*>(widget_.data()); }
SpinView* ControlView::spin() const { return dynamic_cast<SpinView*>(widget_.data()); }
QComboBox* ControlView::drop_down() const { return qobject_cast<QComboBox*>(widget_.data()); }
ListView* ControlView::list() const { return dynamic_cast<ListView*>(widget_.data()); }

std::vector<std::vector<QString>> RowsOf(const ControlState& c, const ControlContext& ctx,
                                         int columns) {
  std::vector<std::vector<QString>> rows;
  const int64_t charset = CharsetOf(&c.properties, ctx.window.properties);
  std::shared_ptr<ListSource> source = ctx.model ? ctx.model->GetListSource(c.feq) : nullptr;
  if (source) {
    const int count = source->RowCount();
    rows.reserve(static_cast<size_t>(std::max(0, count)));
    for (int r = 1; r <= count; ++r) {
      std::vector<QString> row;
      for (int col = 0; col < columns; ++col) {
        row.push_back(DecodeText(Clip(source->Cell(r, col)), charset));
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }
  const std::string items = Text(c.properties, prop::kChoiceList);
  if (items.empty()) return rows;
  size_t start = 0;
  while (true) {
    const size_t bar = items.find('|', start);
    rows.push_back({DecodeText(items.substr(start, bar - start), charset)});
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return rows;
}

void ControlView::Apply(const ControlState& c, const ControlContext& ctx) {
  if (!widget_) return;
  ApplyCommon(c, ctx);
  ApplyKind(c, ctx);
  widget_->setVisible(c.visible);
}

void ControlView::ApplyCommon(const ControlState& c, const ControlContext& ctx) {
  const Properties& p = c.properties;
  QWidget* w = widget_;
  Rect r = c.rect;
  if (r.width < 0) r.x += r.width, r.width = -r.width;
  if (r.height < 0) r.y += r.height, r.height = -r.height;
  if (type_ == ControlType::kLine) {
    // A straight line still needs a pixel of width or height to be drawn.
    r.width = std::max<int64_t>(r.width, 1);
    r.height = std::max<int64_t>(r.height, 1);
  }
  const QRect geometry(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.width),
                       static_cast<int>(r.height));
  if (w->geometry() != geometry) w->setGeometry(geometry);

  const QFont font = FontOf(&p, ctx.window.properties);
  if (w->font() != font) w->setFont(font);

  QPalette pal = QApplication::palette(w);
  const bool transparent = Flag(p, prop::kTransparent);
  if (std::optional<QColor> text = Colour(p, prop::kFontColour)) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      pal.setColor(QPalette::Active, role, *text);
      pal.setColor(QPalette::Inactive, role, *text);
    }
  }
  const std::optional<QColor> background = Colour(p, prop::kBackgroundColour);
  if (transparent) {
    pal.setColor(QPalette::Base, Qt::transparent);
  } else if (background) {
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
      pal.setColor(role, *background);
    }
  } else if (Flag(p, prop::kRequired) && IsTextInput(type_) &&
             IsBlank(Find(p, prop::kContents) ? Find(p, prop::kContents)->AsText() : "")) {
    pal.setColor(QPalette::Base, kRequiredBase);
  }
  if (std::optional<QColor> sel = Colour(p, prop::kSelectedTextColour)) {
    pal.setColor(QPalette::HighlightedText, *sel);
  }
  if (std::optional<QColor> sel = Colour(p, prop::kSelectedFillColour)) {
    pal.setColor(QPalette::Highlight, *sel);
  }
  w->setPalette(pal);
  const bool fills = background.has_value() && !transparent &&
                     (type_ == ControlType::kCheck || type_ == ControlType::kRadio ||
                      type_ == ControlType::kOption || type_ == ControlType::kGroup);
  if (w->autoFillBackground() != fills) w->setAutoFillBackground(fills);

  if (w->isEnabled() != ctx.enabled) w->setEnabled(ctx.enabled);
  const int64_t charset = CharsetOf(&p, ctx.window.properties);
  const QString tip = DecodeText(Text(p, prop::kTip), charset);
  if (w->toolTip() != tip) w->setToolTip(tip);
  const QString help = DecodeText(Clip(Text(p, prop::kHelpId)), charset);
  if (w->whatsThis() != help) w->setWhatsThis(help);
  if (std::optional<QCursor> cursor = CursorOf(Text(p, prop::kCursor))) {
    w->setCursor(*cursor);
  } else if (w->testAttribute(Qt::WA_SetCursor)) {
    w->unsetCursor();
  }
  const Qt::LayoutDirection direction =
      Int(p, prop::kLayout) == 1 ? Qt::RightToLeft : Qt::LeftToRight;
  if (w->layoutDirection() != direction) w->setLayoutDirection(direction);
}

void ControlView::ApplyKind(const ControlState& c, const ControlContext& ctx) {
  const Properties& p = c.properties;
  const int64_t charset = CharsetOf(&p, ctx.window.properties);
  const QString text = DecodeText(Text(p, prop::kText), charset);
  const FontMetrics& m = ctx.window.metrics;
  switch (type_) {
    case ControlType::kEntry: {
      auto* e = static_cast<QLineEdit*>(widget_.data());
      const QString shown = CaseFolded(ContentsText(c, charset), p);
      if (e->text() != shown) e->setText(shown);
      e->setEchoMode(Flag(p, prop::kPasswordEntry) ? QLineEdit::Password : QLineEdit::Normal);
      e->setReadOnly(Flag(p, prop::kReadOnly));
      const Justification j = JustificationOf(p, m);
      e->setAlignment(j.align | Qt::AlignVCenter);
      e->setTextMargins(j.align & Qt::AlignRight ? 0 : j.indent, 0,
                        j.align & Qt::AlignRight ? j.indent : 0, 0);
      break;
    }
    case ControlType::kButton: {
      auto* b = static_cast<QPushButton*>(widget_.data());
      if (b->text() != text) {
        b->setText(text);
        b->setShortcut(QKeySequence());  // keys reach the runtime, not the button
      }
      b->setFlat(Flag(p, prop::kFlat));
      b->setIcon(IconOf(p));
      break;
    }
    case ControlType::kCheck:
    case ControlType::kRadio: {
      auto* b = static_cast<QAbstractButton*>(widget_.data());
      if (b->text() != text) {
        b->setText(text);
        b->setShortcut(QKeySequence());
      }
      b->setIcon(IconOf(p));
      bool on;
      if (type_ == ControlType::kCheck) {
        const Value* t = Find(p, prop::kValue);
        const std::string true_value = t && !t->AsText().empty() ? t->AsText() : "1";
        const Value* contents = Find(p, prop::kContents);
        on = contents && ClipEquals(contents->AsText(), true_value);
      } else {
        const Value* v = Find(p, prop::kValue);
        const std::string value = v && !v->AsText().empty() ? v->AsText() : Text(p, prop::kText);
        const Value* chosen = ctx.parent ? Find(ctx.parent->properties, prop::kContents) : nullptr;
        on = chosen && !IsBlank(value) && ClipEquals(chosen->AsText(), value);
      }
      if (b->isChecked() != on) b->setChecked(on);
      // Right justification puts the box on the right of its text.
      if (Flag(p, prop::kRightJustify)) b->setLayoutDirection(Qt::RightToLeft);
      break;
    }
    case ControlType::kOption:
    case ControlType::kGroup: {
      auto* g = static_cast<GroupView*>(widget_.data());
      if (g->title() != text) g->setTitle(text);
      g->setFlat(!Flag(p, prop::kBoxed) && type_ == ControlType::kOption);
      g->SetBevel(BevelOf(p));
      break;
    }
    case ControlType::kList: {
      ListState s;
      ParseListFormat(Text(p, prop::kListFormat), &s.columns);
      s.rows = RowsOf(c, ctx, std::max<int>(1, static_cast<int>(s.columns.size())));
      s.selected = static_cast<int>(Int(p, prop::kSelectedRow));
      s.metrics = m;
      s.vscroll = Flag(p, prop::kVScroll);
      s.hscroll = !IsBlank(Text(p, prop::kHScroll)) && Int(p, prop::kHScroll) != 0;
      s.text = Colour(p, prop::kFontColour);
      s.background = Colour(p, prop::kBackgroundColour);
      s.selected_text = Colour(p, prop::kSelectedTextColour);
      s.selected_fill = Colour(p, prop::kSelectedFillColour);
      s.grid = Colour(p, prop::kGridColour);
      list()->SetState(std::move(s));
      break;
    }
    case ControlType::kCombo:
    case ControlType::kDropCombo:
    case ControlType::kDropList: {
      QComboBox* combo = drop_down();
      QStringList items;
      for (const auto& row : RowsOf(c, ctx, 1)) items << (row.empty() ? QString() : row[0]);
      QStringList current;
      for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
      if (items != current) {
        combo->clear();
        combo->addItems(items);
      }
      const int drop = static_cast<int>(Int(p, prop::kDropCount));
      if (drop > 0) combo->setMaxVisibleItems(drop);
      if (type_ == ControlType::kDropList) {
        const int index = static_cast<int>(Int(p, prop::kSelectedRow)) - 1;
        if (combo->currentIndex() != index) combo->setCurrentIndex(index);
      } else {
        const QString shown = CaseFolded(ContentsText(c, charset), p);
        if (combo->currentText() != shown) combo->setEditText(shown);
      }
      break;
    }
    case ControlType::kSpin: {
      auto* s = spin();
      const QString shown = ContentsText(c, charset);
      s->SetText(shown);
      const Value* contents = Find(p, prop::kContents);
      s->SetRange(Bound(p, prop::kRangeLow), Bound(p, prop::kRangeHigh),
                  contents ? contents->AsNumber() : 0);
      s->setReadOnly(Flag(p, prop::kReadOnly));
      s->setAlignment(JustificationOf(p, m).align | Qt::AlignVCenter);
      break;
    }
    case ControlType::kText:
    case ControlType::kRtfText: {
      auto* t = static_cast<QPlainTextEdit*>(widget_.data());
      const Value* v = Find(p, prop::kContents);
      const QString shown = CaseFolded(v ? DecodeText(Clip(v->AsText()), charset) : QString(), p);
      if (t->toPlainText() != shown) t->setPlainText(shown);
      t->setReadOnly(Flag(p, prop::kReadOnly));
      const bool single = Flag(p, prop::kSingleLine);
      t->setLineWrapMode(single ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      t->setVerticalScrollBarPolicy(Flag(p, prop::kVScroll) && !single ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAlwaysOff);
      t->setHorizontalScrollBarPolicy(!IsBlank(Text(p, prop::kHScroll)) &&
                                              Int(p, prop::kHScroll) != 0
                                          ? Qt::ScrollBarAlwaysOn
                                          : Qt::ScrollBarAlwaysOff);
      t->setFrameShape(Flag(p, prop::kBoxed) ? QFrame::Box : QFrame::StyledPanel);
      const bool overwrite = Flag(p, prop::kOverwriteMode);
      t->setOverwriteMode(overwrite);
      t->setCursorWidth(overwrite ? std::max(1, m.char_width) : 1);
      QTextOption option = t->document()->defaultTextOption();
      const Qt::Alignment align = JustificationOf(p, m).align;
      if (option.alignment() != align) {
        option.setAlignment(align);
        t->document()->setDefaultTextOption(option);
      }
      break;
    }
    case ControlType::kSheet: {
      std::vector<QString> tabs;
      for (const ControlState* child : ctx.children) {
        if (child->type == ControlType::kTab) {
          tabs.push_back(DecodeText(Text(child->properties, prop::kText),
                                    CharsetOf(&child->properties, ctx.window.properties)));
        }
      }
      sheet()->SetTabs(tabs, static_cast<int>(std::max<int64_t>(1, Int(p, prop::kContents))));
      break;
    }
    default: {
      PaintedState s;
      s.type = type_;
      s.props = p;
      s.metrics = m;
      s.enabled = ctx.enabled;
      s.rising = (c.rect.width < 0) != (c.rect.height < 0);
      const bool shows_contents = type_ == ControlType::kStringPicture ||
                                  (type_ == ControlType::kString && Find(p, prop::kContents));
      s.text = shows_contents ? ContentsText(c, charset) : text;
      if (type_ == ControlType::kString || type_ == ControlType::kStringPicture) {
        s.text = CaseFolded(s.text, p);
      }
      static_cast<PaintedWidget*>(widget_.data())->SetState(std::move(s));
      break;
    }
  }
}

}  // namespace rt::qt
