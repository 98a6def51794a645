// ondrelo-regsvr [-u] LIBRARY...
// Registers component libraries in the settings store (DllRegisterServer),
// or removes their registration with -u (DllUnregisterServer).
#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ondrelo/OndUtils.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ondrelo-regsvr [-u] LIBRARY...\n"
                 "  Registers each component library in the settings store\n"
                 "  (ONDRELO_REGISTRY or the built-in default); -u removes the registration.\n");
    return 2;
}

std::string Status(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    return std::string(code) + " (" +
           ondrelo::utils::DescribeError(static_cast<std::uint32_t>(hr)) + ")";
}

// Loads one library and runs its entry point; prints what happened.
bool Process(const std::string& library, bool unregister) {
    char resolved[PATH_MAX];
    if (realpath(library.c_str(), resolved) == nullptr) {
        std::fprintf(stderr, "ondrelo-regsvr: %s: %s\n", library.c_str(), std::strerror(errno));
        return false;
    }
    dlerror();
    void* handle = dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        std::fprintf(stderr, "ondrelo-regsvr: cannot load %s: %s\n", resolved,
                     why ? why : "unknown reason");
        return false;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto function = reinterpret_cast<HRESULT (*)()>(dlsym(handle, entry));
    if (function == nullptr) {
        std::fprintf(stderr, "ondrelo-regsvr: %s does not export %s\n", resolved, entry);
        dlclose(handle);
        return false;
    }
    HRESULT hr = E_UNEXPECTED;
    try {
        hr = function();
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    // Libraries stay loaded until the end: their static objects may hold
    // framework state that is not meant to be torn down early.
    if (FAILED(hr)) {
        std::fprintf(stderr, "ondrelo-regsvr: %s in %s failed with status %s\n", entry, resolved,
                     Status(hr).c_str());
        // The library recorded why: which script line or key, and what the
        // store said about its file.
        const auto records = ondrelo::utils::TraceRecords();
        for (auto record = records.rbegin(); record != records.rend(); ++record) {
            if (record->error == static_cast<std::uint32_t>(hr) && !record->reason.empty()) {
                std::fprintf(stderr, "ondrelo-regsvr:   %s\n", record->reason.c_str());
                break;
            }
        }
        return false;
    }
    std::printf("%s %s in %s\n", resolved, unregister ? "unregistered" : "registered",
                ondrelo::registry::StorePath().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    std::vector<std::string> libraries;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-u" || arg == "/u") {
            unregister = true;
        } else if (arg == "-h" || arg == "--help") {
            Usage();
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "ondrelo-regsvr: unknown option %s\n", arg.c_str());
            return Usage();
        } else {
            libraries.push_back(arg);
        }
    }
    if (libraries.empty()) {
        return Usage();
    }
    CoInitialize(nullptr);
    bool ok = true;
    for (const std::string& library : libraries) {
        ok = Process(library, unregister) && ok;
    }
    CoUninitialize();
    ondrelo::registry::CloseStore();
    return ok ? 0 : 1;
}
