// A fresh settings store per test (in its own temporary folder) and an
// initialised component library on the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ondrelo/testsupport/StoreFixture.h"
#include "ondrelo/OndUtils.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace comtest {

class StoreTest : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        ondrelo::registry::testing::StoreTest::SetUp();
        ondrelo::utils::ClearTraceRecords();
    }

    // True when a trace record mentions the text.
    static bool Traced(const std::string& text) {
        for (const auto& record : ondrelo::utils::TraceRecords()) {
            if (record.text.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

// Also initialises the component library on the test's thread.
class ApartmentTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        StoreTest::TearDown();
    }
};

}  // namespace comtest
