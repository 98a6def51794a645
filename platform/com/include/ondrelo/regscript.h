// Registration scripts: a text description of the keys and values a
// component writes into the settings store when it is registered, and takes
// away when its registration is removed.
//
//   HKCR                                   root: HKCR / HKEY_CLASSES_ROOT,
//   {                                            HKLM / HKEY_LOCAL_MACHINE
//       NoRemove CLSID                     kept on removal
//       {
//           ForceRemove {GUID} = s 'Name'  deleted before it is written, and on removal
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// A key line may carry a default value; `val Name = s 'text'` and
// `val Name = d 5` (decimal or 0x hexadecimal) set named values. Names may
// be quoted; in a quoted text '' stands for one quote. %NAME% is replaced by
// the caller's variable NAME (letter case ignored), %% by one percent sign.
// `Delete Key` deletes a key on registration. Keywords ignore letter case.
//
// Registration creates what is missing and sets the values. Removal deletes
// ForceRemove keys with everything below them, deletes plain keys once they
// hold no sub keys (their values set by the script go when they stay), and
// leaves NoRemove keys and their values in place while it walks below them.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "ondrelo/com.h"

namespace ondrelo::com {

struct ONDCOM_EXPORT SCaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
using ReplacementMap = std::map<std::string, std::string, SCaseInsensitiveLess>;

// Runs a script for registration (registering = true) or removal. A script
// that cannot be parsed writes nothing and gives DISP_E_EXCEPTION; a store
// failure gives HRESULT_FROM_WIN32 of its status. On failure *error (if
// given) receives a readable reason, which is also recorded with
// TraceLastError.
ONDCOM_EXPORT HRESULT RunRegistrationScript(std::string_view script,
                                            const ReplacementMap& variables, bool registering,
                                            std::string* error = nullptr);

// Checks a script without touching the store.
ONDCOM_EXPORT HRESULT CheckRegistrationScript(std::string_view script,
                                              const ReplacementMap& variables,
                                              std::string* error = nullptr);

// A type library as the store knows it: TypeLib\{libid}\<major>.<minor>
// with the help text as default value, the library file under 0\linux,
// FLAGS and HELPDIR. No binary type library is involved.
struct STypeLibInfo {
    GUID libid{};
    unsigned major = 1;
    unsigned minor = 0;
    std::string helpText;  // "Popkin 1.0 Type Library"
};

ONDCOM_EXPORT HRESULT RegisterTypeLibrary(const STypeLibInfo& typeLib,
                                          const std::string& modulePath);
// Removes this version's key, and the library's key when no version is left.
ONDCOM_EXPORT HRESULT UnregisterTypeLibrary(const STypeLibInfo& typeLib);

}  // namespace ondrelo::com
