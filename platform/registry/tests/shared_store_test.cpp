// A machine-wide store as it is installed: written by its owner, read by
// every other user, complete in its own file once writers are done, and
// made without leaving files behind when the maker is killed.
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>

#include "ondrelo/testsupport/StoreFixture.h"

namespace ondrelo::registry::testing {
namespace {

using SharedStoreTest = StoreTest;

constexpr const char* kKey = "Software\\Velmora\\Ondrelo\\Installation";

// Writes in a child process, as an installer run would, and leaves the
// store in the state `finish` leaves it: the child either exits without
// closing (as a killed writer does) or closes the store first.
void WriteInChild(const std::string& value, bool closeStore) {
    RunInChild([&] {
        bool ok = WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", value);
        if (closeStore) {
            CloseStore();
        }
        return std::vector<long>{ok};
    });
}

struct ReaderResults {
    long readOk = 0;
    std::string value;
    long keys = 0;
    long writeStatus = 0;
    std::string writeReason;
};

// What user "nobody" gets from the store: a read, an enumeration and a write.
ReaderResults ReadAsNobody() {
    // The child hands back numbers only: the value's bytes and the reason's
    // bytes, each after its length.
    std::vector<long> r = RunInChild(
        [] {
            std::string value;
            long readOk = ReadString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", value);
            long keys = static_cast<long>(SubKeys(HKEY_LOCAL_MACHINE, "Software\\Velmora\\Ondrelo").size());
            HKEY key = nullptr;
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key);
            const BYTE data[] = "changed";
            long write = key ? RegSetValueExA(key, "scriptspath", 0, REG_SZ, data, sizeof(data)) : -1;
            std::string reason = LastFailureText();
            RegCloseKey(key);
            std::vector<long> out{readOk, keys, write, static_cast<long>(value.size())};
            out.insert(out.end(), value.begin(), value.end());
            out.push_back(static_cast<long>(reason.size()));
            out.insert(out.end(), reason.begin(), reason.end());
            return out;
        },
        true);
    ReaderResults results;
    if (r.size() < 5) {
        ADD_FAILURE() << "the reader gave " << r.size() << " numbers";
        return results;
    }
    results.readOk = r[0];
    results.keys = r[1];
    results.writeStatus = r[2];
    std::size_t at = 4;
    for (long i = 0; i < r[3] && at < r.size(); ++i) {
        results.value += static_cast<char>(r[at++]);
    }
    long reasonSize = at < r.size() ? r[at++] : 0;
    for (long i = 0; i < reasonSize && at < r.size(); ++i) {
        results.writeReason += static_cast<char>(r[at++]);
    }
    return results;
}

TEST_F(SharedStoreTest, AnotherUserReadsTheOwnersStoreInAFolderItMayNotWrite) {
    // The folder (0755, root's) is not writable for "nobody"; the store
    // file is 0644. Every state a writer can leave it in must read.
    struct Case {
        const char* what;
        bool closeStore;
        bool logFilesExpected;
    };
    const Case cases[] = {
        {"writer killed: changes still in the log", false, true},
        {"writer closed: log folded in and removed", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string value = std::string("/usr/share/ondrelo/scripts/") + c.what;
        WriteInChild(value, c.closeStore);
        ASSERT_EQ(Exists(m_store + "-wal"), c.logFilesExpected);
        ASSERT_EQ(Exists(m_store + "-shm"), c.logFilesExpected);

        ReaderResults r = ReadAsNobody();
        EXPECT_EQ(r.readOk, 1);
        EXPECT_EQ(r.value, value);
        EXPECT_EQ(r.keys, 1);
        EXPECT_EQ(r.writeStatus, ERROR_ACCESS_DENIED);
        EXPECT_NE(r.writeReason.find("read-only for this user"), std::string::npos)
            << r.writeReason;
        EXPECT_NE(r.writeReason.find(m_store), std::string::npos) << r.writeReason;
    }
    // A later change by the owner is seen by the next read.
    WriteInChild("changed by the owner", true);
    EXPECT_EQ(ReadAsNobody().value, "changed by the owner");
}

TEST_F(SharedStoreTest, ALogThatCannotBeReadIsNotSkipped) {
    // The log holds the newest value, but its index is gone and cannot be
    // made again by this user. Reading the store file alone would give an
    // old value, so the read fails and says why.
    WriteInChild("old", true);
    WriteInChild("new", false);
    ASSERT_TRUE(Exists(m_store + "-wal"));
    ASSERT_EQ(unlink((m_store + "-shm").c_str()), 0);

    ReaderResults r = ReadAsNobody();
    EXPECT_EQ(r.readOk, 0);
    EXPECT_EQ(r.value, "");
    std::vector<long> reason = RunInChild(
        [] {
            HKEY key = nullptr;
            long status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key);
            long mentionsLog = LastFailureText().find("-wal") != std::string::npos;
            return std::vector<long>{status, mentionsLog};
        },
        true);
    EXPECT_EQ(reason, (std::vector<long>{ERROR_ACCESS_DENIED, 1}));
}

// Opens a copy of the store file alone (without its log) and reads the value.
std::string ReadFromCopyOfStoreFile(const std::string& store, const std::string& copy) {
    WriteFile(copy, ReadFile(store));
    sqlite3* db = nullptr;
    std::string value = "<missing>";
    if (sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT data FROM vals WHERE name = 'scriptspath'", -1, &st,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW) {
            value.assign(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                         static_cast<std::size_t>(sqlite3_column_bytes(st, 0)));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

TEST_F(SharedStoreTest, TheStoreFileAloneHoldsEverySettingOnceWritersAreDone) {
    const std::string copy = m_dir + "/backup.db";
    // A writer that exits normally.
    pid_t pid = fork();
    if (pid == 0) {
        bool ok = WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "written before exit");
        std::exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFromCopyOfStoreFile(m_store, copy), "written before exit");

    // A writer that is done while another program still has the store open.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t reader = fork();
    if (reader == 0) {
        close(gate[1]);
        std::string value;
        ReadString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", value);
        char ch;
        while (read(gate[0], &ch, 1) > 0) {
        }
        _exit(0);
    }
    close(gate[0]);
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "written while read"));
    CloseStore();
    EXPECT_EQ(ReadFromCopyOfStoreFile(m_store, copy), "written while read");
    close(gate[1]);
    waitpid(reader, &status, 0);

    // The store goes on working after it was closed.
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "after closing"));
    std::string value;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", value));
    EXPECT_EQ(value, "after closing");
}

std::vector<std::string> TemporaryFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string name = entry.path().filename().string();
        if (name.find(".new-") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

bool StoreIntact(const std::string& path) {
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        ok = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
             sqlite3_step(st) == SQLITE_ROW &&
             std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return ok;
}

void RemoveStore(const std::string& store) {
    CloseStore();
    for (const char* suffix : {"", "-wal", "-shm"}) {
        unlink((store + suffix).c_str());
    }
}

TEST_F(SharedStoreTest, KilledStoreCreationsLeaveNothingBehind) {
    // How long one creation takes here (the quickest of three), so that the
    // kills spread over it.
    auto creation = std::chrono::microseconds(5000);
    for (int i = 0; i < 3; ++i) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "x"));
        creation = std::min(creation, std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - start));
        RemoveStore(m_store);
    }

    // ONDRELO_STORE_KILLS asks for a longer run than the test suite's.
    const char* asked = std::getenv("ONDRELO_STORE_KILLS");
    const int kKills = asked ? std::max(1, std::atoi(asked)) : 40;
    std::mt19937 random(42);
    int made = 0;
    int intact = 0;
    int left = 0;
    long window = static_cast<long>(creation.count());
    for (int i = 0; i < kKills; ++i) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            (void)write(ready[1], "r", 1);
            _exit(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "x") ? 0 : 1);
        }
        close(ready[1]);
        char ch;
        ASSERT_EQ(read(ready[0], &ch, 1), 1);
        close(ready[0]);
        // Kill it anywhere from its start to a while after it would be done.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (2 * window + 1)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        left += static_cast<int>(TemporaryFiles(m_dir).size());
        // Creation is slower or quicker as the machine is busy: the window
        // follows, so that kills keep landing on both sides of its end.
        window = Exists(m_store) ? window * 9 / 10 : window * 6 / 5 + 1;
        if (Exists(m_store)) {
            ++made;
            intact += StoreIntact(m_store);
            std::string value;
            // A store that is there is usable, whatever the moment of the kill.
            EXPECT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "y"));
            EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", value));
        }
        RemoveStore(m_store);
    }
    // Where the file system has no unnamed files, a killed creation leaves
    // its temporary file until the next writer comes; that one removes it.
    int probe = open(m_dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    const bool unnamedFiles = probe >= 0;
    if (probe >= 0) {
        close(probe);
    }
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "after the kills"));
    const int leftAtEnd = static_cast<int>(TemporaryFiles(m_dir).size());
    std::cout << "[ figures  ] " << kKills << " kills, window from " << 2 * creation.count()
              << " to " << 2 * window << " us ("
              << (unnamedFiles ? "unnamed" : "named") << " temporary files): " << made
              << " stores made, " << intact << " intact, " << left
              << " temporary files seen after the kills, " << leftAtEnd
              << " left after the next write\n";
    EXPECT_EQ(intact, made);
    if (unnamedFiles) {
        EXPECT_EQ(left, 0);
    }
    EXPECT_EQ(leftAtEnd, 0);
    EXPECT_GT(made, 0);
}

TEST_F(SharedStoreTest, TemporariesOfAKilledCreationAreRemovedByTheNextWriter) {
    // What a creation under a temporary name leaves when it is killed, next
    // to one still being made (its maker holds a lock on it) and to files
    // that are not ours.
    const std::vector<std::string> stale = {"store.db.new-Ab12Cd", "store.db.new-Ab12Cd-wal",
                                            "store.db.new-Ab12Cd-shm", "store.db.new-Zz0000-journal"};
    const std::vector<std::string> kept = {"store.db.new-Busy99", "store.db.new-short",
                                           "other.db.new-Ab12Cd", "store.db.new-Ab12Cd.bak"};
    for (const std::string& name : stale) {
        WriteFile(m_dir + "/" + name, "left behind");
    }
    for (const std::string& name : kept) {
        WriteFile(m_dir + "/" + name, "keep");
    }
    int gate[2];
    int ready[2];
    ASSERT_EQ(pipe(gate), 0);
    ASSERT_EQ(pipe(ready), 0);
    pid_t maker = fork();
    if (maker == 0) {
        close(gate[1]);
        int fd = open((m_dir + "/store.db.new-Busy99").c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        fcntl(fd, F_SETLK, &lock);
        (void)write(ready[1], "r", 1);
        char ch;
        while (read(gate[0], &ch, 1) > 0) {
        }
        _exit(0);
    }
    close(gate[0]);
    char ch;
    ASSERT_EQ(read(ready[0], &ch, 1), 1);

    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "x"));
    std::vector<std::string> remaining = TemporaryFiles(m_dir);
    std::sort(remaining.begin(), remaining.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(remaining, expected);

    close(gate[1]);
    waitpid(maker, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    // An existing store is tidied too, by the first writer of a process,
    // even when it finds its key in place.
    CloseStore();
    WriteFile(m_dir + "/store.db.new-Ef34Gh", "left behind after the store was linked");
    RunInChild([] {
        return std::vector<long>{WriteString(HKEY_LOCAL_MACHINE, kKey, "scriptspath", "y")};
    });
    EXPECT_FALSE(Exists(m_dir + "/store.db.new-Ef34Gh"));
}

}  // namespace
}  // namespace ondrelo::registry::testing
