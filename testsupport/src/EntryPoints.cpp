#include "ondrelo/testsupport/EntryPoints.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace ondrelo::test {

HRESULT CallEntry(const char* library, const char* entry) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        ADD_FAILURE() << dlerror();
        return E_FAIL;
    }
    auto function = reinterpret_cast<HRESULT (*)()>(dlsym(handle, entry));
    if (function == nullptr) {
        ADD_FAILURE() << library << " has no entry point " << entry;
    }
    const HRESULT hr = function ? function() : E_FAIL;
    dlclose(handle);
    return hr;
}

long CallLoadedLong(const char* library, const char* entry, long fallback) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return fallback;
    }
    auto function = reinterpret_cast<long (*)()>(dlsym(handle, entry));
    const long value = function ? function() : -1;
    dlclose(handle);
    return value;
}

}  // namespace ondrelo::test
