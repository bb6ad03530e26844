// A table's window: a top-level window of its own, owned by its frame and
// opened beside it, never over it; its heading, the table in a ListView, the
// lines under it and the buttons Copy, Copy Picture, Save Picture… and
// Close, with the menu's keys, and Tab, Alt and a letter, Enter and Escape
// as in any Windows dialog.
#include "table_list.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

// Its parts' places, in the form's pixels.
constexpr int margin = 10, gap = 8, lineHeight = 15, buttonHeight = 24, besideFrame = 8;
// The parts' identifiers, clear of those the dialog keys send.
constexpr int headingId = 100, listId = 101, linesId = 102;
// The rows and columns a window makes room for before it has shown a table.
constexpr std::size_t firstRoom = 13;
const Font &plain = tableFont, &bold = tableBold;

struct Button {
    int id;
    const wchar_t *label;
    int width;
};
constexpr std::array<Button, 4> buttons{{{copyCommand, L"&Copy", 80},
                                         {copyPictureCommand, L"Copy &Picture", 100},
                                         {savePictureCommand, L"&Save Picture\u2026", 110},
                                         {IDCANCEL, L"Close", 80}}};

const wchar_t *tableClass();

} // namespace

struct TableNative : WindowNative {
    explicit TableNative(Native &frame) : WindowNative(tableClass(), 0), owner(frame) {
        topLevel = true;
        keys = menuKeys();
        if (!CreateWindowExW(0, windowClass, L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner.hwnd, nullptr,
                             GetModuleHandleW(nullptr), this))
            failWithLastError("Quorvel cannot open a window");
        const auto child = [this](const wchar_t *type, const wchar_t *text, DWORD style, int id) {
            return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
        };
        heading =
            child(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, headingId);
        list = makeTableList(hwnd, listId);
        lines = child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, linesId);
        for (std::size_t i = 0; i < buttons.size(); ++i)
            pushes[i] =
                child(L"BUTTON", buttons[i].label, WS_TABSTOP | BS_PUSHBUTTON, buttons[i].id);
        if (!heading || !list || !lines || std::count(pushes.begin(), pushes.end(), nullptr))
            failWithLastError("Quorvel cannot create a window's controls");
        layout();
        offersChanged();
    }
    // The window goes before the parts its messages read.
    ~TableNative() override { unrealize(); }

    // Places and sizes the parts, and the window around them, at its dots
    // per inch.
    void layout();
    // Beside the frame's outer frame, tops aligned: on its right, or on its
    // left where the screen has no room on the right.
    void placeBeside();
    void offersChanged() override {
        const Offers offers(*this);
        for (std::size_t i = 0; i + 1 < buttons.size(); ++i)
            EnableWindow(pushes[i], offers.has(static_cast<WORD>(buttons[i].id)));
        if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus) && !IsWindowEnabled(focus))
            SetFocus(IsWindowVisible(list) ? list : pushes.back());
    }
    LRESULT message(UINT message, WPARAM wParam, LPARAM lParam);

    Native &owner;
    HWND heading = nullptr, list = nullptr, lines = nullptr;
    std::array<HWND, buttons.size()> pushes{};
    HWND lastFocus = nullptr;
    Table table;
    // The rows and columns of the last table with rows: with none, the lines
    // stand in its place and the window keeps its size.
    std::size_t rows = firstRoom, columns = firstRoom;
    bool placed = false;
};

namespace {

LRESULT CALLBACK tableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        attach(*static_cast<Native *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams),
               hwnd);
    if (auto *table = dynamic_cast<TableNative *>(nativeOf(hwnd)))
        return table->message(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t *tableClass() {
    static const wchar_t *const name =
        registerClass(L"Quorvel.Table", tableProc, GetSysColorBrush(COLOR_BTNFACE));
    return name;
}

// The height of the lines' text at the width given, in device pixels.
int textHeight(HWND control, HFONT font, int width) {
    std::wstring lines(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    lines.resize(static_cast<std::size_t>(
        GetWindowTextW(control, lines.data(), static_cast<int>(lines.size()))));
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.bottom - r.top;
}

} // namespace

void TableNative::layout() {
    const UINT d = dpi();
    const auto px = [d](int pixels) { return scale(pixels, d); };
    const HFONT font = fontHandle(plain, d);
    SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle(bold, d)), FALSE);
    SendMessageW(lines, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (HWND push : pushes)
        SendMessageW(push, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const SIZE room = fitTableList(list, d, rows, columns);
    int y = px(margin);
    const int x = px(margin), width = room.cx, tableHeight = room.cy;
    SetWindowPos(heading, nullptr, x, y, width, px(lineHeight), SWP_NOZORDER);
    y += px(lineHeight + gap / 2);
    SetWindowPos(list, nullptr, x, y, width, tableHeight, SWP_NOZORDER);
    // With no rows, the lines stand in the table's place.
    const bool any = !table.rows.empty();
    ShowWindow(list, any ? SW_SHOWNA : SW_HIDE);
    const int below = y + tableHeight + px(gap),
              linesHeight = std::max(px(3 * lineHeight), textHeight(lines, font, width));
    SetWindowPos(lines, nullptr, x, any ? below : y, width, below + linesHeight - (any ? below : y),
                 SWP_NOZORDER);
    y = below + linesHeight + px(gap);
    // The three that hand the table out on the left, Close on the right.
    int left = x;
    for (std::size_t i = 0; i < pushes.size(); ++i) {
        const int w = px(buttons[i].width);
        const int at = i + 1 < pushes.size() ? left : x + width - w;
        SetWindowPos(pushes[i], nullptr, at, y, w, px(buttonHeight), SWP_NOZORDER);
        left += w + px(gap);
    }
    RECT outer{0, 0, width + 2 * x, y + px(buttonHeight + margin)};
    AdjustWindowRectExForDpi(&outer, GetWindowLongW(hwnd, GWL_STYLE), FALSE,
                             GetWindowLongW(hwnd, GWL_EXSTYLE), d);
    // A window on its frame's left grows and shrinks leftwards, and stays
    // beside it.
    RECT self, frame;
    GetWindowRect(hwnd, &self);
    GetWindowRect(owner.hwnd, &frame);
    const int w = outer.right - outer.left;
    SetWindowPos(hwnd, nullptr, self.right <= frame.left ? self.right - w : self.left, self.top, w,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void TableNative::placeBeside() {
    RECT frame, self;
    GetWindowRect(owner.hwnd, &frame);
    GetWindowRect(hwnd, &self);
    const int w = self.right - self.left, h = self.bottom - self.top,
              apart = scale(besideFrame, dpi());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner.hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    const int right = frame.right + apart, left = frame.left - apart - w;
    // Where neither side has room, the one with more; the window can be moved.
    const bool onRight = right + w <= work.right ||
                         (left < work.left && work.right - frame.right >= frame.left - work.left);
    const int top = std::max<int>(work.top, std::min<int>(frame.top, work.bottom - h));
    SetWindowPos(hwnd, nullptr, onRight ? right : left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed = true;
}

LRESULT TableNative::message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        static_cast<TableWindow *>(component)->hide(); // as Close does
        return 0;
    case WM_COMMAND: {
        const WORD command = LOWORD(wParam);
        if (command == IDCANCEL) {
            static_cast<TableWindow *>(component)->hide();
        } else if (HIWORD(wParam) == 1 || HIWORD(wParam) == BN_CLICKED) {
            // A key of the menu's, or a button: what the window hands out.
            guarded([this, command] { Offers(*this).run(command, hwnd); });
        }
        return 0;
    }
    case DM_GETDEFID:
        // Enter presses the focused button; elsewhere it does nothing.
        if (HWND focus = GetFocus(); focus && GetParent(focus) == hwnd &&
                                     std::find(pushes.begin(), pushes.end(), focus) != pushes.end())
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus))
                lastFocus = focus;
        } else {
            SetFocus(lastFocus && IsChild(hwnd, lastFocus) && IsWindowEnabled(lastFocus) &&
                             IsWindowVisible(lastFocus)
                         ? lastFocus
                         : GetNextDlgTabItem(hwnd, nullptr, FALSE));
        }
        return 0;
    case WM_NOTIFY: {
        auto &notice = *reinterpret_cast<NMHDR *>(lParam);
        if (notice.hwndFrom == list && notice.code == NM_CUSTOMDRAW)
            return drawTableList(reinterpret_cast<NMLVCUSTOMDRAW &>(notice), table, dpi());
        break;
    }
    case WM_DPICHANGED: {
        const RECT &r = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TableWindow::TableWindow(Frame &owner) : Component(std::make_unique<TableNative>(owner.native())) {}

TableWindow::~TableWindow() = default;

void TableWindow::setTitle(std::string_view title) {
    native().setText(wide(title));
}

void TableWindow::setContent(std::string_view heading, const Table &table, std::string_view lines) {
    auto &t = static_cast<TableNative &>(native());
    t.table = table;
    if (!table.rows.empty())
        t.rows = table.rows.size(), t.columns = table.columns.size();
    SetWindowTextW(t.heading, wide(heading).c_str());
    SetWindowTextW(t.lines, windowsLines(lines).c_str());
    fillTableList(t.list, t.table);
    t.layout();
}

void TableWindow::show() {
    auto &t = static_cast<TableNative &>(native());
    if (!IsWindowVisible(t.hwnd)) {
        RECT frame, self, overlap;
        GetWindowRect(t.owner.hwnd, &frame);
        GetWindowRect(t.hwnd, &self);
        // Where the player left it, unless the form has come under it since.
        if (!t.placed || IntersectRect(&overlap, &frame, &self))
            t.placeBeside();
        t.lastFocus = t.table.rows.empty() ? nullptr : t.list;
        ShowWindow(t.hwnd, SW_SHOW);
    }
    SetForegroundWindow(t.hwnd);
    SetFocus(IsWindowVisible(t.list) ? t.list : t.pushes.back());
}

void TableWindow::hide() {
    auto &t = static_cast<TableNative &>(native());
    if (!IsWindowVisible(t.hwnd))
        return;
    // The keyboard goes back to the form.
    const bool active = GetActiveWindow() == t.hwnd;
    ShowWindow(t.hwnd, SW_HIDE);
    if (active)
        SetForegroundWindow(t.owner.hwnd);
}

bool TableWindow::showing() const {
    return IsWindowVisible(native().hwnd) != FALSE;
}

} // namespace platform
