// The module object that every module library reuses around its wizard
// sheet. The sheet is reached through IModuleSheet, made by the module's
// descriptor, so that the reference counting and the IOndModule contract
// are free of any window toolkit; the Qt layer supplies the real sheet.
#pragma once

#include <memory>
#include <string>

#include "ondrelo/OndModule.h"
#include "ondrelo/Resources.h"
#include "ondrelo/comserver.h"
#include "ondrelo/ondmodule_export.h"

namespace ondrelo {

// A module's wizard sheet as the module object sees it. The holder outlives
// the sheet window: the window may go first, destroyed with its parent, and
// the holder must then report it gone and not touch it again.
class ONDMODULE_EXPORT IModuleSheet {
public:
    virtual ~IModuleSheet();
    // Creates the sheet window, hidden, as a child of parent, at rect and
    // sized to the parent's client area. False when it could not.
    virtual bool Create(HWND parent, const RECT& rect) = 0;
    // True while the sheet window exists.
    virtual bool IsWindowAlive() const = 0;
    virtual void ShowWindow(bool show) = 0;
    // Fits the sheet to the parent's current client area.
    virtual void OnParentResize() = 0;
    // Destroys the sheet window.
    virtual void DestroyWindow() = 0;
};

// What differs from one module to the next.
struct SModuleDescriptor {
    const char* displayName = "";                 // 8-bit (UTF-8) display name
    const SModuleResources* resources = nullptr;  // switched in for every call; may be null
    std::unique_ptr<IModuleSheet> (*createSheet)() = nullptr;
};

// The IOndModule implementation. Concrete classes are made by the server
// wrappers (CComObject / CComAggObject); derive to answer more interfaces.
class ONDMODULE_EXPORT COndModuleObject : public IOndModule {
public:
    explicit COndModuleObject(const SModuleDescriptor& descriptor);
    virtual ~COndModuleObject();
    COndModuleObject(const COndModuleObject&) = delete;
    COndModuleObject& operator=(const COndModuleObject&) = delete;

    HRESULT Create(HWND hwndParent, RECT rectInit) override;
    HRESULT Show() override;
    HRESULT Hide() override;
    HRESULT Resize() override;
    HRESULT Destroy() override;
    HRESULT GetProperties(LPCOLESTR* pstrName) override;
    HRESULT IsDialogMessage(BOOL* pbDMsg, MSG* pmsg) override;

    // Interface table: IID_IUnknown and IID_IOndModule, then QueryExtraInterface.
    void* GetInterface(REFIID riid);

    const SModuleDescriptor& Descriptor() const { return m_descriptor; }
    IModuleSheet* Sheet() const { return m_sheet.get(); }

    // The name buffer's size in UTF-16 units, terminator included.
    static constexpr int kNameBufferSize = 256;

protected:
    virtual void* QueryExtraInterface(REFIID riid);

private:
    void DestroySheet();

    SModuleDescriptor m_descriptor;
    WCHAR m_name[kNameBufferSize] = {};
    std::unique_ptr<IModuleSheet> m_sheet;
};

// A module object that answers one more interface, TExtra with identifier
// ExtraIID. TExtra's own operations are implemented by the derived class.
template <class TExtra, IID ExtraIID>
class COndModuleObjectWith : public COndModuleObject, public TExtra {
public:
    using COndModuleObject::COndModuleObject;

protected:
    void* QueryExtraInterface(REFIID riid) override {
        return IsEqualIID(riid, ExtraIID) ? static_cast<TExtra*>(this) : nullptr;
    }
};

// An automation interface without members of its own: the dispatch
// operations exist for the slot layout and describe nothing.
template <class I>
class CDispatchStub : public I {
public:
    HRESULT GetTypeInfoCount(UINT* pctinfo) override {
        if (pctinfo == nullptr) {
            return E_POINTER;
        }
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo != nullptr) {
            *ppTInfo = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, std::uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                   UINT*) override {
        return E_NOTIMPL;
    }
};

// A module class with nothing but its descriptor: for the class table,
// SClassEntry{clsid, &com::CreateObjectInstance<CModuleClass<kDescriptor>>, script}.
template <const SModuleDescriptor& D>
class CModuleClass : public COndModuleObject {
public:
    CModuleClass() : COndModuleObject(D) {}
};

// Converts UTF-8 to UTF-16 into a buffer of `size` units, always
// terminated; stops before a character that does not fit. Returns the
// number of units written without the terminator.
ONDMODULE_EXPORT int Utf8ToUtf16(const std::string& text, WCHAR* buffer, int size);
// Converts UTF-16 to UTF-8, at most maxBytes bytes, cut at a character boundary.
ONDMODULE_EXPORT std::string Utf16ToUtf8(LPCOLESTR text, std::size_t maxBytes);

// Runs body in the library's resource context: the module's resources
// first for every lookup (hook for COndServerModule::SetCallContext).
ONDMODULE_EXPORT com::COndServerModule::CallContext ResourceContext(const SModuleResources* res);

}  // namespace ondrelo
