// A hierarchical settings store with a registry-style API, kept in one
// SQLite database file per machine. Key and value names compare without
// regard to letter case; a value keeps the type it was written with.
//
// The store file is the one named by the environment variable
// ONDRELO_REGISTRY, or else the default fixed when the product was built.
// A store that cannot be opened or is not a database makes every read fail
// and every write fail; nothing here throws or aborts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ondrelo/ondregistry_export.h"

using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = unsigned char;
using REGSAM = std::uint32_t;

struct OndRegKey;
using HKEY = OndRegKey*;

// Predefined roots. They need not be opened or closed.
ONDREGISTRY_EXPORT extern const HKEY HKEY_CLASSES_ROOT;
ONDREGISTRY_EXPORT extern const HKEY HKEY_LOCAL_MACHINE;

// Status codes.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;  // key or value missing
inline constexpr LONG ERROR_ACCESS_DENIED = 5;   // no rights, or key opened read-only
inline constexpr LONG ERROR_INVALID_HANDLE = 6;  // bad or closed key handle
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;      // caller's buffer too small
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;  // enumeration past the end
inline constexpr LONG ERROR_CANTOPEN = 1011;      // the store cannot be opened
inline constexpr LONG ERROR_CANTWRITE = 1013;     // the store cannot be written

// Access rights.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;

// The deepest a key may lie below its root. Creating a key deeper than this
// gives ERROR_INVALID_PARAMETER and creates nothing.
inline constexpr int kMaxKeyDepth = 512;

// Key paths use backslashes as separators ("Software\\Velmora\\Ondrelo").
// An empty sub key opens a new handle to the same key.
ONDREGISTRY_EXPORT LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                      HKEY* result);
// Opens the key, creating it and every missing parent first. *disposition
// (may be null) receives 1 when the key was created, 2 when it existed.
ONDREGISTRY_EXPORT LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved,
                                        char* className, DWORD options, REGSAM access,
                                        const void* security, HKEY* result, DWORD* disposition);
ONDREGISTRY_EXPORT LONG RegCloseKey(HKEY key);

// Reads a value; a null or empty name reads the key's default value.
// type may be null. data may be null to ask only for the size. *dataSize is
// the buffer size on entry and the size of the value on return (strings count
// their terminating zero). A buffer that is too small gives ERROR_MORE_DATA
// and leaves the buffer untouched.
ONDREGISTRY_EXPORT LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved,
                                         DWORD* type, BYTE* data, DWORD* dataSize);
// Writes a value of type REG_SZ (data: zero-terminated text, size counting
// the zero or not) or REG_DWORD (data: four bytes).
ONDREGISTRY_EXPORT LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                                       const BYTE* data, DWORD dataSize);
// Names the sub key at the given index (in order of name, without regard to
// case) into name; *nameSize is the buffer size in characters on entry and the
// name's length without the zero on return. ERROR_NO_MORE_ITEMS past the end,
// ERROR_MORE_DATA when the name does not fit.
ONDREGISTRY_EXPORT LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize,
                                      DWORD* reserved, char* className, DWORD* classSize,
                                      void* lastWriteTime);
// Names the value at the given index (same order and name buffer rules as
// RegEnumKeyExA; the default value has the empty name) and hands out its type
// and data as RegQueryValueExA does.
ONDREGISTRY_EXPORT LONG RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* valueNameSize,
                                      DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
ONDREGISTRY_EXPORT LONG RegDeleteValueA(HKEY key, const char* valueName);
// Deletes the sub key (or, for an empty name, the key's contents) with all
// its sub keys and values, in one transaction.
ONDREGISTRY_EXPORT LONG RegDeleteTreeA(HKEY key, const char* subKey);
// Deletes a sub key that has no sub keys of its own.
ONDREGISTRY_EXPORT LONG RegDeleteKeyA(HKEY key, const char* subKey);

namespace ondrelo::registry {

// Closes a key handle when it goes out of scope.
class CKeyHolder {
public:
    CKeyHolder() = default;
    ~CKeyHolder() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    CKeyHolder(const CKeyHolder&) = delete;
    CKeyHolder& operator=(const CKeyHolder&) = delete;
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// The path of the store file in use: ONDRELO_REGISTRY or the built-in default.
ONDREGISTRY_EXPORT std::string StorePath();

// Why the last registry call of this thread failed, in words, where the
// status code alone does not say it: the store file and what is wrong with
// it ("settings store /x/registry.db is damaged (...)", "... is read-only for
// this user", "... cannot be made: /x is not a folder"), or a key nested too
// deep. Empty after a call that succeeded, and after one that failed for a
// reason its status tells fully (key not found, bad handle).
ONDREGISTRY_EXPORT std::string LastFailureText();

// Lets go of the store: folds the write-ahead log back into the store file
// and closes this process's connection, so that the store file alone holds
// every setting. The next call opens the store again. Done by itself when
// the process exits normally; tools call it when they have finished writing.
ONDREGISTRY_EXPORT void CloseStore();

// Reads a 32-bit number as the settings tools and registration scripts
// write it: decimal, or hexadecimal after 0x. A leading zero does not make
// it octal; signs, blanks and other characters are refused.
ONDREGISTRY_EXPORT bool ParseNumber(std::string_view text, DWORD& value);

// Convenience wrappers for tools and tests, on top of the calls above.
ONDREGISTRY_EXPORT bool ReadString(HKEY root, const std::string& key, const std::string& name,
                                   std::string& value);
ONDREGISTRY_EXPORT bool ReadNumber(HKEY root, const std::string& key, const std::string& name,
                                   DWORD& value);
ONDREGISTRY_EXPORT bool WriteString(HKEY root, const std::string& key, const std::string& name,
                                    const std::string& value);
ONDREGISTRY_EXPORT bool WriteNumber(HKEY root, const std::string& key, const std::string& name,
                                    DWORD value);
ONDREGISTRY_EXPORT std::vector<std::string> SubKeys(HKEY root, const std::string& key);

}  // namespace ondrelo::registry
