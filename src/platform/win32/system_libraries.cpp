// Windows' own libraries that only Copy Picture and Save Picture… need,
// loaded from the system folder alone, never from beside the program.
#include "system_libraries.h"

namespace platform {

namespace {

HMODULE systemLibrary(const wchar_t *name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// By way of the generic function pointer, which converts to any other.
template <typename Pointer> void find(HMODULE library, Pointer &to, const char *name) {
    to = reinterpret_cast<Pointer>(
        reinterpret_cast<void (*)()>(library ? GetProcAddress(library, name) : nullptr));
}

} // namespace

const GdiPlus *GdiPlus::get() {
    static const GdiPlus loaded = [] {
        const HMODULE library = systemLibrary(L"gdiplus.dll");
        GdiPlus g{};
        find(library, g.startup, "GdiplusStartup");
        find(library, g.shutdown, "GdiplusShutdown");
        find(library, g.encodersSize, "GdipGetImageEncodersSize");
        find(library, g.encoders, "GdipGetImageEncoders");
        find(library, g.fromBitmap, "GdipCreateBitmapFromHBITMAP");
        find(library, g.save, "GdipSaveImageToStream");
        find(library, g.dispose, "GdipDisposeImage");
        return g;
    }();
    const GdiPlus &g = loaded;
    return g.startup && g.shutdown && g.encodersSize && g.encoders && g.fromBitmap && g.save &&
                   g.dispose
               ? &loaded
               : nullptr;
}

const Dialogs *Dialogs::get() {
    static const Dialogs loaded = [] {
        const HMODULE library = systemLibrary(L"comdlg32.dll");
        Dialogs d{};
        find(library, d.save, "GetSaveFileNameW");
        find(library, d.error, "CommDlgExtendedError");
        return d;
    }();
    return loaded.save && loaded.error ? &loaded : nullptr;
}

} // namespace platform
