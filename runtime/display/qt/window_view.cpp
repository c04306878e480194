#include "runtime/display/qt/window_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <set>

#include "runtime/display/qt/qt_cursors.h"
#include "runtime/value/text.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/std_actions.h"

namespace rt::qt {
namespace {

// The icon of a window without an icon file of its own: a small framed window.
QIcon PlainWindowIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.fillRect(QRect(1, 2, 14, 12), QColor(0xF0, 0xF0, 0xF0));
  p.fillRect(QRect(1, 2, 14, 3), QColor(0x30, 0x60, 0xB0));
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.drawRect(QRect(1, 2, 13, 11));
  return QIcon(pixmap);
}

bool IsMenuEntry(ControlType t) { return t == ControlType::kMenu || t == ControlType::kItem; }

// Parents before what they hold, otherwise by field equate: the stacking order of widgets
// (later is above), so a container never hides its controls.
std::vector<int> StackingOrder(const WindowState& s) {
  std::map<int, const ControlState*> by_feq;
  for (const ControlState& c : s.controls) by_feq[c.feq] = &c;
  std::vector<int> order;
  std::set<int> placed;
  std::function<void(int, int)> place = [&](int feq, int depth) {
    if (placed.count(feq) || depth > 64) return;
    const ControlState* c = by_feq[feq];
    if (c->parent != 0 && by_feq.count(c->parent)) place(c->parent, depth + 1);
    placed.insert(feq);
    order.push_back(feq);
  };
  for (const auto& [feq, c] : by_feq) place(feq, 0);
  return order;
}

std::string MenuSignature(const WindowState& s) {
  std::string sig;
  for (const ControlState& c : s.controls) {
    if (!IsMenuEntry(c.type)) continue;
    const Properties& p = c.properties;
    sig += std::to_string(c.feq) + ":" + std::to_string(c.parent) + ":" +
           std::to_string(static_cast<int>(c.type)) + ":" + Text(p, prop::kText) + ":" +
           std::to_string(Int(p, prop::kMenuPosition)) + ":" +
           std::to_string(Int(p, prop::kDisabled)) + ":" + std::to_string(Int(p, prop::kHidden)) +
           ":" + std::to_string(Int(p, prop::kSeparator)) + ":" + Text(p, prop::kStatusMessage) +
           "\n";
  }
  return sig;
}

}  // namespace

WindowView::WindowView(WindowRef ref, ViewHost& host) : ref_(ref), host_(host) {
  shell_ = new QWidget(nullptr, Qt::Window);
  outer_ = shell_;
  shell_->setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(shell_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  client_ = new ClientArea(shell_);
  client_->setMinimumSize(0, 0);
  layout->addWidget(client_, 1);
  shell_->installEventFilter(this);
  client_->installEventFilter(this);
  client_->SetPaintedCallback([this] { host_.ClientPainted(ref_); });
  // Lets input and the frame find the window a widget belongs to.
  shell_->setProperty("twiqrt_window", QVariant::fromValue<qlonglong>(ref_));
}

WindowView::~WindowView() {
  controls_.clear();
  shell_->removeEventFilter(this);
  client_->removeEventFilter(this);
  if (sub_) {
    sub_->removeEventFilter(this);
    sub_->setWidget(nullptr);
    delete sub_.data();
  }
  outer_ = nullptr;
  delete shell_.data();
}

QWidget* WindowView::outer() const { return outer_; }

void WindowView::SetStatusText(const QString& text) {
  if (status_ != nullptr && status_->currentMessage() != text) status_->showMessage(text);
}

QString WindowView::status_text() const {
  return status_ != nullptr ? status_->currentMessage() : QString();
}

ControlView* WindowView::Control(int feq) const {
  auto it = controls_.find(feq);
  return it == controls_.end() ? nullptr : it->second.get();
}

ControlView* WindowView::ControlOf(const QWidget* w) const {
  for (; w != nullptr && w != client_; w = w->parentWidget()) {
    for (const auto& [feq, view] : controls_) {
      if (view->widget() == w) return view.get();
    }
    if (w->isWindow()) break;
  }
  return nullptr;
}

void WindowView::ApplyFrame(const WindowState& s) {
  const Properties& p = s.properties;
  const int64_t charset = Int(p, prop::kFontCharset);
  const QString title = DecodeText(Text(p, prop::kText), charset);
  if (shell_->windowTitle() != title) shell_->setWindowTitle(title);
  if (sub_ && sub_->windowTitle() != title) sub_->setWindowTitle(title);
  // The window's icon file, else the style's plain window glyph (not the toolkit's logo).
  const QString icon_file = QString::fromStdString(Clip(Text(p, prop::kIcon)));
  const std::string icon_key = icon_file.toStdString() + (sub_ ? "|sub" : "|top");
  if (icon_key != icon_key_) {
    icon_key_ = icon_key;
    const QIcon icon =
        !icon_file.isEmpty() && QFile::exists(icon_file) ? QIcon(icon_file) : PlainWindowIcon();
    shell_->setWindowIcon(icon);
    if (sub_) sub_->setWindowIcon(icon);
  }
  client_->SetWindowProperties(p);
  client_->setFont(FontOf(nullptr, p));
  client_->setEnabled(!Flag(p, prop::kDisabled));
  if (std::optional<QCursor> cursor = CursorOf(Text(p, prop::kCursor))) {
    client_->setCursor(*cursor);
  } else {
    client_->unsetCursor();
  }

  if (Flag(p, prop::kMdiFrame) && mdi_ == nullptr) {
    mdi_ = new QMdiArea(client_);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setMouseTracking(true);
    mdi_->viewport()->setMouseTracking(true);
    client_->SetChildArea(mdi_);
    mdi_->lower();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
      if (sub == nullptr) return;
      // The sub-window's shell belongs to the child's view; the host finds it.
      if (QWidget* w = sub->widget()) {
        const QVariant ref = w->property("twiqrt_window");
        if (ref.isValid()) host_.Activated(ref.toLongLong());
      }
    });
  }
  if (mdi_ != nullptr) {
    const std::optional<QColor> bg = Colour(p, prop::kBackgroundColour);
    mdi_->setBackground(bg ? QBrush(*bg) : client_->palette().brush(QPalette::Dark));
  }
  const bool wants_status = Flag(p, prop::kStatusBar);
  if (wants_status && status_ == nullptr) {
    status_ = new QStatusBar(shell_);
    status_->setSizeGripEnabled(Flag(p, prop::kResizable));
    shell_->layout()->addWidget(status_);
  } else if (!wants_status && status_ != nullptr) {
    delete status_;
    status_ = nullptr;
  }
  mdi_child_ = Flag(p, prop::kMdiChild);
}

void WindowView::BuildMenus(const WindowState& s) {
  const std::string sig = MenuSignature(s);
  if (sig == menu_signature_) return;
  menu_signature_ = sig;
  if (menu_bar_ != nullptr) {
    delete menu_bar_;
    menu_bar_ = nullptr;
  }
  std::map<int, std::vector<const ControlState*>> children;  // by parent, in menu order
  for (const ControlState& c : s.controls) {
    if (IsMenuEntry(c.type)) children[c.parent].push_back(&c);
  }
  if (children[0].empty()) return;
  for (auto& [parent, entries] : children) {
    std::stable_sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) {
      return Int(a->properties, prop::kMenuPosition) < Int(b->properties, prop::kMenuPosition);
    });
  }
  const int64_t charset = Int(s.properties, prop::kFontCharset);
  menu_bar_ = new QMenuBar(shell_);
  static_cast<QVBoxLayout*>(shell_->layout())->insertWidget(0, menu_bar_);
  std::function<void(QWidget*, int, int)> fill = [&](QWidget* into, int parent, int depth) {
    if (depth > 16) return;
    for (const ControlState* c : children[parent]) {
      const Properties& p = c->properties;
      if (Flag(p, prop::kHidden)) continue;
      if (Flag(p, prop::kSeparator)) {
        auto* line = new QAction(into);
        line->setSeparator(true);
        into->addAction(line);
        continue;
      }
      const QString text = DecodeText(Text(p, prop::kText), charset);
      QAction* action;
      if (c->type == ControlType::kMenu) {
        auto* menu = new QMenu(text, into);
        fill(menu, c->feq, depth + 1);
        action = menu->menuAction();
        into->addAction(action);
        connect(menu, &QMenu::aboutToHide, this, [this] { host_.MenuHovered(ref_, 0); });
      } else {
        action = new QAction(text, into);
        into->addAction(action);
        const int feq = c->feq;
        connect(action, &QAction::triggered, this, [this, feq] { host_.MenuChosen(ref_, feq); });
      }
      const int feq = c->feq;
      connect(action, &QAction::hovered, this, [this, feq] { host_.MenuHovered(ref_, feq); });
      action->setData(feq);
      action->setEnabled(!Flag(p, prop::kDisabled));
      action->setStatusTip(DecodeText(Text(p, prop::kStatusMessage), charset));
    }
  };
  fill(menu_bar_, 0, 0);
}

void WindowView::Rehost() {
  WindowView* frame = mdi_child_ ? host_.Frame() : nullptr;
  if (frame == this) frame = nullptr;
  QMdiArea* area = frame ? frame->mdi_area() : nullptr;
  const bool in_area = sub_ && sub_->mdiArea() == area && area != nullptr;
  if (in_area || (!sub_ && area == nullptr)) return;
  const bool was_shown = shown_;
  if (sub_) {
    sub_->removeEventFilter(this);
    shell_->removeEventFilter(this);
    sub_->setWidget(nullptr);
    outer_ = shell_;
    delete sub_.data();
    sub_ = nullptr;
    shell_->setParent(nullptr, Qt::Window);
    shell_->installEventFilter(this);
  }
  if (area != nullptr) {
    sub_ = new QMdiSubWindow(nullptr);
    sub_->setAttribute(Qt::WA_DeleteOnClose, false);
    shell_->setWindowFlags(Qt::Widget);  // a part of the sub-window, not a window of its own
    sub_->setWidget(shell_);
    area->addSubWindow(sub_);
    sub_->installEventFilter(this);
    outer_ = sub_;
    sub_->setWindowTitle(shell_->windowTitle());
    sub_->setProperty("twiqrt_window", QVariant::fromValue<qlonglong>(ref_));
  }
  shown_ = false;
  applied_rect_ = Rect{-1, -1, -1, -1};
  if (!state_.label.empty()) ApplyGeometry(state_.rect);
  SetShown(was_shown);
}

void WindowView::ApplyGeometry(const Rect& r) {
  if (r == applied_rect_) return;
  applied_rect_ = r;
  const QSize client(static_cast<int>(std::max<int64_t>(0, r.width)),
                     static_cast<int>(std::max<int64_t>(0, r.height)));
  QWidget* out = outer();
  out->setMinimumSize(0, 0);
  out->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  out->move(static_cast<int>(r.x), static_cast<int>(r.y));
  // Size the outer widget so that the client area gets exactly the model's size.
  shell_->layout()->activate();
  const int bars = (menu_bar_ ? menu_bar_->sizeHint().height() : 0) +
                   (status_ ? status_->sizeHint().height() : 0);
  QSize shell_size(client.width(), client.height() + bars);
  if (sub_) {
    const QMargins m = sub_->contentsMargins();
    sub_->resize(shell_size.width() + m.left() + m.right(),
                 shell_size.height() + m.top() + m.bottom());
  } else {
    shell_->resize(shell_size);
  }
  ApplyLimits();
}

void WindowView::ApplyLimits() {
  QWidget* out = outer();
  if (!Flag(state_.properties, prop::kResizable)) {
    out->setFixedSize(out->size());
    return;
  }
  // What surrounds the client area: the bars of the shell and a child window's frame.
  int extra_w = 0;
  int extra_h = (menu_bar_ ? menu_bar_->sizeHint().height() : 0) +
                (status_ ? status_->sizeHint().height() : 0);
  if (sub_) {
    const QMargins m = sub_->contentsMargins();
    extra_w += m.left() + m.right();
    extra_h += m.top() + m.bottom();
  }
  auto limit = [&](int code, int extra, int none) {
    const int64_t v = Int(state_.properties, code);
    return v > 0 ? static_cast<int>(std::min<int64_t>(v + extra, QWIDGETSIZE_MAX)) : none;
  };
  out->setMinimumSize(limit(prop::kMinimumWidth, extra_w, 0),
                      limit(prop::kMinimumHeight, extra_h, 0));
  out->setMaximumSize(limit(prop::kMaximumWidth, extra_w, QWIDGETSIZE_MAX),
                      limit(prop::kMaximumHeight, extra_h, QWIDGETSIZE_MAX));
}

int WindowView::Apply(const WindowState& s, const Window* model) {
  applying_ = true;
  state_ = s;
  if (!named_ && host_.NativeClients()) {
    client_->setAttribute(Qt::WA_NativeWindow);
    client_->winId();
    if (QWindow* native = client_->windowHandle()) {
      native->setTitle(QString::fromStdString("twiqrt:" + s.label));
      named_ = true;
    }
  }
  const bool had_status = status_ != nullptr;
  const std::string menus_before = menu_signature_;
  ApplyFrame(s);
  BuildMenus(s);
  Rehost();
  // The menu bar and the status bar take their height from the shell, not from the client.
  if (menus_before != menu_signature_ || had_status != (status_ != nullptr)) {
    applied_rect_ = Rect{-1, -1, -1, -1};
  }
  ApplyGeometry(s.rect);
  ApplyLimits();

  std::map<int, const ControlState*> by_feq;
  std::map<int, std::vector<const ControlState*>> children;
  for (const ControlState& c : s.controls) {
    by_feq[c.feq] = &c;
    children[c.parent].push_back(&c);
  }
  for (auto it = controls_.begin(); it != controls_.end();) {
    auto found = by_feq.find(it->first);
    if (found == by_feq.end() || found->second->type != it->second->type()) {
      it = controls_.erase(it);
    } else {
      ++it;
    }
  }
  const bool window_enabled = !Flag(s.properties, prop::kDisabled);
  int with_widgets = 0;
  for (const ControlState& c : s.controls) {
    if (!HasWidget(c.type)) continue;
    auto& view = controls_[c.feq];
    if (!view) {
      view = std::make_unique<ControlView>(
          c, client_, [this](int feq, int row) { host_.RowChosen(ref_, feq, row); });
    }
    auto lookup = [&](int feq) -> const ControlState* {
      auto it = by_feq.find(feq);
      return feq != 0 && it != by_feq.end() ? it->second : nullptr;
    };
    // Disabled when the window or the control or anything holding it is disabled.
    bool enabled = window_enabled;
    int depth = 0;
    for (const ControlState* a = &c; a != nullptr && enabled && depth < 64;
         a = lookup(a->parent), ++depth) {
      if (Flag(a->properties, prop::kDisabled)) enabled = false;
    }
    ControlContext ctx{s, model, enabled, lookup(c.parent), children[c.feq]};
    view->Apply(c, ctx);
    ++with_widgets;
  }
  std::vector<int> order = StackingOrder(s);
  if (order != stacking_) {
    stacking_ = order;
    for (int feq : order) {
      if (ControlView* v = Control(feq); v && v->widget()) v->widget()->raise();
    }
  }
  applying_ = false;
  return with_widgets;
}

void WindowView::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  applying_ = true;
  if (shown && !sub_)
    shell_->setWindowModality(Flag(state_.properties, prop::kModal) ? Qt::ApplicationModal
                                                                    : Qt::NonModal);
  outer()->setVisible(shown);
  if (sub_) shell_->setVisible(shown);
  if (shown) {
    // Frame margins are known once shown: size the window again so the client area is exact.
    applied_rect_ = Rect{-1, -1, -1, -1};
    ApplyGeometry(state_.rect);
  }
  applying_ = false;
}

void WindowView::ShowFocus(int feq) {
  if (!shown_) return;
  if (sub_ && sub_->mdiArea()) {
    if (sub_->mdiArea()->activeSubWindow() != sub_) sub_->mdiArea()->setActiveSubWindow(sub_);
    if (QWidget* top = sub_->window()) top->activateWindow();
  } else {
    shell_->raise();
    shell_->activateWindow();
  }
  ControlView* v = Control(feq);
  QWidget* target = v && v->widget() && v->widget()->isVisible() ? v->widget() : client_;
  target->setFocus(Qt::OtherFocusReason);
}

void WindowView::ReportGeometry() {
  if (applying_ || !shown_) return;
  QWidget* out = outer();
  const Rect now{out->x(), out->y(), client_->width(), client_->height()};
  if (now == applied_rect_) return;
  applied_rect_ = now;
  host_.GeometryChanged(ref_, now);
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
  const bool is_outer = watched == outer();
  switch (event->type()) {
    case QEvent::Close:
      if (is_outer) {
        event->ignore();
        host_.CloseRequested(ref_);
        return true;
      }
      break;
    case QEvent::Move:
      if (is_outer) ReportGeometry();
      break;
    case QEvent::Resize:
      if (watched == client_) ReportGeometry();
      break;
    case QEvent::WindowActivate:
      if (watched == shell_ && !sub_ && !applying_) host_.Activated(ref_);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace rt::qt
