// Numbered string tables. Each library has its own table; a lookup searches
// the table of the module that is being called (the innermost
// CModuleResourceScope) first and Common's own table second.
#pragma once

#include <map>
#include <string>

#include "ondrelo/commoncore_export.h"

namespace ondrelo {

using StringTable = std::map<unsigned, std::string>;

// What a module library carries for lookups by number. Its Qt resources
// (icons, bitmaps, help pages) are compiled into the library and found by
// their prefix alone, whichever file the library was loaded from.
struct SModuleResources {
    std::string name;                        // library name, e.g. "Formwarden"
    const StringTable* strings = nullptr;    // its string table (may be null)
    const char* qtResourcePrefix = nullptr;  // prefix of its Qt resources, ":/<one folder>"
};

// Makes a module's resources the first place of lookups while it lives.
class ONDCORE_EXPORT CModuleResourceScope {
public:
    explicit CModuleResourceScope(const SModuleResources* module);
    ~CModuleResourceScope();
    CModuleResourceScope(const CModuleResourceScope&) = delete;
    CModuleResourceScope& operator=(const CModuleResourceScope&) = delete;

private:
    const SModuleResources* m_previous;
};

// The module whose resources are searched first; null outside any scope.
ONDCORE_EXPORT const SModuleResources* CurrentModuleResources();
// Common's own resources.
ONDCORE_EXPORT const SModuleResources& CommonResources();

// Looks a text up by number; false when neither table has it.
ONDCORE_EXPORT bool LoadResString(unsigned id, std::string& text);
// Same, giving an empty text when not found.
ONDCORE_EXPORT std::string ResString(unsigned id);

}  // namespace ondrelo
