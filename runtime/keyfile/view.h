// Views: a filtered, ordered set of a file's records.
//
// A View reads the records of one File in the order of one of its keys,
// passing only those its filter expression accepts (filter.h), into the file's
// record buffer: a record read through a view becomes the file's current
// record, so the file's Put() and Delete() act on it. A view has its own
// sequence and positions, independent of the file's.
//
// Filters name fields and variables through a NameTable (names.h). Names that
// the table binds to the file's record buffer, and the file's own
// "PREFIX:FIELD" names the table does not bind, stand for the record being
// tested; every other name is read from its storage when the record is tested.
// Top-level AND terms fixing the key's leading components ("UPPER(WIN:Name) =
// UPPER(LOC:Name)") make the view read only that key range, so a page of rows
// costs the same whatever the size of the file. Those values are taken when the
// view is opened; reopen it (or Set() it) after changing them.
//
// Error model as for File (errors.h): every operation returns a code and sets
// the thread's error state. 37 while the view or its file is not open; 33 at
// either end of the view; 800 for a filter that does not parse, which also
// keeps the view from opening until a good filter is set.
//
// Lifetime and threads: the File and the NameTable must outlive the view, and
// the file must not be moved while the view exists. Used by one thread at a
// time, the thread that uses the file.

#ifndef RUNTIME_KEYFILE_VIEW_H_
#define RUNTIME_KEYFILE_VIEW_H_

#include <memory>
#include <string>
#include <string_view>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "runtime/keyfile/names.h"

namespace rt::keyfile {

inline constexpr int kPropViewFilter = 0x7CB8;  // Text: the filter expression.

class View {
 public:
  // A view of `file` ordered by `key` (an index into its declaration's keys).
  // `names` may be null: then only the file's own fields can be named.
  View(File& file, int key, const NameTable* names = nullptr);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Sets the filter (blank: every record). Checks it against the names bound
  // now; 800 with the reason in DriverError() when it does not parse.
  int SetFilter(std::string_view expression);
  const std::string& filter() const;

  // Opens the view on its (open) file, binding the filter's names as they are
  // bound now. The view starts where the file's sequence stands when the file
  // is positioned in the view's key (File::SetToValue(), Reset() or a read),
  // else at its start.
  int Open();
  int Close();
  bool is_open() const;

  // At the start of the view: Next() reads its first record, Previous() its last.
  int Set();
  int Next();
  int Previous();
  // The position (at most 1024 bytes) of the record last read through the view.
  std::string Position() const;
  // Sets the view's sequence to a position: the next read in either direction
  // returns that record (or its neighbour when it is gone). 35 for a text that
  // is not a position of this view's key.
  int Reset(std::string_view position);
  // Reads the record a position names into the file's buffer (filter not
  // applied; the view's sequence unchanged). 35 when it is gone.
  int Reget(std::string_view position);
  // Arms the file's change check for the next read through the view.
  int Watch();

  // Rows fetched together by a read (0 or 1: one at a time).
  int read_ahead() const;
  int SetReadAhead(int rows);
  // Properties by code: kPropViewFilter, kPropReadAhead.
  std::string GetProperty(int code) const;
  int SetProperty(int code, std::string_view value);

 private:
  int Read(bool forward);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_VIEW_H_
