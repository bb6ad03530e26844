// GDI+ and the common dialogs, which come with Windows, loaded from its own
// folder the first time a picture is copied or saved, so that the program
// starts without them. A function that cannot be had is null.
#pragma once

#include "native.h"

#include <commdlg.h>
#include <objidl.h>
// GDI+'s headers use min and max as Windows' macros, which are off here.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace platform {

// What makes a PNG; null where any of it is missing.
struct GdiPlus {
    decltype(&Gdiplus::GdiplusStartup) startup;
    decltype(&Gdiplus::GdiplusShutdown) shutdown;
    decltype(&Gdiplus::DllExports::GdipGetImageEncodersSize) encodersSize;
    decltype(&Gdiplus::DllExports::GdipGetImageEncoders) encoders;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP) fromBitmap;
    decltype(&Gdiplus::DllExports::GdipSaveImageToStream) save;
    decltype(&Gdiplus::DllExports::GdipDisposeImage) dispose;

    static const GdiPlus *get();
};

// The dialog that asks where to save; null where it is missing.
struct Dialogs {
    decltype(&GetSaveFileNameW) save;
    decltype(&CommDlgExtendedError) error;

    static const Dialogs *get();
};

} // namespace platform
