// Test support for everything that keeps settings in the store: a fresh
// store file per test in its own temporary folder, short reads of keys and
// values, and running code in a child process.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ondrelo/registry.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace ondrelo::registry::testing {

// Every test gets <tmp>/ondreg-XXXXXX/store.db (not yet created) as its store.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Points ONDRELO_REGISTRY at path.
    static void UseStore(const std::string& path);

    static bool KeyExists(HKEY root, const std::string& key);
    // The default value of a key, or "<missing>".
    static std::string Default(HKEY root, const std::string& key);
    // A number value; false when missing or of another type.
    static bool Number(HKEY root, const std::string& key, const char* name, DWORD& value);

    // The test's folder, a file written into it (its full path back), and
    // a whole file read.
    std::filesystem::path Dir() const { return m_dir; }
    std::string Write(const std::string& name, const std::string& bytes) const;
    static std::string Read(const std::string& path) { return ondrelo::test::ReadFile(path); }

    std::unique_ptr<ondrelo::test::CScratchDir> m_scratch;
    std::string m_dir;
    std::string m_store;
};

using ondrelo::test::Exists;
using ondrelo::test::ReadFile;
using ondrelo::test::WriteFile;

// Runs body in a forked child and hands back the numbers it returned. With
// unprivileged set, the child first drops root rights (to user "nobody"), so
// that file modes deny writes as they do for ordinary users.
std::vector<long> RunInChild(const std::function<std::vector<long>()>& body,
                             bool unprivileged = false);

// Status of opening, creating, querying: small shorthands for the tests.
LONG SetString(HKEY root, const char* key, const char* name, const std::string& value);
LONG QueryString(HKEY key, const char* name, std::string& value);

}  // namespace ondrelo::registry::testing
