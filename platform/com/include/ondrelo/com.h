// A small in-process component model: 128-bit class and interface
// identifiers, status codes, the base interface and class factories,
// per-thread initialisation and creation of registered classes from shared
// libraries found through the settings store's classes root
// (CLSID\{guid}\InprocServer32, default value = the library's path).
//
// Interfaces are C++ abstract classes; their virtual functions are declared
// in slot order and they have no virtual destructor, so the table of an
// interface holds exactly its operations. Objects are destroyed through
// Release only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ondrelo/ondcom_export.h"

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using UINT = std::uint32_t;
using WCHAR = char16_t;
using LPOLESTR = WCHAR*;
using LPCOLESTR = const WCHAR*;

#ifndef TRUE
inline constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
inline constexpr BOOL FALSE = 0;
#endif

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
            return false;
        }
        for (int i = 0; i < 8; ++i) {
            if (a.Data4[i] != b.Data4[i]) {
                return false;
            }
        }
        return true;
    }
};
using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const CLSID&;
using REFIID = const IID&;
using LPCLSID = CLSID*;

inline constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
inline constexpr bool IsEqualIID(REFIID a, REFIID b) {
    return a == b;
}
inline constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return a == b;
}

namespace ondrelo::com {

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal digits of
// either case, braces required). False, with guid untouched, for anything else.
constexpr bool ParseGuid(std::string_view text, GUID& guid) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') {
        return false;
    }
    constexpr int dashes[] = {9, 14, 19, 24};
    for (int pos : dashes) {
        if (text[pos] != '-') {
            return false;
        }
    }
    auto hex = [&](int from, int count, std::uint64_t& out) {
        out = 0;
        for (int i = from; i < from + count; ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) {
                return false;
            }
            out = out * 16 + static_cast<std::uint64_t>(digit);
        }
        return true;
    };
    GUID result;
    std::uint64_t value = 0;
    if (!hex(1, 8, value)) {
        return false;
    }
    result.Data1 = static_cast<std::uint32_t>(value);
    if (!hex(10, 4, value)) {
        return false;
    }
    result.Data2 = static_cast<std::uint16_t>(value);
    if (!hex(15, 4, value)) {
        return false;
    }
    result.Data3 = static_cast<std::uint16_t>(value);
    constexpr int bytes[] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!hex(bytes[i], 2, value)) {
            return false;
        }
        result.Data4[i] = static_cast<std::uint8_t>(value);
    }
    guid = result;
    return true;
}

// An identifier written in the source; a malformed text does not compile.
consteval GUID MakeGuid(std::string_view text) {
    GUID guid;
    if (!ParseGuid(text, guid)) {
        throw "malformed GUID literal";
    }
    return guid;
}

// "{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}": braces, upper-case hexadecimal.
ONDCOM_EXPORT std::string GuidToString(REFGUID guid);

}  // namespace ondrelo::com

inline constexpr GUID GUID_NULL{};

// Status codes: negative = failure.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT REGDB_E_READREGDB = static_cast<HRESULT>(0x80040150u);
inline constexpr HRESULT REGDB_E_WRITEREGDB = static_cast<HRESULT>(0x80040151u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
inline constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9u);
// A registration script that cannot be parsed.
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
// A settings-store status as a component status.
inline constexpr HRESULT HRESULT_FROM_WIN32(std::int32_t code) {
    return code <= 0
               ? static_cast<HRESULT>(code)
               : static_cast<HRESULT>((static_cast<std::uint32_t>(code) & 0xFFFFu) | 0x80070000u);
}

// Class contexts. Only in-process servers exist here; the others are
// accepted in a context mask and ignored.
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC | CLSCTX_LOCAL_SERVER;

inline constexpr IID IID_IUnknown =
    ondrelo::com::MakeGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr IID IID_IClassFactory =
    ondrelo::com::MakeGuid("{00000001-0000-0000-C000-000000000046}");
inline constexpr IID IID_IDispatch =
    ondrelo::com::MakeGuid("{00020400-0000-0000-C000-000000000046}");

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};

// Automation base interface. Nothing here uses late binding; the operations
// exist so that automation interfaces keep their slot layout. The argument
// records are opaque.
struct ITypeInfo;
struct DISPPARAMS;
struct VARIANT;
struct EXCEPINFO;
using DISPID = std::int32_t;
using LCID = DWORD;

struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                  DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           UINT* puArgErr) = 0;

protected:
    ~IDispatch() = default;
};

// Parses the braced form. Failure (null text, wrong shape, bad digit) gives
// CO_E_CLASSSTRING and GUID_NULL in *pclsid; a null pclsid gives E_INVALIDARG.
ONDCOM_EXPORT HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
ONDCOM_EXPORT HRESULT CLSIDFromString(const char* lpsz, LPCLSID pclsid);
// Writes the braced upper-case form with its terminating zero; returns the
// number of characters written including the zero, or 0 when cchMax < 39.
ONDCOM_EXPORT int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);

// Per-thread initialisation (single-threaded apartment), counted: the first
// call on a thread gives S_OK, every further one S_FALSE; each successful
// call needs one CoUninitialize.
ONDCOM_EXPORT HRESULT CoInitialize(void* pvReserved);
ONDCOM_EXPORT void CoUninitialize();

// Creates an object of a registered class. Fails with a status, never
// throws: CO_E_NOTINITIALIZED on a thread that did not initialise,
// REGDB_E_CLASSNOTREG when the class has no in-process server entry,
// CO_E_DLLNOTFOUND when the library file does not exist, CO_E_ERRORINDLL
// when it cannot be loaded or lacks DllGetClassObject, else what the
// library's factory returns (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE, ...).
// Every failure is recorded with TraceLastError.
ONDCOM_EXPORT HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext,
                                       REFIID riid, void** ppv);
// Hands out the class factory (or another interface of the class object).
ONDCOM_EXPORT HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved,
                                       REFIID riid, void** ppv);
// Unloads every loaded library whose DllCanUnloadNow answers S_OK.
ONDCOM_EXPORT void CoFreeUnusedLibraries();

namespace ondrelo::com {

// Signatures of the four entry points an in-process server library exports.
using PFN_DllGetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
using PFN_DllCanUnloadNow = HRESULT (*)();
using PFN_DllRegisterServer = HRESULT (*)();
using PFN_DllUnregisterServer = HRESULT (*)();

// Number of libraries loaded by CoGetClassObject and not yet unloaded.
ONDCOM_EXPORT std::size_t LoadedLibraryCount();
// True when the calling thread has initialised the component library.
ONDCOM_EXPORT bool IsThreadInitialized();

// Releases an interface pointer and clears it.
template <class T>
void SafeRelease(T*& p) {
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

}  // namespace ondrelo::com
