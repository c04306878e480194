// Windows of the Qt display: the application frame with its children, menus and status bar;
// dialogs; fonts; screenshots drawn without a running display.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "runtime/dialog/dialog.h"
#include "runtime/display/screenshot.h"
#include "runtime/fonts/fonts.h"
#include "runtime/value/text.h"
#include "runtime/window/definition.h"
#include "tests/runtime/display_qt/qt_test_util.h"
#include "twiqdemo/windows/demo_windows.h"

namespace rt::testing {
namespace {

constexpr int64_t kMagenta = prop::Rgb(255, 0, 255);

std::string Describe() { return event::EventName(Event()) + "(" + std::to_string(Field()) + ")"; }

// The demo's frame; its "&Twiq" item opens the Control Window (magenta) on a thread of its
// own, with the focus on ?TESTENTRY.
TEST_F(QtDisplayTest, FrameHoldsChildrenAndShowsMenusAndMessages) {
  Log frame_events, child_events;
  std::atomic<WindowRef> child_ref{0};
  Run(
      [&] {
        Status st;
        auto frame = BuildWindow(twiqdemo::FrameDefinition(), CurrentThread(), {}, &st);
        ASSERT_TRUE(frame) << st.message();
        Loop(frame, [&] {
          if (Event() == event::kAccepted || Event() == event::kCloseWindow) {
            frame_events.Add(Describe());
          }
          if (Event() == event::kAccepted && Field() == twiqdemo::kFrameTwiqItem) {
            Start([&] {
              twiqdemo::ControlWindowVars vars;
              Status cs;
              auto w = BuildWindow(twiqdemo::ControlWindowDefinition(), CurrentThread(),
                                   twiqdemo::Bindings(vars), &cs);
              ASSERT_TRUE(w) << cs.message();
              w->Set(0, prop::kBackgroundColour, kMagenta);
              child_ref = w->ref();
              ASSERT_TRUE(Open(w->ref()).ok());
              w->Select(twiqdemo::kControlWindowTestEntry);
              while (Accept(w->ref())) {
                if (Event() == event::kSized) child_events.Add(Describe());
              }
            });
          }
        });
      },
      [&] {
        const WindowRef frame = WaitForWindow("Frame$AppFrame");
        ASSERT_TRUE(user_->ChooseMenuItem(frame, twiqdemo::kFrameTwiqItem).ok());
        const WindowRef child = WaitForWindow("Main$Window");
        EXPECT_EQ(child, child_ref.load());
        // The child shows inside the frame's client area.
        const Image inside = GrabOf(frame);
        EXPECT_GT(std::count_if(inside.pixels.begin(), inside.pixels.end(),
                                [](uint32_t p) { return (p & 0xFFFFFF) == 0xFF00FF; }),
                  1000);
        EXPECT_EQ(user_->StatusText(frame), "Message");
        // Tiling a single child gives it the whole child area: a new size, told to its thread.
        const std::shared_ptr<Window> w = FindWindow(child);
        const int64_t width = w->PixelRect(0).width;
        int tile_feq = 0;
        for (int f : FindWindow(frame)->Fields()) {
          if (FindWindow(frame)->Get(f, prop::kText).AsText() == "T&ile") tile_feq = f;
        }
        ASSERT_NE(tile_feq, 0);
        ASSERT_TRUE(user_->ChooseMenuItem(frame, tile_feq).ok());
        Settle();
        EXPECT_NE(w->PixelRect(0).width, width);
        EXPECT_FALSE(child_events.lines().empty());
        int exit_feq = 0;
        for (int f : FindWindow(frame)->Fields()) {
          if (FindWindow(frame)->Get(f, prop::kText).AsText() == "E&xit") exit_feq = f;
        }
        ASSERT_TRUE(user_->ChooseMenuItem(frame, exit_feq).ok());
        // Exit closes the frame, which ends the program.
        EXPECT_TRUE(WaitForThreadEnd(program_thread_, kWait));
        EXPECT_EQ(frame_events.lines(),
                  (std::vector<std::string>{"Accepted(-10)", "CloseWindow(0)"}));
      });
}

TEST_F(QtDisplayTest, DialogsAnswerAsTheUserChooses) {
  Log answers;
  const std::string file = "/tmp/twiq-qt-dialog-" + std::to_string(getpid()) + ".txt";
  std::ofstream(file) << "x";
  Run(
      [&] {
        auto w = PixelWindow("Dialogs", 300, 200);
        Loop(w, [&] {
          switch (Event()) {
            case 0x300:
              answers.Add("message " +
                          std::to_string(MessageBox("Save changes?|Really", "Twiq", "Question",
                                                    button::kYes | button::kNo | button::kCancel,
                                                    button::kNo)));
              break;
            case 0x301:
              answers.Add("popup " + std::to_string(Popup("Edit|-|~Greyed|Quit")));
              break;
            case 0x302: {
              int64_t colour = prop::Rgb(10, 20, 30);
              const bool chosen = ColourDialog("Text Color", colour);
              answers.Add("colour " + std::to_string(chosen) + " " + std::to_string(colour));
              break;
            }
            case 0x303: {
              std::string name;
              const bool chosen = FileDialog("Choose a File", name, "Text|*.txt|All Files|*.*");
              answers.Add("file " + std::to_string(chosen) + " " + name);
              break;
            }
          }
        });
      },
      [&] {
        WaitForWindow("Dialogs");
        DialogRequest r;
        PostToProgram(0x300);
        ASSERT_TRUE(user_->WaitForDialog(kWait, &r).ok());
        EXPECT_EQ(r.caption, "Twiq");
        DialogAnswer a;
        a.button = button::kRetry;
        EXPECT_FALSE(user_->Answer(a).ok());  // not offered
        a.button = button::kYes;
        ASSERT_TRUE(user_->Answer(a).ok());
        Settle();

        PostToProgram(0x301);
        ASSERT_TRUE(user_->WaitForDialog(kWait, &r).ok());
        a = {};
        a.item = 2;
        EXPECT_FALSE(user_->Answer(a).ok());  // greyed
        a.item = 3;
        ASSERT_TRUE(user_->Answer(a).ok());
        Settle();

        PostToProgram(0x302);
        ASSERT_TRUE(user_->WaitForDialog(kWait, &r).ok());
        EXPECT_EQ(r.title, "Text Color");
        a = {};
        a.chosen = true;
        a.colour = prop::Rgb(200, 100, 50);
        ASSERT_TRUE(user_->Answer(a).ok());
        Settle();

        PostToProgram(0x303);
        ASSERT_TRUE(user_->WaitForDialog(kWait, &r).ok());
        a = {};
        a.chosen = true;
        a.file = file;
        ASSERT_TRUE(user_->Answer(a).ok());
        Settle();

        EXPECT_EQ(answers.lines(),
                  (std::vector<std::string>{"message 2", "popup 3",
                                            "colour 1 " + std::to_string(prop::Rgb(200, 100, 50)),
                                            "file 1 " + file}));
      });
  std::remove(file.c_str());
}

// The property editor lists the families fontconfig reports; each must be drawn in its own
// font: Qt's family of that name, or (for a family fontconfig also knows by a second name) the
// style of that family's files.
TEST_F(QtDisplayTest, FontconfigFamiliesAreDrawnInTheirOwnFonts) {
  Run([] { Loop(PixelWindow("Fonts", 100, 50)); },
      [&] {
        WaitForWindow("Fonts");
        const std::vector<FontFamily> families = EnumerateFontFamilies(false);
        ASSERT_FALSE(families.empty());
        for (const FontFamily& f : families) {
          const auto [family, style] = user_->DrawnFace(f.face_name);
          const bool own_style =
              std::find(f.styles.begin(), f.styles.end(), style) != f.styles.end();
          EXPECT_TRUE(ClipEquals(family, f.face_name) || own_style)
              << f.face_name << " is drawn as " << family << " " << style;
        }
        // A face that is not installed is drawn with one that is.
        const std::string substitute = user_->DrawnFace("MS Sans Serif").first;
        EXPECT_TRUE(std::any_of(families.begin(), families.end(), [&](const FontFamily& f) {
          return ClipEquals(f.face_name, substitute);
        })) << substitute;
      });
}

// Without a running Qt display (the headless display's script), a screenshot is drawn from
// the window model on the main thread.
TEST(StillScreenshotTest, DrawsAWindowFromItsModel) {
  UseOffscreenQt();
  std::atomic<WindowRef> ref{0};
  std::atomic<bool> done{false};
  const ThreadId thread = Start([&] {
    twiqdemo::ControlWindowVars vars;
    Status st;
    auto w = BuildWindow(twiqdemo::ControlWindowDefinition(), CurrentThread(),
                         twiqdemo::Bindings(vars), &st);
    ref = w ? w->ref() : -1;
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  while (ref == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GT(ref.load(), 0);
  const std::string path = "/tmp/twiq-still-" + std::to_string(getpid()) + ".png";
  EXPECT_TRUE(SaveScreenshot(ref, path).ok());
  EXPECT_FALSE(SaveScreenshot(ref + 1000, path).ok());
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, 4);
  EXPECT_EQ(std::string(head + 1, 3), "PNG");
  std::remove(path.c_str());
  done = true;
  WaitForThreadEnd(thread, kWait);
}

}  // namespace
}  // namespace rt::testing
