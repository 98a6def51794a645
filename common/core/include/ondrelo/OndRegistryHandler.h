// Access to the product's values in the settings store, below the
// per-machine key "Software\Velmora\Ondrelo". No operation throws or shows a
// message; failures give an empty text or false.
#pragma once

#include <string>

#include "ondrelo/commoncore_export.h"

class ONDCORE_EXPORT COndRegistryHandler {
public:
    virtual ~COndRegistryHandler();

    static const char* const kProductKey;       // "Software\\Velmora\\Ondrelo"
    static const char* const kInstallationKey;  // kProductKey + "\\Installation"
    static const char* const kSettingsKey;      // kProductKey + "\\Settings"
    static const char* const kModulesKey;       // kProductKey + "\\Modules"

    // Folder of the shipped script files (Installation\scriptspath).
    static std::string GetScriptsPath();
    // Folder the user last copied a script file to (Settings\lastscriptpath).
    static std::string GetPreviousScriptCopyPath();
    static void SetScriptCopyPath(const std::string& path);
    // Reads a named string of the Settings key; false (value unchanged) when
    // the key or value is missing or does not fit in 260 bytes.
    static bool GetSettingsValue(const std::string& name, std::string& value);
    // Writes a named string of the Settings key, creating the key if needed.
    static bool SetSettingsValue(const std::string& name, const std::string& value);
};
