// A table in a ListView in report mode: the rows' headers in its first
// column, under a header that names both ("Firer \ Target"), then a column a
// header; each cell in its own colour through the control's custom draw, the
// marked one bold and framed. The keyboard moves between the rows as in any
// ListView.
#pragma once

#include "native.h"

#include <commctrl.h>

namespace platform {

// The faces of a table's window.
inline const Font tableFont{"Dialog", Font::Plain, 12}, tableBold{"Dialog", Font::Bold, 12};

// A ListView of that kind, a child of the parent with the identifier given.
HWND makeTableList(HWND parent, int id);
// Gives the list its fonts, its rows' height and its columns' widths at the
// dots per inch, and says how large it must be to show that many rows and
// columns (the rows' headers aside) without scrolling.
SIZE fitTableList(HWND list, UINT dpi, std::size_t rows, std::size_t columns);
// Shows the table, the marked cell's row selected; fitTableList then gives
// its columns their widths.
void fillTableList(HWND list, const Table &table);
// Answers the list's custom draw with the table's colours and marks.
LRESULT drawTableList(NMLVCUSTOMDRAW &draw, const Table &table, UINT dpi);

} // namespace platform
