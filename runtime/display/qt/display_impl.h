// Internal to the Qt display: the state behind rt::QtDisplay (qt_display.h) and the
// scripted user (qt_user.h).
//
// Members marked GUI are used on the GUI thread only; the others are guarded as noted.
#ifndef RUNTIME_DISPLAY_QT_DISPLAY_IMPL_H_
#define RUNTIME_DISPLAY_QT_DISPLAY_IMPL_H_

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "runtime/display/qt/gui_thread.h"
#include "runtime/display/qt/input_router.h"
#include "runtime/display/qt/qt_display.h"
#include "runtime/display/qt/window_view.h"
#include "runtime/window/std_actions.h"

namespace rt {

class QtDisplay::Impl : public qt::ViewHost {
 public:
  Impl(int argc, char** argv, Options options);
  ~Impl() override;

  int Run(const std::function<void()>& program);
  void ShowDialog(std::shared_ptr<DialogCall> call);
  void Opened(WindowRef ref);
  void Changed(WindowRef ref);
  void Closed(WindowRef ref);
  // The focus, a window stack, the capture or the cursor changed: looked at once on the GUI
  // thread. Any thread, also with the runtime's event lock held (it only schedules).
  void InputStateChanged();

  // Runs `fn` on the GUI thread and waits; false when the display is not running. Any thread.
  bool CallGui(const std::function<void()>& fn);
  int64_t Frames(WindowRef ref) const;
  std::vector<int> FrameSizes(WindowRef ref) const;
  int64_t ClientPaints(WindowRef ref) const;

  // GUI: shows every change made so far (windows opened on their thread, changes not yet
  // applied).
  void SettleNow();
  qt::WindowView* View(WindowRef ref) const;
  // The view a widget belongs to; null for widgets of no runtime window.
  qt::WindowView* ViewOfWidget(const QWidget* w) const;
  // The innermost dialog being shown and its request; null when none.
  QWidget* open_dialog() const;
  const DialogRequest* open_request() const;
  // Another application took the focus from this one.
  void ApplicationDeactivated();

  // ViewHost (GUI).
  qt::WindowView* Frame() override;
  void CloseRequested(WindowRef ref) override;
  void GeometryChanged(WindowRef ref, const Rect& rect) override;
  void MenuChosen(WindowRef ref, int feq) override;
  void RowChosen(WindowRef ref, int feq, int row) override;
  void Activated(WindowRef ref) override;
  void MenuHovered(WindowRef ref, int feq) override;
  void ClientPainted(WindowRef ref) override;
  bool NativeClients() const override { return native_clients_; }
  void TabChosen(WindowRef ref, int sheet, int tab);

 private:
  struct Entry {
    std::unique_ptr<qt::WindowView> view;
    bool opened = false;      // its owner has put it on its window stack
    bool needs_apply = true;  // shown state is older than the model
  };

  void Sync(WindowRef ref);
  void Poll();
  void UpdateFocus();
  void UpdateCursor();
  void UpdateStatus();
  void RehostChildren();
  // Performs a standard arrangement (StdAction name) of the frame that holds window `ref`.
  void Arrange(WindowRef ref, const std::string& action_name);
  void Shutdown();

  const Options options_;

  mutable std::mutex run_mu_;
  bool running_ = false;                // guarded by run_mu_
  std::shared_ptr<qt::GuiThread> gui_;  // guarded by run_mu_ (the pointer)

  std::map<WindowRef, Entry> windows_;            // GUI
  std::set<WindowRef> awaiting_;                  // GUI: known, not yet on their thread's stack
  std::unique_ptr<QTimer> poll_;                  // GUI
  std::atomic<bool> input_state_pending_{false};  // a look at the input state is scheduled
  bool native_clients_ = false;                   // GUI: TWIQRT_QT_NATIVE_CLIENTS=1
  std::unique_ptr<qt::InputRouter> input_;        // GUI
  WindowRef focus_window_ = 0;                    // GUI: the focus as last shown
  int focus_feq_ = -1;                            // GUI
  std::string cursor_;                            // GUI: the SETCURSOR cursor as last shown
  bool override_cursor_ = false;                  // GUI
  WindowRef hover_window_ = 0;                    // GUI: the menu item under the pointer
  int hover_feq_ = 0;                             // GUI
  struct OpenDialog {
    QPointer<QWidget> widget;
    DialogRequest request;
  };
  std::vector<OpenDialog> dialogs_;  // GUI: innermost last

  mutable std::mutex stats_mu_;
  std::map<WindowRef, std::vector<int>> frames_;  // guarded by stats_mu_
  std::map<WindowRef, int64_t> paints_;           // guarded by stats_mu_
};

}  // namespace rt

#endif  // RUNTIME_DISPLAY_QT_DISPLAY_IMPL_H_
