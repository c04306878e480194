// The runtime's dialogs as Qt dialogs: message boxes, the pop-up menu, the colour dialog and
// the file dialog, each modal, on the GUI thread.
//
// - Message box: the text's "|" breaks become lines; the icon names Question, Exclamation,
//   Hand and Asterisk show Qt's question, warning, critical and information icons (another
//   name is tried as a picture file); one button per button of the sum, named as the runtime
//   names them, with the default button focused and Escape pressing Cancel, else No, else the
//   only button. Closing the box otherwise answers the default button.
// - Pop-up menu: its items with separators and greyed items (which cannot be chosen), at the
//   requested point of the owner's client area or else at the pointer; no choice is item 0.
// - Colour dialog: starts at the request's colour; the choice in the runtime's colour value.
// - File dialog: the "description|pattern" pairs as its filters (patterns separated by ";"),
//   starting at the request's file; flag 1 asks for a file to save, 20h for a folder.
//
// Qt's own (not the platform's) dialogs, so that they look and behave the same everywhere.
// GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_DIALOGS_H_
#define RUNTIME_DISPLAY_QT_DIALOGS_H_

#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "runtime/dialog/dialog_request.h"
#include "runtime/status/status.h"

namespace rt::qt {

// Shows `request` over `owner` (may be null) and returns the user's answer. `opened` is told
// the dialog's widget when it is about to show and null when it has closed. `at` is the
// pop-up menu's screen position (null: the pointer).
DialogAnswer RunDialog(const DialogRequest& request, QWidget* owner, std::optional<QPoint> at,
                       const std::function<void(QWidget*)>& opened);

// Answers the dialog widget `dialog` that RunDialog shows for `request` as a user would:
// presses the button `answer.button`, chooses item `answer.item` (0: dismisses the menu),
// picks `answer.colour` or `answer.file` when `answer.chosen`, else cancels.
Status AnswerDialog(QWidget* dialog, const DialogRequest& request, const DialogAnswer& answer);

// The Qt filter list of a runtime filter ("Text|*.txt;*.log|All|*.*").
QString FileFilters(std::string_view filter);

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_DIALOGS_H_
