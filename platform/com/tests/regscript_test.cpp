#include <cstdio>

#include "ComFixture.h"
#include "ondrelo/regscript.h"

namespace comtest {
namespace {

using ondrelo::com::RegisterTypeLibrary;
using ondrelo::com::ReplacementMap;
using ondrelo::com::RunRegistrationScript;
using ondrelo::com::STypeLibInfo;
using ondrelo::com::UnregisterTypeLibrary;
using ondrelo::registry::ReadString;
using ondrelo::registry::SubKeys;
using ondrelo::registry::WriteString;

void WriteFileForTest(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

class RegScript : public StoreTest {
protected:
    HRESULT Run(const std::string& script, bool registering) {
        return RunRegistrationScript(script, m_vars, registering, &m_error);
    }
    ReplacementMap m_vars{{"MODULE", "/opt/lib/libPop kin's.so"}};
    std::string m_error;
};

const char kClassScript[] = R"(HKCR
{
    Demo.Widget.1 = s 'Widget Class'
    {
        CLSID = s '{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}'
    }
    NoRemove CLSID
    {
        ForceRemove {CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57} = s 'Widget Class'
        {
            ForceRemove Programmable
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Demo
        {
            ForceRemove Widget
            {
                val Type = d 0
                val Mask = d 0xFFFFFFFF
                val CLSID = s '{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}'
            }
        }
    }
}
)";

constexpr const char* kClassKey = "CLSID\\{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}";

TEST_F(RegScript, RegistrationWritesKeysDefaultsAndValues) {
    ASSERT_EQ(Run(kClassScript, true), S_OK) << m_error;
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "Demo.Widget.1"), "Widget Class");
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "Demo.Widget.1\\CLSID"),
              "{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}");
    // The replacement is taken as it is, blanks and quotes included.
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32"),
              "/opt/lib/libPop kin's.so");
    std::string model;
    ASSERT_TRUE(ReadString(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32",
                           "ThreadingModel", model));
    EXPECT_EQ(model, "Apartment");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Programmable"));
    DWORD number = 7;
    ASSERT_TRUE(Number(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Widget", "Type", number));
    EXPECT_EQ(number, 0u);
    ASSERT_TRUE(Number(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Widget", "Mask", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);

    // Numbers are decimal, or hexadecimal after 0x; a leading zero is not octal.
    const struct {
        const char* text;
        DWORD value;
    } numbers[] = {{"010", 10},  {"08", 8},    {"0", 0},
                   {"0x1f", 31}, {"0X10", 16}, {"4294967295", 0xFFFFFFFFu}};
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.text);
        ASSERT_EQ(Run(std::string("HKCR { Numbers { val N = d ") + n.text + " } }", true), S_OK)
            << m_error;
        ASSERT_TRUE(Number(HKEY_CLASSES_ROOT, "Numbers", "N", number));
        EXPECT_EQ(number, n.value);
    }
}

TEST_F(RegScript, ForceRemoveReplacesWhatWasThere) {
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Stale\\Deep", "x", "1"));
    ASSERT_EQ(Run(kClassScript, true), S_OK) << m_error;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Stale"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32"));
    // Registering twice is the same as once.
    ASSERT_EQ(Run(kClassScript, true), S_OK) << m_error;
    EXPECT_EQ(SubKeys(HKEY_CLASSES_ROOT, kClassKey).size(), 2u);
}

TEST_F(RegScript, RemovalKeepsNoRemoveKeysAndWhatOthersOwn) {
    ASSERT_EQ(Run(kClassScript, true), S_OK) << m_error;
    // Others' entries beside and below ours.
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "CLSID\\{00000000-0000-0000-0000-000000000001}", "",
                            "Other Class"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Other", "CLSID", "x"));
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "Demo.Widget.1\\Shell", "", "theirs"));

    ASSERT_EQ(Run(kClassScript, false), S_OK) << m_error;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{00000000-0000-0000-0000-000000000001}"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Widget"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Other"));
    // A plain key that still holds another's sub key stays, without our sub keys.
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Demo.Widget.1\\Shell"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Demo.Widget.1\\CLSID"));

    // Removing what is already gone succeeds and changes nothing.
    ASSERT_EQ(Run(kClassScript, false), S_OK) << m_error;
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Demo\\Other"));
}

TEST_F(RegScript, RemovalOfAPlainKeyTakesItWhenEmpty) {
    const char script[] = "HKCR { Plain = s 'x' { Sub = s 'y' { val V = s 'z' } } }";
    ASSERT_EQ(Run(script, true), S_OK) << m_error;
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "Plain\\Sub"), "y");
    ASSERT_EQ(Run(script, false), S_OK) << m_error;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Plain"));
}

TEST_F(RegScript, NamesQuotesVariablesAndKeywordCase) {
    m_vars["Name"] = "Widget";
    const char script[] =
        "hkcr\n{\n  noremove 'Key With Blanks'\n  {\n    'It''s %NAME%' = s '100%% sure'\n"
        "    VAL Number = D 42\n    Delete Gone\n  }\n}\n";
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "Key With Blanks\\Gone", "", "old"));
    ASSERT_EQ(Run(script, true), S_OK) << m_error;
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "Key With Blanks\\It's Widget"), "100% sure");
    DWORD number = 0;
    EXPECT_TRUE(Number(HKEY_CLASSES_ROOT, "Key With Blanks", "Number", number));
    EXPECT_EQ(number, 42u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Key With Blanks\\Gone"));
}

TEST_F(RegScript, MalformedScriptsWriteNothing) {
    struct Case {
        const char* script;
        const char* reason;
    };
    const Case cases[] = {
        {"HKCU { A = s 'x' }", "unknown root"},
        {"HKCR { A = s 'x' ", "'}' missing"},
        {"HKCR { A = s 'x }", "not closed"},
        {"HKCR { val A = s 'x' }", "root key"},
        {"HKCR { A { val N = d 12x } }", "not a 32-bit number"},
        {"HKCR { A { val N = d 4294967296 } }", "not a 32-bit number"},
        {"HKCR { A { val N = d -1 } }", "not a 32-bit number"},
        {"HKCR { A { val N = d 0x } }", "not a 32-bit number"},
        {"HKCR { A { val N = d 0x-1 } }", "not a 32-bit number"},
        {"HKCR { A { val N = d 1f } }", "not a 32-bit number"},
        {"HKCR { A = q 'x' }", "value type"},
        {"HKCR { A = s '%UNKNOWN%' }", "no value for the variable"},
        {"HKCR { A = s '%MODULE' }", "without its closing"},
        {"HKCR { 'A\\B' = s 'x' }", "backslash"},
        {"HKCR { '' = s 'x' }", "empty"},
        {"HKCR { A { val = s 'x' } }", "name"},
        {"{ A }", "root key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        // The good part in front must not be written either.
        const std::string script = std::string("HKCR { Written = s 'y' }\n") + c.script;
        m_error.clear();
        ondrelo::utils::ClearTraceRecords();
        EXPECT_EQ(Run(script, true), DISP_E_EXCEPTION);
        EXPECT_NE(m_error.find(c.reason), std::string::npos) << m_error;
        EXPECT_TRUE(Traced(c.reason));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Written"));
        EXPECT_EQ(Run(script, false), DISP_E_EXCEPTION);
    }
}

// A script whose keys are nested `levels` deep below HKCR.
std::string NestedScript(int levels) {
    std::string script = "HKCR\n{\n";
    for (int i = 0; i < levels; ++i) {
        script += "k" + std::to_string(i) + (i + 1 == levels ? " = s 'deepest'\n" : "\n{\n");
    }
    script.append(static_cast<std::size_t>(levels - 1), '}');
    return script + "\n}\n";
}

TEST_F(RegScript, KeysNestedAsDeepAsTheStoreHoldsAndNoDeeper) {
    // As deep as the store holds: written, and taken away again.
    ASSERT_EQ(Run(NestedScript(kMaxKeyDepth), true), S_OK) << m_error;
    std::string path;
    for (int i = 0; i < kMaxKeyDepth; ++i) {
        path += (i ? "\\k" : "k") + std::to_string(i);
    }
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, path), "deepest");
    ASSERT_EQ(Run(NestedScript(kMaxKeyDepth), false), S_OK) << m_error;
    EXPECT_TRUE(SubKeys(HKEY_CLASSES_ROOT, "").empty());

    // Deeper: refused before anything is written, with the line where the
    // limit was passed; a hostile depth must not exhaust the stack.
    for (int levels : {kMaxKeyDepth + 1, 200000}) {
        SCOPED_TRACE(levels);
        m_error.clear();
        EXPECT_EQ(Run(NestedScript(levels), true), DISP_E_EXCEPTION);
        EXPECT_NE(m_error.find("line " + std::to_string(kMaxKeyDepth * 2 + 3) +
                               ": keys nested more than 512 levels deep"),
                  std::string::npos)
            << m_error;
        EXPECT_TRUE(SubKeys(HKEY_CLASSES_ROOT, "").empty());
        EXPECT_EQ(Run(NestedScript(levels), false), DISP_E_EXCEPTION);
    }
}

TEST_F(RegScript, AStoreThatCannotBeWrittenGivesItsStatus) {
    // A store below a plain file can be neither created nor opened.
    WriteFileForTest(m_dir + "/file", "not a folder");
    setenv("ONDRELO_REGISTRY", (m_dir + "/file/store.db").c_str(), 1);
    const HRESULT hr = Run(kClassScript, true);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(static_cast<std::uint32_t>(hr) & 0xFFFF0000u, 0x80070000u);
    // The reason names the key, the store file and what is wrong with it.
    EXPECT_NE(m_error.find("cannot create HKEY_CLASSES_ROOT\\Demo.Widget.1"), std::string::npos)
        << m_error;
    EXPECT_NE(m_error.find(m_dir + "/file is not a folder"), std::string::npos) << m_error;
}

TEST_F(RegScript, TypeLibraryKeyCarriesItsHelpText) {
    const STypeLibInfo typeLib{ondrelo::com::MakeGuid("{74795EB6-34E4-4D98-A6F2-1EF12F3C9D6F}"), 1,
                               0, "Popkin 1.0 Type Library"};
    const STypeLibInfo older{typeLib.libid, 0, 9, "Popkin's 0.9 Type Library"};
    const std::string key = "TypeLib\\{74795EB6-34E4-4D98-A6F2-1EF12F3C9D6F}";
    ASSERT_EQ(RegisterTypeLibrary(typeLib, "/opt/lib/libPopkin.so"), S_OK);
    ASSERT_EQ(RegisterTypeLibrary(older, "/opt/lib/libPopkin.so"), S_OK);
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, key + "\\1.0"), "Popkin 1.0 Type Library");
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, key + "\\0.9"), "Popkin's 0.9 Type Library");
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, key + "\\1.0\\0\\linux"), "/opt/lib/libPopkin.so");
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, key + "\\1.0\\HELPDIR"), "/opt/lib");

    ASSERT_EQ(UnregisterTypeLibrary(typeLib), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key + "\\1.0"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key + "\\0.9"));
    ASSERT_EQ(UnregisterTypeLibrary(older), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib"));
}

}  // namespace
}  // namespace comtest
