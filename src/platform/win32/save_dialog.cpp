// Save Picture…'s question: where, and as PNG or SVG, in Windows' own save
// dialog, its type list and its default extension.
#include "image.h"
#include "system_libraries.h"

#include <cwctype>

namespace platform {

namespace {

// The dialog's types, in the order of its list (its filter index less one).
constexpr const wchar_t *types[] = {L"png", L"svg"};
constexpr wchar_t filter[] = L"PNG image (*.png)\0*.png\0SVG image (*.svg)\0*.svg\0";

// A path's last part, the file's own name.
std::wstring_view leaf(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// A file's extension, after its name's last dot, in lower case.
std::wstring extension(std::wstring_view file) {
    const std::wstring_view name = leaf(file);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos)
        return {};
    std::wstring e(name.substr(dot + 1));
    for (wchar_t &c : e)
        c = static_cast<wchar_t>(std::towlower(c));
    return e;
}

bool isType(const std::wstring &kind) {
    return kind == types[0] || kind == types[1];
}

bool replaceAllowed(HWND owner, const std::wstring &file) {
    return GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ||
           MessageBoxW(owner, (file + L" already exists.\nDo you want to replace it?").c_str(),
                       L"Save Picture", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

std::optional<SaveAs> askWhere(HWND owner, const std::wstring &stem) {
    const Dialogs *dialogs = Dialogs::get();
    if (!dialogs) {
        tell(owner, notSaved, L"The Save dialog could not open: it is missing from Windows.");
        return std::nullopt;
    }
    std::wstring proposed = stem + L"." + types[0];
    DWORD type = 1;
    std::wstring buffer(32768, L'\0');
    for (;;) {
        const std::size_t n = proposed.copy(buffer.data(), buffer.size() - 1);
        buffer[n] = L'\0';
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter;
        dialog.nFilterIndex = type;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrTitle = L"Save Picture";
        // A name typed without an extension takes the chosen type's; the
        // dialog asks before it replaces the file it names.
        dialog.lpstrDefExt = types[type - 1];
        dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                       OFN_ENABLESIZING;
        if (!dialogs->save(&dialog)) {
            if (const DWORD error = dialogs->error())
                tell(owner, notSaved,
                     L"The Save dialog could not open (error " + std::to_wstring(error) + L").");
            return std::nullopt;
        }
        type = dialog.nFilterIndex == 2 ? 2 : 1;
        const std::wstring chosen = types[type - 1];
        std::wstring file = buffer.c_str(), kind = extension(file);
        // The dialog asked about the name it gives back; one changed here is
        // asked about here.
        bool changed = false;
        if (leaf(file) == leaf(proposed) && kind != chosen) {
            // The proposed name kept with the other type chosen: some
            // dialogs leave its extension as it was.
            file.resize(file.size() - kind.size());
            file += chosen;
            changed = true;
        } else if (!isType(kind)) {
            file += L"." + chosen;
            changed = true;
        }
        if (!changed || replaceAllowed(owner, file))
            return SaveAs{file, extension(file) == types[1]};
        proposed = file;
    }
}

} // namespace platform
