#include "native.h"

#include <initguid.h> // the property identifiers below are defined here

#include <oleacc.h>

namespace platform {

namespace {

// How a live region's changes are announced: politely, after what is being read.
DEFINE_GUID(liveSetting, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58,
            0xeb);
constexpr long politely = 1;

// Windows' annotation service, which the standard accessible objects of the
// system controls consult; none when it cannot be had.
IAccPropServices *services() {
    static IAccPropServices *const service = [] {
        IAccPropServices *s = nullptr;
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void **>(&s))))
            s = nullptr;
        return s;
    }();
    return service;
}

} // namespace

void annotate(Native &n) {
    // Until the window first shows, the names wait: the frame then hands them
    // all over at once, so that the service's start-up does not hold up the
    // window's.
    const auto *frame = dynamic_cast<FrameNative *>(&n.root());
    const bool any = !n.accessibleName.empty() || !n.accessibleDescription.empty() || n.live;
    if (!n.hwnd || !frame || !frame->opened || (!any && !n.annotated))
        return;
    IAccPropServices *s = services();
    if (!s)
        return;
    const auto self = static_cast<DWORD>(OBJID_CLIENT);
    if (!n.accessibleName.empty())
        s->SetHwndPropStr(n.hwnd, self, CHILDID_SELF, PROPID_ACC_NAME, n.accessibleName.c_str());
    // A description taken away is cleared, so that the control's own shows again.
    if (!n.accessibleDescription.empty())
        s->SetHwndPropStr(n.hwnd, self, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                          n.accessibleDescription.c_str());
    else if (n.annotated)
        s->ClearHwndProps(n.hwnd, self, CHILDID_SELF, &PROPID_ACC_DESCRIPTION, 1);
    if (n.live) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = politely;
        s->SetHwndProp(n.hwnd, self, CHILDID_SELF, liveSetting, v);
    }
    n.annotated = true;
}

void annotateAll(Native &n) {
    annotate(n);
    for (Native *child : n.children)
        annotateAll(*child);
}

void forget(Native &n) {
    if (!n.hwnd || !n.annotated)
        return;
    n.annotated = false;
    if (IAccPropServices *s = services()) {
        const MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, liveSetting};
        s->ClearHwndProps(n.hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, props, 3);
    }
}

void Component::setAccessibleName(std::string_view name) {
    native_->accessibleName = wide(name);
    annotate(*native_);
}

void Component::setAccessibleDescription(std::string_view description) {
    std::wstring text = wide(description);
    if (text == native_->accessibleDescription)
        return;
    native_->accessibleDescription = std::move(text);
    annotate(*native_);
}

} // namespace platform
