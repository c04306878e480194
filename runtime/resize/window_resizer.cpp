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
Anchor AnchorOf(int64_t offset, int64_t extent, int64_t outer, bool may_centre) {
  if (outer <= 0) return Anchor::kNear;
  const bool crosses = 2 * offset < outer && 2 * (offset + extent) > outer;
  if (crosses && 2 * extent >= outer) return Anchor::kStretch;
  if (2 * offset >= outer) return Anchor::kFar;
  if (crosses && may_centre) return Anchor::kCentre;
  return Anchor::kNear;
}

// Controls that frame others on the screen without always being their parent.
bool FramesOthers(ControlType type) {
  return type == ControlType::kGroup || type == ControlType::kOption || type == ControlType::kPanel;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

// Whether `ancestor` is `feq` or one of its parents (0, the window, is everyone's).
bool WithinParent(const Window& w, int feq, int ancestor) {
  if (ancestor == 0) return true;
  int p = feq;
  for (int guard = 0; p > 0 && guard < 64; ++guard, p = w.ParentOf(p)) {
    if (p == ancestor) return true;
  }
  return false;
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
  // Per control: how it follows its container, and that container: its parent, or the
  // smallest group, option box or panel of the same parent that frames it on the screen (so
  // that controls drawn inside a group move with it even when the window lists them beside
  // it). `order` lists containers before what they contain.
  struct Placement {
    Anchors anchors;
    int container = 0;
  };
  std::map<int, Placement> placements;
  std::vector<int> order;

  void Classify(const Window& w) {
    placements.clear();
    order.clear();
    const Rect client = ClientOf(w.PixelRect(0));
    std::map<int, Rect> rects;
    std::vector<int> frames;
    for (int feq : w.Fields()) {
      if (feq <= 0) continue;  // menu items
      rects[feq] = w.PixelRect(feq);
      if (FramesOthers(w.TypeOf(feq))) frames.push_back(feq);
    }
    auto area = [](const Rect& r) { return r.width * r.height; };
    for (const auto& [feq, r] : rects) {
      if (w.Get(feq, prop::kFull).AsInt() != 0) continue;
      const int parent = w.ParentOf(feq);
      int container = parent > 0 && rects.count(parent) ? parent : 0;
      int64_t best = container > 0 ? area(rects[container]) : area(client);
      for (int f : frames) {
        const Rect& fr = rects[f];
        const bool larger = area(fr) > area(r) || (area(fr) == area(r) && f < feq);
        if (f == feq || !larger || area(fr) >= best || !Inside(r, fr)) continue;
        if (!WithinParent(w, f, parent) || WithinParent(w, f, feq)) continue;
        container = f;
        best = area(fr);
      }
      const Rect c = container > 0 ? rects[container] : client;
      // Forms read from the top: what crosses the vertical middle belongs with what is above
      // it, so only the horizontal axis centres.
      placements[feq] = Placement{{AnchorOf(r.x - c.x, r.width, c.width, true),
                                   AnchorOf(r.y - c.y, r.height, c.height, false)},
                                  container};
    }
    std::map<int, int> depth;
    for (const auto& [feq, p] : placements) {
      int d = 0;
      for (int c = p.container; c > 0 && d < 64; ++d) {
        auto it = placements.find(c);
        c = it == placements.end() ? 0 : it->second.container;
      }
      depth[feq] = d;
      order.push_back(feq);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return depth[a] < depth[b]; });
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
    // Where each container was before this arrangement and where it goes.
    std::map<int, std::pair<Rect, Rect>> moved;
    moved[0] = {ClientOf(arranged), ClientOf(now)};
    w->LockUpdates();
    for (int feq : order) {
      if (!w->HasControl(feq)) continue;  // destroyed since
      const Placement& p = placements[feq];
      const Rect before = w->PixelRect(feq);
      auto container = moved.find(p.container);
      if (container == moved.end()) container = moved.find(0);
      const auto& [from, to] = container->second;
      const Anchors& a = p.anchors;
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
