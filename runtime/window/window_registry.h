// The process-wide registry of open windows.
//
// OpenWindow creates and registers a window; FindWindow gives it to any thread by reference;
// CloseWindow marks it closed (later writes through remaining shared_ptrs fail) and forgets it.
// One observer (the display) hears of every window opened, changed and closed. All functions
// are thread-safe.
#ifndef RUNTIME_WINDOW_WINDOW_REGISTRY_H_
#define RUNTIME_WINDOW_WINDOW_REGISTRY_H_

#include <memory>
#include <string>
#include <vector>

#include "runtime/window/window.h"

namespace rt {

// Creates a window owned by runtime thread `owner_thread`. References are never reused.
std::shared_ptr<Window> OpenWindow(int owner_thread, std::string label);
// The open window with this reference, or null.
std::shared_ptr<Window> FindWindow(WindowRef ref);
// Marks the window closed and forgets it; the observer hears WindowClosed. No-op when unknown.
void CloseWindow(WindowRef ref);
// Every open window, in order of opening.
std::vector<std::shared_ptr<Window>> OpenWindows();
// Tells the observer that the input state changed (WindowObserver::InputStateChanged). For the
// runtime's event module and cursor state; thread-safe, may be called with the event lock held.
void AnnounceInputStateChanged();
// Sets the observer for windows opened from now on and for every open one (null: none).
// The observer must outlive its registration.
void SetWindowObserver(WindowObserver* observer);

}  // namespace rt

#endif  // RUNTIME_WINDOW_WINDOW_REGISTRY_H_
