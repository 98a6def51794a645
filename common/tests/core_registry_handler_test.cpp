// The product's settings: the script folders and named settings below
// Software\Velmora\Ondrelo, each test on its own scratch store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/testsupport/ScratchDir.h"
#include "ondrelo/registry.h"

namespace {

namespace fs = std::filesystem;
using ondrelo::registry::WriteNumber;
using ondrelo::registry::WriteString;

class RegistryHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_scratch = std::make_unique<ondrelo::test::CScratchDir>();
        m_dir = m_scratch->path();
        m_store = m_dir / "registry.db";
    }
    void TearDown() override { m_scratch.reset(); }

    static bool KeyExists(const char* key) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(handle);
        return true;
    }

    std::unique_ptr<ondrelo::test::CScratchDir> m_scratch;
    fs::path m_dir;
    fs::path m_store;
};

TEST_F(RegistryHandlerTest, KeyNames) {
    EXPECT_STREQ(COndRegistryHandler::kProductKey, "Software\\Velmora\\Ondrelo");
    EXPECT_STREQ(COndRegistryHandler::kInstallationKey, "Software\\Velmora\\Ondrelo\\Installation");
    EXPECT_STREQ(COndRegistryHandler::kSettingsKey, "Software\\Velmora\\Ondrelo\\Settings");
    EXPECT_STREQ(COndRegistryHandler::kModulesKey, "Software\\Velmora\\Ondrelo\\Modules");
}

TEST_F(RegistryHandlerTest, FirstScriptCopyPathCreatesTheSettingsKey) {
    // Once on an empty machine, once where only the installer has written.
    for (bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed" : "empty machine");
        fs::remove(m_store);
        if (installed) {
            ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey,
                                    "scriptspath", "/usr/share/ondrelo/scripts"));
        }
        EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), "");
        EXPECT_FALSE(KeyExists(COndRegistryHandler::kSettingsKey));

        COndRegistryHandler::SetScriptCopyPath("/home/web/site/js");
        EXPECT_TRUE(KeyExists(COndRegistryHandler::kSettingsKey));
        EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), "/home/web/site/js");
        std::string value;
        EXPECT_TRUE(COndRegistryHandler::GetSettingsValue("lastscriptpath", value));
        EXPECT_EQ(value, "/home/web/site/js");
    }
}

TEST_F(RegistryHandlerTest, MissingSettingLeavesTheTextAlone) {
    std::string value = "abc";
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("helppath", value));  // no store
    EXPECT_EQ(value, "abc");
    EXPECT_FALSE(fs::exists(m_store)) << "reading must not create the store";

    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("other", "x"));
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("helppath", value));  // key, no value
    EXPECT_EQ(value, "abc");
}

TEST_F(RegistryHandlerTest, WrittenValuesReadBackUnchanged) {
    struct Case {
        const char* name;
        std::string value;
    };
    const Case cases[] = {
        {"helppath", "/usr/share/doc/ondrelo/help"},
        {"empty", ""},
        {"spaces", "  two  spaces  "},
        {"windowsPath", "C:\\site\\js\\"},
        {"utf8", "/home/j\xC3\xB6rg/Seiten"},
        {"longest", std::string(259, 'p')},  // with its zero, exactly the read buffer
        {"", "default value"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(COndRegistryHandler::SetSettingsValue(c.name, c.value)) << c.name;
    }
    for (const Case& c : cases) {
        std::string value = "before";
        EXPECT_TRUE(COndRegistryHandler::GetSettingsValue(c.name, value)) << c.name;
        EXPECT_EQ(value, c.value);
    }
    // Overwriting, and names that differ only in case name the same value.
    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("HelpPath", "/elsewhere"));
    std::string value;
    ASSERT_TRUE(COndRegistryHandler::GetSettingsValue("HELPPATH", value));
    EXPECT_EQ(value, "/elsewhere");
}

TEST_F(RegistryHandlerTest, ValuesTooLongForTheBufferCannotBeRead) {
    const std::string tooLong(260, 'q');
    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("long", tooLong));
    std::string value = "abc";
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("long", value));
    EXPECT_EQ(value, "abc");

    COndRegistryHandler::SetScriptCopyPath(tooLong);
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), "");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey,
                            "scriptspath", "/" + tooLong));
    EXPECT_EQ(COndRegistryHandler::GetScriptsPath(), "");
}

TEST_F(RegistryHandlerTest, ScriptsPathComesFromTheInstallationKeyOnly) {
    EXPECT_EQ(COndRegistryHandler::GetScriptsPath(), "");
    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("scriptspath", "/not/here"));
    EXPECT_EQ(COndRegistryHandler::GetScriptsPath(), "");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VELMORA\\ONDRELO\\INSTALLATION",
                            "ScriptsPath", "/usr/share/ondrelo/scripts"));
    EXPECT_EQ(COndRegistryHandler::GetScriptsPath(), "/usr/share/ondrelo/scripts");
}

TEST_F(RegistryHandlerTest, ValuesThatAreNotTextAreNotRead) {
    ASSERT_TRUE(
        WriteNumber(HKEY_LOCAL_MACHINE, COndRegistryHandler::kSettingsKey, "lastscriptpath", 42));
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), "");
    std::string value = "abc";
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("lastscriptpath", value));
    EXPECT_EQ(value, "abc");
    // A text with a zero inside would not read back as written.
    EXPECT_FALSE(COndRegistryHandler::SetSettingsValue("name", std::string("a\0b", 3)));
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("name", value));
}

TEST_F(RegistryHandlerTest, UnusableStoreGivesEmptyAndFalse) {
    const std::string text = "not a settings store\n";
    std::ofstream(m_store) << text;
    std::string value = "abc";
    EXPECT_FALSE(COndRegistryHandler::SetSettingsValue("helppath", "/x"));
    EXPECT_FALSE(COndRegistryHandler::GetSettingsValue("helppath", value));
    EXPECT_EQ(value, "abc");
    COndRegistryHandler::SetScriptCopyPath("/x");
    EXPECT_EQ(COndRegistryHandler::GetPreviousScriptCopyPath(), "");
    EXPECT_EQ(COndRegistryHandler::GetScriptsPath(), "");
    std::ifstream in(m_store);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              text);
}

}  // namespace
