#pragma once
#include <functional>

class QMimeData;
class TRxDBGridEx;

// Rows dragged from one grid of a page onto another: the lists and the baskets of the lend
// and return pages.

// Makes `grid` a source: a left press on a data cell of a non-empty grid makes that row
// current, as any press does, and the first move with the button still down drags the row.
// The drag starts at the move, not at the press, so that a click and a double click stay
// what they are.
void DragGridRows(TRxDBGridEx *grid);
// Makes `grid` a target of any grid's rows. A drop runs `onDrop` with the grid the row came
// from, once the drag has ended, so that a window it opens is not opened inside the drag;
// errors are reported as the program's error report does.
void DropGridRows(TRxDBGridEx *grid, std::function<void(TRxDBGridEx *source)> onDrop);
// What a drag from `source` carries (also for a drop made up by a test).
QMimeData *GridRowData(const TRxDBGridEx *source);
