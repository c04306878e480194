// Reads through the keyed-file driver against raw SQLite statements on the same
// data, in the same run: reads by key (unique and composite) and pages of a
// filtered view, on files of 1,000 and 100,000 settings-sized records.
//
// Prints, after the usual table, the ratios of CPU times: driver / raw SQLite
// for each case (goal: reads by key within 1.5x) and the cost of a view page
// on the large file over the small one (goal: about 1, a page costs O(page)).
// View pages are measured on one variant paged again and again (its pages in
// SQLite's cache) and spread over all variants (mostly cache misses, for the
// driver and raw SQLite alike).
//
// Run: bench_keyfile_reads [--benchmark_filter=...]. The files are built in a
// temporary folder (about 400 MB for the large one) and removed at exit.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "runtime/keyfile/declaration.h"
#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "runtime/keyfile/names.h"
#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"
#include "runtime/keyfile/view.h"

namespace kf = rt::keyfile;

namespace {

constexpr int kLabelsPerVariant = 50;
constexpr int kPageRows = 20;

// The settings record's shape: 3069 bytes, a unique UID and three composite
// keys led by procedure and marker.
std::shared_ptr<kf::FileDeclaration> SettingsLikeDeclaration(
    std::shared_ptr<kf::TextVariable> name) {
  auto d = std::make_shared<kf::FileDeclaration>();
  d->prefix = "WIN";
  d->record_length = 3069;
  d->fields = {{"UID", 0, kf::FieldType::kULong, 4},
               {"PROCEDURENAME", 4, kf::FieldType::kString, 80},
               {"UNIQUEMARKER", 84, kf::FieldType::kString, 80},
               {"CONTROLLABEL", 164, kf::FieldType::kString, 80},
               {"FEQ", 244, kf::FieldType::kLong, 4},
               {"ORDER", 248, kf::FieldType::kLong, 4},
               {"CONTROLTEXT", 356, kf::FieldType::kString, 512}};
  d->keys = {{"KEYUID", {"UID"}, true},
             {"KEYPROCEDUREMARKERLABEL", {"PROCEDURENAME", "UNIQUEMARKER", "CONTROLLABEL"}, false},
             {"KEYPROCEDUREMARKERFEQ", {"PROCEDURENAME", "UNIQUEMARKER", "FEQ"}, false},
             {"ORDERKEY", {"PROCEDURENAME", "UNIQUEMARKER", "ORDER"}, false}};
  d->blob = "IMAGEBLOB";
  d->file_name = std::move(name);
  d->password = std::make_shared<kf::TextVariable>();
  return d;
}

std::string ProcName(int p) { return "Procedure" + std::to_string(p); }
std::string Label(int l) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "?CONTROL%03d", l);
  return buffer;
}

// One data set: a file of `records` records (variants of 50 labels each) and
// a driver handle and a raw connection on it.
struct DataSet {
  int records = 0;
  std::string path;
  std::shared_ptr<kf::TextVariable> name = std::make_shared<kf::TextVariable>();
  std::shared_ptr<kf::FileDeclaration> declaration;
  std::unique_ptr<kf::File> file;
  kf::NameTable names;
  char proc_var[80];
  char marker_var[80];
  sqlite3* raw = nullptr;
  sqlite3_stmt* raw_by_uid = nullptr;
  sqlite3_stmt* raw_by_label = nullptr;
  sqlite3_stmt* raw_page = nullptr;
};

std::string g_folder;
std::map<int, std::unique_ptr<DataSet>> g_sets;

int CollateKeyText(void*, int a_len, const void* a, int b_len, const void* b) {
  return kf::CompareKeyText(std::string_view(static_cast<const char*>(a), a_len),
                            std::string_view(static_cast<const char*>(b), b_len));
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "bench setup failed: %s (%d %s)\n", what, kf::ErrorCode(),
                 kf::DriverError().c_str());
    std::exit(1);
  }
}

DataSet& Data(int records) {
  std::unique_ptr<DataSet>& slot = g_sets[records];
  if (slot) return *slot;
  slot = std::make_unique<DataSet>();
  DataSet& d = *slot;
  d.records = records;
  d.path = g_folder + "/bench-" + std::to_string(records) + ".twiq";
  d.name->Set(d.path);
  d.declaration = SettingsLikeDeclaration(d.name);
  d.file = std::make_unique<kf::File>(d.declaration);
  kf::File& f = *d.file;
  Check(f.Create() == kf::kOk, "create");
  Check(f.Open(kf::kModeDenyWrite) == kf::kOk, "open");
  Check(f.Stream() == kf::kOk, "stream");
  const kf::FileDeclaration& decl = *d.declaration;
  for (int uid = 1; uid <= records; ++uid) {
    const int variant = (uid - 1) / kLabelsPerVariant;
    std::span<std::byte> rec = f.RecordBlock();
    kf::ClearRecord(decl, rec);
    kf::WriteNumber(rec, decl.fields[0], uid);
    kf::WriteText(rec, decl.fields[1], ProcName(variant));
    kf::WriteText(rec, decl.fields[2], "FLAT");
    kf::WriteText(rec, decl.fields[3], Label((uid * 7) % kLabelsPerVariant));
    kf::WriteNumber(rec, decl.fields[4], uid);
    kf::WriteNumber(rec, decl.fields[5], uid);
    kf::WriteText(rec, decl.fields[6], "Some control text of a settings record");
    Check(f.Append() == kf::kOk, "append");
  }
  Check(f.Flush() == kf::kOk, "flush");
  Check(f.Build() == kf::kOk, "build");
  f.Close();
  Check(f.Open(kf::kModeShared) == kf::kOk, "reopen");
  d.names.BindRecord(decl, f.RecordBlock());
  d.names.Bind("LOC:Proc", kf::Variable::Text(d.proc_var, sizeof(d.proc_var)));
  d.names.Bind("LOC:Marker", kf::Variable::Text(d.marker_var, sizeof(d.marker_var)));

  Check(sqlite3_open_v2(d.path.c_str(), &d.raw, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK,
        "raw open");
  sqlite3_create_collation(d.raw, "twiq_text", SQLITE_UTF8, nullptr, CollateKeyText);
  Check(sqlite3_prepare_v2(d.raw, "SELECT image FROM twiq_records WHERE c0_4 = ?1", -1,
                           &d.raw_by_uid, nullptr) == SQLITE_OK,
        sqlite3_errmsg(d.raw));
  Check(sqlite3_prepare_v2(d.raw,
                           "SELECT image FROM twiq_records WHERE c4_80 = ?1 AND c84_80 = ?2 AND "
                           "c164_80 = ?3 ORDER BY id LIMIT 1",
                           -1, &d.raw_by_label, nullptr) == SQLITE_OK,
        sqlite3_errmsg(d.raw));
  Check(sqlite3_prepare_v2(d.raw,
                           "SELECT image FROM twiq_records WHERE c4_80 = ?1 AND c84_80 = ?2 "
                           "ORDER BY c164_80, id LIMIT ?3",
                           -1, &d.raw_page, nullptr) == SQLITE_OK,
        sqlite3_errmsg(d.raw));
  return d;
}

std::vector<int> RandomUids(int records) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> pick(1, records);
  std::vector<int> uids(4096);
  for (int& uid : uids) uid = pick(random);
  return uids;
}

void SetText(char (&var)[80], const std::string& value) {
  std::memset(var, ' ', sizeof(var));
  std::memcpy(var, value.data(), value.size());
}

// ---- Reads by the unique key.

void BM_GetByUid_Driver(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const std::vector<int> uids = RandomUids(d.records);
  const kf::Field& uid_field = d.declaration->fields[0];
  std::size_t i = 0;
  for (auto _ : state) {
    kf::WriteNumber(d.file->RecordBlock(), uid_field, uids[i++ % uids.size()]);
    if (d.file->Get(0) != kf::kOk) state.SkipWithError("get failed");
  }
}

void BM_GetByUid_RawSqlite(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const std::vector<int> uids = RandomUids(d.records);
  std::vector<std::byte> record(3069);
  std::size_t i = 0;
  for (auto _ : state) {
    sqlite3_bind_int64(d.raw_by_uid, 1, uids[i++ % uids.size()]);
    if (sqlite3_step(d.raw_by_uid) != SQLITE_ROW) state.SkipWithError("raw get failed");
    std::memcpy(record.data(), sqlite3_column_blob(d.raw_by_uid, 0), record.size());
    sqlite3_reset(d.raw_by_uid);
  }
  benchmark::DoNotOptimize(record.data());
}

// ---- Reads by the composite key (procedure, marker, label).

void BM_GetByLabel_Driver(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const std::vector<int> uids = RandomUids(d.records);
  const kf::FileDeclaration& decl = *d.declaration;
  std::size_t i = 0;
  for (auto _ : state) {
    const int uid = uids[i++ % uids.size()];
    std::span<std::byte> rec = d.file->RecordBlock();
    kf::WriteText(rec, decl.fields[1], ProcName((uid - 1) / kLabelsPerVariant));
    kf::WriteText(rec, decl.fields[2], "flat");
    kf::WriteText(rec, decl.fields[3], Label((uid * 7) % kLabelsPerVariant));
    if (d.file->Get(1) != kf::kOk) state.SkipWithError("get failed");
  }
}

void BM_GetByLabel_RawSqlite(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const std::vector<int> uids = RandomUids(d.records);
  std::vector<std::byte> record(3069);
  std::size_t i = 0;
  for (auto _ : state) {
    const int uid = uids[i++ % uids.size()];
    const std::string proc = ProcName((uid - 1) / kLabelsPerVariant);
    const std::string label = Label((uid * 7) % kLabelsPerVariant);
    sqlite3_bind_text(d.raw_by_label, 1, proc.data(), static_cast<int>(proc.size()), SQLITE_STATIC);
    sqlite3_bind_text(d.raw_by_label, 2, "flat", 4, SQLITE_STATIC);
    sqlite3_bind_text(d.raw_by_label, 3, label.data(), static_cast<int>(label.size()),
                      SQLITE_STATIC);
    if (sqlite3_step(d.raw_by_label) != SQLITE_ROW) state.SkipWithError("raw get failed");
    std::memcpy(record.data(), sqlite3_column_blob(d.raw_by_label, 0), record.size());
    sqlite3_reset(d.raw_by_label);
  }
  benchmark::DoNotOptimize(record.data());
}

// ---- A page of a filtered view: the browser's filter on one variant.

void BM_ViewPage_Driver(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const int variants = d.records / kLabelsPerVariant;
  kf::View view(*d.file, 1, &d.names);
  if (view.SetFilter("UPPER(WIN:ProcedureName) = UPPER(LOC:Proc) AND "
                     "UPPER(WIN:UniqueMarker) = UPPER(LOC:Marker)") != kf::kOk) {
    state.SkipWithError("filter");
  }
  SetText(d.marker_var, "Flat");
  const int step = state.range(1) != 0 ? 7919 : 0;
  int variant = variants / 2;
  for (auto _ : state) {
    SetText(d.proc_var, ProcName(variant));
    variant = (variant + step) % variants;
    view.Open();
    view.Set();
    view.SetReadAhead(kPageRows);
    for (int row = 0; row < kPageRows; ++row) {
      if (view.Next() != kf::kOk) state.SkipWithError("page short");
    }
  }
}

void BM_ViewPage_RawSqlite(benchmark::State& state) {
  DataSet& d = Data(static_cast<int>(state.range(0)));
  const int variants = d.records / kLabelsPerVariant;
  std::vector<std::byte> page(3069 * kPageRows);
  const int step = state.range(1) != 0 ? 7919 : 0;
  int variant = variants / 2;
  for (auto _ : state) {
    const std::string proc = ProcName(variant);
    variant = (variant + step) % variants;
    sqlite3_bind_text(d.raw_page, 1, proc.data(), static_cast<int>(proc.size()), SQLITE_STATIC);
    sqlite3_bind_text(d.raw_page, 2, "Flat", 4, SQLITE_STATIC);
    sqlite3_bind_int(d.raw_page, 3, kPageRows);
    int rows = 0;
    while (sqlite3_step(d.raw_page) == SQLITE_ROW) {
      std::memcpy(page.data() + 3069 * rows++, sqlite3_column_blob(d.raw_page, 0), 3069);
    }
    if (rows != kPageRows) state.SkipWithError("raw page short");
    sqlite3_reset(d.raw_page);
  }
  benchmark::DoNotOptimize(page.data());
}

BENCHMARK(BM_GetByUid_Driver)->Arg(1000)->Arg(100000);
BENCHMARK(BM_GetByUid_RawSqlite)->Arg(1000)->Arg(100000);
BENCHMARK(BM_GetByLabel_Driver)->Arg(1000)->Arg(100000);
BENCHMARK(BM_GetByLabel_RawSqlite)->Arg(1000)->Arg(100000);
// Second argument: 0 pages one variant again and again (its pages cached), 1
// spreads the pages over every variant of the file.
BENCHMARK(BM_ViewPage_Driver)->ArgsProduct({{1000, 100000}, {0, 1}});
BENCHMARK(BM_ViewPage_RawSqlite)->ArgsProduct({{1000, 100000}, {0, 1}});

// CPU time: the machine is shared, and waiting for a CPU is not the code's cost.
void PrintRatio(const twiqbench::RatioReporter& r, const std::string& label, const std::string& a,
                const std::string& b) {
  const double ta = r.Time(a).cpu;
  const double tb = r.Time(b).cpu;
  if (ta > 0 && tb > 0) std::printf("ratio %-44s %6.2f\n", label.c_str(), ta / tb);
}

}  // namespace

int main(int argc, char** argv) {
  char folder[] = "/tmp/bench-keyfile-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  g_folder = folder;
  benchmark::Initialize(&argc, argv);
  twiqbench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  for (const char* n : {"1000", "100000"}) {
    const std::string s = n;
    PrintRatio(reporter, "get by UID, driver / raw SQLite (" + s + ")", "BM_GetByUid_Driver/" + s,
               "BM_GetByUid_RawSqlite/" + s);
    PrintRatio(reporter, "get by label, driver / raw SQLite (" + s + ")",
               "BM_GetByLabel_Driver/" + s, "BM_GetByLabel_RawSqlite/" + s);
    for (const char* spread : {"0", "1"}) {
      const std::string v = s + "/" + spread;
      PrintRatio(reporter, "view page, driver / raw SQLite (" + v + ")", "BM_ViewPage_Driver/" + v,
                 "BM_ViewPage_RawSqlite/" + v);
    }
  }
  for (const char* spread : {"0", "1"}) {
    const std::string v = spread;
    PrintRatio(reporter, "view page, 100000 / 1000 records (driver, " + v + ")",
               "BM_ViewPage_Driver/100000/" + v, "BM_ViewPage_Driver/1000/" + v);
    PrintRatio(reporter, "view page, 100000 / 1000 records (raw, " + v + ")",
               "BM_ViewPage_RawSqlite/100000/" + v, "BM_ViewPage_RawSqlite/1000/" + v);
  }
  for (auto& [records, set] : g_sets) {
    sqlite3_finalize(set->raw_by_uid);
    sqlite3_finalize(set->raw_by_label);
    sqlite3_finalize(set->raw_page);
    sqlite3_close(set->raw);
    set->file.reset();
  }
  std::filesystem::remove_all(g_folder);
  benchmark::Shutdown();
  return 0;
}
