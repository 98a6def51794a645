// Apartments and the creation of registered classes.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "ondrelo/OndUtils.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace {

thread_local int t_initCount = 0;

struct SLibrary {
    void* handle = nullptr;
    ondrelo::com::PFN_DllGetClassObject getClassObject = nullptr;
    ondrelo::com::PFN_DllCanUnloadNow canUnloadNow = nullptr;
};

std::mutex& LibrariesMutex() {
    static std::mutex mutex;
    return mutex;
}

// Loaded libraries by the path they were registered with (resolved).
std::map<std::string, SLibrary>& Libraries() {
    static std::map<std::string, SLibrary> libraries;
    return libraries;
}

HRESULT Fail(HRESULT hr, const std::string& reason) {
    SetLastError(static_cast<std::uint32_t>(hr));
    TraceLastError(reason);
    return hr;
}

// The default value of CLSID\{guid}\InprocServer32 under the classes root.
HRESULT FindServerPath(REFCLSID rclsid, std::string& path, const std::string& what) {
    const std::string key = "CLSID\\" + ondrelo::com::GuidToString(rclsid) + "\\InprocServer32";
    ondrelo::registry::CKeyHolder hkey;
    const LONG status = RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, hkey.Out());
    if (status != ERROR_SUCCESS) {
        return Fail(REGDB_E_CLASSNOTREG, what + ": class not registered (" + key +
                                             " cannot be opened, status " + std::to_string(status) +
                                             ")");
    }
    std::string value;
    if (ondrelo::registry::ReadString(hkey.Get(), "", "", value)) {
        value.resize(std::strlen(value.c_str()));  // the path ends at its first zero
    }
    if (value.empty()) {
        return Fail(REGDB_E_CLASSNOTREG, what + ": " + key + " names no library");
    }
    path = value;
    return S_OK;
}

// Loads the library once and finds its entry points.
HRESULT LoadServer(const std::string& registered, SLibrary& out, const std::string& what) {
    char resolved[PATH_MAX];
    const bool exists = realpath(registered.c_str(), resolved) != nullptr;
    const std::string path = exists ? std::string(resolved) : registered;
    {
        std::lock_guard<std::mutex> lock(LibrariesMutex());
        auto found = Libraries().find(path);
        if (found != Libraries().end()) {
            out = found->second;
            return S_OK;
        }
    }
    if (!exists && registered.find('/') != std::string::npos) {
        SetLastError(static_cast<std::uint32_t>(errno));
        return Fail(CO_E_DLLNOTFOUND, what + ": library " + registered + " does not exist");
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        return Fail(exists ? CO_E_ERRORINDLL : CO_E_DLLNOTFOUND,
                    what + ": cannot load " + path + ": " + (why ? why : "unknown reason"));
    }
    SLibrary library;
    library.handle = handle;
    library.getClassObject =
        reinterpret_cast<ondrelo::com::PFN_DllGetClassObject>(dlsym(handle, "DllGetClassObject"));
    library.canUnloadNow =
        reinterpret_cast<ondrelo::com::PFN_DllCanUnloadNow>(dlsym(handle, "DllCanUnloadNow"));
    if (library.getClassObject == nullptr) {
        dlclose(handle);
        return Fail(CO_E_ERRORINDLL, what + ": " + path + " does not export DllGetClassObject");
    }
    std::lock_guard<std::mutex> lock(LibrariesMutex());
    auto inserted = Libraries().emplace(path, library);
    if (!inserted.second) {
        // Loaded meanwhile by another thread: keep the first handle.
        dlclose(handle);
    }
    out = inserted.first->second;
    return S_OK;
}

}  // namespace

HRESULT CoInitialize(void* /*pvReserved*/) {
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    // Libraries stay loaded until CoFreeUnusedLibraries or the process ends:
    // objects of the thread may still be alive in them.
    if (t_initCount > 0) {
        --t_initCount;
    }
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* /*pvReserved*/, REFIID riid,
                         void** ppv) {
    const std::string what = "class " + ondrelo::com::GuidToString(rclsid);
    if (ppv == nullptr) {
        return Fail(E_POINTER, what + ": no place for the result");
    }
    *ppv = nullptr;
    if (t_initCount == 0) {
        return Fail(CO_E_NOTINITIALIZED, what +
                                             ": the component library is not initialised on "
                                             "this thread");
    }
    if ((dwClsContext & CLSCTX_INPROC_SERVER) == 0) {
        return Fail(REGDB_E_CLASSNOTREG, what + ": only in-process servers are available");
    }
    std::string path;
    HRESULT hr = FindServerPath(rclsid, path, what);
    if (FAILED(hr)) {
        return hr;
    }
    SLibrary library;
    hr = LoadServer(path, library, what);
    if (FAILED(hr)) {
        return hr;
    }
    try {
        hr = library.getClassObject(rclsid, riid, ppv);
    } catch (...) {
        *ppv = nullptr;
        return Fail(CO_E_ERRORINDLL, what + ": DllGetClassObject of " + path + " threw");
    }
    if (FAILED(hr)) {
        *ppv = nullptr;
        return Fail(hr, what + ": DllGetClassObject of " + path + " refused");
    }
    return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                         void** ppv) {
    const std::string what = "class " + ondrelo::com::GuidToString(rclsid);
    if (ppv == nullptr) {
        return Fail(E_POINTER, what + ": no place for the result");
    }
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) {
        return hr;
    }
    if (factory == nullptr) {
        return Fail(E_UNEXPECTED, what + ": DllGetClassObject gave no factory");
    }
    try {
        hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    factory->Release();
    if (FAILED(hr)) {
        *ppv = nullptr;
        return Fail(hr, what + ": the class factory refused");
    }
    if (*ppv == nullptr) {
        return Fail(E_UNEXPECTED, what + ": the class factory gave no object");
    }
    return hr;
}

void CoFreeUnusedLibraries() {
    std::vector<std::pair<std::string, SLibrary>> candidates;
    {
        std::lock_guard<std::mutex> lock(LibrariesMutex());
        candidates.assign(Libraries().begin(), Libraries().end());
    }
    for (auto& [path, library] : candidates) {
        if (library.canUnloadNow == nullptr) {
            continue;
        }
        HRESULT hr = S_FALSE;
        try {
            hr = library.canUnloadNow();
        } catch (...) {
            hr = S_FALSE;
        }
        if (hr != S_OK) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(LibrariesMutex());
            Libraries().erase(path);
        }
        dlclose(library.handle);
    }
}

namespace ondrelo::com {

std::size_t LoadedLibraryCount() {
    std::lock_guard<std::mutex> lock(LibrariesMutex());
    return Libraries().size();
}

bool IsThreadInitialized() {
    return t_initCount > 0;
}

}  // namespace ondrelo::com
