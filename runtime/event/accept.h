// The accept loop: how a runtime thread receives the events of its windows.
//
//   std::shared_ptr<rt::Window> w = ...;     // created and filled on this thread
//   rt::Open(w->ref());                       // on the thread's window stack, focus, 203h
//   while (rt::Accept(w->ref())) {
//     switch (rt::Event()) {
//       case rt::event::kCloseWindow:
//         if (!MayClose()) rt::Cycle();       // refuse: the window stays open
//         break;
//       ...
//     }
//   }
//   rt::Close(w->ref());                      // no-op when the loop closed it
//
// Each runtime thread has one event queue and a stack of open windows. Events posted without a
// window go to the window whose loop is running when they are taken; input messages and window
// events (open, focus) are for one window and wait while a window opened above it runs its own
// (nested, modal) loop; input for a window below a running loop is refused like input to a
// window behind a modal one. Opening a window while another of the thread is in its loop and
// running the new window's loop from the event handler is the nested loop: the loop below
// resumes when the nested window has closed.
//
// Accept(w) first completes the default handling of the event it returned last for w, unless
// Cycle() was called since: a close-window (201h) or close-down (202h) event closes the window
// and ends the loop (Accept returns false). Then it runs queued OS-style messages through the
// window's window procedures (window_procedure.h), whose default turns them into events, and
// returns at the next event. It blocks while there is none.
//
// Accept-all mode: while the window's AcceptAll property (7C9Ah) is non-zero, Accept returns
// an accepted event (1) for each control of the tab chain that takes input (entries, texts,
// spin boxes, combos, lists, drop lists, check boxes, option groups; not disabled), copying its
// contents to its variable first. A required control (Required, 7C7Ch) left blank is returned
// as rejected (1Ah) instead and ends the mode. The handler rejects a control by selecting a
// control (SELECT) or clearing AcceptAll, which ends the mode. When every control has passed,
// Accept returns completed (225h) and clears AcceptAll.
//
// The accessors (EVENT, FIELD, ACCEPTED) read the event of the innermost loop still running on
// the calling thread; KEYCODE and KEYCHAR are per thread (the last key pressed in any window of
// the thread). All functions act on the calling thread only, except Post.
#ifndef RUNTIME_EVENT_ACCEPT_H_
#define RUNTIME_EVENT_ACCEPT_H_

#include "runtime/event/runtime_thread.h"
#include "runtime/status/status.h"
#include "runtime/window/window.h"

namespace rt {

// OPEN: puts window `ref` (created by OpenWindow for the calling thread) on the calling
// thread's window stack. It becomes the thread's top window and the target (SETTARGET), and
// receives, in this order, open-window (203h) and the focus (gain focus 206h; the window that
// had the focus gets lose focus 205h). Its window procedures are set to the default one unless
// already set. Fails for an unknown or closed window, one owned by another thread, one already
// open, or on a thread the runtime did not start.
Status Open(WindowRef ref);

// CLOSE: takes window `ref` off its thread's stack and closes it (CloseWindow). The focus goes
// to the window below on the same thread, else to the window that had it before. Events still
// queued for the window are dropped. No-op for a window already closed.
// REQUIRES: called on the window's owner thread.
void Close(WindowRef ref);

// The windows on the calling thread's stack (or on runtime thread `thread`'s), bottom first.
std::vector<WindowRef> ThreadWindows();
std::vector<WindowRef> ThreadWindows(ThreadId thread);

// The next event of window `ref`; false when the window is closed (by its loop or otherwise),
// is not open on the calling thread, or the thread is not a runtime thread.
bool Accept(WindowRef ref);

// CYCLE: skips the default handling of the event Accept returned last (e.g. refuses a close).
void Cycle();

// EVENT, FIELD, ACCEPTED: the current event, its control (0 for the window), and the control
// that was accepted (the field of an accepted event, else 0).
int Event();
int Field();
int Accepted();

// KEYCODE / SETKEYCODE: the last key (or mouse keycode) of the calling thread's input, with
// modifier bits. KEYCHAR: the character of the last character input (0 if none).
int KeyCode();
void SetKeyCode(int keycode);
int KeyChar();

// POST: queues `event` for control `field` (0: the window) for runtime thread `thread`
// (0: the calling thread). The event is taken by whichever window of that thread accepts next.
// Returns false when the thread does not exist (has ended).
bool Post(int event, int field = 0, ThreadId thread = 0);

// Asks every runtime thread to close its windows because the program is ending: each window
// whose loop runs from now on receives close-down (202h) once; its default handling closes the
// window. Thread-safe.
void RequestCloseDown();

// MOUSEX / MOUSEY: the pointer position of the calling thread's last mouse message, relative
// to the target window's client area (SETTARGET; the top window when none) in that window's
// units (its Pixels property). 0 when there has been no mouse message.
int64_t MouseX();
int64_t MouseY();

}  // namespace rt

#endif  // RUNTIME_EVENT_ACCEPT_H_
