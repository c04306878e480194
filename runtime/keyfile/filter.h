// View filter expressions: parsing, evaluation against a candidate record, and
// the key range a filter pins down.
//
// Grammar (keywords and names in any letter case):
//   expr    := and { OR and }
//   and     := not { AND not }
//   not     := NOT not | compare
//   compare := unary [ ( = | <> | < | <= | > | >= ) unary ]
//   unary   := - unary | primary
//   primary := number | 'text' ('' is a quote) | name
//            | UPPER ( expr ) | CLIP ( expr ) | ( expr )
//   name    := letter or _, then letters, digits, _ and :   ("BRW1::Sort1:Save:WIN:Name")
//
// Values are text or numbers. Two texts compare as fixed strings (trailing
// spaces are not significant) and case-sensitively; UPPER() makes a side
// case-insensitive. A text compared with a number is taken as a number.
// Comparisons give 1 or 0; AND, OR and NOT take a number as true when it is not
// 0 and a text when it is not blank. UPPER folds case as keys do (text.h);
// CLIP removes trailing spaces.
//
// Thread safety: a Filter is immutable after Compile(); Matches() reads the
// bound variables, so it runs on the thread that owns them.

#ifndef RUNTIME_KEYFILE_FILTER_H_
#define RUNTIME_KEYFILE_FILTER_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/keyfile/declaration.h"
#include "runtime/keyfile/position.h"
#include "runtime/keyfile/status.h"

namespace rt::keyfile {

// What a name in an expression stands for.
struct NameRef {
  enum class Kind { kVariable, kRecordField };
  Kind kind = Kind::kVariable;
  const std::byte* data = nullptr;  // kVariable: the caller's storage.
  std::size_t offset = 0;           // kRecordField: offset in the candidate record.
  FieldType type = FieldType::kString;
  std::size_t width = 0;
  int field = -1;  // kRecordField: the declaration's field index there, or -1.
};

using NameResolver = std::function<std::optional<NameRef>(std::string_view name)>;

class Filter {
 public:
  Filter() = default;

  // Compiles `text` into *out; names resolve through `resolve`. Error 800 with
  // the reason and the column when the text does not parse or names an
  // unknown name. An empty (or blank) text compiles to a filter that passes
  // every record.
  static Status Compile(std::string_view text, const NameResolver& resolve, Filter* out);

  bool empty() const { return root_ < 0; }
  // Whether Matches() passes every record (no terms left to evaluate).
  bool AcceptsAll() const { return root_ < 0 || (narrowed_ && residual_.empty()); }
  // Whether `candidate` (a record image) passes.
  bool Matches(std::span<const std::byte> candidate) const;
  // The values that top-level AND terms "field = value" (the field bare or in
  // UPPER()/CLIP(), the value free of record fields) fix for the leading
  // `fields` (of `types`) in order, evaluated now; stops at the first field
  // not fixed. Every record that passes has these key values (as the key
  // compares them), so a view may read only that key range. Terms the range
  // implies exactly (a number field equal to a value; UPPER(field) equal to
  // UPPER(value)) are no longer evaluated by Matches(): their values are
  // those of this call.
  std::vector<KeyValue> Narrow(const std::vector<int>& fields, const std::vector<FieldType>& types);

 private:
  friend class FilterParser;
  struct Value;
  struct Node {
    enum class Kind { kNumber, kText, kName, kUpper, kClip, kNot, kNegate, kAnd, kOr, kCompare };
    Kind kind = Kind::kNumber;
    int left = -1;
    int right = -1;
    double number = 0;
    std::string text;  // kText; kCompare: the operator.
    NameRef name;
  };

  Value Evaluate(int node, std::span<const std::byte> candidate) const;
  bool UsesRecord(int node) const;
  // The field index a term "field", "UPPER(field)" or "CLIP(field)" reads, or -1.
  int FieldOf(int node, bool numeric) const;

  // The top-level AND terms of the expression.
  std::vector<int> Terms() const;

  std::vector<Node> nodes_;
  int root_ = -1;
  std::vector<int> residual_;  // After Narrow(): the terms Matches() still evaluates.
  bool narrowed_ = false;
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_FILTER_H_
