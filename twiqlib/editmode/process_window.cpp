#include "twiqlib/editmode/process_window.h"

#include <cstring>
#include <memory>
#include <string>

#include "runtime/dialog/dialog.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/event/window_procedure.h"
#include "runtime/program/program.h"
#include "runtime/value/text.h"
#include "runtime/window/cursors.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/target.h"
#include "runtime/window/window_registry.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/editmode/edit_session.h"
#include "twiqlib/editmode/form_hand_over.h"
#include "twiqlib/editmode/grab_handles.h"
#include "twiqlib/editmode/inventory.h"
#include "twiqlib/editmode/saving.h"
#include "twiqlib/editmode/thread_cells.h"
#include "twiqlib/engine/apply.h"
#include "twiqlib/engine/originals.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/windows/morph_window.h"

namespace twiq {

namespace prop = rt::prop;
namespace event = rt::event;
namespace key = rt::key;
namespace msg = rt::msg;

namespace {

// The private refresh event of the library's windows.
constexpr int kRefreshEvent = 0x3FF;

enum MenuChoice { kNoChoice = 0, kEdit = 1, kProcessed = 2, kFieldList = 3, kReset = 4, kQuit = 5 };

// The edit-mode window's two procedures, replacing the ones it had. Mouse messages become
// accepted events of the window's target buttons; the frame swallows keys; everything else
// goes on to the procedure each replaced. The saved procedures live here, with the window, and
// the replacements are unregistered when edit mode ends.
class EditProcedures {
 public:
  explicit EditProcedures(rt::Window& edit) {
    const rt::ProcedureId old_client = edit.Get(0, prop::kClientWindowProcedure).AsInt();
    client_ =
        rt::RegisterWindowProc([old_client](rt::Handle h, uint32_t m, uintptr_t w, intptr_t l) {
          return EditProc(false, old_client, h, m, w, l);
        });
    edit.Set(0, prop::kClientWindowProcedure, client_);
    const rt::ProcedureId old_frame = edit.Get(0, prop::kWindowProcedure).AsInt();
    frame_ = rt::RegisterWindowProc([old_frame](rt::Handle h, uint32_t m, uintptr_t w, intptr_t l) {
      return EditProc(true, old_frame, h, m, w, l);
    });
    edit.Set(0, prop::kWindowProcedure, frame_);
  }
  ~EditProcedures() {
    rt::UnregisterWindowProc(frame_);
    rt::UnregisterWindowProc(client_);
  }
  EditProcedures(const EditProcedures&) = delete;
  EditProcedures& operator=(const EditProcedures&) = delete;

 private:
  static intptr_t EditProc(bool frame, rt::ProcedureId saved, rt::Handle handle, uint32_t message,
                           uintptr_t wparam, intptr_t lparam) {
    switch (message) {
      case msg::kMouseMove:
        rt::SetTarget(0);
        rt::Post(event::kAccepted, kMorphMouseMove);
        return 1;
      case msg::kLButtonDown:
        rt::Post(event::kAccepted, kMorphDown);
        rt::SetTarget(0);
        return 1;
      case msg::kLButtonUp:
        rt::Post(event::kAccepted, kMorphUp);
        rt::SetTarget(0);
        return 1;
      case msg::kKeyDown:
        if (frame) return 1;
        break;
      default:
        break;
    }
    return rt::CallWindowProcA(saved, handle, message, wparam, lparam);
  }

  rt::ProcedureId client_ = 0;
  rt::ProcedureId frame_ = 0;
};

// One call of edit mode, from its start to its end.
class EditMode {
 public:
  EditMode(rt::Window& host, std::string_view marker, std::string_view procedure,
           TWIQSETTINGS& settings)
      : session_(host, std::string(marker), std::string(procedure)),
        settings_(settings),
        handles_(session_) {}

  void BuildInventory() {
    BuildControlInventory(session_.inventory, session_.host, session_.marker, session_.procedure);
  }
  void Start(int current_field);
  void Loop();
  void End();

 private:
  rt::Window& host() { return session_.host; }
  rt::Window& edit() { return *session_.edit; }
  rt::Handle EditHandle() { return edit().Get(0, prop::kWindowHandle).AsInt(); }
  void SetHostPixels(int on) { host().Set(0, prop::kPixels, on); }
  PointerPos Pointer() {
    rt::SetTarget(edit().ref());
    return {rt::MouseX(), rt::MouseY()};
  }
  void Refresh() {
    if (edit().Get(0, prop::kAcceptAll).AsInt() != 0) return;
    edit().Display();
    refresh_pending_ = false;
  }
  // Ends edit mode through the loop: the close-window event ends it when it is processed.
  void RequestEnd() {
    rt::SetTarget(0);
    rt::ReleaseCapture();
    rt::Post(event::kCloseWindow);
  }
  // The label of the selection, from the inventory; null when it has no entry.
  const InventoryEntry* Selected() const {
    return FindInventoryEntry(session_.inventory, handles_.control_no());
  }
  void SaveSelection() {
    if (const InventoryEntry* e = Selected()) {
      SaveControlState(host(), handles_.control_no(), e->label.Clipped(), session_.marker,
                       session_.procedure);
    }
  }
  void FinishPress() {
    if (handles_.mouse_is_down()) SaveSelection();
    handles_.EndPress();
  }
  // Returns true when the loop must be left at once.
  bool HandleAlertKey();
  bool PopupMenu();
  void ResetSelection(const std::string& label);

  EditSession session_;
  TWIQSETTINGS& settings_;
  GrabHandles handles_;
  SettingsFileHold hold_;
  bool file_opened_ = false;
  bool window_opened_ = false;
  bool initialised_ = false;
  bool refresh_pending_ = false;
  std::unique_ptr<EditProcedures> procedures_;
};

void EditMode::Start(int current_field) {
  OpenSettingsFile(hold_);
  file_opened_ = true;
  SetHostPixels(1);
  handles_.set_control_range(host().FirstField(), host().LastField());
  handles_.InitHandles(current_field);
  handles_.DrawHandles();

  rt::Status status;
  session_.edit = rt::BuildWindow(MorphWindowDefinition(), rt::CurrentThread(), {}, &status);
  if (!session_.edit || !rt::Open(session_.edit->ref()).ok()) {
    if (session_.edit) rt::CloseWindow(session_.edit->ref());
    session_.edit = nullptr;
    return;
  }
  window_opened_ = true;
  edit().Set(0, prop::kHidden, 1);
  edit().Set(0, prop::kPixels, 1);
  rt::SetCapture(EditHandle());
  procedures_ = std::make_unique<EditProcedures>(edit());
}

bool EditMode::HandleAlertKey() {
  rt::SetTarget(edit().ref());
  switch (rt::KeyCode()) {
    case key::kMouseRight:
      return PopupMenu();
    case key::kLeft:
      handles_.MoveSelection(0, -1, 0);
      SaveSelection();
      return false;
    case key::kRight:
      handles_.MoveSelection(0, 1, 0);
      SaveSelection();
      return false;
    case key::kUp:
      handles_.MoveSelection(0, 0, -1);
      SaveSelection();
      return false;
    case key::kDown:
      handles_.MoveSelection(0, 0, 1);
      SaveSelection();
      return false;
    default:
      RequestEnd();
      return false;
  }
}

void EditMode::ResetSelection(const std::string& label) {
  // A control without an inventory entry has no record to reset: nothing is applied.
  if (Selected() == nullptr) return;
  if (!ResetToOriginal(session_.marker, label, session_.procedure)) return;
  ApplyControl(host(), Store().win.feq);
}

bool EditMode::PopupMenu() {
  handles_.SelectAtMouse(Pointer());
  FinishPress();
  const int feq = handles_.control_no();
  const InventoryEntry* entry = Selected();
  const std::string label = entry ? entry->label.str() : rt::Clip(host().FieldName(feq));
  rt::SetTarget(0);
  rt::ReleaseCapture();
  SetHostPixels(0);
  const int choice = rt::Popup(EditMenuText(label));
  switch (choice) {
    case kEdit:
      SetHostPixels(0);
      edit().Set(0, prop::kHidden, 0);
      ThreadRequest() = 0;
      OpenPropertyEditor(feq, host(), label, session_.marker, session_.procedure);
      if (ThreadResponse() == kResponseCompleted && entry != nullptr) ApplyControl(host(), feq);
      SetHostPixels(1);
      break;
    case kProcessed:
      edit().Set(0, prop::kHidden, 0);
      ThreadRequest() = 0;
      OpenProcessedControls(host(), session_.marker, session_.procedure);
      break;
    case kFieldList:
      edit().Set(0, prop::kHidden, 0);
      ThreadRequest() = 0;
      OpenControlList(session_.inventory, host(), session_.marker, session_.procedure);
      break;
    case kReset:
      ResetSelection(label);
      break;
    case kQuit:
      // The loop is left at once and the window closed by End(); a close-window event posted
      // now would outlive the window and reach the host's loop, closing the host.
      rt::SetTarget(0);
      rt::ReleaseCapture();
      return true;
    default:
      break;
  }
  SetHostPixels(1);
  rt::SetTarget(0);
  if (edit().closed()) return true;
  edit().Set(0, prop::kHidden, 0);
  rt::ReleaseCapture();
  rt::SetCapture(EditHandle());
  rt::SetFocus(edit().Get(0, prop::kClientHandle).AsInt());
  edit().Set(0, prop::kHidden, 1);
  return false;
}

void EditMode::Loop() {
  if (!window_opened_) return;
  const rt::WindowRef ref = edit().ref();
  while (rt::Accept(ref)) {
    bool leave = false;
    switch (rt::Event()) {
      case event::kAlertKey:
        leave = HandleAlertKey();
        break;
      case kRefreshEvent:
        refresh_pending_ = true;
        Refresh();
        break;
      case event::kGainFocus:
        refresh_pending_ = true;
        initialised_ = true;
        Refresh();
        break;
      case event::kLoseFocus:
        RequestEnd();
        break;
      case event::kOpenWindow:
        if (!initialised_) {
          Refresh();
          initialised_ = true;
        }
        edit().Select(kMorphDown);
        break;
      case event::kSized:
        rt::Post(kRefreshEvent, 0, rt::CurrentThread());
        break;
      case event::kTimer:
        break;
      case event::kRejected:
        rt::Beep();
        edit().Display(rt::Field());
        edit().Select(rt::Field());
        break;
      default:
        break;
    }
    if (leave) break;
    if (rt::Event() != event::kAccepted) continue;
    switch (rt::Field()) {
      case kMorphDown:
        handles_.SelectAtMouse(Pointer());
        break;
      case kMorphUp:
        FinishPress();
        break;
      case kMorphMouseMove:
        handles_.DragStep(Pointer());
        break;
      default:
        break;
    }
  }
}

void EditMode::End() {
  if (file_opened_) {
    if (settings_.PROMPTONEXIT != 0) {
      MessageBoxRequest question;
      question.text = "Do you want to save your changes?";
      question.caption = "Twiq";
      question.icon = MessageIcon::kQuestion;
      question.buttons = kButtonYes | kButtonNo;
      question.default_button = kButtonYes;
      if (ShowMessageBox(question) == kButtonNo) {
        rt::SetTarget(host().ref());
        SetHostPixels(0);
        session_.snapshots.RollBack(host());
      }
    }
    ReleaseSettingsFile(hold_);
  }
  rt::SetTarget(host().ref());
  handles_.RemoveHandles();
  handles_.RepaintHost();
  rt::SetTarget(0);
  rt::SetCursor("");
  if (window_opened_) rt::Close(edit().ref());
  procedures_.reset();
  rt::SetTarget(host().ref());
  SetHostPixels(0);
  rt::SetFocus(host().Get(0, prop::kClientHandle).AsInt());
  rt::Post(event::kResumed);
  ThreadResponse() = kResponseCancelled;
}

}  // namespace

std::string EditMenuText(std::string_view label) {
  const std::string clipped = rt::Clip(label);
  return "Edit " + clipped + "|Show Processed Fields|Full Field List/Tab Order|Reset " + clipped +
         " to original|Quit Editing Mode";
}

void ProcessWindow(rt::Window& host, int current_field, std::string_view marker,
                   std::string_view procedure, TWIQSETTINGS& settings) {
  EditMode mode(host, marker, procedure, settings);
  LocateSettingsFile(settings);
  mode.BuildInventory();
  ThreadRequest() = 0;
  ThreadResponse() = 0;
  if (rt::KeyCode() == key::kMouseRight) rt::SetKeyCode(0);
  mode.Start(current_field);
  mode.Loop();
  mode.End();
}

}  // namespace twiq

// The exported entry point, an alias of an ordinary function (see set_window_controls.cpp for
// why the quoted name cannot carry the body itself).
extern "C" void TwiqProcessWindowEntry(int64_t window, int32_t current_field, const char* marker,
                                       const char* procedure, TWIQSETTINGS* settings) {
  std::shared_ptr<rt::Window> host = rt::FindWindow(window);
  if (!host) return;
  TWIQSETTINGS blank;
  if (settings == nullptr) {
    std::memset(&blank, ' ', sizeof blank);
    blank.PROMPTONEXIT = 0;
    settings = &blank;
  }
  twiq::ProcessWindow(*host, current_field, marker ? marker : "", procedure ? procedure : "",
                      *settings);
}

extern "C" TWIQ_INTERNAL_API __attribute__((alias("TwiqProcessWindowEntry"))) void
twiq_process_window(int64_t window, int32_t current_field, const char* marker,
                    const char* procedure, TWIQSETTINGS* settings);
