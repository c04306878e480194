#include "runtime/display/qt/gui_thread.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>

namespace rt::qt {

GuiThread::GuiThread() : context_(std::make_unique<QObject>()) {}

GuiThread::~GuiThread() { Shutdown(); }

bool GuiThread::IsCurrent() const {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

bool GuiThread::Post(std::function<void()> fn) {
  std::lock_guard lock(mu_);
  if (!open_) return false;
  // Posted under the lock, so Shutdown cannot destroy the context in between.
  QMetaObject::invokeMethod(
      context_.get(), [fn = std::move(fn)] { fn(); }, Qt::QueuedConnection);
  return true;
}

bool GuiThread::Call(const std::function<void()>& fn) {
  if (IsCurrent()) {
    {
      std::lock_guard lock(mu_);
      if (!open_) return false;
    }
    fn();
    return true;
  }
  struct Done {
    std::mutex mu;
    std::condition_variable cv;
    bool finished = false;
    bool ran = false;
  };
  auto done = std::make_shared<Done>();
  OnDrop guard([done] {
    std::lock_guard lock(done->mu);
    done->finished = true;
    done->cv.notify_all();
  });
  // The guard lives only in the posted function: destroying it unrun wakes the waiter.
  const bool posted = Post([fn, done, guard = std::move(guard)] {
    guard.Dismiss();
    fn();
    std::lock_guard lock(done->mu);
    done->ran = true;
    done->finished = true;
    done->cv.notify_all();
  });
  if (!posted) return false;
  std::unique_lock lock(done->mu);
  done->cv.wait(lock, [&] { return done->finished; });
  return done->ran;
}

void GuiThread::Shutdown() {
  std::unique_ptr<QObject> context;
  {
    std::lock_guard lock(mu_);
    if (!open_) return;
    open_ = false;
    context = std::move(context_);
  }
  // Destroying the receiver destroys its queued calls unrun; their guards fail them.
  context.reset();
}

}  // namespace rt::qt
