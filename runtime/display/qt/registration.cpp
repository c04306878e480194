// How the Qt display joins the runtime: rt::Run's factory and the screenshot renderer,
// registered when the runtime library loads.
#include <unistd.h>
#include <QApplication>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "runtime/display/headless/headless_display.h"
#include "runtime/display/qt/qt_app.h"
#include "runtime/display/qt/qt_display.h"
#include "runtime/display/qt/window_view.h"
#include "runtime/display/run.h"
#include "runtime/display/screenshot.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

// A host for a view drawn once, outside any running display: nothing to report to.
class StillHost : public qt::ViewHost {
 public:
  qt::WindowView* Frame() override { return nullptr; }
  void CloseRequested(WindowRef) override {}
  void GeometryChanged(WindowRef, const Rect&) override {}
  void MenuChosen(WindowRef, int) override {}
  void RowChosen(WindowRef, int, int) override {}
  void Activated(WindowRef) override {}
  void MenuHovered(WindowRef, int) override {}
  void ClientPainted(WindowRef) override {}
};

bool OnMainThread() { return gettid() == getpid(); }

// Draws a window from its model, offscreen, on the main thread.
Status RenderStill(WindowRef ref, const std::string& png_path) {
  if (!OnMainThread()) {
    return Status::Failed(
        "without the Qt display running, screenshots are taken on the main thread");
  }
  std::shared_ptr<Window> w = FindWindow(ref);
  if (!w) return Status::NotFound("window " + std::to_string(ref) + " is not open");
  qt::EnsureApplication(0, nullptr, /*offscreen=*/true);
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    return Status::Failed("the Qt application belongs to another thread");
  }
  StillHost host;
  qt::WindowView view(ref, host);
  view.outer()->setAttribute(Qt::WA_DontShowOnScreen);
  view.Apply(w->Snapshot(), w.get());
  view.SetShown(true);
  const bool saved = view.outer()->grab().save(QString::fromStdString(png_path), "PNG");
  view.SetShown(false);
  return saved ? Status::Ok() : Status::Failed("cannot write " + png_path);
}

Status Screenshot(WindowRef ref, const std::string& png_path) {
  if (auto qt_display = std::dynamic_pointer_cast<QtDisplay>(CurrentDisplay())) {
    Status s = qt_display->SaveScreenshot(ref, png_path);
    if (s.code() != Status::Code::kFailed || s.message() != "the Qt display is not running") {
      return s;
    }
  }
  return RenderStill(ref, png_path);
}

// Registers once when the library loads, so every program linked with the runtime can choose
// the Qt display without a call of its own.
[[maybe_unused]] const bool kRegistered = (RegisterQtDisplayWithRuntime(), true);

}  // namespace

void RegisterQtDisplayWithRuntime() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterQtDisplay([](int argc, char** argv) -> std::shared_ptr<Display> {
      // Qt ends the process when it cannot reach its display server: fall back instead, as
      // rt::Run does for a program without the Qt display.
      const char* platform = std::getenv("QT_QPA_PLATFORM");
      if ((platform == nullptr || *platform == '\0') && !DisplayServerReachable()) {
        std::fprintf(stderr,
                     "twiqrt: the Qt display needs a display server (DISPLAY or WAYLAND_DISPLAY) "
                     "or QT_QPA_PLATFORM=offscreen; using the headless display\n");
        HeadlessDisplay::Options o;
        o.scripted = false;
        return std::make_shared<HeadlessDisplay>(o);
      }
      return std::make_shared<QtDisplay>(argc, argv);
    });
    RegisterScreenshotRenderer(Screenshot);
  });
}

}  // namespace rt
