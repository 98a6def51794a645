// A fresh settings store per test (in its own temporary folder) and an
// initialised component library on the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ondrelo/OndUtils.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace comtest {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ondcom-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_store = m_dir + "/store.db";
        setenv("ONDRELO_REGISTRY", m_store.c_str(), 1);
        ondrelo::utils::ClearTraceRecords();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    // The default value of a key, or "<missing>".
    static std::string Default(HKEY root, const std::string& key) {
        std::string value;
        return ondrelo::registry::ReadString(root, key, "", value) ? value : "<missing>";
    }
    static bool KeyExists(HKEY root, const std::string& key) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(handle);
        return true;
    }
    static bool Number(HKEY root, const std::string& key, const char* name, DWORD& value) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
            return false;
        }
        DWORD type = 0;
        DWORD size = sizeof value;
        const LONG status =
            RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(handle);
        return status == ERROR_SUCCESS && type == REG_DWORD;
    }
    // True when the last trace record mentions the text.
    static bool Traced(const std::string& text) {
        for (const auto& record : ondrelo::utils::TraceRecords()) {
            if (record.text.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::string m_dir;
    std::string m_store;
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
