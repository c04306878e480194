// The demonstration program's windows open with the controls, labels, texts and equates that
// settings files and the program's event handling depend on.
#include "twiqdemo/windows/demo_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/window/definition_codes.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace twiqdemo {
namespace {

using rt::ControlType;
namespace prop = rt::prop;

class DemoWindowsTest : public ::testing::Test {
 protected:
  std::shared_ptr<rt::Window> Open(const rt::WindowDefinition& def, const rt::VarBindings& b) {
    rt::Status st;
    std::shared_ptr<rt::Window> w = rt::BuildWindow(def, 1, b, &st);
    EXPECT_TRUE(st.ok()) << st.message();
    if (w) opened_.push_back(w->ref());
    return w;
  }
  void TearDown() override {
    for (rt::WindowRef ref : opened_) rt::CloseWindow(ref);
  }

  // Body controls lie inside the window, a child inside its parent, and no two others overlap.
  static void ExpectTidyLayout(const rt::Window& w) {
    const rt::Rect window = w.PixelRect(0);
    std::vector<int> body;
    for (int feq : w.Fields()) {
      if (feq > 0) body.push_back(feq);
    }
    auto inside = [](const rt::Rect& in, const rt::Rect& out) {
      return in.x >= out.x && in.y >= out.y && in.x + in.width <= out.x + out.width &&
             in.y + in.height <= out.y + out.height;
    };
    auto holds = [&](int outer, int inner) {
      for (int p = w.ParentOf(inner); p != 0; p = w.ParentOf(p)) {
        if (p == outer) return true;
      }
      return false;
    };
    for (int a : body) {
      const rt::Rect ra = w.PixelRect(a);
      EXPECT_GT(ra.width, 0) << w.FieldName(a);
      EXPECT_GT(ra.height, 0) << w.FieldName(a);
      EXPECT_TRUE(inside(ra, {0, 0, window.width, window.height})) << w.FieldName(a);
      if (w.ParentOf(a) != 0) {
        EXPECT_TRUE(inside(ra, w.PixelRect(w.ParentOf(a)))) << w.FieldName(a);
      }
      for (int b : body) {
        if (b <= a || holds(a, b) || holds(b, a)) continue;
        const rt::Rect rb = w.PixelRect(b);
        const bool overlap = ra.x < rb.x + rb.width && rb.x < ra.x + ra.width &&
                             ra.y < rb.y + rb.height && rb.y < ra.y + ra.height;
        EXPECT_FALSE(overlap) << w.FieldName(a) << " and " << w.FieldName(b);
      }
    }
  }

 private:
  std::vector<rt::WindowRef> opened_;
};

// The menu-bar entries under `parent`, depth first in the order they show.
void MenuOrder(const rt::Window& w, int parent, std::vector<int>* out) {
  std::vector<std::pair<int64_t, int>> entries;  // (position, feq)
  for (int feq : w.Fields()) {
    if (feq < 0 && w.ParentOf(feq) == parent) {
      entries.push_back({w.Get(feq, prop::kMenuPosition).AsInt(), feq});
    }
  }
  std::sort(entries.begin(), entries.end());
  for (auto [position, feq] : entries) {
    out->push_back(feq);
    MenuOrder(w, feq, out);
  }
}

struct Row {
  int feq;
  const char* label;
  ControlType kind;
  const char* text;
};

// The Control Window's controls in field-equate order.
const Row kControlWindow[] = {
    {1, "?TOOLBAR1", ControlType::kToolbar, ""},
    {2, "?BUTTON1", ControlType::kButton, "Toolbar Button"},
    {3, "?PANEL1", ControlType::kPanel, ""},
    {4, "?STRING1", ControlType::kString, "Press CtrlAltD to switch to Twiq mode"},
    {5, "?PROMPT2:2", ControlType::kPrompt, "Font Prompt"},
    {6, "?OPTION1", ControlType::kOption, "Option 1"},
    {7, "?OPTION1:RADIO1", ControlType::kRadio, "Radio 1"},
    {8, "?OPTION1:RADIO1:2", ControlType::kRadio, "Radio 2"},
    {9, "?PROMPT1", ControlType::kPrompt, "Prompt 1"},
    {10, "?BUTTON3:2", ControlType::kButton, "Test"},
    {11, "?TESTENTRY", ControlType::kEntry, ""},
    {12, "?PROMPT2", ControlType::kPrompt, "Default width"},
    {13, "?LIST1", ControlType::kList, ""},
    {14, "?TESTENTRY:2", ControlType::kEntry, ""},
    {15, "?LIST2", ControlType::kList, ""},
    {16, "?TEXTTEXT", ControlType::kText, ""},
    {17, "?BUTTON3", ControlType::kButton, "Press to start"},
    {18, "?TESTCHECK", ControlType::kCheck, "Check 1"},
    {19, "?SPIN1", ControlType::kSpin, ""},
    {20, "?OKBUTTON", ControlType::kButton, "&OK"},
    {21, "?CANCELBUTTON", ControlType::kButton, "&Cancel"},
};

void ExpectRows(const rt::Window& w, const Row* rows, size_t n) {
  std::vector<int> fields;
  for (size_t i = 0; i < n; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.label);
    fields.push_back(r.feq);
    EXPECT_EQ(w.FieldName(r.feq), r.label);
    EXPECT_EQ(w.TypeOf(r.feq), r.kind);
    EXPECT_EQ(w.Get(r.feq, prop::kText).AsText(), r.text);
    EXPECT_TRUE(w.IsVisible(r.feq));
  }
  EXPECT_EQ(w.Fields(), fields);
}

TEST_F(DemoWindowsTest, ControlWindowOpensWithItsControlsInFieldEquateOrder) {
  ControlWindowVars vars;
  auto w = Open(ControlWindowDefinition(), Bindings(vars));
  ASSERT_NE(w, nullptr);
  ExpectRows(*w, kControlWindow, std::size(kControlWindow));
  EXPECT_EQ(w->FirstField(), 1);
  EXPECT_EQ(w->LastField(), 21);
  EXPECT_EQ(w->Get(0, prop::kText).AsText(), "Control Window");
  EXPECT_EQ(w->Get(0, prop::kFontFace).AsText(), "MS Sans Serif");
  EXPECT_EQ(w->Get(0, prop::kFontSize).AsInt(), 8);
  EXPECT_EQ(w->Get(5, prop::kFontFace).AsText(), "Arial");

  EXPECT_EQ(w->ParentOf(2), 1);  // the toolbar's button
  EXPECT_EQ(w->ParentOf(7), 6);  // the option's radios
  EXPECT_EQ(w->ParentOf(8), 6);
  EXPECT_EQ(w->ParentOf(3), 0);  // the panel holds nothing
  for (int entry : {kControlWindowTestEntry, 14}) {
    SCOPED_TRACE(w->FieldName(entry));
    EXPECT_EQ(w->Get(entry, prop::kPicture).AsText(), "@s20");
    EXPECT_EQ(w->Get(entry, prop::kHelpId).AsText(), "Help");
    EXPECT_EQ(w->Get(entry, prop::kStatusMessage).AsText(), "Message");
    EXPECT_EQ(w->Get(entry, prop::kTip).AsText(), "Tip");
  }
  EXPECT_EQ(w->Get(19, prop::kPicture).AsText(), "@s20");
  const std::pair<int, const char*> lists[] = {{13, "1020L(2)|M~Text~@s255@"},
                                               {15, "1020L(2)|M~Text Text~@s255@"}};
  for (auto [list, format] : lists) {
    SCOPED_TRACE(w->FieldName(list));
    EXPECT_EQ(w->Get(list, prop::kListFormat).AsText(), format);
    auto rows = w->GetListSource(list);
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->RowCount(), 7);
    for (int row = 1; row <= 7; ++row) EXPECT_EQ(rows->Cell(row, 0), "Line 1");
  }
  // ?TEXTTEXT shows its 512-character variable, and gives edits back to it.
  const std::string shown = w->Contents(16).AsText();
  ASSERT_EQ(shown.size(), kTextTextWidth);
  EXPECT_EQ(shown.rfind("This is TEXT control ", 0), 0u);
  EXPECT_EQ(shown.find_first_not_of(' ', 20), std::string::npos);
  ASSERT_TRUE(w->SetContents(16, "Edited").ok());
  w->Update();
  EXPECT_EQ(std::string(vars.text_text, 7), "Edited ");
  ExpectTidyLayout(*w);
}

TEST_F(DemoWindowsTest, SelectModeOffersTheFiveMarkers) {
  const Row rows[] = {
      {kSelectModeOption, "?FORMMODE", ControlType::kOption, "Form Mode"},
      {2, "?ORIGINAL", ControlType::kRadio, "Original"},
      {3, "?FLAT", ControlType::kRadio, "Flat"},
      {4, "?COLORS", ControlType::kRadio, "Colors"},
      {5, "?TRANSPARENT", ControlType::kRadio, "Transparent"},
      {6, "?QUIT", ControlType::kRadio, "Quit"},
      {kSelectModeButton, "?SELECT", ControlType::kButton, "&Select"},
  };
  SelectModeVars vars;
  auto w = Open(SelectModeDefinition(), Bindings(vars));
  ASSERT_NE(w, nullptr);
  ExpectRows(*w, rows, std::size(rows));
  EXPECT_EQ(w->Get(0, prop::kText).AsText(), "Select Mode");
  EXPECT_EQ(w->Get(0, prop::kFontFace).AsText(), "MS Sans Serif");
  const char* const values[] = {"ORIGINAL", "FLAT", "COLORS", "TRANSPARENT", "QUIT"};
  for (int radio = 2; radio <= 6; ++radio) {
    EXPECT_EQ(w->ParentOf(radio), kSelectModeOption);
    EXPECT_EQ(w->Get(radio, prop::kValue).AsText(), values[radio - 2]);
  }
  // The option starts on "Original" from its 32-character variable; a choice goes back to it.
  EXPECT_EQ(w->Contents(kSelectModeOption).AsText(), "ORIGINAL" + std::string(24, ' '));
  EXPECT_EQ(w->Choice(kSelectModeOption), 1);
  ASSERT_TRUE(w->SetContents(kSelectModeOption, "TRANSPARENT").ok());
  EXPECT_EQ(w->Choice(kSelectModeOption), 4);
  w->Update();
  EXPECT_EQ(std::string(vars.form_mode, sizeof vars.form_mode),
            "TRANSPARENT" + std::string(21, ' '));
  ExpectTidyLayout(*w);
}

TEST_F(DemoWindowsTest, FrameMenuBarAsTabled) {
  auto w = Open(FrameDefinition(), {});
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Get(0, prop::kText).AsText(), "Application");
  EXPECT_EQ(w->Get(0, prop::kIcon).AsText(), "WAFRAME.ICO");
  EXPECT_EQ(w->Get(0, prop::kFontFace).AsText(), "MS Sans Serif");
  EXPECT_EQ(w->Get(0, prop::kMdiFrame).AsInt(), 1);
  EXPECT_EQ(w->FirstField(), 0);  // a frame with a menu bar only

  // The menu bar as (menu, item, status-bar message, action), in order; "-" a separator.
  struct Entry {
    const char* menu;
    const char* item;
    const char* message;
    const char* action;
  } const expected[] = {
      {"&File", "&Print Setup ...", "Setup printer", "STD:PrintSetup"},
      {"&File", "-", "", ""},
      {"&File", "E&xit", "Exit this application", "STD:Exit"},
      {"&Edit", "Cu&t", "Remove item to Windows Clipboard", "STD:Cut"},
      {"&Edit", "&Copy", "Copy item to Windows Clipboard", "STD:Copy"},
      {"&Edit", "&Paste", "Paste contents of Windows Clipboard", "STD:Paste"},
      {"", "&Twiq", "", ""},
      {"&Window", "T&ile", "Make all open windows visible", "STD:TileWindow"},
      {"&Window", "&Cascade", "Stack all open windows", "STD:CascadeWindow"},
      {"&Window", "&Arrange Icons", "Align all window icons", "STD:ArrangeIcons"},
      {"&Help", "&Contents", "View the contents of the help file", "STD:HelpContents"},
      {"&Help", "&Search for Help On...", "Search for help on a subject", "STD:HelpSearch"},
      {"&Help", "&How to Use Help", "How to use Windows Help", "STD:HelpHowTo"},
  };
  std::vector<int> bar;
  MenuOrder(*w, 0, &bar);
  std::vector<int> items;
  for (int feq : bar) {
    if (w->TypeOf(feq) == ControlType::kItem) items.push_back(feq);
  }
  ASSERT_EQ(items.size(), std::size(expected));
  int twiq = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const int feq = items[i];
    const int menu = w->ParentOf(feq);
    SCOPED_TRACE(expected[i].item);
    EXPECT_EQ(menu ? w->Get(menu, prop::kText).AsText() : "", expected[i].menu);
    EXPECT_EQ(w->Get(feq, prop::kSeparator).AsInt() ? "-" : w->Get(feq, prop::kText).AsText(),
              expected[i].item);
    EXPECT_EQ(w->Get(feq, prop::kStatusMessage).AsText(), expected[i].message);
    EXPECT_EQ(w->Get(feq, prop::kStdAction).AsText(), expected[i].action);
    if (std::string(expected[i].item) == "&Twiq") twiq = feq;
  }
  EXPECT_EQ(twiq, kFrameTwiqItem);
  EXPECT_EQ(w->ParentOf(kFrameTwiqItem), 0);
}

}  // namespace
}  // namespace twiqdemo
