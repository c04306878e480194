// The rows a list, drop list or combo shows: those of its list source when it has one
// (SetListSource), else the items of its ChoiceList property ("|"-separated, one column).
// Used wherever a row is counted or chosen, so that the runtime and every display agree.
//
// Both functions read the window through its public (locking) API: never call them while
// holding that window's lock. Thread-safe otherwise.
#ifndef RUNTIME_WINDOW_LIST_ROWS_H_
#define RUNTIME_WINDOW_LIST_ROWS_H_

#include <string>

namespace rt {

class Window;

// Number of rows of control `feq` of `w`; 0 for a control without rows.
int ListRowCount(const Window& w, int feq);

// The text of column `column` (0-based) of row `row` (1-based); empty when out of range.
std::string ListCell(const Window& w, int feq, int row, int column);

}  // namespace rt

#endif  // RUNTIME_WINDOW_LIST_ROWS_H_
