#include "runtime/keyfile/view.h"

#include <algorithm>
#include <charconv>

#include "runtime/keyfile/file_impl.h"
#include "runtime/keyfile/filter.h"
#include "runtime/keyfile/position.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

// A filter that does not fix the whole key may reject rows: reading a few at
// a time keeps a sparse view from costing one query per row.
constexpr int kFilteredBatch = 16;
constexpr int kMaxReadAhead = 1000;

}  // namespace

struct View::Impl {
  Impl(File* f, int k, const NameTable* n) : file(f), key(k), names(n) {}

  File* file;
  int key;
  const NameTable* names;
  std::string filter_text;
  bool filter_valid = true;
  Filter filter;
  bool open = false;
  std::vector<KeyValue> fixed;  // Key values the filter fixes, as of the open.
  Anchor anchor;
  ReadAhead ahead;
  std::uint64_t generation = 0;  // The file's, when `ahead` was read.
  int read_ahead = 0;
  bool has_last = false;
  std::int64_t last_id = 0;
  std::vector<KeyValue> last_values;
};

namespace {

// Resolves a filter's names for a view of `file` whose record buffer is `record`.
NameResolver MakeResolver(const FileDeclaration& declaration, std::span<const std::byte> record,
                          const NameTable* names) {
  return [&declaration, record, names](std::string_view name) -> std::optional<NameRef> {
    NameRef ref;
    const Variable* bound = names != nullptr ? names->Find(name) : nullptr;
    if (bound != nullptr) {
      ref.type = bound->type;
      ref.width = bound->width;
      const std::byte* begin = record.data();
      const std::byte* end = begin + record.size();
      if (bound->data >= begin && bound->data < end &&
          bound->width <= static_cast<std::size_t>(end - bound->data)) {
        // Bound into the file's own buffer: it means the record being tested.
        ref.kind = NameRef::Kind::kRecordField;
        ref.offset = static_cast<std::size_t>(bound->data - begin);
        for (std::size_t i = 0; i < declaration.fields.size(); ++i) {
          const Field& f = declaration.fields[i];
          if (f.offset == ref.offset && f.type == ref.type && FieldWidth(f) == ref.width) {
            ref.field = static_cast<int>(i);
            break;
          }
        }
      } else {
        ref.kind = NameRef::Kind::kVariable;
        ref.data = bound->data;
      }
      return ref;
    }
    const int field = declaration.FindField(name);
    if (field < 0) return std::nullopt;
    const Field& f = declaration.fields[static_cast<std::size_t>(field)];
    ref.kind = NameRef::Kind::kRecordField;
    ref.offset = f.offset;
    ref.type = f.type;
    ref.width = FieldWidth(f);
    ref.field = field;
    return ref;
  };
}

}  // namespace

View::View(File& file, int key, const NameTable* names)
    : impl_(std::make_unique<Impl>(&file, key, names)) {}

View::~View() = default;

int View::SetFilter(std::string_view expression) {
  Impl& v = *impl_;
  File::Impl& f = *v.file->impl_;
  v.filter_text = std::string(expression);
  Filter compiled;
  Status status =
      Filter::Compile(expression, MakeResolver(*f.declaration, f.record, v.names), &compiled);
  v.filter_valid = status.ok();
  if (status.ok()) v.filter = std::move(compiled);
  return Publish(status);
}

const std::string& View::filter() const { return impl_->filter_text; }

int View::Open() {
  Impl& v = *impl_;
  File::Impl& f = *v.file->impl_;
  Status status = f.RequireOpen();
  if (status.ok()) status = f.RequireKey(v.key);
  if (!status.ok()) return Publish(status);
  Filter compiled;
  status =
      Filter::Compile(v.filter_text, MakeResolver(*f.declaration, f.record, v.names), &compiled);
  v.filter_valid = status.ok();
  if (!status.ok()) return Publish(status);
  v.filter = std::move(compiled);
  const KeyPlan& plan = f.layout.keys[static_cast<std::size_t>(v.key)];
  std::vector<FieldType> types;
  for (int field : plan.fields) types.push_back(f.declaration->fields[field].type);
  v.fixed = v.filter.Narrow(plan.fields, types);
  v.anchor = f.order == v.key ? f.anchor : Anchor();
  v.ahead.Clear();
  v.has_last = false;
  v.open = true;
  return Publish(Status::Ok());
}

int View::Close() {
  impl_->open = false;
  impl_->ahead.Clear();
  return Publish(Status::Ok());
}

bool View::is_open() const { return impl_->open; }

namespace {

Status RequireViewOpen(bool view_open, bool file_open) {
  if (!view_open || !file_open) return Status::Error(kFileNotOpen, "the view is not open");
  return Status::Ok();
}

}  // namespace

int View::Set() {
  Impl& v = *impl_;
  Status status = RequireViewOpen(v.open, v.file->impl_->open);
  if (status.ok()) {
    v.anchor = Anchor();
    v.ahead.Clear();
  }
  return Publish(status);
}

int View::Next() { return Read(true); }

int View::Previous() { return Read(false); }

int View::Read(bool forward) {
  Impl& v = *impl_;
  File::Impl& f = *v.file->impl_;
  Status status = RequireViewOpen(v.open, f.open);
  if (!status.ok()) return Publish(status);
  if (v.generation != f.generation) v.ahead.Clear();
  int batch = std::max(1, v.read_ahead);
  if (!v.filter.AcceptsAll()) batch = std::max(batch, kFilteredBatch);
  const Filter& filter = v.filter;
  status = f.ReadFrom(
      v.key, v.fixed, &v.anchor, &v.ahead, forward, batch,
      filter.AcceptsAll() ? std::function<bool(const Row&)>()
                          : [&filter](const Row& row) { return filter.Matches(row.image); });
  v.generation = f.generation;
  if (status.ok()) {
    v.has_last = true;
    v.last_id = v.anchor.rowid;
    v.last_values = v.anchor.values;
  }
  return Publish(status);
}

std::string View::Position() const {
  const Impl& v = *impl_;
  Publish(Status::Ok());
  if (!v.has_last) return "";
  return EncodePosition({PositionValue::Kind::kView, v.key, v.last_id, v.last_values});
}

int View::Reset(std::string_view position) {
  Impl& v = *impl_;
  File::Impl& f = *v.file->impl_;
  Status status = RequireViewOpen(v.open, f.open);
  if (!status.ok()) return Publish(status);
  std::optional<PositionValue> decoded = DecodePosition(position);
  if (!decoded || decoded->kind == PositionValue::Kind::kFileOrder || decoded->key != v.key ||
      decoded->values.size() != f.layout.keys[static_cast<std::size_t>(v.key)].fields.size()) {
    return Publish(Status::Error(kRecordNotFound, "not a position of this view"));
  }
  v.anchor.kind = decoded->rowid > 0 ? Anchor::Kind::kRecord : Anchor::Kind::kValue;
  v.anchor.rowid = decoded->rowid;
  v.anchor.values = std::move(decoded->values);
  v.ahead.Clear();
  return Publish(Status::Ok());
}

int View::Reget(std::string_view position) {
  Impl& v = *impl_;
  Status status = RequireViewOpen(v.open, v.file->impl_->open);
  if (!status.ok()) return Publish(status);
  return v.file->Reget(position);
}

int View::Watch() {
  Impl& v = *impl_;
  Status status = RequireViewOpen(v.open, v.file->impl_->open);
  if (status.ok()) v.file->impl_->watch_pending = true;
  return Publish(status);
}

int View::read_ahead() const { return impl_->read_ahead; }

int View::SetReadAhead(int rows) {
  if (rows < 0 || rows > kMaxReadAhead) {
    return Publish(Status::Error(kInvalidRequest, "invalid read-ahead"));
  }
  impl_->read_ahead = rows;
  return Publish(Status::Ok());
}

std::string View::GetProperty(int code) const {
  Publish(Status::Ok());
  if (code == kPropViewFilter) return impl_->filter_text;
  if (code == kPropReadAhead) return std::to_string(impl_->read_ahead);
  Publish(Status::Error(kInvalidRequest, "no view property " + std::to_string(code)));
  return "";
}

int View::SetProperty(int code, std::string_view value) {
  if (code == kPropViewFilter) return SetFilter(value);
  if (code == kPropReadAhead) {
    value = ClipText(value);
    int rows = -1;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), rows);
    if (ec != std::errc() || ptr != value.data() + value.size()) rows = -1;
    return SetReadAhead(rows);
  }
  return Publish(Status::Error(kInvalidRequest, "no view property " + std::to_string(code)));
}

}  // namespace rt::keyfile
