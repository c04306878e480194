#include "runtime/display/qt/input_router.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>

#include "runtime/display/qt/keymap.h"
#include "runtime/event/input.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/window/property_codes.h"

namespace rt::qt {
namespace {

// Hundredths of a second before a held arrow or button repeats, and between repeats, when the
// control does not say.
constexpr int kDefaultDelay = 40;
constexpr int kDefaultRepeat = 10;

uint32_t MessageOf(QEvent::Type type, Qt::MouseButton button) {
  const bool left = button == Qt::LeftButton;
  const bool right = button == Qt::RightButton;
  switch (type) {
    case QEvent::MouseMove:
      return msg::kMouseMove;
    case QEvent::MouseButtonPress:
      return left ? msg::kLButtonDown : right ? msg::kRButtonDown : msg::kMButtonDown;
    case QEvent::MouseButtonRelease:
      return left ? msg::kLButtonUp : right ? msg::kRButtonUp : msg::kMButtonUp;
    case QEvent::MouseButtonDblClick:
      return left ? msg::kLButtonDblClk : right ? msg::kRButtonDblClk : msg::kMButtonDown;
    default:
      return 0;
  }
}

uintptr_t HeldOf(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? msg::kLeftButtonHeld : 0) |
         (buttons & Qt::RightButton ? msg::kRightButtonHeld : 0);
}

int Hundredths(const Properties& p, int code, int absent) {
  const Value* v = Find(p, code);
  const int64_t n = v ? v->AsInt() : 0;
  return n > 0 ? static_cast<int>(n) : absent;
}

// Sends the typed text of a key event as characters, one byte of UTF-8 each.
void SendText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) SendChar(c);
  }
}

}  // namespace

InputRouter::InputRouter(ViewOf view_of, TabChosen tab_chosen)
    : view_of_(std::move(view_of)), tab_chosen_(std::move(tab_chosen)) {
  QObject::connect(&repeat_, &QTimer::timeout, &repeat_, [this] {
    repeat_.setInterval(repeat_interval_);
    if (repeat_action_) repeat_action_();
  });
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;  // the window object: its widget sees it next
  auto* w = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return Mouse(w, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
      return Key(w, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      return view_of_(w) != nullptr && qobject_cast<QMenuBar*>(w) == nullptr;
    case QEvent::Wheel:
    case QEvent::ContextMenu: {
      WindowView* v = view_of_(w);
      return v != nullptr && (v->client() == w || v->client()->isAncestorOf(w));
    }
    default:
      return false;
  }
}

bool InputRouter::Mouse(QWidget* w, QMouseEvent* e) {
  WindowView* v = view_of_(w);
  if (v == nullptr) return false;  // a dialog or a pop-up list: Qt's own input
  const bool captured = GetCapture() != 0;
  QWidget* client = v->client();
  const WindowRef ref = v->ref();
  const bool in_client = w == client || client->isAncestorOf(w);
  // Title bars, menu bars and status bars are the window system's own, unless captured.
  if (!in_client && !captured) return false;
  const uint32_t message = MessageOf(e->type(), e->button());
  if (message == 0) return false;
  const QPoint at = client->mapFromGlobal(e->globalPosition().toPoint());
  const uintptr_t held = HeldOf(e->buttons());
  if (e->type() == QEvent::MouseButtonRelease) StopRepeat();

  const bool left_press =
      e->type() == QEvent::MouseButtonPress && e->button() == Qt::LeftButton && !captured;
  ControlView* cv = left_press ? v->ControlOf(w) : nullptr;
  const bool active = cv != nullptr && cv->widget() != nullptr && cv->widget()->isEnabled();
  SendMouse(ref, message, at.x(), at.y(), held);
  if (!active) return true;
  const Properties& p = [&]() -> const Properties& {
    for (const ControlState& c : v->state().controls) {
      if (c.feq == cv->feq()) return c.properties;
    }
    static const Properties kNone;
    return kNone;
  }();
  if (cv->drop_down() != nullptr) return false;  // its own press opens the list
  if (SheetWidget* sheet = cv->sheet()) {
    const int tab = sheet->TabAt(sheet->mapFromGlobal(e->globalPosition().toPoint()));
    if (tab > 0) tab_chosen_(ref, cv->feq(), tab);
    return true;
  }
  if (SpinView* spin = cv->spin()) {
    const int arrow = spin->ArrowAt(spin->mapFromGlobal(e->globalPosition().toPoint()));
    if (arrow != 0) {
      const int keycode = arrow > 0 ? key::kUp : key::kDown;
      SendKey(keycode);
      StartRepeat(Hundredths(p, prop::kDelay, kDefaultDelay) * 10,
                  Hundredths(p, prop::kRepeat, kDefaultRepeat) * 10,
                  [keycode] { SendKey(keycode); });
    }
    return true;
  }
  if (cv->type() == ControlType::kButton && Hundredths(p, prop::kRepeat, 0) > 0) {
    // A held repeating button is pressed again and again: release and press at the point.
    const int x = at.x(), y = at.y();
    StartRepeat(Hundredths(p, prop::kDelay, kDefaultDelay) * 10,
                Hundredths(p, prop::kRepeat, 0) * 10, [ref, x, y] {
                  SendMouse(ref, msg::kLButtonUp, x, y, 0);
                  SendMouse(ref, msg::kLButtonDown, x, y, msg::kLeftButtonHeld);
                });
  }
  return true;
}

bool InputRouter::Key(QWidget* w, QKeyEvent* e) {
  if (view_of_(w) == nullptr || qobject_cast<QMenuBar*>(w) != nullptr) return false;
  const Qt::KeyboardModifiers mods = e->modifiers();
  const int keycode = KeyCodeOf(e->key(), mods);
  const bool command = (mods & (Qt::ControlModifier | Qt::AltModifier)) != 0;
  const QString text = e->text();
  if (keycode != 0) {
    const int base = keycode & key::kBaseMask;
    // Letters, digits and space type their character with the key; other keys type nothing.
    const bool types = !command && text.size() == 1 && text[0].unicode() < 0x80 &&
                       ((base >= key::kA && base < key::kA + 26) ||
                        (base >= key::k0 && base < key::k0 + 10) || base == key::kSpace);
    SendKey(keycode, types ? static_cast<char>(text[0].unicode()) : 0);
    if (!types && !command && text.size() == 1 && text[0].unicode() >= 0x80) SendText(text);
    return true;
  }
  if (!command) SendText(text);
  return true;
}

void InputRouter::StartRepeat(int delay_ms, int repeat_ms, std::function<void()> action) {
  repeat_action_ = std::move(action);
  repeat_interval_ = std::max(10, repeat_ms);
  repeat_.start(std::max(10, delay_ms));
}

void InputRouter::StopRepeat() {
  repeat_.stop();
  repeat_action_ = nullptr;
}

}  // namespace rt::qt
