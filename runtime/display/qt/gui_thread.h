// rt::qt::GuiThread: runs functions on the GUI thread (the thread of the Qt event loop) from
// any thread.
//
// Posted functions run in the order they were posted, each once, inside the event loop. A
// blocking call from the GUI thread itself runs inline (queueing it would deadlock). After
// Shutdown nothing more runs: posts are refused, and functions queued but not yet run are
// destroyed unrun, which lets a waiter (Call) or a guard inside the function (see
// OnDrop) fail the request instead of waiting forever.
//
// Internal to the Qt display. Thread-safe, except that the constructor, the destructor and
// Shutdown run on the GUI thread.
#ifndef RUNTIME_DISPLAY_QT_GUI_THREAD_H_
#define RUNTIME_DISPLAY_QT_GUI_THREAD_H_

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

namespace rt::qt {

class GuiThread {
 public:
  // REQUIRES: a QCoreApplication exists and this is its thread.
  GuiThread();
  ~GuiThread();
  GuiThread(const GuiThread&) = delete;
  GuiThread& operator=(const GuiThread&) = delete;

  // True on the GUI thread.
  bool IsCurrent() const;

  // Queues `fn` for the GUI thread. False (and `fn` destroyed unrun) after Shutdown.
  bool Post(std::function<void()> fn);

  // Runs `fn` on the GUI thread and waits for it; inline on the GUI thread. False when it did
  // not run (shut down before or while it waited).
  bool Call(const std::function<void()>& fn);

  // Refuses further posts and destroys the functions still queued. REQUIRES: GUI thread.
  void Shutdown();

 private:
  std::unique_ptr<QObject> context_;  // receives the queued calls; lives on the GUI thread
  mutable std::mutex mu_;
  bool open_ = true;  // guarded by mu_
};

// Runs `on_drop` when the last copy is destroyed unless Dismiss() was called first: the guard
// a posted function carries so that its request is failed when the function never runs.
class OnDrop {
 public:
  explicit OnDrop(std::function<void()> on_drop)
      : state_(std::make_shared<State>(std::move(on_drop))) {}
  void Dismiss() const { state_->armed = false; }

 private:
  struct State {
    explicit State(std::function<void()> f) : fn(std::move(f)) {}
    ~State() {
      if (armed && fn) fn();
    }
    std::function<void()> fn;
    bool armed = true;
  };
  std::shared_ptr<State> state_;
};

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_GUI_THREAD_H_
