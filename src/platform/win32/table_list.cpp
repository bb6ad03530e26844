// The table of a table window in Windows' own ListView: its headers, its
// rows, and its cells coloured in the control's custom draw.
#include "table_list.h"

#include <algorithm>

namespace platform {

namespace {

const Font &plain = tableFont, &bold = tableBold;
// A row's height, and the room beside a column's text, in the form's pixels.
constexpr int rowHeight = 20, padding = 16;

int textWidth(HDC dc, HFONT font, const wchar_t *text) {
    SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
}

// The widths of the rows' headers and of a cell's column.
std::pair<int, int> columnWidths(HWND list, UINT dpi) {
    const HDC dc = GetDC(list);
    const int saved = SaveDC(dc);
    const HFONT regular = fontHandle(plain, dpi), strong = fontHandle(bold, dpi);
    const int first =
        std::max(textWidth(dc, strong, L"Firer \\ Target"), textWidth(dc, strong, L"\u22128888"));
    const int cell =
        std::max({textWidth(dc, regular, L"Blocked"), textWidth(dc, strong, L"Blocked*"),
                  textWidth(dc, strong, L"OK 88*"), textWidth(dc, strong, L"No 88*")});
    RestoreDC(dc, saved);
    ReleaseDC(list, dc);
    return {first + scale(padding, dpi), cell + scale(padding, dpi)};
}

void setText(HWND list, int row, int column, const std::wstring &text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

COLORREF colour(Color c) {
    return RGB(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255));
}

} // namespace

HWND makeTableList(HWND parent, int id) {
    static const bool loaded = [] {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    if (!loaded)
        return nullptr;
    const HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER, 0, 0, 0,
        0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
        nullptr);
    if (!list)
        return nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t *>(L"");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

SIZE fitTableList(HWND list, UINT dpi, std::size_t rows, std::size_t columns) {
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle(plain, dpi)), TRUE);
    // A row is as high as its small image: one pixel wide and a row high.
    const auto images =
        reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    int width = 0, height = 0;
    if (!images || !ImageList_GetIconSize(images, &width, &height) ||
        height != scale(rowHeight, dpi)) {
        const HIMAGELIST rowImage = ImageList_Create(1, scale(rowHeight, dpi), ILC_COLOR, 1, 0);
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowImage));
        if (images)
            ImageList_Destroy(images);
    }
    const auto [first, cell] = columnWidths(list, dpi);
    const int count = static_cast<int>(SendMessageW(
        reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), i ? cell : first);
    // The header's and a row's height, as the control lays them out.
    const bool empty = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0;
    if (empty) {
        LVITEMW item{};
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    if (empty)
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const int edge = GetSystemMetricsForDpi(SM_CXEDGE, dpi);
    return {first + static_cast<int>(columns) * cell + 2 * edge,
            row.top + static_cast<int>(rows) * (row.bottom - row.top) + 2 * edge};
}

void fillTableList(HWND list, const Table &table) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (int i = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) - 1; i > 0; --i)
        SendMessageW(list, LVM_DELETECOLUMN, static_cast<WPARAM>(i), 0);
    // The first column's header says which way is which.
    const std::wstring corner = wide(table.rowsName + " \\ " + table.columnsName);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t *>(corner.c_str());
    SendMessageW(list, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    // Their widths are fitTableList's.
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const std::wstring text = wide(table.columns[c]);
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.iSubItem = static_cast<int>(c + 1);
        column.pszText = const_cast<wchar_t *>(text.c_str());
        SendMessageW(list, LVM_INSERTCOLUMNW, c + 1, reinterpret_cast<LPARAM>(&column));
    }
    int selected = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::wstring text = wide(table.rows[r]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<wchar_t *>(text.c_str());
        const int row = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const std::size_t at = r * table.columns.size() + c;
            if (at >= table.cells.size())
                break;
            const Table::Cell &cell = table.cells[at];
            setText(list, row, static_cast<int>(c + 1), wide(cell.text));
            if (cell.marked)
                selected = row;
        }
    }
    if (!table.rows.empty()) {
        LVITEMW state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT drawTableList(NMLVCUSTOMDRAW &draw, const Table &table, UINT dpi) {
    const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
    const auto cellAt = [&](std::size_t column) -> const Table::Cell * {
        const std::size_t at = row * table.columns.size() + column;
        return column < table.columns.size() && at < table.cells.size() ? &table.cells[at]
                                                                        : nullptr;
    };
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        // The rows' headers in bold, the selected one highlighted by the
        // control; the cells in their own colours, selected or not.
        const Table::Cell *cell = draw.iSubItem > 0 ? cellAt(draw.iSubItem - 1u) : nullptr;
        SelectObject(draw.nmcd.hdc, fontHandle(!cell || cell->marked ? bold : plain, dpi));
        if (cell) {
            draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            draw.clrText = RGB(0, 0, 0);
            draw.clrTextBk = colour(cell->color);
        }
        return CDRF_NEWFONT;
    }
    case CDDS_ITEMPOSTPAINT:
        // The marked cell framed, inside the grid's lines.
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const Table::Cell *cell = cellAt(c);
            if (!cell || !cell->marked)
                continue;
            RECT r{LVIR_BOUNDS, static_cast<LONG>(c + 1), 0, 0};
            if (!SendMessageW(draw.nmcd.hdr.hwndFrom, LVM_GETSUBITEMRECT, row,
                              reinterpret_cast<LPARAM>(&r)))
                continue;
            const int line = std::max(1, scale(2, dpi));
            InflateRect(&r, -1, -1);
            r.top += 1;
            SetDCBrushColor(draw.nmcd.hdc, RGB(0, 0, 0));
            const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
            for (int i = 0; i < line; ++i, InflateRect(&r, -1, -1))
                FrameRect(draw.nmcd.hdc, &r, brush);
        }
        return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

} // namespace platform
