// Stores that are missing, broken, foreign or not writable: reads and
// writes fail with a status, nothing crashes and the file is left as it was.
#include <sqlite3.h>

#include <random>

#include "ondrelo/testsupport/StoreFixture.h"

namespace ondrelo::registry::testing {
namespace {

using RobustnessTest = StoreTest;

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string RandomBytes(std::size_t count) {
    std::mt19937 generator(1234);
    std::string bytes(count, '\0');
    for (char& ch : bytes) {
        ch = static_cast<char>(generator() & 0xff);
    }
    return bytes;
}

// Makes a genuine SQLite database that belongs to some other program.
void MakeForeignDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('mine');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

TEST_F(RobustnessTest, FilesThatAreNotOurStoreAreNeitherReadNorTouched) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
        {"random bytes", [](const std::string& p) { WriteFile(p, RandomBytes(8192)); }},
        {"text file", [](const std::string& p) { WriteFile(p, "scriptspath=/usr/share\n"); }},
        {"damaged header",
         [](const std::string& p) {
             WriteFile(p, std::string("SQLite format 3\0", 16) + RandomBytes(4080));
         }},
        {"another program's database", MakeForeignDatabase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(m_store);
        const std::string before = ReadFile(m_store);
        const std::vector<std::string> entries = FolderEntries(m_dir);

        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_CANTOPEN);
        EXPECT_EQ(key, nullptr);
        char name[32];
        DWORD size = sizeof(name);
        EXPECT_EQ(
            RegEnumKeyExA(HKEY_LOCAL_MACHINE, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
            ERROR_CANTOPEN);
        EXPECT_EQ(RegQueryValueExA(HKEY_LOCAL_MACHINE, "x", nullptr, nullptr, nullptr, nullptr),
                  ERROR_CANTOPEN);
        std::string value = "kept";
        EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software", "x", value));
        EXPECT_EQ(value, "kept");
        EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, "").empty());

        EXPECT_FALSE(WriteString(HKEY_LOCAL_MACHINE, "Software\\X", "x", "y"));
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  ERROR_CANTOPEN);
        const BYTE data[] = "y";
        EXPECT_EQ(RegSetValueExA(HKEY_LOCAL_MACHINE, "x", 0, REG_SZ, data, sizeof(data)),
                  ERROR_CANTOPEN);
        EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, ""), ERROR_CANTOPEN);

        EXPECT_EQ(ReadFile(m_store), before);
        EXPECT_EQ(FolderEntries(m_dir), entries);
        std::filesystem::remove(m_store);
    }
}

TEST_F(RobustnessTest, AnEmptyFileIsAnEmptyStore) {
    WriteFile(m_store, "");
    std::string value;
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software", "x", value));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software", "x", "y"));
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software", "x", value));
    EXPECT_EQ(value, "y");
}

TEST_F(RobustnessTest, MissingStoreIsReadAsEmptyAndMadeOnFirstWrite) {
    const std::string folder = m_dir + "/var/lib/ondrelo";
    const std::string store = folder + "/registry.db";
    UseStore(store);

    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    char name[32];
    DWORD size = sizeof(name);
    EXPECT_EQ(RegEnumKeyExA(HKEY_LOCAL_MACHINE, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegQueryValueExA(HKEY_LOCAL_MACHINE, "", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(HKEY_LOCAL_MACHINE, "x"), ERROR_FILE_NOT_FOUND);
    // Opening a root itself needs no file.
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(Exists(m_dir + "/var")) << "reads must not create anything";

    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "x", "y"));
    EXPECT_TRUE(Exists(store));
    std::string value;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "software\\velmora", "X", value));
    EXPECT_EQ(value, "y");
}

TEST_F(RobustnessTest, AStoreDeletedWhileOpenDoesNotComeBack) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Old", "v", "old"));
    // Only the main file goes; its journal files stay behind.
    ASSERT_TRUE(std::filesystem::remove(m_store));
    std::string value;
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Old", "v", value));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\New", "v", "new"));
    EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, "Software"), std::vector<std::string>{"New"});
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Old", "v", value));
}

TEST_F(RobustnessTest, StorePathsThatCannotBeAFile) {
    WriteFile(m_dir + "/plain", "not a folder");
    struct Case {
        std::string path;
        LONG read;
        LONG write;
    };
    const Case cases[] = {
        {m_dir, ERROR_CANTOPEN, ERROR_CANTOPEN},  // a folder
        {m_dir + "/plain/store.db", ERROR_FILE_NOT_FOUND, ERROR_CANTWRITE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        UseStore(c.path);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), c.read);
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  c.write);
    }
    EXPECT_EQ(ReadFile(m_dir + "/plain"), "not a folder");
}

// What an ordinary user sees of a store they may read but not write.
struct UnprivilegedResults {
    long readOk, value, setStatus, createExisting, createNew, deleteTree, writeString;
};

UnprivilegedResults TryAsNobody() {
    std::vector<long> r = RunInChild(
        [] {
            std::string value;
            bool readOk = ReadString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", value);
            HKEY key = nullptr;
            long createExisting =
                RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Velmora", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr);
            const BYTE data[] = "changed";
            long setStatus = key ? RegSetValueExA(key, "v", 0, REG_SZ, data, sizeof(data)) : -1;
            RegCloseKey(key);
            HKEY created = nullptr;
            long createNew = RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\New", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &created, nullptr);
            long deleteTree = RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software");
            long writeString = WriteString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "w", "x");
            return std::vector<long>{readOk,    value == "original", setStatus,  createExisting,
                                     createNew, deleteTree,          writeString};
        },
        true);
    if (r.size() != 7) {
        ADD_FAILURE() << "child gave " << r.size() << " results";
        return {};
    }
    return {r[0], r[1], r[2], r[3], r[4], r[5], r[6]};
}

TEST_F(RobustnessTest, ReadOnlyStoreCanBeReadButNotWritten) {
    // With and without this process holding the store open (which keeps its
    // journal files in place) while the other user reads it.
    for (bool heldOpen : {false, true}) {
        SCOPED_TRACE(heldOpen ? "held open" : "closed");
        if (heldOpen) {
            ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", "original"));
        } else {
            RunInChild([] {
                return std::vector<long>{
                    WriteString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", "original")};
            });
        }
        ASSERT_EQ(chmod(m_store.c_str(), 0444), 0);

        UnprivilegedResults r = TryAsNobody();
        EXPECT_EQ(r.readOk, 1);
        EXPECT_EQ(r.value, 1);
        EXPECT_EQ(r.createExisting, ERROR_SUCCESS);
        EXPECT_EQ(r.setStatus, ERROR_ACCESS_DENIED);
        EXPECT_EQ(r.createNew, ERROR_ACCESS_DENIED);
        EXPECT_EQ(r.deleteTree, ERROR_ACCESS_DENIED);
        EXPECT_EQ(r.writeString, 0);

        std::string value;
        ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", value));
        EXPECT_EQ(value, "original");
        EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "w", value));
        EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, "Software\\New").empty());

        UseStore(m_store + ".other");  // let go of the store before starting over
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software", "x", "y"));
        std::filesystem::remove(m_store);
        UseStore(m_store);
    }
}

TEST_F(RobustnessTest, WritableStoreInAReadOnlyFolder) {
    RunInChild([] {
        return std::vector<long>{
            WriteString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", "original")};
    });
    ASSERT_EQ(chmod(m_store.c_str(), 0666), 0);
    ASSERT_EQ(chmod(m_dir.c_str(), 0555), 0);
    UnprivilegedResults r = TryAsNobody();
    EXPECT_EQ(r.readOk, 1);
    EXPECT_EQ(r.value, 1);
    // The journal cannot be made next to the store, so it cannot be changed.
    EXPECT_EQ(r.setStatus, ERROR_ACCESS_DENIED);
    EXPECT_EQ(r.writeString, 0);
    chmod(m_dir.c_str(), 0755);
    std::string value;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Velmora", "v", value));
    EXPECT_EQ(value, "original");
}

TEST_F(RobustnessTest, NoStoreAndAReadOnlyFolder) {
    const std::string folder = m_dir + "/locked";
    ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
    struct Case {
        const char* what;
        std::string store;
    };
    const Case cases[] = {{"store in the folder", folder + "/store.db"},
                          {"store in a sub folder", folder + "/sub/store.db"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseStore(c.store);
        std::vector<long> r = RunInChild(
            [] {
                HKEY key = nullptr;
                long create = RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, nullptr, 0,
                                              KEY_ALL_ACCESS, nullptr, &key, nullptr);
                std::string value;
                long read = ReadString(HKEY_LOCAL_MACHINE, "Software", "x", value);
                return std::vector<long>{create, read};
            },
            true);
        EXPECT_EQ(r, (std::vector<long>{ERROR_ACCESS_DENIED, 0}));
        EXPECT_TRUE(FolderEntries(folder).empty());
    }
}

}  // namespace
}  // namespace ondrelo::registry::testing
