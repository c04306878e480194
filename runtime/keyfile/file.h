// A handle on a keyed file: one instance of a file declaration.
//
// A File works on a record buffer: reads put the record read into it, writes
// take the record from it. The buffer is the handle's own until the caller
// binds one of its own (Bind()), as the system does with its per-thread record
// buffers. Besides the buffer, a handle has a current record (the one last read
// or written, which Put() and Delete() act on), a sequence (an order, key or
// file order, and a point in it that Next() and Previous() move from), the
// current record's blob, and at most one transaction.
//
// Error model: every operation returns an error code (errors.h), 0 on success,
// and records the outcome in the calling thread's error state (ErrorCode(),
// ErrorText(), DriverErrorCode(), DriverError()), successes included. Reads that
// find nothing (33 at the end of a sequence, 35 for a key value or position
// with no record) change neither the buffer nor the sequence nor the current
// record.
//
// Sharing: one database per file (DESIGN.md section 5). Handles share a file
// according to their open modes, between threads and between processes alike;
// each open handle is one SQLite connection. A handle must be used by one
// thread at a time (the system keeps one per thread); distinct handles may be
// used concurrently. Opening and closing are cheap: keys of protected files are
// derived once per process.
//
// Lifetime: a File may be moved (a View over it must not outlive it or see it
// moved); destroying an open File closes it. A bound buffer must outlive the
// binding.

#ifndef RUNTIME_KEYFILE_FILE_H_
#define RUNTIME_KEYFILE_FILE_H_

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "runtime/keyfile/declaration.h"
#include "runtime/keyfile/errors.h"

namespace rt::keyfile {

// Open modes: access (0 read, 1 write, 2 read/write) plus sharing (00h/10h deny
// all, 20h deny write, 30h deny read, 40h deny none).
inline constexpr int kModeDenyWrite = 0x22;  // Read/write; other writers refused.
inline constexpr int kModeShared = 0x42;     // Read/write; fully shared.

// Driver property codes (GetProperty / SetProperty).
inline constexpr int kPropFilePassword = 0x7315;  // Text; this handle's password.
inline constexpr int kPropFileName = 0x7316;      // Text; this handle's file name.
inline constexpr int kPropRecordBlock = 0x734B;   // Read-only; the record length (RecordBlock()).
inline constexpr int kPropReadAhead = 0x7355;     // Number of records read per fetch.

class View;

class File {
 public:
  // REQUIRES: declaration is not null. A declaration that fails Validate()
  // makes every operation fail with 75.
  explicit File(std::shared_ptr<const FileDeclaration> declaration);
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  const FileDeclaration& declaration() const;

  // ---- Record buffer.
  // Binds a caller-owned buffer of exactly the record length (75 otherwise).
  int Bind(std::span<std::byte> record);
  // The record buffer as one block (what the RecordBlock property names).
  std::span<std::byte> RecordBlock();

  // ---- Files. The name and password are this handle's own when set through
  // SetProperty(), else the declaration's shared variables, trailing spaces
  // removed, taken at each Create(), Open(), Copy(), Remove() and closed Build().
  // Creates an empty file under the current name and password, replacing any
  // file of that name (32 while any handle has it open). Leaves it closed.
  int Create();
  // Opens in `mode` (kModeDenyWrite, kModeShared, ...). 2 missing, 32 refused
  // by another holder's sharing (after waiting as SendOption("Recover=N")
  // asked), 36, 46 keys unbuilt, 47, 52 already open, 90 not a keyed file.
  int Open(int mode);
  // Closes: ends a stream (committing it) or a transaction (rolling it back).
  // Closing a closed file is not an error.
  int Close();
  bool is_open() const;
  // Bulk writing: the following writes form one transaction until Flush() or Close().
  int Stream();
  // Ends a stream, committing its writes. Without a stream: nothing to do.
  int Flush();
  // Rebuilds every key (after Append()) and marks the keys valid. Works on an
  // open handle (inside its stream or transaction, if any) or on a closed
  // one, which it opens exclusively for the time of the build. 40 when a
  // unique key has duplicates; the keys stay unbuilt.
  int Build();
  // Copies the file (the open one, else the one named now) to `destination`,
  // replacing it atomically; the copy has the same password. 32 while any
  // handle has the destination open; 56 during this handle's transaction.
  int Copy(std::string_view destination);
  // Removes the file (and the driver's side files). 52 on an open handle, 32
  // while any handle has it open, 2 when missing.
  int Remove();
  // Driver options: "Recover=N" (N seconds, 0 to 3600) makes later opens,
  // creates and removes of this handle wait up to N seconds for a holder in a
  // conflicting mode instead of failing at once. 75 for anything else.
  int SendOption(std::string_view option);
  // Driver properties by code (kProp...). An unknown code gives "" and 75.
  std::string GetProperty(int code) const;
  // Sets kPropFileName or kPropFilePassword (this handle's own, blank
  // included, until UseSharedVariables()), or kPropReadAhead (0 to 1000).
  int SetProperty(int code, std::string_view value);
  // Drops the handle's own name and password: the shared variables apply again.
  void UseSharedVariables();

  // ---- Positioning. `key` is an index into declaration().keys.
  // At the start of `key`: Next() reads its first record, Previous() its last.
  int Set(int key);
  // At the key value in the buffer: Next() reads the first record whose key is
  // at or after it, Previous() the last at or before it.
  int SetToValue(int key);
  // In file order (the order records were added): Next() reads the first.
  int SetFileOrder();
  // Reads the next or previous record of the sequence. 33 at the end.
  int Next();
  int Previous();
  // Reads the first record whose `key` equals the key value in the buffer
  // (duplicates: the earliest added). 35 when none. The sequence is unchanged.
  int Get(int key);
  // The current record's position in `key` (key values from the buffer and the
  // current record; at most 512 bytes), or in the sequence's order. Sets 75
  // and returns "" for a bad key.
  std::string Position(int key);
  std::string Position();
  // Reads the record a position names (the same record, whatever its key
  // values now). 35 when it is gone or the text is not a position.
  int Reget(std::string_view position);
  // Sets the sequence to a position: the next read in either direction
  // returns the record it names, or its neighbour when that is gone.
  int Reset(std::string_view position);
  // Forgets the current record (Put() and Delete() then fail with 33).
  void ClearCurrent();

  // ---- Changes (need write access: 5 otherwise).
  // Adds the buffer as a new record, maintaining every key. 40 duplicate on a
  // unique key; 46 while the keys are unbuilt.
  int Add();
  // Adds the buffer as a new record without maintaining the keys: the file
  // reports 46 at open until Build(). Meant for bulk copies in a stream.
  int Append();
  // Writes the buffer back to the current record. 33 without one (or when it
  // was deleted), 40, 89 when the record was read under Watch() and another
  // station has changed it since.
  int Put();
  // Deletes the current record. 33 without one; 89 as for Put().
  int Delete();
  // Arms a change check: the next read remembers the record's change counter,
  // and Put() and Delete() of that record fail with 89 if it changed meanwhile.
  int Watch();

  // ---- Transactions.
  // Begins a transaction, waiting up to `timeout_seconds` for another
  // station's to end (32 when it does not). 56 when one is active.
  int Begin(int timeout_seconds);
  int Commit();    // 57 without a transaction.
  int Rollback();  // Also when none was begun (then it does nothing).

  // ---- The current record's blob (75 when the declaration has none).
  std::size_t BlobSize() const;
  // Resizes the blob (new bytes 0); 0 empties it. Marks it changed if the size changes.
  int SetBlobSize(std::size_t size);
  std::span<const std::byte> BlobData() const;
  int SetBlob(std::span<const std::byte> data);
  // Whether the blob was changed since the record was read or written.
  bool BlobChanged() const;

 private:
  friend class View;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_FILE_H_
