// Opening windows from definitions: equates, parents, properties, bindings, and refusal of
// bad definitions before any window opens.
#include "runtime/window/definition.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/window/definition_builder.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

class DefinitionTest : public ::testing::Test {
 protected:
  void SetUp() override { open_before_ = OpenWindows().size(); }
  void TearDown() override {
    for (WindowRef ref : built_) CloseWindow(ref);
    EXPECT_EQ(OpenWindows().size(), open_before_) << "a window was left open";
  }
  std::shared_ptr<Window> Build(const WindowDefinition& def, const VarBindings& b) {
    Status st;
    std::shared_ptr<Window> w = BuildWindow(def, 1, b, &st);
    EXPECT_TRUE(st.ok()) << st.message();
    if (w) built_.push_back(w->ref());
    return w;
  }

  std::vector<WindowRef> built_;
  size_t open_before_ = 0;
};

// A window that uses most of what a definition can say. Equates: body 1.. in declaration
// order, skipping the given 6; menu bar -1.., skipping the given -2.
WindowDefinition Sample() {
  return WindowDef("Test$Window", "Sample")
      .At(10, 20)
      .Size(200, 100)
      .Font("Arial", 10)  // cell 8 x 16: one dialog unit is 2 pixels each way
      .Icon("app.ico")
      .Help("SampleHelp")
      .Flags({.modal = true, .system_menu = true})
      .AlertKey(1604)
      .Prop(prop::kFrameOption, 0)
      .Menus({
          Menu("?File", "&File",
               {Item("?Open", "&Open").Msg("Open a file"), Separator(),
                Item("?Exit", "E&xit").Action(StdAction::kExit)}),
          Item("?Go", "&Go").Feq(-2),
      })
      .Controls({
          Def("?AMOUNT", "entry").At(4, 4).Size(80, 12).Picture("@n8").Use("Amount").Tip("Sum"),
          Def("?SHEET", ControlType::kSheet)
              .At(0, 20)
              .Full()
              .Holds({Def("?TAB1", ControlType::kTab)
                          .Text("One")
                          .Holds({
                              Def("?JUSTIFY", ControlType::kDropList)
                                  .At(8, 40)
                                  .Size(60, 10)
                                  .Choices("Default|#0|Left|#1")
                                  .Use("Justify"),
                          })}),
          Def("?RADIO", ControlType::kRadio).In("?OPTION").Text("Radio").Values("R1"),
          Def("?OK", ControlType::kButton).Feq(6).Text("&OK").Hidden(),
          Def("?OPTION", ControlType::kOption).At(100, 4).Size(60, 12),
          Def("?CHECK", ControlType::kCheck).Text("Check").Values("Y", "N").AlertKey(0x70),
          Def("?ROWS", ControlType::kList).Source("Rows").Format("80L(2)|M~Label~@s80@"),
          Def("?FIXED", ControlType::kList).From({"a", "b"}).Font("Courier", 9, 700),
      });
}

TEST_F(DefinitionTest, BuildsTheWindowAsDeclared) {
  int32_t amount = 1234;
  int32_t justify = 1;
  VarBindings b;
  b.vars.emplace("Amount", VarRef::Long(&amount));
  b.vars.emplace("Justify", VarRef::Long(&justify));
  auto rows = std::make_shared<TextListSource>(std::vector<std::string>{"r1", "r2", "r3"});
  b.lists.emplace("Rows", rows);
  auto w = Build(Sample(), b);
  ASSERT_NE(w, nullptr);

  struct Expect {
    int feq;
    const char* label;
    ControlType type;
    int parent;
  } const controls[] = {
      {-5, "?Exit", ControlType::kItem, -1},      {-4, "", ControlType::kItem, -1},
      {-3, "?Open", ControlType::kItem, -1},      {-2, "?Go", ControlType::kItem, 0},
      {-1, "?File", ControlType::kMenu, 0},       {1, "?AMOUNT", ControlType::kEntry, 0},
      {2, "?SHEET", ControlType::kSheet, 0},      {3, "?TAB1", ControlType::kTab, 2},
      {4, "?JUSTIFY", ControlType::kDropList, 3}, {5, "?RADIO", ControlType::kRadio, 7},
      {6, "?OK", ControlType::kButton, 0},        {7, "?OPTION", ControlType::kOption, 0},
      {8, "?CHECK", ControlType::kCheck, 0},      {9, "?ROWS", ControlType::kList, 0},
      {10, "?FIXED", ControlType::kList, 0},
  };
  std::vector<int> fields;
  for (const Expect& e : controls) {
    SCOPED_TRACE(e.feq);
    fields.push_back(e.feq);
    EXPECT_EQ(w->FieldName(e.feq), e.label);
    EXPECT_EQ(w->TypeOf(e.feq), e.type);
    EXPECT_EQ(w->ParentOf(e.feq), e.parent);
  }
  EXPECT_EQ(w->Fields(), fields);
  EXPECT_EQ(w->label(), "Test$Window");
  EXPECT_EQ(w->owner_thread(), 1);

  struct Property {
    int feq, code, index;
    Value value;
  } const properties[] = {
      {0, prop::kText, 0, "Sample"},
      {0, prop::kFontFace, 0, "Arial"},
      {0, prop::kXPos, 0, 10},
      {0, prop::kHeight, 0, 100},
      {0, prop::kIcon, 0, "app.ico"},
      {0, prop::kHelpId, 0, "SampleHelp"},
      {0, prop::kModal, 0, 1},
      {0, prop::kSystemMenu, 0, 1},
      {0, prop::kMdiChild, 0, Value()},
      {0, prop::kAlertKey, 1, 1604},
      {0, prop::kFrameOption, 0, 0},
      {-1, prop::kText, 0, "&File"},
      {-3, prop::kStatusMessage, 0, "Open a file"},
      {-4, prop::kSeparator, 0, 1},
      {-5, prop::kStdAction, 0, "STD:Exit"},
      {-1, prop::kMenuPosition, 0, 1},  // the order they show in, whatever their equates
      {-2, prop::kMenuPosition, 0, 2},
      {-3, prop::kMenuPosition, 0, 1},
      {-5, prop::kMenuPosition, 0, 3},
      {1, prop::kXPos, 0, 4},
      {1, prop::kWidth, 0, 80},
      {1, prop::kPicture, 0, "@n8"},
      {1, prop::kTip, 0, "Sum"},
      {1, prop::kUse, 0, "Amount"},
      {1, prop::kContents, 0, 1234},  // DISPLAYed
      {2, prop::kFull, 0, 1},
      {3, prop::kText, 0, "One"},
      {4, prop::kChoiceList, 0, "Default|Left"},
      {4, prop::kChoiceValue, 1, 0},
      {4, prop::kChoiceValue, 2, 1},
      {4, prop::kContents, 0, 1},
      {5, prop::kValue, 0, "R1"},
      {6, prop::kHidden, 0, 1},
      {8, prop::kValue, 0, "Y"},
      {8, prop::kFalseValue, 0, "N"},
      {8, prop::kAlertKey, 1, 0x70},
      {9, prop::kListFormat, 0, "80L(2)|M~Label~@s80@"},
      {10, prop::kFontFace, 0, "Courier"},
      {10, prop::kFontSize, 0, 9},
      {10, prop::kFontStyle, 0, 700},
  };
  for (const Property& p : properties) {
    SCOPED_TRACE("feq " + std::to_string(p.feq) + " code " + std::to_string(p.code));
    EXPECT_EQ(w->Get(p.feq, p.code, p.index), p.value);
  }

  // Geometry in dialog units of the window font; a full control reaches the window's edges.
  EXPECT_EQ(w->PixelRect(1), (Rect{8, 8, 160, 24}));
  EXPECT_EQ(w->PixelRect(2), (Rect{0, 40, 400, 160}));
  // Rows: the named source itself, fixed texts, the choice texts.
  EXPECT_EQ(w->GetListSource(9), rows);
  ASSERT_NE(w->GetListSource(10), nullptr);
  EXPECT_EQ(w->GetListSource(10)->RowCount(), 2);
  EXPECT_EQ(w->GetListSource(10)->Cell(2, 0), "b");
  ASSERT_NE(w->GetListSource(4), nullptr);
  EXPECT_EQ(w->GetListSource(4)->Cell(2, 0), "Left");
  // Parents are added first: the radio joins the tab chain after its option.
  EXPECT_EQ(w->TabChain(), (std::vector<int>{1, 2, 3, 4, 7, 5, 6, 8, 9, 10}));
  // Bound both ways.
  ASSERT_TRUE(w->SetContents(1, 99).ok());
  w->Update();
  EXPECT_EQ(amount, 99);
}

TEST_F(DefinitionTest, OneDefinitionOpensWithEachCallersVariables) {
  WindowDefinition def =
      WindowDef("Test$Twice", "Twice")
          .Controls({Def("?NAME", ControlType::kEntry).Use("Name").Picture("@s8")});
  char first[8] = {'A', 'n', 'n', ' ', ' ', ' ', ' ', ' '};
  char second[8] = {'B', 'o', 'b', ' ', ' ', ' ', ' ', ' '};
  auto a = Build(def, {{{"Name", VarRef::Fixed(first)}}, {}});
  auto b = Build(def, {{{"Name", VarRef::Fixed(second)}}, {}});
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->ref(), b->ref());
  EXPECT_EQ(a->Contents(1), Value("Ann     "));
  EXPECT_EQ(b->Contents(1), Value("Bob     "));
}

// A small sound definition that each bad case spoils in one way.
WindowDefinition Base() {
  return WindowDef("Test$Bad", "Bad")
      .Size(100, 60)
      .Menus({Menu("?Menu", "&Menu", {Item("?Item", "&Item")})})
      .Controls({
          Def("?ENTRY", ControlType::kEntry).At(4, 4).Size(40, 10),
          Def("?GROUP", ControlType::kGroup).At(4, 20).Size(60, 30),
          Def("?LIST", ControlType::kList).At(50, 4).Size(40, 12),
      });
}

struct BadCase {
  const char* what;
  std::function<void(WindowDefinition&)> spoil;
  Status::Code code;
  const char* message;  // part of the message, after the window's label
};

ControlDefinition& Control(WindowDefinition& d, size_t i) { return d.controls[i]; }

const BadCase kBadCases[] = {
    {"unknown control type", [](auto& d) { Control(d, 0).kind_name = "GIZMO"; },
     Status::Code::kInvalidArgument, "control ?ENTRY: unknown control type \"GIZMO\""},
    {"duplicate label", [](auto& d) { d.controls.push_back(Def("?ENTRY", ControlType::kButton)); },
     Status::Code::kAlreadyExists, "duplicate label ?ENTRY"},
    {"duplicate label in another case",
     [](auto& d) { d.controls.push_back(Def("?entry", ControlType::kButton)); },
     Status::Code::kAlreadyExists, "duplicate label ?entry"},
    {"label of a menu item again in the body",
     [](auto& d) { d.controls.push_back(Def("?Item", ControlType::kButton)); },
     Status::Code::kAlreadyExists, "duplicate label ?Item"},
    {"duplicate field equate",
     [](auto& d) {
       Control(d, 0).feq = 5;
       Control(d, 2).feq = 5;
     },
     Status::Code::kAlreadyExists, "control ?LIST: duplicate field equate 5 (also ?ENTRY)"},
    {"duplicate menu field equate",
     [](auto& d) {
       d.menu_bar[0].feq = -3;
       d.menu_bar.push_back(Item("?Other", "&Other").Feq(-3));
     },
     Status::Code::kAlreadyExists, "duplicate field equate -3"},
    {"negative equate in the body", [](auto& d) { Control(d, 1).feq = -4; },
     Status::Code::kInvalidArgument, "control ?GROUP: field equate -4 must be positive"},
    {"positive equate in the menu bar", [](auto& d) { d.menu_bar[0].feq = 4; },
     Status::Code::kInvalidArgument, "must be negative"},
    {"parent that does not exist",
     [](auto& d) { d.controls.push_back(Def("?B", ControlType::kButton).In("?NOWHERE")); },
     Status::Code::kNotFound, "control ?B: parent ?NOWHERE does not exist"},
    {"parent equate that does not exist",
     [](auto& d) { d.controls.push_back(Def("?B", ControlType::kButton).In(42)); },
     Status::Code::kNotFound, "parent 42 does not exist"},
    {"parent that holds nothing",
     [](auto& d) { d.controls.push_back(Def("?B", ControlType::kButton).In("?ENTRY")); },
     Status::Code::kInvalidArgument, "parent ?ENTRY is a ENTRY, which holds no controls"},
    {"children of a control that holds nothing",
     [](auto& d) { Control(d, 0).children.push_back(Def("?B", ControlType::kButton)); },
     Status::Code::kInvalidArgument, "control ?B: parent ?ENTRY is a ENTRY, which holds no"},
    {"nested and given a parent",
     [](auto& d) { Control(d, 1).children.push_back(Def("?B", ControlType::kButton).In(1)); },
     Status::Code::kInvalidArgument, "declared inside ?GROUP and given a parent too"},
    {"parents in a cycle",
     [](auto& d) {
       d.controls.push_back(Def("?G1", ControlType::kGroup).In("?G2"));
       d.controls.push_back(Def("?G2", ControlType::kGroup).In("?G1"));
     },
     Status::Code::kInvalidArgument, "parents form a cycle"},
    {"tab outside a sheet",
     [](auto& d) { Control(d, 1).children.push_back(Def("?T", ControlType::kTab)); },
     Status::Code::kInvalidArgument, "control ?T: a TAB must be inside a SHEET"},
    {"use name with no binding", [](auto& d) { Control(d, 0).use = "Missing"; },
     Status::Code::kNotFound, "control ?ENTRY: no variable bound to use name \"Missing\""},
    {"list source with no binding", [](auto& d) { Control(d, 2).source = "Queue"; },
     Status::Code::kNotFound, "control ?LIST: no list source bound to name \"Queue\""},
    {"malformed choice string", [](auto& d) { Control(d, 2).choices = "#0|Default"; },
     Status::Code::kInvalidArgument, "control ?LIST: malformed choice string \"#0|Default\""},
    {"choice string mixing values", [](auto& d) { Control(d, 2).choices = "A|#1|B"; },
     Status::Code::kInvalidArgument, "\"B\" has no value"},
    {"malformed list format", [](auto& d) { Control(d, 2).format = "80X@s80@"; },
     Status::Code::kInvalidArgument, "control ?LIST: malformed list format \"80X@s80@\""},
    {"malformed picture", [](auto& d) { Control(d, 0).picture = "@x20"; },
     Status::Code::kInvalidArgument, "control ?ENTRY: malformed picture \"@x20\""},
    {"rows on an entry", [](auto& d) { Control(d, 0).from = {"a"}; },
     Status::Code::kInvalidArgument, "a ENTRY takes no rows"},
    {"two row sources",
     [](auto& d) {
       Control(d, 2).choices = "A|B";
       Control(d, 2).from = {"a"};
     },
     Status::Code::kInvalidArgument, "give only one of"},
    {"unknown standard action", [](auto& d) { d.menu_bar[0].children[0].action = "STD:Nope"; },
     Status::Code::kInvalidArgument, "control ?Item: unknown standard action \"STD:Nope\""},
    {"action on a button", [](auto& d) { Control(d, 0).action = "STD:Exit"; },
     Status::Code::kInvalidArgument, "only a menu ITEM"},
    {"menu in the body", [](auto& d) { d.controls.push_back(Menu("?M", "&M", {})); },
     Status::Code::kInvalidArgument, "control ?M: MENU belongs in the menu bar"},
    {"button in the menu bar",
     [](auto& d) { d.menu_bar.push_back(Def("?B", ControlType::kButton)); },
     Status::Code::kInvalidArgument, "the menu bar holds menus and items, not BUTTON"},
    {"negative width", [](auto& d) { Control(d, 0).width = -5; }, Status::Code::kInvalidArgument,
     "negative width or height"},
    {"full width and default height",
     [](auto& d) {
       Control(d, 0).width = kFullSize;
       Control(d, 0).height = kDefaultSize;
     },
     Status::Code::kInvalidArgument, "full width or height needs the other"},
    {"too many alert keys", [](auto& d) { Control(d, 0).alert_keys.assign(256, 0x70); },
     Status::Code::kInvalidArgument, "more than 255 alert keys"},
    {"window without a label", [](auto& d) { d.label.clear(); }, Status::Code::kInvalidArgument,
     "needs a label"},
};

TEST_F(DefinitionTest, BadDefinitionsAreRefusedBeforeAnyWindowOpens) {
  {
    SCOPED_TRACE("the base is sound");
    EXPECT_TRUE(CheckWindowDefinition(Base(), {}).ok());
  }
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.what);
    WindowDefinition def = Base();
    c.spoil(def);
    Status st;
    EXPECT_EQ(BuildWindow(def, 1, {}, &st), nullptr);
    EXPECT_EQ(st.code(), c.code);
    const std::string& msg = st.message();
    EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
    if (!def.label.empty()) {
      EXPECT_EQ(msg.rfind("window Test$Bad", 0), 0u) << msg;
    }
    EXPECT_EQ(CheckWindowDefinition(def, {}).message(), msg);
    EXPECT_EQ(OpenWindows().size(), open_before_);
  }
}

TEST_F(DefinitionTest, AWriteOnAClosedBuiltWindowFails) {
  auto w = Build(Base(), {});
  ASSERT_NE(w, nullptr);
  CloseWindow(w->ref());
  const Status st = w->Set(1, prop::kText, "late");
  EXPECT_EQ(st.code(), Status::Code::kClosed);
  EXPECT_NE(st.message().find("closed"), std::string::npos);
}

}  // namespace
}  // namespace rt
