// An image drawn with GDI into a bitmap of its own, for the clipboard and
// for a PNG: at the image's scale for the screen it is copied from, every
// handle held by an owner, so that a drawing that fails gives back all it
// took.
#include "image.h"

namespace platform {

Raster::Raster(const Picture &picture, UINT dpi) {
    const int factor = rasterScale(static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI);
    if (picture.width <= 0 || picture.height <= 0)
        return;
    // At most 16384 pixels a side, which every reader of a bitmap takes.
    if (picture.width > 16384 / factor || picture.height > 16384 / factor)
        return;
    header_.biSize = sizeof header_;
    header_.biWidth = picture.width * factor;
    header_.biHeight = picture.height * factor;
    header_.biPlanes = 1;
    header_.biBitCount = 32;
    header_.biCompression = BI_RGB;
    header_.biSizeImage =
        static_cast<DWORD>(header_.biWidth) * static_cast<DWORD>(header_.biHeight) * 4;
    void *bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&header_),
                                   DIB_RGB_COLORS, &bits, nullptr, 0));
    struct DeleteDc {
        void operator()(HDC dc) const { DeleteDC(dc); }
    };
    const std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDc> dc(
        bitmap_ ? CreateCompatibleDC(nullptr) : nullptr);
    if (!dc)
        return;
    const int saved = SaveDC(dc.get());
    SelectObject(dc.get(), bitmap_.get());
    // The image's ground, its first shape, covers the box; it is laid first
    // everywhere, so that no rounding leaves a rim of another colour.
    const Shape *ground = picture.shapes.empty() ? nullptr : &picture.shapes.front();
    const RECT all{0, 0, header_.biWidth, header_.biHeight};
    SetDCBrushColor(dc.get(), ground && ground->filled
                                  ? RGB(ground->fill.red, ground->fill.green, ground->fill.blue)
                                  : RGB(255, 255, 255));
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    drawPicture(dc.get(), {0, 0}, picture, static_cast<UINT>(factor) * USER_DEFAULT_SCREEN_DPI,
                ANTIALIASED_QUALITY);
    GdiFlush();
    RestoreDC(dc.get(), saved);
    // GDI leaves the fourth byte of each pixel at 0, which some readers of a
    // bitmap take for transparent.
    auto *pixel = static_cast<DWORD *>(bits);
    for (DWORD i = 0; i < header_.biSizeImage / 4; ++i)
        pixel[i] |= 0xFF000000;
    bits_ = bits;
}

} // namespace platform
