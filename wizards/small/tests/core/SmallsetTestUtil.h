// Scratch pages for the Smallset core tests: each test gets its own folder
// and store, a scripted prompt, and helpers to write and change pages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "ondrelo/testsupport/StoreFixture.h"
#include "ondrelo/ScriptedPrompt.h"

namespace smalltest {

using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

class PageTest : public ondrelo::registry::testing::StoreTest {
protected:
    std::string Page(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir + "/" + name;
        WriteFile(path, bytes);
        return path;
    }
    // Another program changes the page: new bytes and a later write time.
    void ChangeBehindOurBack(const std::string& path, const std::string& bytes) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        WriteFile(path, bytes);
    }
    ondrelo::CScriptedPrompt prompt;
};

inline int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace smalltest
