// The registry calls on a fresh store: names, types, buffers, enumeration,
// creation and deletion, handles.
#include <cstring>
#include <string>
#include <vector>

#include "ondrelo/testsupport/StoreFixture.h"

namespace ondrelo::registry::testing {
namespace {

class RegistryApiTest : public StoreTest {
protected:
    // Creates key below HKLM and keeps the handle open for the test.
    HKEY Create(const char* key, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
        HKEY handle = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, access, nullptr, &handle,
                                  disposition),
                  ERROR_SUCCESS)
            << key;
        m_open.push_back(handle);
        return handle;
    }
    HKEY Open(HKEY root, const char* key, REGSAM access, LONG expected = ERROR_SUCCESS) {
        HKEY handle = nullptr;
        EXPECT_EQ(RegOpenKeyExA(root, key, 0, access, &handle), expected) << key;
        if (handle) {
            m_open.push_back(handle);
        }
        return handle;
    }
    void TearDown() override {
        for (HKEY handle : m_open) {
            RegCloseKey(handle);
        }
        StoreTest::TearDown();
    }

    std::vector<HKEY> m_open;
};

std::vector<std::string> EnumAll(HKEY key) {
    std::vector<std::string> names;
    char name[64];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        LONG status = RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
            break;
        }
        EXPECT_EQ(size, std::strlen(name));
        names.emplace_back(name);
    }
    return names;
}

TEST_F(RegistryApiTest, KeyNamesIgnoreCaseAndKeepTheirSpelling) {
    DWORD disposition = 0;
    Create("Software\\Velmora\\MixedCase", &disposition);
    EXPECT_EQ(disposition, 1u);

    for (const char* spelling : {"software\\velmora\\mixedcase", "SOFTWARE\\VELMORA\\MIXEDCASE",
                                 "Software\\\\Velmora\\MixedCase\\"}) {
        Open(HKEY_LOCAL_MACHINE, spelling, KEY_READ);
    }
    Create("SOFTWARE\\velmora\\MIXEDcase", &disposition);
    EXPECT_EQ(disposition, 2u);
    HKEY velmora = Open(HKEY_LOCAL_MACHINE, "software\\VELMORA", KEY_READ);
    EXPECT_EQ(EnumAll(velmora), std::vector<std::string>{"MixedCase"});
    EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE"), std::vector<std::string>{"Velmora"});
}

TEST_F(RegistryApiTest, ValueNamesIgnoreCaseAndKeepTheFirstSpelling) {
    HKEY key = Create("Software\\Values");
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, "Software\\Values", "ScriptsPath", "/one"),
              ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, "software\\values", "SCRIPTSPATH", "/two"),
              ERROR_SUCCESS);
    std::string value;
    EXPECT_EQ(QueryString(key, "scriptspath", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "/two");

    char name[32];
    DWORD nameSize = sizeof(name);
    DWORD type = 0;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &nameSize, nullptr, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, "ScriptsPath");
    EXPECT_EQ(type, REG_SZ);
    nameSize = sizeof(name);
    EXPECT_EQ(RegEnumValueA(key, 1, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryApiTest, ValuesKeepTypeAndSize) {
    HKEY key = Create("Software\\Types");
    const DWORD number = 0xCAFE0001;
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;   // as handed to RegSetValueExA, size included
        std::string stored;  // as read back, zero included for strings
    };
    const Case cases[] = {
        {"text", REG_SZ, std::string("abc\0", 4), std::string("abc\0", 4)},
        {"noZero", REG_SZ, "abc", std::string("abc\0", 4)},
        {"cutShort", REG_SZ, "ab", std::string("ab\0", 3)},  // size 2 of "abc"
        {"inner", REG_SZ, std::string("a\0b", 3), std::string("a\0", 2)},
        {"empty", REG_SZ, "", std::string("\0", 1)},
        {"", REG_SZ, std::string("default\0", 8), std::string("default\0", 8)},
        {"number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4),
         std::string(reinterpret_cast<const char*>(&number), 4)},
        {"utf8", REG_SZ,
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         std::string("Gr\xC3\xBC\xC3\x9F"
                     "e\0",
                     8)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(
            RegSetValueExA(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                           static_cast<DWORD>(c.bytes.size())),
            ERROR_SUCCESS)
            << c.name;
    }
    for (const Case& c : cases) {
        BYTE buffer[64];
        DWORD size = sizeof(buffer);
        DWORD type = REG_NONE;
        ASSERT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, buffer, &size), ERROR_SUCCESS)
            << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), c.stored) << c.name;
    }
    // A null name is the default value too.
    std::string value;
    EXPECT_EQ(QueryString(key, nullptr, value), ERROR_SUCCESS);
    EXPECT_EQ(value, "default");
    // Rewriting with another type replaces the type.
    DWORD one = 1;
    ASSERT_EQ(RegSetValueExA(key, "text", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_SUCCESS);
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
}

TEST_F(RegistryApiTest, BadValueWritesAreRefused) {
    HKEY key = Create("Software\\Bad");
    DWORD number = 5;
    struct Case {
        DWORD type;
        const BYTE* data;
        DWORD size;
    };
    const Case cases[] = {
        {REG_DWORD, reinterpret_cast<BYTE*>(&number), 2},
        {REG_DWORD, reinterpret_cast<BYTE*>(&number), 8},
        {REG_DWORD, nullptr, 4},
        {REG_SZ, nullptr, 3},
        {7, reinterpret_cast<BYTE*>(&number), 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegSetValueExA(key, "v", 0, c.type, c.data, c.size), ERROR_INVALID_PARAMETER)
            << c.type << "/" << c.size;
    }
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    BYTE buffer[4];
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, buffer, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApiTest, SmallBuffersGiveMoreDataAndStayUntouched) {
    HKEY key = Create("Software\\Buffers");
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, "Software\\Buffers", "s", "hello"), ERROR_SUCCESS);
    DWORD number = 42;
    ASSERT_EQ(RegSetValueExA(key, "n", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4),
              ERROR_SUCCESS);
    struct Case {
        const char* name;
        DWORD bufferSize;
        LONG status;
        DWORD sizeAfter;
    };
    const Case cases[] = {
        {"s", 0, ERROR_MORE_DATA, 6}, {"s", 5, ERROR_MORE_DATA, 6}, {"s", 6, ERROR_SUCCESS, 6},
        {"s", 100, ERROR_SUCCESS, 6}, {"n", 3, ERROR_MORE_DATA, 4}, {"n", 4, ERROR_SUCCESS, 4},
    };
    for (const Case& c : cases) {
        BYTE buffer[128];
        std::memset(buffer, 'x', sizeof(buffer));
        DWORD size = c.bufferSize;
        DWORD type = REG_NONE;
        EXPECT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, buffer, &size), c.status)
            << c.name << " in " << c.bufferSize;
        EXPECT_EQ(size, c.sizeAfter);
        EXPECT_NE(type, REG_NONE);  // the type is told also when the data does not fit
        if (c.status == ERROR_MORE_DATA) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "xxxxxxxx");
        }
    }
    // Asking for the size only.
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "s", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
}

TEST_F(RegistryApiTest, SubKeysEnumerateInNameOrderRegardlessOfCase) {
    for (const char* name : {"gamma", "Beta", "alpha2", "ALPHA", "_first"}) {
        Create((std::string("Software\\Order\\") + name).c_str());
    }
    Create("Software\\Order\\Beta\\Inner");  // grandchildren are not listed
    HKEY key = Open(HKEY_LOCAL_MACHINE, "Software\\Order", KEY_READ);
    const std::vector<std::string> expected = {"_first", "ALPHA", "alpha2", "Beta", "gamma"};
    EXPECT_EQ(EnumAll(key), expected);

    char name[8];
    DWORD size = sizeof(name);
    EXPECT_EQ(RegEnumKeyExA(key, 5, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumKeyExA(key, 1000, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);

    // "alpha2" needs 7 characters with its zero.
    struct Case {
        DWORD size;
        LONG status;
    };
    for (const Case c : {Case{6, ERROR_MORE_DATA}, Case{7, ERROR_SUCCESS}}) {
        std::memset(name, 'x', sizeof(name));
        size = c.size;
        EXPECT_EQ(RegEnumKeyExA(key, 2, name, &size, nullptr, nullptr, nullptr, nullptr), c.status);
        if (c.status == ERROR_SUCCESS) {
            EXPECT_STREQ(name, "alpha2");
            EXPECT_EQ(size, 6u);
        } else {
            EXPECT_EQ(name[0], 'x');
        }
    }
}

TEST_F(RegistryApiTest, CreateMakesMissingParentsAndTellsWhatItDid) {
    DWORD disposition = 0;
    HKEY deep = Create("A\\B\\C\\D", &disposition);
    EXPECT_EQ(disposition, 1u);
    Open(HKEY_LOCAL_MACHINE, "A\\B", KEY_READ);
    Create("A\\B\\C\\D", &disposition);
    EXPECT_EQ(disposition, 2u);
    Create("A\\B", &disposition);
    EXPECT_EQ(disposition, 2u);

    // Relative to an open handle, and an empty sub key reopens the same key.
    HKEY below = nullptr;
    ASSERT_EQ(RegCreateKeyExA(deep, "E", 0, nullptr, 0, KEY_READ, nullptr, &below, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, 1u);
    RegCloseKey(below);
    Open(HKEY_LOCAL_MACHINE, "a\\b\\c\\d\\e", KEY_READ);
    HKEY same = Open(deep, "", KEY_READ);
    EXPECT_EQ(EnumAll(same), std::vector<std::string>{"E"});

    // The two roots are separate trees.
    Open(HKEY_CLASSES_ROOT, "A", KEY_READ, ERROR_FILE_NOT_FOUND);
    HKEY classes = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "A", 0, nullptr, 0, KEY_READ, nullptr, &classes,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, 1u);
    RegCloseKey(classes);
}

TEST_F(RegistryApiTest, DeleteTreeRemovesTheWholeBranchOnly) {
    HKEY a = Create("Software\\A");
    Create("Software\\A\\B\\Deep\\Deeper");
    Create("Software\\A\\C");
    Create("Software\\AB");  // a sibling whose name starts alike
    for (const char* key : {"Software\\A", "Software\\A\\B", "Software\\A\\B\\Deep\\Deeper",
                            "Software\\A\\C", "Software\\AB"}) {
        ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, key, "v", key), ERROR_SUCCESS);
    }

    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "software\\a\\b"), ERROR_SUCCESS);
    Open(HKEY_LOCAL_MACHINE, "Software\\A\\B", KEY_READ, ERROR_FILE_NOT_FOUND);
    Open(HKEY_LOCAL_MACHINE, "Software\\A\\B\\Deep\\Deeper", KEY_READ, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(EnumAll(a), std::vector<std::string>{"C"});
    std::string value;
    EXPECT_EQ(QueryString(a, "v", value), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\A\\B"), ERROR_FILE_NOT_FOUND);

    // An empty sub key empties the key but keeps it.
    EXPECT_EQ(RegDeleteTreeA(a, ""), ERROR_SUCCESS);
    EXPECT_TRUE(EnumAll(a).empty());
    EXPECT_EQ(QueryString(a, "v", value), ERROR_FILE_NOT_FOUND);
    Open(HKEY_LOCAL_MACHINE, "Software\\A", KEY_READ);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, "Software\\AB", "v", value), true);
    EXPECT_EQ(value, "Software\\AB");

    // A key with sub keys cannot go through RegDeleteKeyA; a leaf can.
    Create("Software\\AB\\Leaf");
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\AB"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\AB\\Leaf"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\AB"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);  // never a root
}

TEST_F(RegistryApiTest, DeleteValue) {
    HKEY key = Create("Software\\Del");
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, "Software\\Del", "Name", "x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "NAME"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "Name"), ERROR_FILE_NOT_FOUND);
    std::string value;
    EXPECT_EQ(QueryString(key, "Name", value), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApiTest, HandlesWithoutWriteAccessCannotWrite) {
    Create("Software\\RO\\Existing");
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, "Software\\RO", "v", "kept"), ERROR_SUCCESS);
    HKEY readOnly = Open(HKEY_LOCAL_MACHINE, "Software\\RO", KEY_READ);
    const BYTE data[] = "new";
    EXPECT_EQ(RegSetValueExA(readOnly, "v", 0, REG_SZ, data, sizeof(data)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(readOnly, "v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeA(readOnly, "Existing"), ERROR_ACCESS_DENIED);
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExA(readOnly, "New", 0, nullptr, 0, KEY_READ, nullptr, &child, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(child, nullptr);
    // Opening an existing key through it needs no write.
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(readOnly, "Existing", 0, nullptr, 0, KEY_READ, nullptr, &child,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, 2u);
    RegCloseKey(child);
    std::string value;
    EXPECT_EQ(QueryString(readOnly, "v", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "kept");
}

TEST_F(RegistryApiTest, HandleToADeletedKeyFailsCleanly) {
    HKEY doomed = Create("Software\\Doomed\\Child");
    HKEY parent = Open(HKEY_LOCAL_MACHINE, "Software\\Doomed", KEY_ALL_ACCESS);
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Doomed"), ERROR_SUCCESS);

    std::string value;
    EXPECT_EQ(QueryString(doomed, "v", value), ERROR_FILE_NOT_FOUND);
    const BYTE data[] = "x";
    EXPECT_EQ(RegSetValueExA(doomed, "v", 0, REG_SZ, data, sizeof(data)), ERROR_FILE_NOT_FOUND);
    char name[16];
    DWORD size = sizeof(name);
    EXPECT_EQ(RegEnumKeyExA(parent, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(parent, "Again", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeA(parent, ""), ERROR_FILE_NOT_FOUND);
    // Nothing came back to life under the old name, and a new key with the
    // same name is a different key to the old handles.
    Open(HKEY_LOCAL_MACHINE, "Software\\Doomed", KEY_READ, ERROR_FILE_NOT_FOUND);
    Create("Software\\Doomed\\Child");
    EXPECT_EQ(RegSetValueExA(doomed, "v", 0, REG_SZ, data, sizeof(data)), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApiTest, ClosedAndBogusHandles) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\H", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    HKEY result = nullptr;
    EXPECT_EQ(RegOpenKeyExA(nullptr, "x", 0, KEY_READ, &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    // The roots survive being closed.
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    Open(HKEY_LOCAL_MACHINE, "Software\\H", KEY_READ);
}

TEST_F(RegistryApiTest, StorePathFollowsTheEnvironment) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", "first"));
    HKEY first = Open(HKEY_LOCAL_MACHINE, "Software\\Switch", KEY_ALL_ACCESS);
    const std::string second = m_dir + "/second.db";
    UseStore(second);
    EXPECT_EQ(StorePath(), second);
    std::string value;
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", value));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", "second"));
    // A handle stays with the store it was opened in.
    EXPECT_EQ(QueryString(first, "where", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "first");
    UseStore(m_store);
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", value));
    EXPECT_EQ(value, "first");
    UseStore(second);
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", value));
    EXPECT_EQ(value, "second");

    // A store removed and made again at the same path is seen afresh.
    ASSERT_EQ(std::remove(second.c_str()), 0);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", value));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", "third"));
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Switch", "where", value));
    EXPECT_EQ(value, "third");

    unsetenv("ONDRELO_REGISTRY");
    EXPECT_FALSE(StorePath().empty());
}

TEST_F(RegistryApiTest, WrappersReadOnlyWhatFits) {
    std::string value = "unchanged";
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\W", "s", value));
    ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, "Software\\W", "n", 7));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\W", "n", value));  // not a string
    EXPECT_EQ(value, "unchanged");
    const std::string longText(5000, 'z');
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\W", "s", longText));
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\W", "s", value));
    EXPECT_EQ(value, longText);
    DWORD number = 0;
    EXPECT_TRUE(ReadNumber(HKEY_LOCAL_MACHINE, "Software\\W", "n", number));
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(ReadNumber(HKEY_LOCAL_MACHINE, "Software\\W", "s", number));
    EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, "Software\\Missing").empty());
}

}  // namespace
}  // namespace ondrelo::registry::testing

namespace ondrelo::registry::testing {
namespace {

TEST(ParseNumberTest, DecimalOrHexadecimalNeverOctal) {
    struct Case {
        const char* text;
        bool ok;
        DWORD value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"010", true, 10},
        {"09", true, 9},
        {"4294967295", true, 4294967295u},
        {"0x10", true, 16},
        {"0XfF", true, 255},
        {"0x00000000FFFFFFFF", true, 4294967295u},
        {"0010", true, 10},
        {"4294967296", false, 0},
        {"0x100000000", false, 0},
        {"99999999999999999999999", false, 0},
        {"", false, 0},
        {"0x", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1f", false, 0},
        {"0x1g", false, 0},
        {"0b1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DWORD value = 12345;
        EXPECT_EQ(ParseNumber(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 12345u);
    }
}

using KeyDepthTest = StoreTest;

std::string Path(int levels, const char* name = "k") {
    std::string path;
    for (int i = 0; i < levels; ++i) {
        path += (i ? "\\" : "") + std::string(name);
    }
    return path;
}

TEST_F(KeyDepthTest, KeysLieAtMostTheLimitBelowTheirRoot) {
    HKEY deepest = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path(kMaxKeyDepth).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &deepest, nullptr),
              ERROR_SUCCESS);
    EXPECT_TRUE(LastFailureText().empty());

    struct Case {
        const char* what;
        HKEY from;
        std::string subKey;
    };
    const Case cases[] = {
        {"one level too deep from the root", HKEY_LOCAL_MACHINE, Path(kMaxKeyDepth + 1)},
        {"below the deepest key", deepest, "below"},
        {"far too deep at once", HKEY_CLASSES_ROOT, Path(5000, "x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(c.from, c.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_INVALID_PARAMETER);
        EXPECT_EQ(key, nullptr);
        EXPECT_NE(LastFailureText().find("at most 512 levels deep"), std::string::npos)
            << LastFailureText();
    }
    EXPECT_TRUE(SubKeys(deepest, "").empty());
    EXPECT_TRUE(SubKeys(HKEY_CLASSES_ROOT, "").empty());
    // An existing key is opened at any depth the store holds.
    HKEY again = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path(kMaxKeyDepth).c_str(), 0, nullptr, 0,
                              KEY_READ, nullptr, &again, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(again);
    RegCloseKey(deepest);
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "k"), ERROR_SUCCESS);
    EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, "").empty());
}

}  // namespace
}  // namespace ondrelo::registry::testing
