// "Copy Picture" and "Save Picture...": the image drawn with GDI into a bitmap
// of its own, at twice its pixels or more, and made into PNG by GDI+, which
// comes with Windows; or written as SVG.
#include "native.h"
#include "platform/svg.h"

#include <algorithm>
#include <cwctype>
#include <new>
#include <string>

#include <commdlg.h>
#include <objidl.h>
// GDI+'s headers use min and max as Windows' macros, which are off here.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace platform {

namespace {

// The narrowest a copied or saved picture comes out, in pixels.
constexpr int leastWidth = 480;

// GDI+ and the common dialogs, which come with Windows, are loaded from its
// own folder the first time a picture is copied or saved, so that the
// program starts without them; a function that cannot be had is null.
HMODULE systemLibrary(const wchar_t *name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Pointer> Pointer function(HMODULE library, const char *name) {
    // By way of the generic function pointer, which converts to any other.
    return reinterpret_cast<Pointer>(
        reinterpret_cast<void (*)()>(library ? GetProcAddress(library, name) : nullptr));
}

// What makes a PNG.
struct GdiPlus {
    HMODULE library = systemLibrary(L"gdiplus.dll");
    decltype(&Gdiplus::GdiplusStartup) startup =
        function<decltype(startup)>(library, "GdiplusStartup");
    decltype(&Gdiplus::GdiplusShutdown) shutdown =
        function<decltype(shutdown)>(library, "GdiplusShutdown");
    decltype(&Gdiplus::DllExports::GdipGetImageEncodersSize) encodersSize =
        function<decltype(encodersSize)>(library, "GdipGetImageEncodersSize");
    decltype(&Gdiplus::DllExports::GdipGetImageEncoders) encoders =
        function<decltype(encoders)>(library, "GdipGetImageEncoders");
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP) fromBitmap =
        function<decltype(fromBitmap)>(library, "GdipCreateBitmapFromHBITMAP");
    decltype(&Gdiplus::DllExports::GdipSaveImageToStream) save =
        function<decltype(save)>(library, "GdipSaveImageToStream");
    decltype(&Gdiplus::DllExports::GdipDisposeImage) dispose =
        function<decltype(dispose)>(library, "GdipDisposeImage");

    static const GdiPlus *get() {
        static const GdiPlus loaded;
        return loaded.startup && loaded.shutdown && loaded.encodersSize && loaded.encoders &&
                       loaded.fromBitmap && loaded.save && loaded.dispose
                   ? &loaded
                   : nullptr;
    }
};

// The dialog that asks where to save.
struct Dialogs {
    HMODULE library = systemLibrary(L"comdlg32.dll");
    decltype(&GetSaveFileNameW) save = function<decltype(save)>(library, "GetSaveFileNameW");
    decltype(&CommDlgExtendedError) error =
        function<decltype(error)>(library, "CommDlgExtendedError");

    static const Dialogs &get() {
        static const Dialogs loaded;
        return loaded;
    }
};

// The image drawn into a bitmap: the bottom row first, 32 bits to a pixel,
// every pixel opaque. Empty where it cannot be made.
class Raster {
public:
    Raster(const Picture &picture, UINT dpi) {
        // Twice the picture's pixels at least, or the screen's scale where
        // that is more, and never narrower than leastWidth.
        long long factor = std::max<long long>(imageScale, (dpi + USER_DEFAULT_SCREEN_DPI - 1) /
                                                               USER_DEFAULT_SCREEN_DPI);
        if (picture.width <= 0 || picture.height <= 0)
            return;
        factor = std::max<long long>(factor, (leastWidth + picture.width - 1) / picture.width);
        const long long width = picture.width * factor, height = picture.height * factor;
        if (width > 16384 || height > 16384)
            return;
        header_.biSize = sizeof header_;
        header_.biWidth = static_cast<LONG>(width);
        header_.biHeight = static_cast<LONG>(height);
        header_.biPlanes = 1;
        header_.biBitCount = 32;
        header_.biCompression = BI_RGB;
        header_.biSizeImage = static_cast<DWORD>(width * height * 4);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&header_),
                                   DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC dc = bitmap_ ? CreateCompatibleDC(nullptr) : nullptr;
        if (!dc)
            return;
        const HGDIOBJ old = SelectObject(dc, bitmap_);
        // The image's ground, its first shape, covers the box; it is laid
        // first everywhere, so that no rounding leaves a rim of another colour.
        const Shape *ground = picture.shapes.empty() ? nullptr : &picture.shapes.front();
        const RECT all{0, 0, header_.biWidth, header_.biHeight};
        SetDCBrushColor(dc, ground && ground->filled
                                ? RGB(ground->fill.red, ground->fill.green, ground->fill.blue)
                                : RGB(255, 255, 255));
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        drawPicture(dc, {0, 0}, picture, static_cast<UINT>(factor) * USER_DEFAULT_SCREEN_DPI);
        GdiFlush();
        SelectObject(dc, old);
        DeleteDC(dc);
        // GDI leaves the fourth byte of each pixel at 0, which some readers of
        // a bitmap take for transparent.
        auto *pixel = static_cast<DWORD *>(bits);
        for (DWORD i = 0; i < header_.biSizeImage / 4; ++i)
            pixel[i] |= 0xFF000000;
        bits_ = bits;
    }
    ~Raster() {
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    Raster(const Raster &) = delete;
    Raster &operator=(const Raster &) = delete;

    explicit operator bool() const { return bits_; }
    HBITMAP bitmap() const { return bitmap_; }
    // As the clipboard's CF_DIB has it: the header, then the pixels.
    std::span<const std::byte> header() const { return std::as_bytes(std::span(&header_, 1)); }
    std::span<const std::byte> pixels() const {
        return {static_cast<const std::byte *>(bits_), header_.biSizeImage};
    }

private:
    BITMAPINFOHEADER header_{};
    HBITMAP bitmap_ = nullptr;
    void *bits_ = nullptr;
};

// The bitmap as a PNG file's bytes, from GDI+'s own encoder; empty where it
// could not be made.
std::string png(const Raster &raster) {
    using namespace Gdiplus;
    const GdiPlus *gdiPlus = GdiPlus::get();
    if (!gdiPlus)
        return {};
    // What GDI+ lends, given back however the encoding ends.
    struct Session {
        const GdiPlus &gdi;
        ULONG_PTR token = 0;
        GpBitmap *bitmap = nullptr;
        IStream *stream = nullptr;
        ~Session() {
            if (stream)
                stream->Release();
            if (bitmap)
                gdi.dispose(bitmap);
            if (token)
                gdi.shutdown(token);
        }
    } session{*gdiPlus};
    const GdiPlus &gdi = *gdiPlus;
    const GdiplusStartupInput input;
    UINT count = 0, size = 0;
    if (gdi.startup(&session.token, &input, nullptr) != Ok ||
        gdi.encodersSize(&count, &size) != Ok || size == 0)
        return {};
    const auto buffer = std::make_unique<std::byte[]>(size);
    auto *codecs = reinterpret_cast<ImageCodecInfo *>(buffer.get());
    if (gdi.encoders(count, size, codecs) != Ok)
        return {};
    const CLSID *encoder = nullptr;
    for (UINT i = 0; i < count && !encoder; ++i)
        if (codecs[i].MimeType && std::wstring_view(codecs[i].MimeType) == L"image/png")
            encoder = &codecs[i].Clsid;
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (!encoder || gdi.fromBitmap(raster.bitmap(), nullptr, &session.bitmap) != Ok ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &session.stream)) ||
        gdi.save(session.bitmap, session.stream, encoder, nullptr) != Ok ||
        FAILED(session.stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(session.stream, &memory)) ||
        stat.cbSize.QuadPart > GlobalSize(memory))
        return {};
    const auto *data = static_cast<const char *>(GlobalLock(memory));
    if (!data)
        return {};
    std::string bytes;
    try {
        bytes.assign(data, stat.cbSize.QuadPart);
    } catch (...) {
        GlobalUnlock(memory);
        throw;
    }
    GlobalUnlock(memory);
    return bytes;
}

// Windows' own words for an error.
std::wstring reason(DWORD error) {
    wchar_t text[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (n > 0 && std::iswspace(text[n - 1]))
        --n;
    return n ? std::wstring(text, n) : L"Windows error " + std::to_wstring(error) + L".";
}

// Writes the bytes to a file of their own in the named file's folder, then
// puts that in the named one's place: a file that was there stays as it was
// until the new one is whole. 0, or the error that stopped it.
DWORD writeWhole(const std::wstring &file, std::string_view bytes) {
    if (bytes.size() > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;
    const std::wstring folder = file.substr(0, file.find_last_of(L"\\/") + 1);
    std::wstring part;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; ++i) {
        part = folder + L"~quorvel-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(i) + L".tmp";
        h = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && (error = GetLastError()) != ERROR_FILE_EXISTS)
            return error;
    }
    if (h == INVALID_HANDLE_VALUE)
        return error;
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!WriteFile(h, bytes.data(), size, &written, nullptr) || !FlushFileBuffers(h))
        error = GetLastError();
    else if (written != size)
        error = ERROR_WRITE_FAULT;
    CloseHandle(h);
    if (!error && !MoveFileExW(part.c_str(), file.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error)
        DeleteFileW(part.c_str());
    return error;
}

// A file's extension, after its name's last dot, in lower case.
std::wstring extension(const std::wstring &file) {
    const std::size_t dot = file.find_last_of(L"./\\:");
    if (dot == std::wstring::npos || file[dot] != L'.')
        return {};
    std::wstring e = file.substr(dot + 1);
    for (wchar_t &c : e)
        c = static_cast<wchar_t>(std::towlower(c));
    return e;
}

// Where the player saves the image: the name chosen, with ".png" or ".svg"
// added where it has neither (the kind chosen in the dialog); empty if the
// player cancels. A name given its extension here is asked about, as the
// dialog asks about the name it returns, before a file of that name is
// replaced.
std::wstring askWhere(HWND owner, std::wstring name) {
    std::wstring buffer(32768, L'\0');
    for (;;) {
        name.copy(buffer.data(), buffer.size() - 1);
        buffer[std::min(name.size(), buffer.size() - 1)] = L'\0';
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = L"PNG image (*.png)\0*.png\0SVG image (*.svg)\0*.svg\0";
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrTitle = L"Save Picture";
        dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                       OFN_ENABLESIZING;
        const Dialogs &dialogs = Dialogs::get();
        if (!dialogs.save || !dialogs.error) {
            tell(owner, notSaved, L"The Save dialog could not open: it is missing from Windows.");
            return {};
        }
        if (!dialogs.save(&dialog)) {
            if (const DWORD error = dialogs.error())
                tell(owner, notSaved,
                     L"The Save dialog could not open (error " + std::to_wstring(error) + L").");
            return {};
        }
        std::wstring file = buffer.c_str();
        const std::wstring kind = extension(file);
        if (kind == L"png" || kind == L"svg")
            return file;
        file += dialog.nFilterIndex == 2 ? L".svg" : L".png";
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ||
            MessageBoxW(owner, (file + L" already exists.\nDo you want to replace it?").c_str(),
                        L"Save Picture", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
            return file;
        name = file;
    }
}

} // namespace

void copyPicture(HWND owner, const Image &image, UINT dpi) {
    try {
        const Raster raster(image.make(), dpi);
        if (!raster) {
            tell(owner, notCopied, L"The picture could not be drawn, so nothing was copied.");
            return;
        }
        // A bitmap, which every program that takes pictures pastes, and PNG
        // for those that read it.
        const std::string encoded = png(raster);
        ClipboardData data[2] = {{CF_DIB, clipboardMemory({raster.header(), raster.pixels()})}};
        std::size_t formats = 1;
        if (!encoded.empty())
            data[formats++] = {RegisterClipboardFormatW(L"PNG"),
                               clipboardMemory({std::as_bytes(std::span(encoded))})};
        putOnClipboard(owner, std::span(data, formats));
    } catch (const std::bad_alloc &) {
        tell(owner, notCopied,
             L"There is not enough memory to copy the picture. The clipboard is as it was.");
    }
}

void savePicture(HWND owner, const Image &image, UINT dpi) {
    const std::wstring file = askWhere(owner, wide(image.name) + L".png");
    if (file.empty())
        return;
    try {
        std::string bytes;
        if (extension(file) == L"svg") {
            bytes = svg(image.make());
        } else if (const Raster raster(image.make(), dpi); raster) {
            bytes = png(raster);
        }
        const std::wstring where = L"The picture could not be saved as\n" + file + L"\n\n";
        if (bytes.empty())
            tell(owner, notSaved, where + L"It could not be drawn.");
        else if (const DWORD error = writeWhole(file, bytes))
            tell(owner, notSaved, where + reason(error));
    } catch (const std::bad_alloc &) {
        tell(owner, notSaved, L"There is not enough memory to save the picture as\n" + file);
    }
}

} // namespace platform
