// "Copy Picture" and "Save Picture…": the image drawn anew at its scale for
// the screen and put on the clipboard as a bitmap and as PNG, or saved where
// the player says as PNG or SVG.
#include "image.h"
#include "platform/svg.h"

#include <new>

namespace platform {

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

void savePicture(HWND owner, Image image, UINT dpi) {
    const std::optional<SaveAs> to = askWhere(owner, wide(image.name));
    if (!to)
        return;
    try {
        std::string bytes;
        if (to->svg) {
            bytes = svg(image.make());
        } else if (const Raster raster(image.make(), dpi); raster) {
            bytes = png(raster);
        }
        const std::wstring where = L"The picture could not be saved as\n" + to->file + L"\n\n";
        if (bytes.empty())
            tell(owner, notSaved, where + L"It could not be drawn.");
        else if (const DWORD error = writeWhole(to->file, bytes))
            tell(owner, notSaved, where + reason(error));
    } catch (const std::bad_alloc &) {
        tell(owner, notSaved, L"There is not enough memory to save the picture as\n" + to->file);
    }
}

} // namespace platform
