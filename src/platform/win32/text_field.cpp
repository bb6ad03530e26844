#include "native.h"

namespace platform {

TextField::TextField() : Component(Native::make(L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL)) {
    // As long a text as the user types or pastes.
    native().onCreate = [](Native &n) { SendMessageW(n.hwnd, EM_SETLIMITTEXT, 0, 0); };
}

std::string TextField::text() const {
    return narrow(native().windowText());
}

void TextField::setText(std::string_view text) {
    native().setText(wide(text));
}

} // namespace platform
