#include "tools/twiqfile/json.h"

#include "runtime/value/json_text.h"

#include <cstdio>

namespace twiqfile {

std::string JsonString(std::string_view text) {
  return rt::JsonQuote(text, rt::JsonBytes::kLatin1);
}

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const auto& [key, value] : members) {
    if (key == name) return &value;
  }
  return nullptr;
}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view doc) : doc_(doc) {}

  bool Document(JsonValue& out, std::string& error) {
    SkipSpace();
    if (!Value(out, 0)) {
      error = error_;
      return false;
    }
    SkipSpace();
    if (pos_ != doc_.size()) {
      Fail("unexpected text after the document");
      error = error_;
      return false;
    }
    return true;
  }

 private:
  static constexpr int kMaxDepth = 64;

  bool Fail(const std::string& what) {
    if (!error_.empty()) return false;
    size_t line = 1, column = 1;
    for (size_t i = 0; i < pos_ && i < doc_.size(); ++i) {
      if (doc_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    error_ = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
    return false;
  }

  void SkipSpace() {
    while (pos_ < doc_.size() &&
           (doc_[pos_] == ' ' || doc_[pos_] == '\t' || doc_[pos_] == '\n' || doc_[pos_] == '\r')) {
      ++pos_;
    }
  }

  bool Literal(std::string_view word) {
    if (doc_.substr(pos_, word.size()) != word) return Fail("unknown literal");
    pos_ += word.size();
    return true;
  }

  bool Value(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    if (pos_ >= doc_.size()) return Fail("unexpected end of the document");
    const char c = doc_[pos_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      out.kind = JsonValue::Kind::kString;
      return String(out.text);
    }
    if (c == 't') {
      out.kind = JsonValue::Kind::kBool;
      out.boolean = true;
      return Literal("true");
    }
    if (c == 'f') {
      out.kind = JsonValue::Kind::kBool;
      return Literal("false");
    }
    if (c == 'n') {
      out.kind = JsonValue::Kind::kNull;
      return Literal("null");
    }
    if (c == '-' || (c >= '0' && c <= '9')) return Number(out);
    return Fail(std::string("unexpected character '") + c + "'");
  }

  bool Number(JsonValue& out) {
    bool negative = false;
    if (doc_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    if (pos_ >= doc_.size() || doc_[pos_] < '0' || doc_[pos_] > '9') {
      return Fail("expected a digit");
    }
    // Magnitude up to 2^63 (the negative limit).
    const uint64_t limit = uint64_t{1} << 63;
    uint64_t value = 0;
    while (pos_ < doc_.size() && doc_[pos_] >= '0' && doc_[pos_] <= '9') {
      const uint64_t digit = static_cast<uint64_t>(doc_[pos_] - '0');
      if (value > (limit - digit) / 10) return Fail("number out of range");
      value = value * 10 + digit;
      ++pos_;
    }
    if (pos_ < doc_.size() && (doc_[pos_] == '.' || doc_[pos_] == 'e' || doc_[pos_] == 'E')) {
      return Fail("only whole numbers are allowed");
    }
    if (!negative && value == limit) return Fail("number out of range");
    out.kind = JsonValue::Kind::kNumber;
    out.number = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
    return true;
  }

  bool Hex4(uint32_t& out) {
    if (pos_ + 4 > doc_.size()) return Fail("incomplete \\u escape");
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = doc_[pos_++];
      out <<= 4;
      if (h >= '0' && h <= '9') {
        out |= static_cast<uint32_t>(h - '0');
      } else if (h >= 'a' && h <= 'f') {
        out |= static_cast<uint32_t>(h - 'a' + 10);
      } else if (h >= 'A' && h <= 'F') {
        out |= static_cast<uint32_t>(h - 'A' + 10);
      } else {
        return Fail("bad \\u escape");
      }
    }
    return true;
  }

  bool Byte(uint32_t code_point, std::string& out) {
    if (code_point > 0xFF) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(code_point));
      return Fail(std::string("character ") + buf + " cannot be stored in 8-bit text");
    }
    out += static_cast<char>(code_point);
    return true;
  }

  bool String(std::string& out) {
    ++pos_;  // the opening quote
    out.clear();
    while (true) {
      if (pos_ >= doc_.size()) return Fail("unterminated string");
      const unsigned char c = static_cast<unsigned char>(doc_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return Fail("control character in a string");
      if (c == '\\') {
        if (++pos_ >= doc_.size()) return Fail("unterminated string");
        const char e = doc_[pos_++];
        switch (e) {
          case '"':
            out += '"';
            break;
          case '\\':
            out += '\\';
            break;
          case '/':
            out += '/';
            break;
          case 'b':
            out += '\b';
            break;
          case 'f':
            out += '\f';
            break;
          case 'n':
            out += '\n';
            break;
          case 'r':
            out += '\r';
            break;
          case 't':
            out += '\t';
            break;
          case 'u': {
            uint32_t cp = 0;
            if (!Hex4(cp)) return false;
            if (!Byte(cp, out)) return false;
            break;
          }
          default:
            return Fail("bad escape");
        }
        continue;
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
        ++pos_;
        continue;
      }
      // A UTF-8 sequence.
      int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
      if (extra < 0) return Fail("invalid UTF-8");
      uint32_t cp = c & (0x3F >> extra);
      ++pos_;
      for (int i = 0; i < extra; ++i) {
        if (pos_ >= doc_.size()) return Fail("invalid UTF-8");
        const unsigned char k = static_cast<unsigned char>(doc_[pos_]);
        if ((k & 0xC0) != 0x80) return Fail("invalid UTF-8");
        cp = (cp << 6) | (k & 0x3F);
        ++pos_;
      }
      if (!Byte(cp, out)) return false;
    }
  }

  bool Array(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::kArray;
    ++pos_;
    SkipSpace();
    if (pos_ < doc_.size() && doc_[pos_] == ']') {
      ++pos_;
      return true;
    }
    while (true) {
      SkipSpace();
      JsonValue item;
      if (!Value(item, depth + 1)) return false;
      out.items.push_back(std::move(item));
      SkipSpace();
      if (pos_ >= doc_.size()) return Fail("unterminated array");
      if (doc_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (doc_[pos_] == ']') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or ']'");
    }
  }

  bool Object(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::kObject;
    ++pos_;
    SkipSpace();
    if (pos_ < doc_.size() && doc_[pos_] == '}') {
      ++pos_;
      return true;
    }
    while (true) {
      SkipSpace();
      if (pos_ >= doc_.size() || doc_[pos_] != '"') return Fail("expected a member name");
      std::string name;
      if (!String(name)) return false;
      if (out.Find(name) != nullptr) return Fail("member \"" + name + "\" given twice");
      SkipSpace();
      if (pos_ >= doc_.size() || doc_[pos_] != ':') return Fail("expected ':'");
      ++pos_;
      SkipSpace();
      JsonValue value;
      if (!Value(value, depth + 1)) return false;
      out.members.emplace_back(std::move(name), std::move(value));
      SkipSpace();
      if (pos_ >= doc_.size()) return Fail("unterminated object");
      if (doc_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (doc_[pos_] == '}') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or '}'");
    }
  }

  std::string_view doc_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

bool ParseJson(std::string_view document, JsonValue& out, std::string& error) {
  out = JsonValue();
  Parser parser(document);
  return parser.Document(out, error);
}

}  // namespace twiqfile
