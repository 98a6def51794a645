#include <dlfcn.h>

#include <climits>
#include <cstdlib>

#include "ondrelo/OndUtils.h"
#include "ondrelo/comserver.h"
#include "ondrelo/registry.h"

namespace ondrelo::com {

COndServerModule::COndServerModule(std::vector<SClassEntry> classes, STypeLibInfo typeLib)
    : m_classes(std::move(classes)), m_typeLib(std::move(typeLib)) {}

long COndServerModule::Lock() {
    return ++m_lockCount;
}

long COndServerModule::Unlock() {
    return --m_lockCount;
}

long COndServerModule::GetLockCount() const {
    return m_lockCount.load();
}

void COndServerModule::RunInContext(const std::function<void()>& body) const {
    if (m_context) {
        m_context(body);
    } else {
        body();
    }
}

HRESULT COndServerModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    for (const SClassEntry& entry : m_classes) {
        if (!IsEqualCLSID(entry.clsid, rclsid)) {
            continue;
        }
        auto* factory = new (std::nothrow) CComClassFactory(*this, entry);
        if (factory == nullptr) {
            return E_OUTOFMEMORY;
        }
        factory->AddRef();
        const HRESULT hr = factory->QueryInterface(riid, ppv);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT COndServerModule::CanUnloadNow() {
    HRESULT hr = S_FALSE;
    RunInContext([&] {
        const bool frameworkBusy = m_probe && m_probe();
        hr = !frameworkBusy && m_lockCount.load() == 0 ? S_OK : S_FALSE;
    });
    return hr;
}

std::string COndServerModule::ModulePath() const {
    if (!m_modulePath.empty()) {
        return m_modulePath;
    }
    Dl_info info{};
    if (dladdr(static_cast<const void*>(this), &info) == 0 || info.dli_fname == nullptr) {
        return std::string();
    }
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) != nullptr) {
        return resolved;
    }
    return info.dli_fname;
}

HRESULT COndServerModule::RegisterServer() {
    const std::string path = ModulePath();
    if (path.empty()) {
        SetLastError(static_cast<std::uint32_t>(E_UNEXPECTED));
        TraceLastError("registration: the library's own path is unknown");
        return E_UNEXPECTED;
    }
    ReplacementMap variables = m_extraVariables;
    variables["MODULE"] = path;
    HRESULT hr = S_OK;
    RunInContext([&] {
        for (const SClassEntry& entry : m_classes) {
            if (entry.registrationScript == nullptr) {
                continue;
            }
            hr = RunRegistrationScript(entry.registrationScript, variables, true);
            if (FAILED(hr)) {
                return;
            }
        }
        if (!(m_typeLib.libid == GUID_NULL)) {
            hr = RegisterTypeLibrary(m_typeLib, path);
        }
    });
    // The registration is complete in the store file itself, not only in
    // its write-ahead log.
    ondrelo::registry::CloseStore();
    return hr;
}

HRESULT COndServerModule::UnregisterServer() {
    ReplacementMap variables = m_extraVariables;
    variables["MODULE"] = ModulePath();
    HRESULT result = S_OK;
    RunInContext([&] {
        for (const SClassEntry& entry : m_classes) {
            if (entry.registrationScript == nullptr) {
                continue;
            }
            const HRESULT hr = RunRegistrationScript(entry.registrationScript, variables, false);
            if (FAILED(hr) && SUCCEEDED(result)) {
                result = hr;
            }
        }
        if (!(m_typeLib.libid == GUID_NULL)) {
            const HRESULT hr = UnregisterTypeLibrary(m_typeLib);
            if (FAILED(hr) && SUCCEEDED(result)) {
                result = hr;
            }
        }
    });
    ondrelo::registry::CloseStore();
    return result;
}

CComClassFactory::CComClassFactory(COndServerModule& server, const SClassEntry& entry)
    : CServerLock(server), m_entry(entry) {}

HRESULT CComClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CComClassFactory::AddRef() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return ++m_ref;
}

ULONG CComClassFactory::Release() {
    ULONG left = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        left = --m_ref;
    }
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT CComClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (m_entry.createInstance == nullptr) {
        if (ppv != nullptr) {
            *ppv = nullptr;
        }
        return E_UNEXPECTED;
    }
    return m_entry.createInstance(Server(), pUnkOuter, riid, ppv);
}

HRESULT CComClassFactory::LockServer(BOOL fLock) {
    if (fLock) {
        Server().Lock();
    } else {
        Server().Unlock();
    }
    return S_OK;
}

}  // namespace ondrelo::com
