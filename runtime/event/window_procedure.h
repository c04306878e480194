// Window procedures: the replaceable functions through which a window's OS-style messages
// (message.h) pass before the runtime turns them into events.
//
// A window has two: the frame's (property WindowProcedure, 7CB4h) for messages addressed to
// its WindowHandle (focus changes, capture of the whole window) and the client area's
// (ClientWindowProcedure, 7CB5h) for messages addressed to its ClientHandle or to a control
// (the pointer over the window, keys). The properties hold procedure ids, numbers that stand
// for the procedures as addresses would: read the property to save the current procedure,
// write another id to replace it, and pass messages on with CallWindowProcA(saved, ...). Every
// window starts with the default procedure, which turns messages into events (focus, accepted,
// new selection, alert keys, typing; see default_procedure.cpp for the rules).
//
// Procedures run on the thread that owns the window, inside its accept loop (or on whichever
// thread calls CallWindowProcA). Registration is thread-safe.
#ifndef RUNTIME_EVENT_WINDOW_PROCEDURE_H_
#define RUNTIME_EVENT_WINDOW_PROCEDURE_H_

#include <cstdint>
#include <functional>

#include "runtime/window/handles.h"

namespace rt {

using WindowProc = intptr_t (*)(Handle handle, uint32_t message, uintptr_t wparam, intptr_t lparam);
using WindowProcFunction = std::function<intptr_t(Handle, uint32_t, uintptr_t, intptr_t)>;
using ProcedureId = int64_t;

// The id of the default procedure (DefaultWindowProc).
inline constexpr ProcedureId kDefaultWindowProcedure = 1;

// The id of a plain function, the same on every call for the same function (as its address
// would be). Never fails; null gives kDefaultWindowProcedure.
ProcedureId WindowProcId(WindowProc procedure);
// Registers a procedure object under a new id; Unregister forgets it (ids are not reused).
ProcedureId RegisterWindowProc(WindowProcFunction procedure);
void UnregisterWindowProc(ProcedureId id);

// Calls procedure `procedure` with the four arguments and returns its result. An id that names
// no procedure (0 included) calls the default procedure, so a window's messages are never lost
// to a stale id.
intptr_t CallWindowProcA(ProcedureId procedure, Handle handle, uint32_t message, uintptr_t wparam,
                         intptr_t lparam);

// The runtime's default procedure: turns the message into runtime events of the handle's
// window. Returns 0.
intptr_t DefaultWindowProc(Handle handle, uint32_t message, uintptr_t wparam, intptr_t lparam);

}  // namespace rt

#endif  // RUNTIME_EVENT_WINDOW_PROCEDURE_H_
