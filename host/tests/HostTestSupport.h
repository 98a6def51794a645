// Shared pieces of the host's window tests: a settings store of their own,
// the two test modules and event-loop waits.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ondrelo/registry.h"
#include "ondrelo/testsupport/ScratchDir.h"
#include "ondrelo/OndRegistryHandler.h"

namespace hosttest {

inline const char* const kModulesKey = COndRegistryHandler::kModulesKey;
inline constexpr const char* kSettingsKey = "Software\\Velmora\\Ondrelo\\Settings";
inline constexpr const char* kAlphaClsid = "{0DE11E57-0000-4000-8000-0000000000A1}";
inline constexpr const char* kBetaClsid = "{0DE11E57-0000-4000-8000-0000000000B2}";

// A fresh, empty store file for one test, named by ONDRELO_REGISTRY.
class CTempStore {
public:
    CTempStore() : m_path(m_dir / "registry.db") {}
    CTempStore(const CTempStore&) = delete;
    CTempStore& operator=(const CTempStore&) = delete;

    // The module list key, present and empty.
    void CreateModulesKey() {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kModulesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    // A class of the test module library and a module list entry for it;
    // entry is a path below the module list ("Group\\Name" for a module in
    // a group, whose group key then gets Type = 1).
    void AddModule(const std::string& entry, const char* clsid) {
        using namespace ondrelo::registry;
        ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT,
                                std::string("CLSID\\") + clsid + "\\InprocServer32", "",
                                HOST_TEST_MODULES));
        const std::size_t slash = entry.find('\\');
        if (slash != std::string::npos) {
            ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE,
                                    std::string(kModulesKey) + "\\" + entry.substr(0, slash),
                                    "Type", 1));
        }
        const std::string key = std::string(kModulesKey) + "\\" + entry;
        ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, key, "Type", 0));
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "CLSID", clsid));
    }
    void SetHelpPath(const std::string& value) {
        ASSERT_TRUE(
            ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE, kSettingsKey, "helppath", value));
    }

private:
    ondrelo::test::CScratchDir m_dir;  // names the store in ONDRELO_REGISTRY
    std::string m_path;
};

// Runs the event loop until the condition holds or the time is up.
template <class F>
bool WaitFor(F condition, int timeoutMs = 3000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

inline int Counter(const QObject* object, const char* name) {
    return object != nullptr ? object->property(name).toInt() : -1;
}

}  // namespace hosttest
