// The interface between the host and every module (wizard). A module is an
// in-process component; the host reaches it only through IOndModule.
#pragma once

#include "ondrelo/Window.h"
#include "ondrelo/com.h"

inline constexpr IID IID_IOndModule =
    ondrelo::com::MakeGuid("{4A4DE760-95BD-4B24-8019-E0902391903F}");

// Operations in slot order after the three base ones. Statuses: negative =
// failure, S_OK, S_FALSE.
struct IOndModule : IUnknown {
    // Creates the module's wizard sheet, hidden, as a child of hwndParent;
    // rectInit is in the parent's client coordinates.
    virtual HRESULT Create(HWND hwndParent, RECT rectInit) = 0;
    virtual HRESULT Show() = 0;
    virtual HRESULT Hide() = 0;
    // Fits the sheet to the parent's current client area.
    virtual HRESULT Resize() = 0;
    virtual HRESULT Destroy() = 0;
    // *pstrName receives the module's display name (UTF-16, zero-terminated),
    // owned by the module object and valid while it lives.
    virtual HRESULT GetProperties(LPCOLESTR* pstrName) = 0;
    // *pbDMsg > 0 when the module consumed the queued message.
    virtual HRESULT IsDialogMessage(BOOL* pbDMsg, MSG* pmsg) = 0;

protected:
    ~IOndModule() = default;
};
