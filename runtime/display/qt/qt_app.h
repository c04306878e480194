// The process's QApplication.
//
// Qt allows one application object per process, created on the thread that then runs its
// event loop. The Qt display creates it on the main thread when the display starts, or a
// screenshot of the headless display creates it with the offscreen platform; either way it
// is kept until the process ends, so that displays started one after another (tests) share it.
//
// Internal to the Qt display. REQUIRES for both functions: called on the main thread.
#ifndef RUNTIME_DISPLAY_QT_QT_APP_H_
#define RUNTIME_DISPLAY_QT_QT_APP_H_

class QApplication;

namespace rt::qt {

// The application, created from `argc`/`argv` (the program's command line; null for none)
// when there is none yet. With `offscreen`, a new application uses the offscreen platform
// whatever QT_QPA_PLATFORM says (for pictures of windows without a display server).
QApplication& EnsureApplication(int argc, char** argv, bool offscreen);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_QT_APP_H_
