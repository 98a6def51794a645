// A fresh settings store per test, an initialised component library, and
// the test module libraries registered through their own entry points.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "ondrelo/testsupport/EntryPoints.h"
#include "ondrelo/testsupport/StoreFixture.h"
#include "modules/TestProbe.h"
#include "ondrelo/OndUtils.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace moduletest {

inline const char* const kPopkin = TESTMOD_POPKIN_PATH;
inline const char* const kHoverkit = TESTMOD_HOVERKIT_PATH;
inline const char* const kFormwarden = TESTMOD_FORMWARDEN_PATH;
inline const char* const kSmallset = TESTMOD_SMALLSET_PATH;
inline const char* const kFaulty = TESTMOD_FAULTY_PATH;

using ondrelo::test::CallEntry;

inline long LockCountOf(const char* library) {
    return ondrelo::test::CallLoadedLong(library, "TestModuleLockCount", 0);
}

class StoreTest : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        ondrelo::registry::testing::StoreTest::SetUp();
        ondrelo::utils::ClearTraceRecords();
        testprobe::ClearEvents();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        testprobe::ResetWindows();
        ondrelo::registry::testing::StoreTest::TearDown();
    }

    static void Register(const char* library) {
        ASSERT_EQ(CallEntry(library, "DllRegisterServer"), S_OK) << library;
    }
    static void RegisterAllFive() {
        Register(kPopkin);
        Register(kHoverkit);
        Register(kFormwarden);
        Register(kSmallset);
    }
    static bool Traced(const std::string& text) {
        for (const auto& record : ondrelo::utils::TraceRecords()) {
            if (record.text.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace moduletest
