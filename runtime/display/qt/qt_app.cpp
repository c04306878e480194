#include "runtime/display/qt/qt_app.h"

#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace rt::qt {
namespace {

// The application and the command line it was given: QApplication keeps references to both,
// so they live as long as it does (until exit).
struct AppState {
  std::mutex mu;
  int argc = 0;
  std::vector<std::string> args;
  std::vector<char*> argv;
  QApplication* app = nullptr;  // never destroyed: used until exit
  // The message handler Qt had before ours; set once, before the application exists.
  QtMessageHandler previous_handler = nullptr;
};

AppState& TheAppState() {
  static AppState* state = new AppState;  // never destroyed
  return *state;
}

// The offscreen platform reports window-manager requests it has no window manager for; they
// mean nothing for its pictures. Everything else goes where Qt would send it.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith("This plugin does not support")) return;
  if (QtMessageHandler previous = TheAppState().previous_handler) {
    previous(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

QApplication& EnsureApplication(int argc, char** argv, bool offscreen) {
  AppState& s = TheAppState();
  std::lock_guard lock(s.mu);
  if (s.app != nullptr) return *s.app;
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    s.app = existing;  // the host made its own
    return *s.app;
  }
  s.args.emplace_back(argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : "twiqrt");
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    if (argv[i] != nullptr) s.args.emplace_back(argv[i]);
  }
  if (offscreen) {
    s.args.emplace_back("-platform");
    s.args.emplace_back("offscreen");
  }
  for (std::string& a : s.args) s.argv.push_back(a.data());
  s.argv.push_back(nullptr);
  s.argc = static_cast<int>(s.args.size());
  s.previous_handler = qInstallMessageHandler(FilterMessages);
  s.app = new QApplication(s.argc, s.argv.data());
  // One look on every platform and display server, so screenshots compare across machines.
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  QApplication::setQuitOnLastWindowClosed(false);
  return *s.app;
}

}  // namespace rt::qt
