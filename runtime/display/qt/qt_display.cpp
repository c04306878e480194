#include "runtime/display/qt/qt_display.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/dialog/dialog.h"
#include "runtime/display/qt/dialogs.h"
#include "runtime/display/qt/display_impl.h"
#include "runtime/display/qt/qt_app.h"
#include "runtime/display/qt/qt_cursors.h"
#include "runtime/display/run.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/idle.h"
#include "runtime/event/input.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/os_window.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/event/thread_state.h"
#include "runtime/program/halt.h"
#include "runtime/value/text.h"
#include "runtime/window/cursors.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

void QueueEvent(WindowRef ref, int event, int field, bool from_input) {
  internal::QueueEntry e;
  e.kind = internal::QueueEntry::Kind::kEvent;
  e.event = event;
  e.field = field;
  e.from_input = from_input;
  internal::PushToWindowOwner(ref, std::move(e));
}

bool OnItsStack(const Window& w) {
  const std::vector<WindowRef> stack = ThreadWindows(w.owner_thread());
  return std::find(stack.begin(), stack.end(), w.ref()) != stack.end();
}

const ControlState* ControlIn(const WindowState& s, int feq) {
  for (const ControlState& c : s.controls) {
    if (c.feq == feq) return &c;
  }
  return nullptr;
}

}  // namespace

QtDisplay::Impl::Impl(int argc, char** argv, Options options) : options_(options) {
  qt::EnsureApplication(argc, argv, /*offscreen=*/false);
}

QtDisplay::Impl::~Impl() = default;

bool QtDisplay::Impl::CallGui(const std::function<void()>& fn) {
  std::shared_ptr<qt::GuiThread> gui;
  {
    std::lock_guard lock(run_mu_);
    if (!running_) return false;
    gui = gui_;
  }
  return gui->Call(fn);
}

int QtDisplay::Impl::Run(const std::function<void()>& program) {
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    std::fprintf(stderr, "twiqrt: the Qt display must run on the main thread\n");
    return 2;
  }
  {
    std::lock_guard lock(run_mu_);
    gui_ = std::make_shared<qt::GuiThread>();
    running_ = true;
  }
  const char* native = std::getenv("TWIQRT_QT_NATIVE_CLIENTS");
  native_clients_ = native != nullptr && std::string(native) == "1";
  input_ = std::make_unique<qt::InputRouter>(
      [this](const QWidget* w) { return ViewOfWidget(w); },
      [this](WindowRef ref, int sheet, int tab) { TabChosen(ref, sheet, tab); });
  qApp->installEventFilter(input_.get());
  poll_ = std::make_unique<QTimer>();
  QObject::connect(poll_.get(), &QTimer::timeout, poll_.get(), [this] { Poll(); });
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, poll_.get(),
                   [this](Qt::ApplicationState state) {
                     if (state != Qt::ApplicationActive) ApplicationDeactivated();
                   });
  if (options_.recheck_interval.count() > 0) {
    poll_->start(static_cast<int>(options_.recheck_interval.count()));
  }
  for (const auto& w : OpenWindows()) Sync(w->ref());

  // HALT and STOP show their text as a message box of this display.
  FatalMessageHandler previous = SetFatalMessageHandler([](const FatalMessage& m) {
    MessageBox(m.text, m.kind == FatalMessage::Kind::kHalt ? "Halt" : "Stop", "Hand");
  });
  int exit_code = 0;
  const ThreadId program_thread = Start(program);
  if (program_thread == 0) {
    std::fprintf(stderr, "twiqrt: the program thread could not start\n");
    exit_code = 1;
  } else {
    QEventLoop loop;
    std::shared_ptr<qt::GuiThread> gui = gui_;
    std::thread watcher([&loop, gui, program_thread] {
      while (!WaitForThreadEnd(program_thread, std::chrono::hours(1))) {
      }
      gui->Post([&loop] { loop.quit(); });
    });
    loop.exec();
    watcher.join();
  }
  // The program has ended: every other thread closes down, with the display still answering.
  RequestCloseDown();
  const auto deadline = std::chrono::steady_clock::now() + options_.close_down_timeout;
  {
    QEventLoop wait;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &check, [&] {
      if (RunningThreads().empty() || std::chrono::steady_clock::now() >= deadline) wait.quit();
    });
    check.start(10);
    if (!RunningThreads().empty()) wait.exec();
  }
  if (!RunningThreads().empty()) {
    std::fprintf(stderr, "twiqrt: %zu runtime thread(s) did not end after close-down:\n%s",
                 RunningThreads().size(), DescribeThreads().c_str());
    if (exit_code == 0) exit_code = kThreadsLeftExitCode;
  }
  SetFatalMessageHandler(std::move(previous));
  Shutdown();
  return exit_code;
}

void QtDisplay::Impl::Shutdown() {
  std::shared_ptr<qt::GuiThread> gui;
  {
    std::lock_guard lock(run_mu_);
    running_ = false;
    gui = std::move(gui_);
  }
  poll_.reset();
  qApp->removeEventFilter(input_.get());
  input_.reset();
  if (override_cursor_) QGuiApplication::restoreOverrideCursor();
  override_cursor_ = false;
  cursor_.clear();
  windows_.clear();
  awaiting_.clear();
  dialogs_.clear();
  focus_window_ = 0;
  focus_feq_ = -1;
  // Calls still queued are dropped: their guards fail them (dialogs answer no choice).
  if (gui) gui->Shutdown();
}

void QtDisplay::Impl::ShowDialog(std::shared_ptr<DialogCall> call) {
  auto show = [this, call] {
    const DialogRequest& r = call->request();
    QWidget* owner = nullptr;
    std::optional<QPoint> at;
    if (qt::WindowView* v = View(r.window); v && v->shown()) {
      owner = v->outer()->window();
      if (r.position) at = v->client()->mapToGlobal(QPoint(r.position->first, r.position->second));
    }
    if (owner == nullptr) owner = QApplication::activeWindow();
    call->Answer(qt::RunDialog(r, owner, at, [this, &r](QWidget* dialog) {
      if (dialog != nullptr) {
        dialogs_.push_back({dialog, r});
      } else if (!dialogs_.empty()) {
        dialogs_.pop_back();
      }
    }));
  };
  std::shared_ptr<qt::GuiThread> gui;
  {
    std::lock_guard lock(run_mu_);
    if (running_) gui = gui_;
  }
  if (!gui) {
    call->Answer(NoChoice(call->request()));
    return;
  }
  if (gui->IsCurrent()) {
    show();
    return;
  }
  qt::OnDrop unanswered([call] { call->Answer(NoChoice(call->request())); });
  if (!gui->Post([show, unanswered] {
        unanswered.Dismiss();
        show();
      })) {
    call->Answer(NoChoice(call->request()));
  }
}

void QtDisplay::Impl::Opened(WindowRef ref) {
  std::lock_guard lock(run_mu_);
  if (running_) gui_->Post([this, ref] { Sync(ref); });
}

void QtDisplay::Impl::Changed(WindowRef ref) {
  std::lock_guard lock(run_mu_);
  if (running_) gui_->Post([this, ref] { Sync(ref); });
}

void QtDisplay::Impl::InputStateChanged() {
  if (input_state_pending_.exchange(true)) return;  // one look covers every change until then
  std::lock_guard lock(run_mu_);
  const bool posted = running_ && gui_->Post([this] {
    input_state_pending_ = false;
    Poll();
  });
  if (!posted) input_state_pending_ = false;
}

void QtDisplay::Impl::Closed(WindowRef ref) {
  std::lock_guard lock(run_mu_);
  if (!running_) return;
  gui_->Post([this, ref] {
    auto it = windows_.find(ref);
    if (it == windows_.end()) return;
    const bool frame = it->second.view && it->second.view->is_frame();
    // Out of the table first: a closing frame's children move out of it before its widgets
    // (which hold theirs) are destroyed.
    auto closing = windows_.extract(it);
    awaiting_.erase(ref);
    if (hover_window_ == ref) hover_window_ = 0;
    if (focus_window_ == ref) focus_window_ = 0;
    if (frame) RehostChildren();
  });
}

void QtDisplay::Impl::Sync(WindowRef ref) {
  std::shared_ptr<Window> w = FindWindow(ref);
  if (!w) return;  // closed: its WindowClosed is queued
  Entry& e = windows_[ref];
  if (!e.view) e.view = std::make_unique<qt::WindowView>(ref, *this);
  if (!e.opened) {
    if (!OnItsStack(*w)) {
      awaiting_.insert(ref);
      return;
    }
    e.opened = true;
    awaiting_.erase(ref);
  }
  // Held back while locked. Taking the changes lets the unlock announce again; marking the
  // window changed makes sure it has something to announce.
  if (w->updates_locked()) {
    w->TakeChanges();
    w->Invalidate();
    e.needs_apply = true;
    return;
  }
  const std::set<int> changed = w->TakeChanges();
  if (changed.empty() && !e.needs_apply) return;
  const WindowState state = w->Snapshot();
  if (w->updates_locked()) {  // locked while the snapshot was taken: it may be half done
    w->Invalidate();
    e.needs_apply = true;
    return;
  }
  e.needs_apply = false;
  const bool was_frame_shown = e.view->is_frame() && e.view->shown();
  const int controls = e.view->Apply(state, w.get());
  const bool shown = !qt::Flag(state.properties, prop::kHidden);
  e.view->SetShown(shown);
  if (shown) {
    std::lock_guard lock(stats_mu_);
    frames_[ref].push_back(controls);
  }
  if (e.view->is_frame() && e.view->shown() != was_frame_shown) RehostChildren();
  // A standard arrangement chosen from the window's menu: performed once, then taken.
  const std::string arrangement = Clip(qt::Text(state.properties, prop::kLastFrameAction));
  if (!arrangement.empty()) {
    w->Set(0, prop::kLastFrameAction, "");
    Arrange(ref, arrangement);
  }
  focus_feq_ = -1;  // show the focus again: the control may have a new widget
  UpdateFocus();
  UpdateStatus();
}

void QtDisplay::Impl::SettleNow() {
  std::vector<WindowRef> refs(awaiting_.begin(), awaiting_.end());
  for (const auto& [ref, e] : windows_) refs.push_back(ref);
  for (const auto& w : OpenWindows()) refs.push_back(w->ref());
  std::sort(refs.begin(), refs.end());
  refs.erase(std::unique(refs.begin(), refs.end()), refs.end());
  for (WindowRef ref : refs) Sync(ref);
  UpdateFocus();
  UpdateCursor();
  UpdateStatus();
}

void QtDisplay::Impl::Poll() {
  const std::vector<WindowRef> waiting(awaiting_.begin(), awaiting_.end());
  for (WindowRef ref : waiting) Sync(ref);
  UpdateFocus();
  UpdateCursor();
}

void QtDisplay::Impl::UpdateFocus() {
  const WindowRef fw = FocusedWindow();
  std::shared_ptr<Window> w = FindWindow(fw);
  const int feq = w ? w->focus() : 0;
  if (fw == focus_window_ && feq == focus_feq_) return;
  qt::WindowView* v = View(fw);
  if (v == nullptr || !v->shown()) {
    // A hidden window (edit mode's) may hold the focus: the shown windows stay as they are.
    focus_window_ = fw;
    focus_feq_ = feq;
    return;
  }
  focus_window_ = fw;
  focus_feq_ = feq;
  v->ShowFocus(feq);
  UpdateStatus();
}

void QtDisplay::Impl::UpdateCursor() {
  const std::string code = CurrentCursor();
  if (code == cursor_) return;
  cursor_ = code;
  const std::optional<QCursor> cursor = qt::CursorOf(code);
  if (!cursor) {
    if (override_cursor_) QGuiApplication::restoreOverrideCursor();
    override_cursor_ = false;
  } else if (override_cursor_) {
    QGuiApplication::changeOverrideCursor(*cursor);
  } else {
    QGuiApplication::setOverrideCursor(*cursor);
    override_cursor_ = true;
  }
}

void QtDisplay::Impl::UpdateStatus() {
  for (auto& [ref, e] : windows_) {
    qt::WindowView* frame = e.view.get();
    if (!frame || !frame->has_status_bar()) continue;
    // The windows whose messages this status bar shows: itself and its child windows.
    auto shows_for = [&](WindowRef r) {
      if (r == ref) return true;
      qt::WindowView* v = View(r);
      return v && v->sub_window() && frame->mdi_area() &&
             v->sub_window()->mdiArea() == frame->mdi_area();
    };
    QString text;
    if (hover_window_ != 0 && shows_for(hover_window_)) {
      if (qt::WindowView* v = View(hover_window_)) {
        if (const ControlState* c = ControlIn(v->state(), hover_feq_)) {
          text = qt::DecodeText(qt::Text(c->properties, prop::kStatusMessage), 0);
        }
      }
    } else if (focus_window_ != 0 && shows_for(focus_window_)) {
      if (qt::WindowView* v = View(focus_window_)) {
        if (const ControlState* c = ControlIn(v->state(), focus_feq_)) {
          text = qt::DecodeText(qt::Text(c->properties, prop::kStatusMessage),
                                qt::CharsetOf(&c->properties, v->state().properties));
        }
      }
    }
    frame->SetStatusText(text);
  }
}

void QtDisplay::Impl::RehostChildren() {
  for (auto& [ref, e] : windows_) {
    if (e.view && e.view->is_mdi_child()) e.view->Rehost();
  }
}

qt::WindowView* QtDisplay::Impl::View(WindowRef ref) const {
  auto it = windows_.find(ref);
  return it == windows_.end() ? nullptr : it->second.view.get();
}

qt::WindowView* QtDisplay::Impl::ViewOfWidget(const QWidget* w) const {
  for (const QWidget* a = w; a != nullptr; a = a->parentWidget()) {
    const QVariant ref = a->property("twiqrt_window");
    if (ref.isValid()) return View(ref.toLongLong());
    if (a->isWindow()) return nullptr;  // a dialog or pop-up of its own
  }
  return nullptr;
}

QWidget* QtDisplay::Impl::open_dialog() const {
  return dialogs_.empty() ? nullptr : dialogs_.back().widget.data();
}

const DialogRequest* QtDisplay::Impl::open_request() const {
  return dialogs_.empty() ? nullptr : &dialogs_.back().request;
}

void QtDisplay::Impl::ApplicationDeactivated() {
  // A capturing window holds all input: input leaving for another application is a loss of
  // focus, which ends the capture (os_window.h). Without a capture nothing changes.
  if (GetCapture() == 0) return;
  std::lock_guard lock(internal::State().mu);
  internal::ChangeFocusLocked(0);
}

qt::WindowView* QtDisplay::Impl::Frame() {
  for (auto& [ref, e] : windows_) {
    if (e.view && e.opened && e.view->is_frame() && e.view->shown()) return e.view.get();
  }
  return nullptr;
}

void QtDisplay::Impl::CloseRequested(WindowRef ref) {
  QueueEvent(ref, event::kCloseWindow, 0, false);
}

void QtDisplay::Impl::GeometryChanged(WindowRef ref, const Rect& rect) {
  // The model keeps the size within the window's limits; a clamped size comes back to the
  // widget as a model change.
  ReportWindowGeometry(ref, rect);
}

void QtDisplay::Impl::MenuChosen(WindowRef ref, int feq) {
  // The window procedure decides: accepted for the item, or a standard frame action.
  SendCommand(ref, feq);
}

void QtDisplay::Impl::Arrange(WindowRef ref, const std::string& action_name) {
  qt::WindowView* v = View(ref);
  QMdiArea* area = v && v->is_frame() ? v->mdi_area() : nullptr;
  if (area == nullptr && v && v->sub_window()) area = v->sub_window()->mdiArea();
  if (area == nullptr) return;
  switch (StdActionFromName(action_name).value_or(StdAction::kPrintSetup)) {
    case StdAction::kTileWindow:
      area->tileSubWindows();
      break;
    case StdAction::kCascadeWindow:
      area->cascadeSubWindows();
      break;
    case StdAction::kArrangeIcons: {
      // Minimised children in a row along the bottom of the child area.
      int x = 0;
      for (QMdiSubWindow* sub : area->subWindowList()) {
        if (!sub->isMinimized()) continue;
        sub->move(x, area->viewport()->height() - sub->height());
        x += sub->width();
      }
      break;
    }
    default:
      break;
  }
}

void QtDisplay::Impl::RowChosen(WindowRef ref, int feq, int row) {
  ChooseListRow(ref, feq, row);  // refused while captured: edit mode owns the pointer
}

void QtDisplay::Impl::TabChosen(WindowRef ref, int sheet, int tab) { ChooseTab(ref, sheet, tab); }

void QtDisplay::Impl::Activated(WindowRef ref) {
  const WindowRef focused = FocusedWindow();
  if (focused == ref || ref == 0) return;
  std::shared_ptr<Window> w = FindWindow(ref);
  std::shared_ptr<Window> f = FindWindow(focused);
  if (!w) return;
  if (f && f->owner_thread() == w->owner_thread()) {
    // A window above it on the same thread (a nested, modal one; edit mode's hidden window)
    // keeps the focus.
    const std::vector<WindowRef> stack = ThreadWindows(w->owner_thread());
    auto above = std::find(stack.begin(), stack.end(), focused);
    auto it = std::find(stack.begin(), stack.end(), ref);
    if (above != stack.end() && it != stack.end() && above > it) return;
  }
  ActivateWindow(ref);
}

void QtDisplay::Impl::MenuHovered(WindowRef ref, int feq) {
  hover_window_ = feq == 0 ? 0 : ref;
  hover_feq_ = feq;
  UpdateStatus();
}

void QtDisplay::Impl::ClientPainted(WindowRef ref) {
  std::lock_guard lock(stats_mu_);
  ++paints_[ref];
}

int64_t QtDisplay::Impl::Frames(WindowRef ref) const {
  std::lock_guard lock(stats_mu_);
  auto it = frames_.find(ref);
  return it == frames_.end() ? 0 : static_cast<int64_t>(it->second.size());
}

std::vector<int> QtDisplay::Impl::FrameSizes(WindowRef ref) const {
  std::lock_guard lock(stats_mu_);
  auto it = frames_.find(ref);
  return it == frames_.end() ? std::vector<int>{} : it->second;
}

int64_t QtDisplay::Impl::ClientPaints(WindowRef ref) const {
  std::lock_guard lock(stats_mu_);
  auto it = paints_.find(ref);
  return it == paints_.end() ? 0 : it->second;
}

// ---- QtDisplay ----

QtDisplay::QtDisplay(int argc, char** argv) : QtDisplay(argc, argv, Options{}) {}
QtDisplay::QtDisplay(int argc, char** argv, Options options)
    : impl_(std::make_unique<Impl>(argc, argv, options)) {}
QtDisplay::~QtDisplay() = default;

int QtDisplay::Run(const std::function<void()>& program) { return impl_->Run(program); }
void QtDisplay::ShowDialog(std::shared_ptr<DialogCall> call) { impl_->ShowDialog(std::move(call)); }
void QtDisplay::WindowOpened(WindowRef ref) { impl_->Opened(ref); }
void QtDisplay::WindowChanged(WindowRef ref) { impl_->Changed(ref); }
void QtDisplay::WindowClosed(WindowRef ref) { impl_->Closed(ref); }
void QtDisplay::InputStateChanged() { impl_->InputStateChanged(); }

Status QtDisplay::Settle() {
  if (!impl_->CallGui([this] { impl_->SettleNow(); })) {
    return Status::Failed("the Qt display is not running");
  }
  return Status::Ok();
}

namespace {

Image ToImage(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  Image out;
  out.width = image.width();
  out.height = image.height();
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(line, line + out.width, out.pixels.begin() + static_cast<ptrdiff_t>(y) * out.width);
  }
  return out;
}

}  // namespace

Status QtDisplay::Grab(WindowRef ref, Image* out) {
  Status result = Status::Failed("the Qt display is not running");
  impl_->CallGui([&] {
    impl_->SettleNow();
    qt::WindowView* v = impl_->View(ref);
    if (v == nullptr || !v->shown()) {
      result = Status::NotFound("window " + std::to_string(ref) + " is not shown");
      return;
    }
    *out = ToImage(v->client()->grab());
    result = Status::Ok();
  });
  return result;
}

bool QtDisplay::Shown(WindowRef ref) {
  bool shown = false;
  impl_->CallGui([&] {
    qt::WindowView* v = impl_->View(ref);
    shown = v != nullptr && v->shown();
  });
  return shown;
}

Status QtDisplay::SaveScreenshot(WindowRef ref, const std::string& png_path) {
  Status result = Status::Failed("the Qt display is not running");
  impl_->CallGui([&] {
    impl_->SettleNow();
    qt::WindowView* v = impl_->View(ref);
    if (v == nullptr || !v->shown()) {
      result = Status::NotFound("window " + std::to_string(ref) + " is not shown");
      return;
    }
    result = v->outer()->grab().save(QString::fromStdString(png_path), "PNG")
                 ? Status::Ok()
                 : Status::Failed("cannot write " + png_path);
  });
  return result;
}

int64_t QtDisplay::Frames(WindowRef ref) const { return impl_->Frames(ref); }
std::vector<int> QtDisplay::FrameSizes(WindowRef ref) const { return impl_->FrameSizes(ref); }

}  // namespace rt
