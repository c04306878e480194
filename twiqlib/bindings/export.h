// Symbol visibility of twiqlib.
//
// The library is built with hidden visibility, so that a host sees only the entry points of
// twiq.h. The internal interfaces that the library's own programs use (twiqfile and the test
// programs link the shared library) are marked TWIQ_INTERNAL_API: exported, but not part of
// the public C interface and without any stability promise.
#ifndef TWIQLIB_BINDINGS_EXPORT_H_
#define TWIQLIB_BINDINGS_EXPORT_H_

#define TWIQ_INTERNAL_API __attribute__((visibility("default")))

#endif  // TWIQLIB_BINDINGS_EXPORT_H_
