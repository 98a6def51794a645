// The product's few persistent values in the per-machine settings store.
#include "ondrelo/OndRegistryHandler.h"

#include "ondrelo/registry.h"

namespace {

// Reads are made into a buffer of this many bytes, the zero included; a
// longer value counts as unreadable.
constexpr DWORD kReadBufferSize = 260;

// Reads a string value of a key below the local-machine root; false, with
// value untouched, when the key or value is missing, is not a string or does
// not fit the read buffer.
bool ReadValue(const char* key, const std::string& name, std::string& value) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    char buffer[kReadBufferSize];
    DWORD size = kReadBufferSize;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS || type != REG_SZ || size == 0) {
        return false;
    }
    value.assign(buffer, size - 1);
    return true;
}

std::string ReadOrEmpty(const char* key, const char* name) {
    std::string value;
    return ReadValue(key, name, value) ? value : std::string();
}

}  // namespace

const char* const COndRegistryHandler::kProductKey = "Software\\Velmora\\Ondrelo";
const char* const COndRegistryHandler::kInstallationKey =
    "Software\\Velmora\\Ondrelo\\Installation";
const char* const COndRegistryHandler::kSettingsKey = "Software\\Velmora\\Ondrelo\\Settings";
const char* const COndRegistryHandler::kModulesKey = "Software\\Velmora\\Ondrelo\\Modules";

COndRegistryHandler::~COndRegistryHandler() = default;

std::string COndRegistryHandler::GetScriptsPath() {
    return ReadOrEmpty(kInstallationKey, "scriptspath");
}

std::string COndRegistryHandler::GetPreviousScriptCopyPath() {
    return ReadOrEmpty(kSettingsKey, "lastscriptpath");
}

void COndRegistryHandler::SetScriptCopyPath(const std::string& path) {
    SetSettingsValue("lastscriptpath", path);
}

bool COndRegistryHandler::GetSettingsValue(const std::string& name, std::string& value) {
    return ReadValue(kSettingsKey, name, value);
}

bool COndRegistryHandler::SetSettingsValue(const std::string& name, const std::string& value) {
    // Text ends at its first zero: such a value would not read back as given.
    if (name.find('\0') != std::string::npos || value.find('\0') != std::string::npos) {
        return false;
    }
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegSetValueExA(handle, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}
