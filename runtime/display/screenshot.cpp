#include "runtime/display/screenshot.h"

#include <mutex>

namespace rt {
namespace {

struct Renderer {
  std::mutex mu;
  ScreenshotRenderer renderer;  // guarded by mu
};

Renderer& TheRenderer() {
  static Renderer* r = new Renderer;  // never destroyed
  return *r;
}

}  // namespace

void RegisterScreenshotRenderer(ScreenshotRenderer renderer) {
  Renderer& r = TheRenderer();
  std::lock_guard lock(r.mu);
  r.renderer = std::move(renderer);
}

Status SaveScreenshot(WindowRef window, const std::string& png_path) {
  ScreenshotRenderer renderer;
  {
    Renderer& r = TheRenderer();
    std::lock_guard lock(r.mu);
    renderer = r.renderer;
  }
  if (!renderer) {
    return Status::Failed("screenshots need the Qt display, which this runtime was built without");
  }
  return renderer(window, png_path);
}

}  // namespace rt
