// The calling thread's settings-store state: the record buffers WIN and WIN2, the file
// handles of the four declarations bound to their buffers, and the open counters of WIN and
// WIN2.
//
// Created at the thread's first call of Store() and destroyed when the thread ends (handles
// still open are closed then). Operations hand records to each other through these buffers:
// a caller places a record in Store().win and the callee reads or changes it in place, so an
// operation that calls another must expect the buffer to hold whatever the callee left.
//
// Thread safety: the state belongs to the calling thread; never hand references to it to
// another thread.
#ifndef TWIQLIB_STORE_THREAD_CONTEXT_H_
#define TWIQLIB_STORE_THREAD_CONTEXT_H_

#include <cstddef>
#include <span>

#include "runtime/keyfile/file.h"
#include "twiqlib/bindings/export.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

struct StoreThreadContext {
  StoreThreadContext();
  StoreThreadContext(const StoreThreadContext&) = delete;
  StoreThreadContext& operator=(const StoreThreadContext&) = delete;

  // Buffers first: the handles below are bound to them and must go first.
  WinRecord win;
  WinRecord win2;
  Win002Record win002;
  Win001Record win001;

  rt::keyfile::File win_file;
  rt::keyfile::File win2_file;
  rt::keyfile::File win002_file;
  rt::keyfile::File win001_file;

  // How many unreleased OpenSettingsFile calls of this thread hold WIN and WIN2.
  int win_open_count = 0;
  int win2_open_count = 0;
};

// The calling thread's state, created at its first call.
TWIQ_INTERNAL_API StoreThreadContext& Store();

// A record's bytes, as the driver binds and reads them.
template <class Record>
std::span<std::byte> RecordBytes(Record& record) {
  return std::as_writable_bytes(std::span<Record, 1>(&record, 1));
}

}  // namespace twiq

#endif  // TWIQLIB_STORE_THREAD_CONTEXT_H_
