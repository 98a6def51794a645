// What an in-process server library needs to serve its classes: the class
// table, the library's count of live objects and locks, object wrappers for
// plain and aggregated instances, the class factory and the four exported
// entry points.
//
// A class T for these wrappers derives from its interfaces (the first is its
// primary interface), leaves QueryInterface/AddRef/Release to the wrappers
// and provides its interface table:
//
//     void* GetInterface(REFIID riid);  // IID_IUnknown -> primary; null if not held
//
// A library defines one COndServerModule object at namespace scope and
// exports the entry points with ONDRELO_COM_SERVER_ENTRY_POINTS(object).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "ondrelo/com.h"
#include "ondrelo/regscript.h"

namespace ondrelo::com {

class COndServerModule;

// One creatable class of a library.
struct SClassEntry {
    CLSID clsid{};
    // Creates a new object (aggregated when outer is given) and asks it for riid.
    HRESULT (*createInstance)
    (COndServerModule& server, IUnknown* outer, REFIID riid, void** ppv) = nullptr;
    // The class's registration script; null when the class registers nothing.
    const char* registrationScript = nullptr;
};

class ONDCOM_EXPORT COndServerModule {
public:
    // typeLib with a null libid: the library registers no type library.
    COndServerModule(std::vector<SClassEntry> classes, STypeLibInfo typeLib);
    COndServerModule(const COndServerModule&) = delete;
    COndServerModule& operator=(const COndServerModule&) = delete;

    // The one count of live objects and explicit locks; atomic.
    long Lock();
    long Unlock();
    long GetLockCount() const;

    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
    // S_OK when no object, lock or framework object of the library is alive.
    HRESULT CanUnloadNow();
    // Runs every class's script with %MODULE% = ModulePath() (plus the extra
    // variables), then registers the type library. Stops at the first failure.
    HRESULT RegisterServer();
    // Removes every class's registration and the type library; goes on after
    // a failure and returns the first one.
    HRESULT UnregisterServer();

    // Full path of the library file that holds this object.
    std::string ModulePath() const;
    // For tests: registers under another path.
    void SetModulePath(std::string path) { m_modulePath = std::move(path); }
    ReplacementMap& ExtraVariables() { return m_extraVariables; }

    // A toolkit layer reports objects of its own still alive in the library
    // (windows, timers); while it does the library stays loaded.
    void SetOutstandingObjectsProbe(std::function<bool()> probe) { m_probe = std::move(probe); }
    // Runs every call into the library (entry points, module operations)
    // inside the library's own context, e.g. its resource lookup.
    using CallContext = std::function<void(const std::function<void()>&)>;
    void SetCallContext(CallContext context) { m_context = std::move(context); }
    void RunInContext(const std::function<void()>& body) const;

    const std::vector<SClassEntry>& Classes() const { return m_classes; }
    const STypeLibInfo& TypeLib() const { return m_typeLib; }

private:
    std::vector<SClassEntry> m_classes;
    STypeLibInfo m_typeLib;
    std::atomic<long> m_lockCount{0};
    std::string m_modulePath;
    ReplacementMap m_extraVariables;
    std::function<bool()> m_probe;
    CallContext m_context;
};

// Keeps the library's count raised for as long as it lives. As the first
// base of a wrapper it is destroyed last, after the object itself.
class CServerLock {
public:
    explicit CServerLock(COndServerModule& server) : m_server(server) { m_server.Lock(); }
    ~CServerLock() { m_server.Unlock(); }
    CServerLock(const CServerLock&) = delete;
    CServerLock& operator=(const CServerLock&) = delete;
    COndServerModule& Server() const { return m_server; }

private:
    COndServerModule& m_server;
};

// A stand-alone object with its own (single-threaded) reference count.
template <class T>
class CComObject final : private CServerLock, public T {
public:
    template <class... Args>
    explicit CComObject(COndServerModule& server, Args&&... args)
        : CServerLock(server), T(std::forward<Args>(args)...) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        void* itf = T::GetInterface(riid);
        *ppv = itf;
        if (itf == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_ref; }
    ULONG Release() override {
        const ULONG left = --m_ref;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    ULONG m_ref = 0;
};

// The inner part of an aggregated object: every interface it hands out
// delegates its base operations to the outer object.
template <class T>
class CComContainedObject final : public T {
public:
    template <class... Args>
    explicit CComContainedObject(IUnknown* outer, Args&&... args)
        : T(std::forward<Args>(args)...), m_outer(outer) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        return m_outer->QueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return m_outer->AddRef(); }
    ULONG Release() override { return m_outer->Release(); }

    // Interface table lookup for the aggregate's own base interface.
    HRESULT InnerQuery(REFIID riid, void** ppv) {
        void* itf = T::GetInterface(riid);
        *ppv = itf;
        if (itf == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();  // reaches the outer object, which owns the aggregate
        return S_OK;
    }

private:
    IUnknown* m_outer;
};

// An aggregated instance: its own base interface answers only to
// IID_IUnknown and hands every other request to the class's interface table.
template <class T>
class CComAggObject final : private CServerLock, public IUnknown {
public:
    template <class... Args>
    CComAggObject(COndServerModule& server, IUnknown* outer, Args&&... args)
        : CServerLock(server), m_contained(outer, std::forward<Args>(args)...) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return m_contained.InnerQuery(riid, ppv);
    }
    ULONG AddRef() override { return ++m_ref; }
    ULONG Release() override {
        const ULONG left = --m_ref;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    T& Contained() { return m_contained; }

private:
    ULONG m_ref = 0;
    CComContainedObject<T> m_contained;
};

// The class factory's CreateInstance for class T.
template <class T>
HRESULT CreateObjectInstance(COndServerModule& server, IUnknown* outer, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown)) {
        return CLASS_E_NOAGGREGATION;
    }
    try {
        if (outer != nullptr) {
            auto* object = new (std::nothrow) CComAggObject<T>(server, outer);
            if (object == nullptr) {
                return E_OUTOFMEMORY;
            }
            const HRESULT hr = object->QueryInterface(riid, ppv);
            if (FAILED(hr)) {
                delete object;
            }
            return hr;
        }
        auto* object = new (std::nothrow) CComObject<T>(server);
        if (object == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = object->QueryInterface(riid, ppv);
        if (FAILED(hr)) {
            delete object;
        }
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// The factory handed out by DllGetClassObject: makes a new object of its
// class for every request. Its own count is guarded by a mutex.
class ONDCOM_EXPORT CComClassFactory final : private CServerLock, public IClassFactory {
public:
    CComClassFactory(COndServerModule& server, const SClassEntry& entry);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT LockServer(BOOL fLock) override;

private:
    ~CComClassFactory() = default;

    SClassEntry m_entry;
    std::mutex m_mutex;
    ULONG m_ref = 0;
};

}  // namespace ondrelo::com

// Defines the four entry points of the library, exported by name.
#define ONDRELO_COM_SERVER_ENTRY_POINTS(server)                                       \
    extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(      \
        REFCLSID rclsid, REFIID riid, void** ppv) {                                   \
        return (server).GetClassObject(rclsid, riid, ppv);                            \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {     \
        return (server).CanUnloadNow();                                               \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {   \
        return (server).RegisterServer();                                             \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() { \
        return (server).UnregisterServer();                                           \
    }
