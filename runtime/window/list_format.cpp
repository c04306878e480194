#include "runtime/window/list_format.h"

#include <cctype>

#include "runtime/window/picture.h"

namespace rt {
namespace {

class FormatParser {
 public:
  explicit FormatParser(std::string_view format) : s_(format) {}

  Status Parse(std::vector<ListColumn>* out) {
    std::vector<ListColumn> columns;
    while (pos_ < s_.size()) {
      ListColumn column;
      Status st = Column(&column);
      if (!st.ok()) return st;
      columns.push_back(std::move(column));
    }
    if (out) *out = std::move(columns);
    return Status::Ok();
  }

 private:
  Status Bad(const std::string& why) const {
    return Status::InvalidArgument("malformed list format \"" + std::string(s_) + "\" at " +
                                   std::to_string(pos_ + 1) + ": " + why);
  }
  bool AtDigit() const { return pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9'; }
  char Peek() const {
    return pos_ < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[pos_])))
                            : '\0';
  }
  int Number() {
    int n = 0;
    for (; AtDigit(); ++pos_) n = n > 99999 ? n : n * 10 + (s_[pos_] - '0');
    return n;
  }
  static bool IsJustify(char c) { return c == 'L' || c == 'R' || c == 'C' || c == 'D'; }

  // "(" ["-"] digits ")", when present.
  Status Indent(int* indent) {
    if (Peek() != '(') return Status::Ok();
    ++pos_;
    const bool negative = Peek() == '-';
    if (negative) ++pos_;
    if (!AtDigit()) return Bad("an indent needs a number");
    *indent = negative ? -Number() : Number();
    if (Peek() != ')') return Bad("unclosed indent");
    ++pos_;
    return Status::Ok();
  }

  Status Column(ListColumn* c) {
    if (!AtDigit()) return Bad("a column starts with its width");
    c->width = Number();
    if (!IsJustify(Peek())) return Bad("expected the justification L, R, C or D");
    c->justify = Peek();
    ++pos_;
    if (Status st = Indent(&c->indent); !st.ok()) return st;
    for (;;) {
      const char ch = Peek();
      if (ch == '\0') return Bad("the column has no @picture@");
      ++pos_;
      if (ch == '@') {
        const size_t end = s_.find('@', pos_);
        if (end == std::string_view::npos) return Bad("unterminated @picture@");
        c->picture = "@" + std::string(s_.substr(pos_, end - pos_));
        if (Status st = ParsePicture(c->picture, nullptr); !st.ok()) return Bad(st.message());
        pos_ = end + 1;
        return Status::Ok();
      }
      if (ch == '~') {
        if (!c->header.empty()) return Bad("a second ~header~");
        const size_t end = s_.find('~', pos_);
        if (end == std::string_view::npos) return Bad("unterminated ~header~");
        c->header = std::string(s_.substr(pos_, end - pos_));
        pos_ = end + 1;
        if (IsJustify(Peek())) {
          c->header_justify = Peek();
          ++pos_;
          if (Status st = Indent(&c->header_indent); !st.ok()) return st;
        }
      } else if (ch == '|') {
        c->right_border = true;
      } else if (ch == 'M') {
        c->resizable = true;
      } else if (std::string_view("_FY*IJTZ").find(ch) != std::string_view::npos) {
        c->modifiers += ch;
      } else {
        --pos_;
        return Bad(std::string("unknown column modifier '") + s_[pos_] + "'");
      }
    }
  }

  std::string_view s_;
  size_t pos_ = 0;
};

}  // namespace

Status ParseListFormat(std::string_view format, std::vector<ListColumn>* out) {
  return FormatParser(format).Parse(out);
}

}  // namespace rt
