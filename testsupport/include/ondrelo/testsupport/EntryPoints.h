// Calls into a component library by its file path, as the registration tool
// and the component layer do.
#pragma once

#include "ondrelo/com.h"

namespace ondrelo::test {

// Loads the library, calls one of its exported status functions
// ("DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow") and
// unloads it again. A library or function that is missing fails the test
// and gives E_FAIL.
HRESULT CallEntry(const char* library, const char* entry);

// Calls an exported function returning long of a library that is already
// loaded (without loading it); fallback when it is not loaded.
long CallLoadedLong(const char* library, const char* entry, long fallback);

}  // namespace ondrelo::test
