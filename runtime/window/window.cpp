#include "runtime/window/window.h"

#include <algorithm>
#include <unordered_map>

#include "runtime/value/text.h"
#include "runtime/window/handles.h"
#include "runtime/window/list_layout.h"
#include "runtime/window/property_codes.h"

namespace rt {

namespace {

uint64_t PropKey(int code, int index) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(code)) << 32) | static_cast<uint32_t>(index);
}

bool IsGeometryCode(int code) {
  return code == prop::kXPos || code == prop::kYPos || code == prop::kWidth ||
         code == prop::kHeight;
}

// Colour properties that are unset read as "no colour", never as 0 (which is black).
bool IsColourCode(int code) {
  switch (code) {
    case prop::kFontColour:
    case prop::kBackgroundColour:
    case prop::kSelectedTextColour:
    case prop::kSelectedFillColour:
    case prop::kFillColour:
    case prop::kGridColour:
      return true;
    default:
      return false;
  }
}

}  // namespace

struct Window::ControlData {
  int feq = 0;
  ControlType type = ControlType::kString;
  std::string label;
  int parent = 0;
  VarRef var;
  int64_t x = 0, y = 0, w = 0, h = 0;  // pixels
  bool has_w = false, has_h = false;
  Value contents;
  std::shared_ptr<ListSource> list;
  std::unordered_map<uint64_t, Value> props;

  const Value* Prop(int code, int index = 0) const {
    auto it = props.find(PropKey(code, index));
    return it == props.end() ? nullptr : &it->second;
  }
  bool Flag(int code) const {
    const Value* v = Prop(code);
    return v != nullptr && v->AsNumber() != 0;
  }
  std::string Text() const {
    const Value* v = Prop(prop::kText);
    return v ? v->AsText() : std::string();
  }
};

Window::Window(WindowRef ref, int owner_thread, std::string label)
    : ref_(ref),
      owner_thread_(owner_thread),
      label_(std::move(label)),
      window_(std::make_unique<ControlData>()) {
  window_->type = ControlType::kWindow;
  window_->label = label_;
}

Window::~Window() = default;

bool Window::closed() const {
  std::lock_guard lock(mu_);
  return closed_;
}

Window::ControlData* Window::Find(int feq) {
  if (feq == 0) return window_.get();
  auto it = controls_.find(feq);
  return it == controls_.end() ? nullptr : it->second.get();
}
const Window::ControlData* Window::Find(int feq) const {
  return const_cast<Window*>(this)->Find(feq);
}

Status Window::AddControl(const ControlSpec& control) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return Status::Closed("window " + std::to_string(ref_) + " is closed");
    if (control.feq == 0) return Status::InvalidArgument("field equate 0 is the window itself");
    if (controls_.count(control.feq)) {
      return Status::AlreadyExists("duplicate field equate " + std::to_string(control.feq) +
                                   " in window " + label_);
    }
    if (!control.label.empty()) {
      for (const auto& [feq, c] : controls_) {
        if (c->label == control.label) {
          return Status::AlreadyExists("duplicate label " + control.label + " in window " + label_);
        }
      }
    }
    if (control.parent != 0 && !controls_.count(control.parent)) {
      return Status::NotFound("parent " + std::to_string(control.parent) + " of " + control.label +
                              " does not exist in window " + label_);
    }
    auto c = std::make_unique<ControlData>();
    c->feq = control.feq;
    c->type = control.type;
    c->label = control.label;
    c->parent = control.parent;
    c->var = control.var;
    controls_.emplace(control.feq, std::move(c));
    if (control.feq > 0) tab_chain_.push_back(control.feq);
    announce = MarkChanged(control.feq);
  }
  Announce(announce);
  return Status::Ok();
}

int Window::Create(ControlSpec control, Status* status) {
  if (control.feq == 0) control.feq = std::max(LastField(), 0) + 1;
  Status s = AddControl(control);
  if (status) *status = s;
  return s.ok() ? control.feq : 0;
}

Status Window::Destroy(int feq) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return Status::Closed("window " + std::to_string(ref_) + " is closed");
    if (!controls_.count(feq)) {
      return Status::NotFound("no control " + std::to_string(feq) + " in window " + label_);
    }
    // Collect the control and everything inside it.
    std::set<int> doomed{feq};
    for (bool grew = true; grew;) {
      grew = false;
      for (const auto& [f, c] : controls_) {
        if (!doomed.count(f) && doomed.count(c->parent)) grew = doomed.insert(f).second;
      }
    }
    for (int f : doomed) {
      controls_.erase(f);
      std::erase(tab_chain_, f);
      if (focus_ == f) focus_ = 0;
    }
    announce = MarkChanged(0);
  }
  Announce(announce);
  return Status::Ok();
}

bool Window::HasControl(int feq) const {
  std::lock_guard lock(mu_);
  return controls_.count(feq) != 0;
}

std::vector<int> Window::Fields() const {
  std::lock_guard lock(mu_);
  std::vector<int> out;
  out.reserve(controls_.size());
  for (const auto& [feq, c] : controls_) out.push_back(feq);
  return out;
}

int Window::FirstField() const {
  std::lock_guard lock(mu_);
  auto it = controls_.upper_bound(0);
  return it == controls_.end() ? 0 : it->first;
}

int Window::LastField() const {
  std::lock_guard lock(mu_);
  if (controls_.empty() || controls_.rbegin()->first <= 0) return 0;
  return controls_.rbegin()->first;
}

std::string Window::FieldName(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  return c && feq != 0 ? c->label : std::string();
}

int Window::FieldByLabel(std::string_view label) const {
  std::lock_guard lock(mu_);
  for (const auto& [feq, c] : controls_) {
    if (c->label == label) return feq;
  }
  return 0;
}

ControlType Window::TypeOf(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  return c ? c->type : ControlType::kWindow;
}

int Window::ParentOf(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  return c ? c->parent : 0;
}

void Window::SetListSource(int feq, std::shared_ptr<ListSource> source) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    ControlData* c = Find(feq);
    if (!c || closed_) return;
    c->list = std::move(source);
    announce = MarkChanged(feq);
  }
  Announce(announce);
}

std::shared_ptr<ListSource> Window::GetListSource(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  return c ? c->list : nullptr;
}

bool Window::PixelsMode() const { return window_->Flag(prop::kPixels); }

FontMetrics Window::MetricsLocked() const {
  const Value* size = window_->Prop(prop::kFontSize);
  return MetricsForFontSize(size ? static_cast<int>(size->AsInt()) : 0);
}

FontMetrics Window::metrics() const {
  std::lock_guard lock(mu_);
  return MetricsLocked();
}

int64_t Window::PixelsToUnitsX(int64_t px) const {
  std::lock_guard lock(mu_);
  return PixelsMode() ? px : PixelsToDialogX(px, MetricsLocked());
}

int64_t Window::PixelsToUnitsY(int64_t px) const {
  std::lock_guard lock(mu_);
  return PixelsMode() ? px : PixelsToDialogY(px, MetricsLocked());
}

// Default sizes, in dialog units, of controls that have no explicit width or height: wide
// enough for their text in the window font, so that hit testing and drawing agree.
Rect Window::PixelRectLocked(const ControlData& c) const {
  const FontMetrics m = MetricsLocked();
  Rect r{c.x, c.y, c.w, c.h};
  if (&c == window_.get()) return r;
  const int64_t text_px = static_cast<int64_t>(Clip(c.Text()).size()) * m.char_width;
  int64_t dw = DialogXToPixels(40, m), dh = DialogYToPixels(10, m);
  switch (c.type) {
    case ControlType::kString:
    case ControlType::kStringPicture:
    case ControlType::kPrompt:
      dw = text_px;
      dh = m.char_height;
      break;
    case ControlType::kButton:
      dw = std::max(DialogXToPixels(40, m), text_px + 2 * m.char_width);
      dh = DialogYToPixels(14, m);
      break;
    case ControlType::kCheck:
    case ControlType::kRadio:
      dw = text_px + DialogXToPixels(12, m);
      break;
    case ControlType::kList:
    case ControlType::kText:
      dw = DialogXToPixels(80, m);
      dh = DialogYToPixels(40, m);
      break;
    default:
      break;
  }
  const bool full = c.Flag(prop::kFull);
  if (!c.has_w) r.width = full ? std::max<int64_t>(0, window_->w - c.x) : dw;
  if (!c.has_h) r.height = full ? std::max<int64_t>(0, window_->h - c.y) : dh;
  return r;
}

Rect Window::PixelRect(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  return c ? PixelRectLocked(*c) : Rect{};
}

Status Window::SetPixelRect(int feq, const Rect& rect) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return Status::Closed("window " + std::to_string(ref_) + " is closed");
    ControlData* c = Find(feq);
    if (c == nullptr) {
      return Status::NotFound("no control " + std::to_string(feq) + " in window " + label_);
    }
    // A default size the caller keeps stays a default (it follows the control's text).
    const Rect now = PixelRectLocked(*c);
    c->x = rect.x;
    c->y = rect.y;
    if (rect.width != now.width || c->has_w) {
      c->w = rect.width;
      c->has_w = true;
    }
    if (rect.height != now.height || c->has_h) {
      c->h = rect.height;
      c->has_h = true;
    }
    announce = MarkChanged(feq);
  }
  Announce(announce);
  return Status::Ok();
}

bool Window::VisibleLocked(int feq) const {
  if (closed_) return false;
  const ControlData* c = Find(feq);
  for (int guard = 0; c != nullptr && guard < 10000; ++guard) {
    if (c->Flag(prop::kHidden)) return false;
    if (c->feq == 0) return true;
    const ControlData* parent = Find(c->parent);
    if (parent && parent->type == ControlType::kSheet && c->type == ControlType::kTab) {
      // Only the sheet's selected tab shows.
      int position = 0, selected = std::max<int64_t>(1, parent->contents.AsInt());
      for (const auto& [f, other] : controls_) {
        if (other->parent == parent->feq && other->type == ControlType::kTab) {
          ++position;
          if (f == c->feq) break;
        }
      }
      if (position != selected) return false;
    }
    c = c->parent == 0 ? window_.get() : parent;
  }
  return c != nullptr;
}

bool Window::IsVisible(int feq) const {
  std::lock_guard lock(mu_);
  return VisibleLocked(feq);
}

Value Window::Get(int feq, int code, int index) const {
  std::lock_guard lock(mu_);
  return GetLocked(feq, code, index);
}

Value Window::GetLocked(int feq, int code, int index) const {
  const ControlData* c = closed_ ? nullptr : Find(feq);  // a closed window reads empty
  if (c == nullptr) return Value();
  const bool pixels = PixelsMode();
  const FontMetrics m = MetricsLocked();
  if (IsGeometryCode(code)) {
    const Rect r = PixelRectLocked(*c);
    const bool full = c->Flag(prop::kFull);
    switch (code) {
      case prop::kXPos:
        return pixels ? r.x : PixelsToDialogX(r.x, m);
      case prop::kYPos:
        return pixels ? r.y : PixelsToDialogY(r.y, m);
      case prop::kWidth: {
        const int64_t w = (!c->has_w && full && feq != 0) ? 0 : r.width;
        return pixels ? w : PixelsToDialogX(w, m);
      }
      case prop::kHeight: {
        const int64_t h = (!c->has_h && full && feq != 0) ? 0 : r.height;
        return pixels ? h : PixelsToDialogY(h, m);
      }
    }
  }
  switch (code) {
    case prop::kType:
      return static_cast<int>(c->type);
    case prop::kNoWidth:
      return feq != 0 && !c->has_w && !c->Flag(prop::kFull) ? 1 : 0;
    case prop::kNoHeight:
      return feq != 0 && !c->has_h && !c->Flag(prop::kFull) ? 1 : 0;
    case prop::kVisible:
      return VisibleLocked(feq) ? 1 : 0;
    case prop::kWindowHandle:
      return HandleOf(ref_, feq);
    case prop::kClientHandle:
      return feq == 0 ? ClientHandleOf(ref_) : 0;
    case prop::kFollows: {
      auto it = std::find(tab_chain_.begin(), tab_chain_.end(), feq);
      return (it == tab_chain_.end() || it == tab_chain_.begin()) ? 0 : *(it - 1);
    }
    case prop::kContents:
      return c->contents;
    case prop::kLabel:
      return c->label;
    case prop::kParent:
      return c->parent;
    case prop::kFocus:
      return feq == 0 ? focus_ : 0;
    case prop::kVisibleRows: {
      // Whole rows below a list's header band, by the rule every display draws with.
      const Value* format = c->type == ControlType::kList ? c->Prop(prop::kListFormat) : nullptr;
      const bool has_header = format != nullptr && ListHasHeader(format->AsText());
      return LayoutList(has_header, PixelRectLocked(*c).height, m, 0).visible_rows;
    }
    default:
      break;
  }
  const Value* v = c->Prop(code, index);
  if (v == nullptr && IsColourCode(code)) return prop::kNoColour;  // unset: the style's colour
  return v ? *v : Value();
}

Status Window::Set(int feq, int code, const Value& value, int index) {
  bool announce = false;
  Status s;
  {
    std::lock_guard lock(mu_);
    s = SetLocked(feq, code, value, index);
    if (s.ok()) announce = MarkChanged(feq);
  }
  Announce(announce);
  return s;
}

Status Window::SetLocked(int feq, int code, const Value& value, int index) {
  if (closed_) return Status::Closed("window " + std::to_string(ref_) + " is closed");
  ControlData* c = Find(feq);
  if (c == nullptr) {
    return Status::NotFound("no control " + std::to_string(feq) + " in window " + label_);
  }
  const bool pixels = PixelsMode();
  const FontMetrics m = MetricsLocked();
  const int64_t n = value.AsInt();
  switch (code) {
    case prop::kXPos:
      c->x = pixels ? n : DialogXToPixels(n, m);
      return Status::Ok();
    case prop::kYPos:
      c->y = pixels ? n : DialogYToPixels(n, m);
      return Status::Ok();
    case prop::kWidth:
      c->w = pixels ? n : DialogXToPixels(n, m);
      c->has_w = true;
      return Status::Ok();
    case prop::kHeight:
      c->h = pixels ? n : DialogYToPixels(n, m);
      c->has_h = true;
      return Status::Ok();
    case prop::kNoWidth:
      if (n != 0) c->has_w = false;
      return Status::Ok();
    case prop::kNoHeight:
      if (n != 0) c->has_h = false;
      return Status::Ok();
    case prop::kFollows: {
      if (feq <= 0) return Status::InvalidArgument("only a control can follow another");
      auto self = std::find(tab_chain_.begin(), tab_chain_.end(), feq);
      if (self != tab_chain_.end()) tab_chain_.erase(self);
      auto after = std::find(tab_chain_.begin(), tab_chain_.end(), static_cast<int>(n));
      tab_chain_.insert(after == tab_chain_.end() ? tab_chain_.end() : after + 1, feq);
      return Status::Ok();
    }
    case prop::kContents:
      c->contents = value;
      return Status::Ok();
    case prop::kType:
    case prop::kVisible:
    case prop::kWindowHandle:
    case prop::kClientHandle:
    case prop::kLabel:
    case prop::kParent:
    case prop::kFocus:
    case prop::kVisibleRows:
      return Status::Ok();  // derived: writes are ignored
    default:
      break;
  }
  c->props[PropKey(code, index)] = value;
  return Status::Ok();
}

Status Window::Select(int feq) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return Status::Closed("window " + std::to_string(ref_) + " is closed");
    if (feq != 0 && !controls_.count(feq)) {
      return Status::NotFound("no control " + std::to_string(feq) + " in window " + label_);
    }
    focus_ = feq;
    announce = MarkChanged(0);
  }
  Announce(announce);
  return Status::Ok();
}

int Window::focus() const {
  std::lock_guard lock(mu_);
  return focus_;
}

std::vector<int> Window::TabChain() const {
  std::lock_guard lock(mu_);
  return tab_chain_;
}

void Window::DisplayLocked(ControlData& c) {
  if (c.var.bound()) c.contents = c.var.Get();
}

void Window::UpdateLocked(ControlData& c) {
  if (c.var.bound()) c.var.Set(c.contents);
}

void Window::Display(int feq) {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return;
    if (feq == 0) {
      for (auto& [f, c] : controls_) DisplayLocked(*c);
    } else if (ControlData* c = Find(feq)) {
      DisplayLocked(*c);
    }
    announce = MarkChanged(feq);
  }
  Announce(announce);
}

void Window::Update(int feq) {
  std::lock_guard lock(mu_);
  if (closed_) return;
  if (feq == 0) {
    for (auto& [f, c] : controls_) UpdateLocked(*c);
  } else if (ControlData* c = Find(feq)) {
    UpdateLocked(*c);
  }
}

Value Window::Contents(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = closed_ ? nullptr : Find(feq);
  return c ? c->contents : Value();
}

Status Window::SetContents(int feq, const Value& v) { return Set(feq, prop::kContents, v); }

int Window::Choice(int feq) const {
  std::lock_guard lock(mu_);
  const ControlData* c = Find(feq);
  if (c == nullptr) return 0;
  switch (c->type) {
    case ControlType::kOption: {
      int position = 0;
      for (const auto& [f, radio] : controls_) {
        if (radio->parent != feq || radio->type != ControlType::kRadio) continue;
        ++position;
        const Value* v = radio->Prop(prop::kValue);
        const std::string value = v ? v->AsText() : radio->Text();
        if (ClipEquals(Upper(value), Upper(c->contents.AsText()))) return position;
      }
      return 0;
    }
    case ControlType::kSheet:
      return static_cast<int>(std::max<int64_t>(1, c->contents.AsInt()));
    default: {
      const Value* row = c->Prop(prop::kSelectedRow);
      return row ? static_cast<int>(row->AsInt()) : 0;
    }
  }
}

void Window::LockUpdates() {
  std::lock_guard lock(mu_);
  ++lock_count_;
}

void Window::UnlockUpdates() {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (lock_count_ == 0) return;
    if (--lock_count_ == 0 && !changed_.empty() && !announcement_pending_ && !closed_) {
      announcement_pending_ = true;
      ++announcements_;
      announce = true;
    }
  }
  Announce(announce);
}

bool Window::updates_locked() const {
  std::lock_guard lock(mu_);
  return lock_count_ > 0;
}

void Window::Invalidate() {
  bool announce = false;
  {
    std::lock_guard lock(mu_);
    if (closed_) return;
    announce = MarkChanged(0);
  }
  Announce(announce);
}

bool Window::MarkChanged(int feq) {
  changed_.insert(feq);
  if (lock_count_ > 0 || announcement_pending_ || observer_ == nullptr) return false;
  announcement_pending_ = true;
  ++announcements_;
  return true;
}

void Window::Announce(bool needed) {
  if (!needed) return;
  WindowObserver* observer;
  {
    std::lock_guard lock(mu_);
    observer = observer_;
  }
  if (observer) observer->WindowChanged(ref_);
}

std::set<int> Window::TakeChanges() {
  std::lock_guard lock(mu_);
  announcement_pending_ = false;
  return std::exchange(changed_, {});
}

int64_t Window::announcements() const {
  std::lock_guard lock(mu_);
  return announcements_;
}

WindowState Window::Snapshot() const {
  std::lock_guard lock(mu_);
  WindowState s;
  s.ref = ref_;
  s.owner_thread = owner_thread_;
  s.label = label_;
  s.rect = PixelRectLocked(*window_);
  s.metrics = MetricsLocked();
  s.focus = focus_;
  for (const auto& [key, v] : window_->props) {
    s.properties[{static_cast<int>(key >> 32), static_cast<int>(key & 0xFFFFFFFF)}] = v;
  }
  s.tab_chain = tab_chain_;
  s.controls.reserve(controls_.size());
  for (const auto& [feq, c] : controls_) {
    ControlState cs;
    cs.feq = feq;
    cs.type = c->type;
    cs.label = c->label;
    cs.parent = c->parent;
    cs.rect = PixelRectLocked(*c);
    cs.visible = VisibleLocked(feq);
    for (const auto& [key, v] : c->props) {
      cs.properties[{static_cast<int>(key >> 32), static_cast<int>(key & 0xFFFFFFFF)}] = v;
    }
    if (!(c->contents == Value())) cs.properties[{prop::kContents, 0}] = c->contents;
    s.controls.push_back(std::move(cs));
  }
  return s;
}

void Window::MarkClosed() {
  std::lock_guard lock(mu_);
  closed_ = true;
}

void Window::set_observer(WindowObserver* observer) {
  std::lock_guard lock(mu_);
  observer_ = observer;
}

}  // namespace rt
