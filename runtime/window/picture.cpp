#include "runtime/window/picture.h"

#include <cctype>
#include <string>

namespace rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of `s` (0 when none); *digits gets how many digits it has. Large
// numbers saturate rather than overflow.
int LeadingNumber(std::string_view s, size_t* digits) {
  int n = 0;
  size_t i = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) n = n > 99999 ? n : n * 10 + (s[i] - '0');
  *digits = i;
  return n;
}

Status Bad(std::string_view text, std::string_view why) {
  return Status::InvalidArgument("malformed picture \"" + std::string(text) +
                                 "\": " + std::string(why));
}

}  // namespace

Status ParsePicture(std::string_view text, Picture* out) {
  if (text.size() < 2 || text[0] != '@') return Bad(text, "a picture starts with @ and a type");
  Picture p;
  p.type = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
  std::string_view rest = text.substr(2);
  size_t digits = 0;
  switch (p.type) {
    case 'S':
      p.width = LeadingNumber(rest, &digits);
      if (digits == 0 || digits != rest.size() || p.width == 0) {
        return Bad(text, "@S takes a width of at least 1 and nothing else");
      }
      break;
    case 'N':
    case 'E': {
      bool in_literal = false;
      bool have_digit = false;
      for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (in_literal) {
          in_literal = c != '~';
        } else if (c == '~') {
          in_literal = true;
        } else if (IsDigit(c)) {
          if (!have_digit) {
            p.width = LeadingNumber(rest.substr(i), &digits);
          }
          have_digit = true;
        } else if (std::string_view(".,-+()$_*Bb").find(c) == std::string_view::npos) {
          return Bad(text, std::string("unexpected character '") + c + "' in a number picture");
        }
      }
      if (in_literal) return Bad(text, "unterminated ~literal~");
      if (!have_digit) return Bad(text, "a number picture needs a width");
      break;
    }
    case 'D':
    case 'T':
      p.width = LeadingNumber(rest, &digits);
      if (digits == 0) return Bad(text, "a date or time picture needs its format number");
      for (char c : rest.substr(digits)) {
        if (std::string_view(".-_`',Bb").find(c) == std::string_view::npos) {
          return Bad(text, std::string("unexpected character '") + c + "' after the format");
        }
      }
      break;
    case 'P':
    case 'K':
      if (rest.size() < 2 || std::toupper(static_cast<unsigned char>(rest.back())) != p.type) {
        return Bad(text, std::string("a pattern must end with its letter ") + p.type);
      }
      p.width = static_cast<int>(rest.size() - 1);
      break;
    default:
      return Bad(text, std::string("unknown picture type '") + text[1] + "'");
  }
  if (out) *out = p;
  return Status::Ok();
}

}  // namespace rt
