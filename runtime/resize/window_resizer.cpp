#include "runtime/resize/window_resizer.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "runtime/event/event_codes.h"
#include "runtime/event/event_hooks.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

enum class Anchor { kNear, kCentre, kFar, kStretch };

struct Anchors {
  Anchor x = Anchor::kNear;
  Anchor y = Anchor::kNear;
};

// How a span [offset, offset + extent) sits in a container `outer` long. Compared doubled, so
// the middle line needs no rounding.
Anchor AnchorOf(int64_t offset, int64_t extent, int64_t outer) {
  if (outer <= 0) return Anchor::kNear;
  const bool crosses = 2 * offset < outer && 2 * (offset + extent) > outer;
  if (crosses && 2 * extent >= outer) return Anchor::kStretch;
  if (2 * offset >= outer) return Anchor::kFar;
  if (crosses) return Anchor::kCentre;
  return Anchor::kNear;
}

// One axis of a control that follows its container from [from_pos, from_pos + from_len) to
// [to_pos, to_pos + to_len).
void Follow(Anchor anchor, int64_t from_pos, int64_t from_len, int64_t to_pos, int64_t to_len,
            int64_t* pos, int64_t* len) {
  switch (anchor) {
    case Anchor::kNear:
      *pos += to_pos - from_pos;
      break;
    case Anchor::kFar:
      *pos += (to_pos + to_len) - (from_pos + from_len);
      break;
    case Anchor::kCentre:
      *pos += (to_pos + to_len / 2) - (from_pos + from_len / 2);
      break;
    case Anchor::kStretch:
      *pos += to_pos - from_pos;
      *len = std::max<int64_t>(0, *len + to_len - from_len);
      break;
  }
}

// Nesting depth of a control (0 for a control of the window itself), bounded against a
// malformed parent chain.
int DepthOf(const Window& w, int feq) {
  int depth = 0;
  for (int p = w.ParentOf(feq); p > 0 && depth < 64; p = w.ParentOf(p)) ++depth;
  return depth;
}

Rect ClientOf(const Rect& window) { return Rect{0, 0, window.width, window.height}; }

}  // namespace

struct WindowResizer::Arrangement {
  WindowRef window = 0;
  ResizeStrategy strategy = ResizeStrategy::kFixed;
  HookId hook = 0;
  ThreadId thread = 0;
  bool set_limits = false;
  bool stopped = false;
  Rect arranged;  // the window's rectangle when the controls were last arranged
  std::map<int, Anchors> anchors;

  void Classify(const Window& w) {
    anchors.clear();
    const Rect client = ClientOf(w.PixelRect(0));
    for (int feq : w.Fields()) {
      if (feq <= 0) continue;  // menu items
      if (w.Get(feq, prop::kFull).AsInt() != 0) continue;
      const Rect r = w.PixelRect(feq);
      const int parent = w.ParentOf(feq);
      const Rect c = parent > 0 && w.HasControl(parent) ? w.PixelRect(parent) : client;
      anchors[feq] =
          Anchors{AnchorOf(r.x - c.x, r.width, c.width), AnchorOf(r.y - c.y, r.height, c.height)};
    }
  }

  void Rearrange() {
    if (stopped || CurrentThread() != thread) return;
    std::shared_ptr<Window> w = FindWindow(window);
    if (!w || w->closed()) return;
    const Rect now = w->PixelRect(0);
    if (now.width == arranged.width && now.height == arranged.height) return;
    if (strategy == ResizeStrategy::kFixed) {
      arranged = now;
      return;
    }
    std::vector<int> order;
    std::map<int, int> depth;
    for (int feq : w->Fields()) {
      if (feq <= 0 || !anchors.count(feq)) continue;
      order.push_back(feq);
      depth[feq] = DepthOf(*w, feq);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return depth[a] < depth[b]; });
    // Where each container was before this arrangement and where it goes.
    std::map<int, std::pair<Rect, Rect>> moved;
    moved[0] = {ClientOf(arranged), ClientOf(now)};
    w->LockUpdates();
    for (int feq : order) {
      const Rect before = w->PixelRect(feq);
      auto container = moved.find(w->ParentOf(feq));
      if (container == moved.end()) container = moved.find(0);
      const auto& [from, to] = container->second;
      const Anchors& a = anchors[feq];
      Rect after = before;
      Follow(a.x, from.x, from.width, to.x, to.width, &after.x, &after.width);
      Follow(a.y, from.y, from.height, to.y, to.height, &after.y, &after.height);
      moved[feq] = {before, after};
      if (after != before) w->SetPixelRect(feq, after);
    }
    w->UnlockUpdates();
    arranged = now;
  }

  void ClearLimits() {
    if (!set_limits) return;
    set_limits = false;
    if (std::shared_ptr<Window> w = FindWindow(window)) {
      for (int code :
           {prop::kMinimumWidth, prop::kMinimumHeight, prop::kMaximumWidth, prop::kMaximumHeight}) {
        w->Set(0, code, 0);
      }
    }
  }
};

WindowResizer::~WindowResizer() { Stop(); }

WindowResizer& WindowResizer::operator=(WindowResizer&& other) noexcept {
  if (this != &other) {
    Stop();
    arrangement_ = std::move(other.arrangement_);
  }
  return *this;
}

Status WindowResizer::Start(WindowRef window, ResizeStrategy strategy, ResizeLimits limits) {
  Stop();
  if (strategy != ResizeStrategy::kFixed && strategy != ResizeStrategy::kKeepPlace) {
    return Status::InvalidArgument("unknown resize strategy " +
                                   std::to_string(static_cast<int>(strategy)));
  }
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w || w->closed()) return Status::NotFound("no window " + std::to_string(window));
  if (w->owner_thread() != CurrentThread()) {
    return Status::InvalidArgument("window " + w->label() + " belongs to another thread");
  }
  auto a = std::make_shared<Arrangement>();
  a->window = window;
  a->strategy = strategy;
  a->thread = CurrentThread();
  a->arranged = w->PixelRect(0);
  a->Classify(*w);
  std::weak_ptr<Arrangement> weak = a;
  a->hook = AddEventHook(window, event::kSized, [weak](int, int) {
    if (std::shared_ptr<Arrangement> live = weak.lock()) live->Rearrange();
  });
  if (a->hook == 0) return Status::Failed("window " + w->label() + " is not open");
  if (limits.minimum_is_opening_size) {
    w->Set(0, prop::kMinimumWidth, a->arranged.width);
    w->Set(0, prop::kMinimumHeight, a->arranged.height);
  }
  if (limits.maximum_is_opening_size) {
    w->Set(0, prop::kMaximumWidth, a->arranged.width);
    w->Set(0, prop::kMaximumHeight, a->arranged.height);
  }
  a->set_limits = limits.minimum_is_opening_size || limits.maximum_is_opening_size;
  arrangement_ = std::move(a);
  return Status::Ok();
}

void WindowResizer::Stop() {
  if (!arrangement_) return;
  std::shared_ptr<Arrangement> a = std::move(arrangement_);
  a->stopped = true;
  if (CurrentThread() == a->thread) {
    RemoveEventHook(a->hook);
    a->ClearLimits();
  }
}

bool WindowResizer::running() const {
  if (!arrangement_) return false;
  std::shared_ptr<Window> w = FindWindow(arrangement_->window);
  return w && !w->closed();
}

void WindowResizer::Rearrange() {
  if (arrangement_) arrangement_->Rearrange();
}

}  // namespace rt
