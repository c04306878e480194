#include "runtime/display/headless/script.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>

#include "runtime/dialog/dialog_request.h"
#include "runtime/display/headless/robot.h"
#include "runtime/display/screenshot.h"
#include "runtime/event/keycodes.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

Status LineError(int line, const std::string& what) {
  return Status::InvalidArgument("line " + std::to_string(line) + ": " + what);
}

// Splits a line into words; "..." is one word (\" and \\ escape, \n is a line break); '#'
// outside quotes starts a comment.
Status Tokenize(std::string_view line, int number, std::vector<std::string>* words) {
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size()) {
          d = line[i++];
          if (d == 'n') d = '\n';
        }
        word += d;
      }
      if (!closed) return LineError(number, "unterminated quoted text");
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word += line[i++];
      }
    }
    words->push_back(std::move(word));
  }
  return Status::Ok();
}

std::optional<int64_t> ParseNumber(std::string_view s) {
  int base = 10;
  bool negative = false;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return negative ? -v : v;
}

std::optional<int> PropertyCode(std::string_view name) {
  static const std::map<std::string, int>* names = [] {
    auto* m = new std::map<std::string, int>;
    for (int code = 0x7800; code <= 0x7FFF; ++code) {
      if (auto n = prop::PropertyName(code)) (*m)[Upper(*n)] = code;
    }
    return m;
  }();
  auto it = names->find(Upper(name));
  if (it != names->end()) return it->second;
  if (auto n = ParseNumber(name)) return static_cast<int>(*n);
  return std::nullopt;
}

bool IsControl(std::string_view word) { return !word.empty() && word[0] == '?'; }

// The place of a mouse command: a control label or two numbers, after an optional button.
struct Place {
  MouseButton button = MouseButton::kLeft;
  std::string control;
  int x = 0, y = 0;
};

std::optional<Place> ParsePlace(const std::vector<std::string>& args, bool with_button) {
  Place p;
  size_t i = 0;
  if (with_button && !args.empty() &&
      (ClipEquals(args[0], "left") || ClipEquals(args[0], "right"))) {
    p.button = ClipEquals(args[0], "left") ? MouseButton::kLeft : MouseButton::kRight;
    i = 1;
  }
  if (args.size() == i + 1 && IsControl(args[i])) {
    p.control = args[i];
    return p;
  }
  if (args.size() == i + 2) {
    auto x = ParseNumber(args[i]);
    auto y = ParseNumber(args[i + 1]);
    if (x && y) {
      p.x = static_cast<int>(*x);
      p.y = static_cast<int>(*y);
      return p;
    }
  }
  return std::nullopt;
}

// Checks the arguments of one command; the text of the error when they are wrong.
std::optional<std::string> CheckArguments(const ScriptCommand& c) {
  const auto& a = c.args;
  const std::string& n = c.name;
  if (n == "wait" || n == "quit") {
    if (!a.empty()) return n + " takes no arguments";
  } else if (n == "window") {
    if (a.size() > 1) return "window takes one window name (or none for the focused window)";
  } else if (n == "activate" || n == "expect-window" || n == "expect-no-window") {
    if (a.size() != 1) return n + " takes one window name";
  } else if (n == "move" || n == "double-click") {
    if (!ParsePlace(a, false)) return n + ": expected X Y or a control label (?LABEL)";
  } else if (n == "press" || n == "release" || n == "click") {
    if (!ParsePlace(a, true)) {
      return n + ": expected [left|right] and X Y or a control label (?LABEL)";
    }
  } else if (n == "key") {
    if (a.empty()) return "key takes one or more keys, e.g. key Ctrl+Alt+D";
    for (const std::string& k : a) {
      if (!key::KeyCodeFromName(k)) return "key: unknown key \"" + k + "\"";
    }
  } else if (n == "type") {
    if (a.size() != 1) return "type takes one text (quote text with spaces)";
  } else if (n == "screenshot") {
    if (a.size() != 2) return "screenshot takes a window name and a PNG file name";
  } else if (n == "say") {
    if (a.size() != 1) return "say takes one text (quote text with spaces)";
  } else if (n == "menu") {
    if (a.size() != 1) return "menu takes one item text, e.g. menu \"&Twiq\"";
  } else if (n == "tab" || n == "choose") {
    if (a.size() != 2 || !IsControl(a[0]) || !ParseNumber(a[1]) || *ParseNumber(a[1]) < 1) {
      return n == "tab" ? "tab takes a sheet's label and a tab number from 1"
                        : "choose takes a drop list's or combo's label and a row number from 1";
    }
  } else if (n == "resize") {
    if (a.size() != 3 || !ParseNumber(a[1]) || !ParseNumber(a[2]) || *ParseNumber(a[1]) < 0 ||
        *ParseNumber(a[2]) < 0) {
      return "resize takes a window name and a client width and height in pixels";
    }
  } else if (n == "answer") {
    if (a.empty()) return "answer takes message, popup, colour or file";
    const std::string& kind = a[0];
    if (kind == "message") {
      if (a.size() < 2 || a.size() > 3 || button::ButtonFromName(a[1]) == 0) {
        return "answer message takes a button (OK, Yes, No, Retry, Cancel) and an optional text";
      }
    } else if (kind == "popup") {
      if (a.size() < 2 || a.size() > 3 || !ParseNumber(a[1]) || *ParseNumber(a[1]) < 0) {
        return "answer popup takes an item number (0 for none) and an optional text";
      }
    } else if (kind == "colour" || kind == "color") {
      if (a.size() != 2 || (a[1] != "cancel" && !ParseNumber(a[1]))) {
        return "answer colour takes a colour value or cancel";
      }
    } else if (kind == "file") {
      if (a.size() != 2) return "answer file takes a file name or cancel";
    } else {
      return "answer: unknown dialog \"" + kind + "\" (message, popup, colour, file)";
    }
  } else if (n == "expect") {
    if (a.size() != 3 || (!IsControl(a[0]) && !ClipEquals(a[0], "window"))) {
      return "expect takes a control label (or window), a property and a value";
    }
    if (!PropertyCode(a[1])) return "expect: unknown property \"" + a[1] + "\"";
  } else if (n == "dump") {
    if (a.size() > 1) return "dump takes an optional file name";
  } else {
    return "unknown command \"" + n + "\"";
  }
  return std::nullopt;
}

class Runner {
 public:
  explicit Runner(Robot& robot) : robot_(robot) {}

  Status Run(const ScriptCommand& c, bool* quit) {
    const auto& a = c.args;
    const std::string& n = c.name;
    if (n == "wait") return robot_.WaitIdle();
    if (n == "quit") {
      *quit = true;
      return robot_.Quit();
    }
    if (n == "window") {
      window_name_ = a.empty() ? "" : a[0];
      if (!window_name_.empty() && robot_.FindWindowNamed(window_name_) == 0) {
        return Status::NotFound("no open window \"" + window_name_ + "\"");
      }
      return Status::Ok();
    }
    if (n == "activate") {
      const WindowRef w = robot_.FindWindowNamed(a[0]);
      if (w == 0) return Status::NotFound("no open window \"" + a[0] + "\"");
      return robot_.Activate(w);
    }
    if (n == "expect-window" || n == "expect-no-window") {
      const bool open = robot_.FindWindowNamed(a[0]) != 0;
      if (open == (n == "expect-window")) return Status::Ok();
      return Status::Failed(open ? "window \"" + a[0] + "\" is open"
                                 : "no open window \"" + a[0] + "\"");
    }
    if (n == "move" || n == "press" || n == "release" || n == "click" || n == "double-click") {
      return Mouse(n, *ParsePlace(a, n != "move" && n != "double-click"));
    }
    if (n == "key") {
      for (const std::string& k : a) {
        if (Status s = robot_.Key(*key::KeyCodeFromName(k)); !s.ok()) return s;
      }
      return Status::Ok();
    }
    if (n == "type") return robot_.Type(a[0]);
    if (n == "screenshot") {
      if (Status s = robot_.WaitIdle(); !s.ok()) return s;
      const WindowRef w = robot_.FindWindowNamed(a[0]);
      if (w == 0) return Status::NotFound("no open window \"" + a[0] + "\"");
      return SaveScreenshot(w, a[1]);
    }
    if (n == "say") {
      std::printf("%s\n", a[0].c_str());
      std::fflush(stdout);
      return Status::Ok();
    }
    if (n == "menu") {
      WindowRef w = 0;
      if (!window_name_.empty()) {
        if (Status s = Window(&w); !s.ok()) return s;
      }
      return robot_.ChooseMenu(a[0], w);
    }
    if (n == "tab" || n == "choose") {
      WindowRef w = 0;
      if (!window_name_.empty()) {
        if (Status s = Window(&w); !s.ok()) return s;
      }
      const int number = static_cast<int>(*ParseNumber(a[1]));
      return n == "tab" ? robot_.ChooseTab(a[0], number, w) : robot_.ChooseRow(a[0], number, w);
    }
    if (n == "resize") {
      const WindowRef w = robot_.FindWindowNamed(a[0]);
      if (w == 0) return Status::NotFound("no open window \"" + a[0] + "\"");
      return robot_.Resize(w, static_cast<int>(*ParseNumber(a[1])),
                           static_cast<int>(*ParseNumber(a[2])));
    }
    if (n == "answer") return Answer(a);
    if (n == "expect") return Expect(a);
    if (n == "dump") return Dump(a);
    return Status::InvalidArgument("unknown command \"" + n + "\"");
  }

 private:
  // The window the script addresses: the one named by "window", else the focused one.
  Status Window(WindowRef* w) const {
    *w = window_name_.empty() ? robot_.Focused() : robot_.FindWindowNamed(window_name_);
    if (*w != 0) return Status::Ok();
    return Status::NotFound(window_name_.empty() ? std::string("no window has the focus")
                                                 : "no open window \"" + window_name_ + "\"");
  }

  Status Mouse(const std::string& n, const Place& p) {
    WindowRef w = 0;
    if (p.control.empty() || !window_name_.empty()) {
      if (Status s = Window(&w); !s.ok()) return s;
    }
    if (!p.control.empty()) {
      if (n == "move") return robot_.Move(p.control, w);
      if (n == "press") return robot_.Press(p.button, p.control, w);
      if (n == "release") return robot_.Release(p.button, p.control, w);
      if (n == "click") return robot_.Click(p.button, p.control, w);
      return robot_.DoubleClick(p.control, w);
    }
    if (n == "move") return robot_.Move(w, p.x, p.y);
    if (n == "press") return robot_.Press(p.button, w, p.x, p.y);
    if (n == "release") return robot_.Release(p.button, w, p.x, p.y);
    if (n == "click") return robot_.Click(p.button, w, p.x, p.y);
    return robot_.DoubleClick(w, p.x, p.y);
  }

  Status Answer(const std::vector<std::string>& a) {
    const std::string expect = a.size() > 2 ? a[2] : "";
    if (a[0] == "message") {
      robot_.AnswerMessage(button::ButtonFromName(a[1]), expect);
    } else if (a[0] == "popup") {
      robot_.AnswerPopup(static_cast<int>(*ParseNumber(a[1])), expect);
    } else if (a[0] == "file") {
      robot_.AnswerFile(a[1] == "cancel" ? std::nullopt : std::optional<std::string>(a[1]));
    } else {
      robot_.AnswerColour(a[1] == "cancel" ? std::nullopt : ParseNumber(a[1]));
    }
    return Status::Ok();
  }

  Status Expect(const std::vector<std::string>& a) {
    WindowRef ref = 0;
    if (Status s = Window(&ref); !s.ok()) return s;
    std::shared_ptr<rt::Window> w = FindWindow(ref);
    if (!w) return Status::NotFound("the window has closed");
    int feq = 0;
    if (!ClipEquals(a[0], "window")) {
      feq = w->FieldByLabel(a[0]);
      if (feq == 0) return Status::NotFound("no control " + a[0] + " in " + w->label());
    }
    const std::string got = w->Get(feq, *PropertyCode(a[1])).AsText();
    if (ClipCompareCase(got, a[2]) == 0) return Status::Ok();
    return Status::Failed(a[0] + " " + a[1] + " is \"" + got + "\", expected \"" + a[2] + "\"");
  }

  Status Dump(const std::vector<std::string>& a) {
    const std::string json = robot_.DumpJson();
    if (a.empty()) {
      std::fwrite(json.data(), 1, json.size(), stdout);
      std::fflush(stdout);
      return Status::Ok();
    }
    std::ofstream out(a[0], std::ios::binary | std::ios::trunc);
    out << json;
    out.close();
    if (!out) return Status::Failed("cannot write " + a[0]);
    return Status::Ok();
  }

  Robot& robot_;
  std::string window_name_;
};

}  // namespace

Status ParseScript(std::string_view text, std::vector<ScriptCommand>* commands) {
  commands->clear();
  int number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    ++number;
    start = end + 1;
    std::vector<std::string> words;
    if (Status s = Tokenize(line, number, &words); !s.ok()) return s;
    if (words.empty()) continue;
    ScriptCommand c;
    c.line = number;
    c.name = words[0];
    c.args.assign(words.begin() + 1, words.end());
    if (auto error = CheckArguments(c)) return LineError(number, *error);
    commands->push_back(std::move(c));
  }
  return Status::Ok();
}

Status RunScript(const std::vector<ScriptCommand>& commands, Robot& robot) {
  // The program starts before the script: let it reach its first loop.
  if (Status s = robot.WaitIdle(); !s.ok()) return Status::Failed("at the start: " + s.message());
  Runner runner(robot);
  for (const ScriptCommand& c : commands) {
    bool quit = false;
    Status s = runner.Run(c, &quit);
    if (!s.ok()) {
      return Status::Failed("line " + std::to_string(c.line) + ": " + c.name + ": " + s.message());
    }
    if (quit) return Status::Ok();
  }
  // The end of the script: the user is done, the program closes down.
  return robot.Quit();
}

}  // namespace rt
