#include "runtime/dialog/dialog.h"

#include <gtest/gtest.h>

#include "runtime/display/display.h"

namespace rt {
namespace {

TEST(DialogTest, PopupMenuTextParsesIntoNumberedItems) {
  const std::vector<PopupItem> items = ParsePopupMenu("Edit ?A|-|~Greyed|Quit||-");
  ASSERT_EQ(items.size(), 6u);
  struct Expect {
    std::string text;
    bool separator, greyed;
    int number;
  };
  const Expect expected[] = {
      {"Edit ?A", false, false, 1}, {"", true, false, 0},  {"Greyed", false, true, 2},
      {"Quit", false, false, 3},    {"", false, false, 4}, {"", true, false, 0},
  };
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].text, expected[i].text) << i;
    EXPECT_EQ(items[i].separator, expected[i].separator) << i;
    EXPECT_EQ(items[i].greyed, expected[i].greyed) << i;
    EXPECT_EQ(items[i].number, expected[i].number) << i;
  }
}

TEST(DialogTest, MessageTextBreaksAtBars) {
  EXPECT_EQ(MessageLines("Do you want|to save?||"),
            (std::vector<std::string>{"Do you want", "to save?", "", ""}));
  EXPECT_EQ(MessageLines(""), (std::vector<std::string>{""}));
  EXPECT_EQ(button::ButtonsOf(button::kYes | button::kNo | button::kCancel),
            (std::vector<int>{button::kYes, button::kNo, button::kCancel}));
  EXPECT_EQ(button::ButtonFromName("yes"), button::kYes);
  EXPECT_EQ(button::ButtonFromName("Maybe"), 0);
}

// A display that answers every dialog with one fixed answer and remembers the request.
class FixedDisplay : public Display {
 public:
  explicit FixedDisplay(DialogAnswer answer) : answer_(answer) {}
  int Run(const std::function<void()>&) override { return 0; }
  void ShowDialog(std::shared_ptr<DialogCall> call) override {
    last_ = call->request();
    call->Answer(answer_);
  }
  DialogRequest last_;

 private:
  DialogAnswer answer_;
};

DialogAnswer ButtonAnswer(int b) {
  DialogAnswer a;
  a.button = b;
  return a;
}
DialogAnswer ItemAnswer(int i) {
  DialogAnswer a;
  a.item = i;
  return a;
}
DialogAnswer Chosen(bool chosen, int64_t colour, std::string file) {
  DialogAnswer a;
  a.chosen = chosen;
  a.colour = colour;
  a.file = std::move(file);
  return a;
}

// Whatever a display answers, the caller gets an answer its request allows.
TEST(DialogTest, AnswersAreCheckedAgainstTheRequest) {
  struct Case {
    const char* name;
    DialogAnswer answer;
    std::function<int()> ask;
    int expected;
  };
  auto message = [] {
    return MessageBox("Save?", "Twiq", "Question", button::kYes | button::kNo, button::kYes);
  };
  const Case cases[] = {
      {"offered button", ButtonAnswer(button::kNo), message, button::kNo},
      {"button not offered", ButtonAnswer(button::kCancel), message, button::kYes},
      {"two buttons at once", ButtonAnswer(button::kYes | button::kNo), message, button::kYes},
      {"no buttons means OK", ButtonAnswer(button::kCancel),
       [] { return MessageBox("x", "", "", 0, 0); }, button::kOk},
      {"default not offered is the first", ButtonAnswer(0),
       [] { return MessageBox("x", "", "", button::kRetry | button::kCancel, button::kOk); },
       button::kRetry},
      {"popup item", ItemAnswer(3), [] { return Popup("A|-|B|C"); }, 3},
      {"greyed item", ItemAnswer(2), [] { return Popup("A|~B|C"); }, 0},
      {"item out of range", ItemAnswer(4), [] { return Popup("A|B|C"); }, 0},
  };
  for (const Case& c : cases) {
    auto display = std::make_shared<FixedDisplay>(c.answer);
    SetDisplay(display);
    EXPECT_EQ(c.ask(), c.expected) << c.name;
    SetDisplay(nullptr);
  }
}

TEST(DialogTest, ColourAndFileDialogsUpdateTheirVariableOnlyWhenChosen) {
  auto chosen = std::make_shared<FixedDisplay>(Chosen(true, 0xFF, "/tmp/b.twiq"));
  SetDisplay(chosen);
  int64_t colour = 5;
  std::string file = "a.twiq";
  EXPECT_TRUE(ColourDialog("Colour", colour));
  EXPECT_EQ(colour, 0xFF);
  EXPECT_TRUE(FileDialog("Open", file, "Settings|*.twiq", 3));
  EXPECT_EQ(file, "/tmp/b.twiq");
  EXPECT_EQ(chosen->last_.filter, "Settings|*.twiq");
  EXPECT_EQ(chosen->last_.file, "a.twiq");
  EXPECT_EQ(chosen->last_.flags, 3);

  SetDisplay(std::make_shared<FixedDisplay>(Chosen(false, 1, "x")));
  EXPECT_FALSE(ColourDialog("Colour", colour));
  EXPECT_EQ(colour, 0xFF);
  EXPECT_FALSE(FileDialog("Open", file));
  EXPECT_EQ(file, "/tmp/b.twiq");
  SetDisplay(nullptr);
}

TEST(DialogTest, WithoutADisplayDialogsAnswerNoChoiceAtOnce) {
  ASSERT_EQ(CurrentDisplay(), nullptr);
  EXPECT_EQ(MessageBox("x", "", "", button::kYes | button::kNo, button::kNo), button::kNo);
  EXPECT_EQ(Popup("A|B"), 0);
  int64_t colour = 7;
  EXPECT_FALSE(ColourDialog("c", colour));
  EXPECT_EQ(colour, 7);
}

}  // namespace
}  // namespace rt
