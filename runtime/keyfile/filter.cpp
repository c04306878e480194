#include "runtime/keyfile/filter.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {

struct Filter::Value {
  bool is_text = false;
  double number = 0;
  std::string text;

  static Value Number(double n) { return {false, n, {}}; }
  static Value Text(std::string t) { return {true, 0, std::move(t)}; }

  double AsNumber() const {
    if (!is_text) return number;
    const std::string clipped(ClipText(text));
    return std::strtod(clipped.c_str(), nullptr);
  }
  std::string AsText() const {
    if (is_text) return text;
    if (std::nearbyint(number) == number && std::fabs(number) < 1e18) {
      return std::to_string(static_cast<long long>(number));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.15g", number);
    return buffer;
  }
  bool Truth() const { return is_text ? !ClipText(text).empty() : number != 0; }
};

namespace {

enum class Token { kEnd, kName, kNumber, kText, kLeft, kRight, kOperator, kMinus, kError };

}  // namespace

// Recursive-descent parser building a Filter's node table.
class FilterParser {
 public:
  FilterParser(std::string_view text, const NameResolver& resolve, Filter* out)
      : text_(text), resolve_(resolve), out_(out) {}

  Status Parse() {
    Advance();
    if (token_ == Token::kEnd) return Status::Ok();  // Blank: everything passes.
    const int root = ParseOr();
    if (root >= 0 && token_ != Token::kEnd) Fail("unexpected '" + std::string(lexeme_) + "'");
    if (!error_.empty()) return Status::Error(kBadFilter, error_);
    out_->root_ = root;
    return Status::Ok();
  }

 private:
  using Kind = Filter::Node::Kind;

  void Fail(const std::string& what) {
    if (error_.empty()) error_ = what + " at column " + std::to_string(token_start_ + 1);
  }

  static Filter::Node MakeNode(Kind kind, int left = -1, int right = -1) {
    Filter::Node node;
    node.kind = kind;
    node.left = left;
    node.right = right;
    return node;
  }

  int Add(Filter::Node node) {
    out_->nodes_.push_back(std::move(node));
    return static_cast<int>(out_->nodes_.size()) - 1;
  }

  bool IsKeyword(std::string_view word) const {
    return token_ == Token::kName && UpperText(lexeme_) == word;
  }

  void Advance() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    token_start_ = pos_;
    if (pos_ >= text_.size()) {
      token_ = Token::kEnd;
      lexeme_ = "end of text";
      return;
    }
    const char c = text_[pos_];
    const auto is_name_start = [](char ch) {
      return std::isalpha(static_cast<unsigned char>(ch)) || ch == '_';
    };
    if (is_name_start(c)) {
      std::size_t end = pos_ + 1;
      while (end < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[end])) ||
                                    text_[end] == '_' || text_[end] == ':')) {
        ++end;
      }
      Take(Token::kName, end);
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && pos_ + 1 < text_.size() &&
                std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      std::size_t end = pos_;
      while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
      if (end < text_.size() && text_[end] == '.') {
        ++end;
        while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
      }
      Take(Token::kNumber, end);
    } else if (c == '\'') {
      text_value_.clear();
      std::size_t end = pos_ + 1;
      while (true) {
        if (end >= text_.size()) {
          token_ = Token::kError;
          lexeme_ = text_.substr(pos_);
          Fail("unterminated text");
          return;
        }
        if (text_[end] == '\'') {
          if (end + 1 < text_.size() && text_[end + 1] == '\'') {
            text_value_ += '\'';
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        text_value_ += text_[end++];
      }
      Take(Token::kText, end);
    } else if (c == '(' || c == ')') {
      Take(c == '(' ? Token::kLeft : Token::kRight, pos_ + 1);
    } else if (c == '-') {
      Take(Token::kMinus, pos_ + 1);
    } else if (c == '=') {
      Take(Token::kOperator, pos_ + 1);
    } else if (c == '<' || c == '>') {
      std::size_t end = pos_ + 1;
      if (end < text_.size() && (text_[end] == '=' || (c == '<' && text_[end] == '>'))) ++end;
      Take(Token::kOperator, end);
    } else {
      token_ = Token::kError;
      lexeme_ = text_.substr(pos_, 1);
      Fail("unexpected '" + std::string(lexeme_) + "'");
    }
  }

  void Take(Token token, std::size_t end) {
    token_ = token;
    lexeme_ = text_.substr(pos_, end - pos_);
    pos_ = end;
  }

  int ParseOr() {
    int left = ParseAnd();
    while (left >= 0 && IsKeyword("OR")) {
      Advance();
      const int right = ParseAnd();
      if (right < 0) return -1;
      left = Add(MakeNode(Kind::kOr, left, right));
    }
    return left;
  }

  int ParseAnd() {
    int left = ParseNot();
    while (left >= 0 && IsKeyword("AND")) {
      Advance();
      const int right = ParseNot();
      if (right < 0) return -1;
      left = Add(MakeNode(Kind::kAnd, left, right));
    }
    return left;
  }

  int ParseNot() {
    if (IsKeyword("NOT")) {
      Advance();
      const int operand = ParseNot();
      return operand < 0 ? -1 : Add(MakeNode(Kind::kNot, operand));
    }
    return ParseCompare();
  }

  int ParseCompare() {
    const int left = ParseUnary();
    if (left < 0 || token_ != Token::kOperator) return left;
    Filter::Node node = MakeNode(Kind::kCompare, left);
    node.text = std::string(lexeme_);
    Advance();
    node.right = ParseUnary();
    if (node.right < 0) return -1;
    return Add(std::move(node));
  }

  int ParseUnary() {
    if (token_ == Token::kMinus) {
      Advance();
      const int operand = ParseUnary();
      return operand < 0 ? -1 : Add(MakeNode(Kind::kNegate, operand));
    }
    return ParsePrimary();
  }

  int ParsePrimary() {
    switch (token_) {
      case Token::kNumber: {
        Filter::Node node = MakeNode(Kind::kNumber);
        node.number = std::strtod(std::string(lexeme_).c_str(), nullptr);
        Advance();
        return Add(std::move(node));
      }
      case Token::kText: {
        Filter::Node node = MakeNode(Kind::kText);
        node.text = text_value_;
        Advance();
        return Add(std::move(node));
      }
      case Token::kLeft: {
        Advance();
        const int inner = ParseOr();
        if (inner < 0) return -1;
        if (!Expect(Token::kRight, "')'")) return -1;
        return inner;
      }
      case Token::kName: {
        if (IsKeyword("UPPER") || IsKeyword("CLIP")) return ParseFunction();
        if (IsKeyword("AND") || IsKeyword("OR") || IsKeyword("NOT")) break;
        std::optional<NameRef> ref = resolve_(lexeme_);
        if (!ref) {
          Fail("unknown name '" + std::string(lexeme_) + "'");
          return -1;
        }
        Filter::Node node = MakeNode(Kind::kName);
        node.name = *ref;
        Advance();
        return Add(std::move(node));
      }
      default:
        break;
    }
    Fail(token_ == Token::kEnd ? "unexpected end of text"
                               : "unexpected '" + std::string(lexeme_) + "'");
    return -1;
  }

  int ParseFunction() {
    const Kind kind = IsKeyword("UPPER") ? Kind::kUpper : Kind::kClip;
    Advance();
    if (!Expect(Token::kLeft, "'('")) return -1;
    const int argument = ParseOr();
    if (argument < 0) return -1;
    if (!Expect(Token::kRight, "')'")) return -1;
    return Add(MakeNode(kind, argument));
  }

  bool Expect(Token token, const char* what) {
    if (token_ != token) {
      Fail(std::string("expected ") + what);
      return false;
    }
    Advance();
    return true;
  }

  std::string_view text_;
  const NameResolver& resolve_;
  Filter* out_;
  std::size_t pos_ = 0;
  std::size_t token_start_ = 0;
  Token token_ = Token::kEnd;
  std::string_view lexeme_;
  std::string text_value_;
  std::string error_;
};

Status Filter::Compile(std::string_view text, const NameResolver& resolve, Filter* out) {
  Filter filter;
  FilterParser parser(text, resolve, &filter);
  KEYFILE_RETURN_IF_ERROR(parser.Parse());
  *out = std::move(filter);
  return Status::Ok();
}

bool Filter::Matches(std::span<const std::byte> candidate) const {
  if (root_ < 0) return true;
  if (!narrowed_) return Evaluate(root_, candidate).Truth();
  for (int term : residual_) {
    if (!Evaluate(term, candidate).Truth()) return false;
  }
  return true;
}

std::vector<int> Filter::Terms() const {
  std::vector<int> terms;
  if (root_ < 0) return terms;
  std::vector<int> pending = {root_};
  while (!pending.empty()) {
    const int index = pending.back();
    pending.pop_back();
    const Node& node = nodes_[static_cast<std::size_t>(index)];
    if (node.kind == Node::Kind::kAnd) {
      pending.push_back(node.right);
      pending.push_back(node.left);
    } else {
      terms.push_back(index);
    }
  }
  return terms;
}

Filter::Value Filter::Evaluate(int index, std::span<const std::byte> candidate) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.kind) {
    case Node::Kind::kNumber:
      return Value::Number(node.number);
    case Node::Kind::kText:
      return Value::Text(node.text);
    case Node::Kind::kName: {
      Field field{"", 0, node.name.type, node.name.width};
      std::span<const std::byte> storage;
      if (node.name.kind == NameRef::Kind::kRecordField) {
        field.offset = node.name.offset;
        storage = candidate;
      } else {
        storage = std::span<const std::byte>(node.name.data, node.name.width);
      }
      if (node.name.type == FieldType::kString) {
        return Value::Text(std::string(ReadText(storage, field)));
      }
      return Value::Number(static_cast<double>(ReadNumber(storage, field)));
    }
    case Node::Kind::kUpper:
      return Value::Text(UpperText(Evaluate(node.left, candidate).AsText()));
    case Node::Kind::kClip:
      return Value::Text(std::string(ClipText(Evaluate(node.left, candidate).AsText())));
    case Node::Kind::kNot:
      return Value::Number(Evaluate(node.left, candidate).Truth() ? 0 : 1);
    case Node::Kind::kNegate:
      return Value::Number(-Evaluate(node.left, candidate).AsNumber());
    case Node::Kind::kAnd:
      return Value::Number(
          Evaluate(node.left, candidate).Truth() && Evaluate(node.right, candidate).Truth() ? 1
                                                                                            : 0);
    case Node::Kind::kOr:
      return Value::Number(
          Evaluate(node.left, candidate).Truth() || Evaluate(node.right, candidate).Truth() ? 1
                                                                                            : 0);
    case Node::Kind::kCompare: {
      const Value a = Evaluate(node.left, candidate);
      const Value b = Evaluate(node.right, candidate);
      int c = 0;
      if (a.is_text && b.is_text) {
        c = ComparePadded(a.text, b.text);
      } else {
        const double x = a.AsNumber();
        const double y = b.AsNumber();
        c = x < y ? -1 : (x > y ? 1 : 0);
      }
      const std::string& op = node.text;
      bool result = false;
      if (op == "=") result = c == 0;
      if (op == "<>") result = c != 0;
      if (op == "<") result = c < 0;
      if (op == "<=") result = c <= 0;
      if (op == ">") result = c > 0;
      if (op == ">=") result = c >= 0;
      return Value::Number(result ? 1 : 0);
    }
  }
  return Value::Number(0);
}

bool Filter::UsesRecord(int index) const {
  if (index < 0) return false;
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.kind == Node::Kind::kName) return node.name.kind == NameRef::Kind::kRecordField;
  return UsesRecord(node.left) || UsesRecord(node.right);
}

int Filter::FieldOf(int index, bool numeric) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.kind == Node::Kind::kName) {
    return node.name.kind == NameRef::Kind::kRecordField ? node.name.field : -1;
  }
  // UPPER() and CLIP() keep every value equal under the key's text order.
  if (!numeric && (node.kind == Node::Kind::kUpper || node.kind == Node::Kind::kClip)) {
    return FieldOf(node.left, numeric);
  }
  return -1;
}

std::vector<KeyValue> Filter::Narrow(const std::vector<int>& fields,
                                     const std::vector<FieldType>& types) {
  std::vector<KeyValue> fixed;
  if (root_ < 0) return fixed;
  std::vector<int> terms = Terms();
  std::vector<bool> implied(terms.size(), false);
  const auto is_upper = [this](int node) {
    return nodes_[static_cast<std::size_t>(node)].kind == Node::Kind::kUpper;
  };
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const bool numeric = types[i] != FieldType::kString;
    std::optional<KeyValue> found;
    for (std::size_t t = 0; t < terms.size() && !found; ++t) {
      const Node& node = nodes_[static_cast<std::size_t>(terms[t])];
      if (node.kind != Node::Kind::kCompare || node.text != "=") continue;
      int field_side = -1;
      int value_side = -1;
      if (FieldOf(node.left, numeric) == fields[i] && !UsesRecord(node.right)) {
        field_side = node.left;
        value_side = node.right;
      } else if (FieldOf(node.right, numeric) == fields[i] && !UsesRecord(node.left)) {
        field_side = node.right;
        value_side = node.left;
      }
      if (value_side < 0) continue;
      const Value value = Evaluate(value_side, {});
      if (numeric) {
        const double n = value.AsNumber();
        if (std::nearbyint(n) != n || std::fabs(n) > 9e18) continue;
        found = KeyValue(static_cast<std::int64_t>(n));
        implied[t] = true;
      } else {
        // A number compares numerically ("05" = 5): no single key text to seek.
        if (!value.is_text) continue;
        found = KeyValue(std::string(ClipText(value.text)));
        // Upper case on both sides is exactly the key's comparison.
        implied[t] = is_upper(field_side) && is_upper(value_side);
      }
    }
    if (!found) break;
    fixed.push_back(std::move(*found));
  }
  residual_.clear();
  for (std::size_t t = 0; t < terms.size(); ++t) {
    if (!implied[t]) residual_.push_back(terms[t]);
  }
  narrowed_ = true;
  return fixed;
}

}  // namespace rt::keyfile
