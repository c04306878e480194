// Screenshots: PNG pictures of the runtime's windows, for scripted tours and bug reports.
//
// A display that draws pixels provides the renderer. When the runtime is built with the Qt
// display, its renderer draws the window as the Qt display shows it: while the Qt display
// runs, from its widgets; otherwise (the headless display) from the window model alone,
// offscreen, so a headless run can still show what a user would see. Without a renderer (a
// runtime built without Qt) a screenshot fails with a message saying so.
#ifndef RUNTIME_DISPLAY_SCREENSHOT_H_
#define RUNTIME_DISPLAY_SCREENSHOT_H_

#include <functional>
#include <string>

#include "runtime/status/status.h"
#include "runtime/window/window.h"

namespace rt {

using ScreenshotRenderer = std::function<Status(WindowRef window, const std::string& png_path)>;

// Installs the renderer (empty: none). Process-wide, guarded by a mutex.
void RegisterScreenshotRenderer(ScreenshotRenderer renderer);

// Writes a PNG picture of open window `window` to `png_path`. Thread-safe; without a running
// Qt display it must be called on the main thread (the headless display's script runs
// there), since drawing needs the GUI thread.
Status SaveScreenshot(WindowRef window, const std::string& png_path);

}  // namespace rt

#endif  // RUNTIME_DISPLAY_SCREENSHOT_H_
