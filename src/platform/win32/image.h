// What Copy Picture and Save Picture… are made of, one job a file: the
// picture drawn into a bitmap (raster.cpp), the bitmap as PNG (png.cpp), the
// save dialog (save_dialog.cpp) and the file written whole (write_whole.cpp),
// with Windows' own libraries loaded when first needed (system_libraries.*).
#pragma once

#include "native.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

// The picture drawn into a bitmap at an image's scale for the dots per inch
// (rasterScale): the bottom row first, 32 bits to a pixel, every pixel
// opaque, its texts smoothed in grey alone, as they look on any screen.
// Empty where it cannot be made.
class Raster {
public:
    Raster(const Picture &picture, UINT dpi);

    explicit operator bool() const { return bits_ != nullptr; }
    HBITMAP bitmap() const { return bitmap_.get(); }
    // As the clipboard's CF_DIB has it: the header, then the pixels.
    std::span<const std::byte> header() const { return std::as_bytes(std::span(&header_, 1)); }
    std::span<const std::byte> pixels() const {
        return {static_cast<const std::byte *>(bits_), header_.biSizeImage};
    }

private:
    struct Delete {
        void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
    };
    BITMAPINFOHEADER header_{};
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, Delete> bitmap_;
    void *bits_ = nullptr;
};

// The bitmap as a PNG file's bytes, from GDI+'s own encoder; empty where it
// could not be made.
std::string png(const Raster &raster);

// Where the player saves an image, and as what.
struct SaveAs {
    std::wstring file;
    bool svg = false;
};
// Asks in Windows' save dialog over the owner, proposing the name with
// ".png"; none if the player cancels, or the dialog cannot open (which is
// said). The kind is the one the name's extension says; where the player
// kept the proposed name and chose the other type, or gave a name without
// either extension, it is the type chosen, and the name takes its extension.
// A file of the name that comes back is replaced only with the player's yes;
// a no opens the dialog again.
std::optional<SaveAs> askWhere(HWND owner, const std::wstring &stem);

// Writes the bytes to a file of their own in the named file's folder, then
// puts that in the named one's place: a file that was there stays as it was
// until the new one is whole. 0, or the error that stopped it.
DWORD writeWhole(const std::wstring &file, std::string_view bytes);
// Windows' own words for an error.
std::wstring reason(DWORD error);

} // namespace platform
