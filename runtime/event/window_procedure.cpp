#include "runtime/event/window_procedure.h"

#include <map>
#include <mutex>
#include <utility>

namespace rt {
namespace {

struct Procedures {
  std::mutex mu;
  ProcedureId next_id = kDefaultWindowProcedure + 1;  // guarded by mu
  std::map<ProcedureId, WindowProcFunction> by_id;    // guarded by mu
  std::map<WindowProc, ProcedureId> by_function;      // guarded by mu
};

Procedures& TheProcedures() {
  static Procedures* p = new Procedures;  // never destroyed: procedures may run at exit
  return *p;
}

}  // namespace

ProcedureId WindowProcId(WindowProc procedure) {
  if (procedure == nullptr || procedure == &DefaultWindowProc) return kDefaultWindowProcedure;
  Procedures& p = TheProcedures();
  std::lock_guard lock(p.mu);
  auto [it, inserted] = p.by_function.emplace(procedure, 0);
  if (inserted) {
    it->second = p.next_id++;
    p.by_id.emplace(it->second, procedure);
  }
  return it->second;
}

ProcedureId RegisterWindowProc(WindowProcFunction procedure) {
  Procedures& p = TheProcedures();
  std::lock_guard lock(p.mu);
  const ProcedureId id = p.next_id++;
  p.by_id.emplace(id, std::move(procedure));
  return id;
}

void UnregisterWindowProc(ProcedureId id) {
  Procedures& p = TheProcedures();
  std::lock_guard lock(p.mu);
  p.by_id.erase(id);
}

intptr_t CallWindowProcA(ProcedureId procedure, Handle handle, uint32_t message, uintptr_t wparam,
                         intptr_t lparam) {
  WindowProcFunction fn;
  if (procedure != kDefaultWindowProcedure) {
    Procedures& p = TheProcedures();
    std::lock_guard lock(p.mu);
    auto it = p.by_id.find(procedure);
    if (it != p.by_id.end()) fn = it->second;
  }
  if (!fn) return DefaultWindowProc(handle, message, wparam, lparam);
  return fn(handle, message, wparam, lparam);
}

}  // namespace rt
