// A bitmap made into a PNG file's bytes by GDI+'s own encoder, which comes
// with Windows; what GDI+ lends is given back however the encoding ends.
#include "image.h"
#include "system_libraries.h"

namespace platform {

std::string png(const Raster &raster) {
    using namespace Gdiplus;
    const GdiPlus *gdiPlus = GdiPlus::get();
    if (!gdiPlus)
        return {};
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

} // namespace platform
