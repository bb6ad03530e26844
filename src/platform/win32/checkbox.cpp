#include "native.h"

namespace platform {

// Flat, like the rest of the form.
Checkbox::Checkbox() : Component(Native::make(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX | BS_FLAT)) {
    native().onCreate = [](Native &n) {
        SendMessageW(n.hwnd, BM_SETCHECK, n.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    };
}

void Checkbox::setLabel(std::string_view label) {
    native().setText(wide(label));
}

bool Checkbox::state() const {
    const Native &n = native();
    return n.hwnd ? SendMessageW(n.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED : n.checked;
}

void Checkbox::setState(bool ticked) {
    Native &n = native();
    n.checked = ticked;
    if (n.hwnd)
        SendMessageW(n.hwnd, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace platform
