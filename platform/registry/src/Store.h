// Internal part of the settings store: the SQLite connection behind the
// registry calls, statements, transactions and the mapping of SQLite results
// to registry status codes. Not installed; used by the library's sources only.
#pragma once

#include <sqlite3.h>
#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "ondrelo/registry.h"

// What an HKEY points to. The predefined roots are static objects with an
// empty path, meaning "the store in use at the time of the call".
struct OndRegKey {
    std::int64_t id;
    REGSAM access;
    std::string path;
    bool predefined;
};

namespace ondrelo::registry::detail {

inline constexpr std::int64_t kLocalMachineId = 1;
inline constexpr std::int64_t kClassesRootId = 2;

// One prepared statement, finalised on destruction.
class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int Prepared() const { return m_rc; }
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, const std::string& text);
    Statement& BindBlob(int index, const void* data, int size);
    // SQLITE_ROW, SQLITE_DONE or an error code (also a failed prepare).
    int Step();
    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::string Blob(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

// An open store. hasSchema is false for an empty database file that nothing
// was written to yet: reads then find nothing.
struct Connection {
    sqlite3* db = nullptr;
    std::string path;
    dev_t dev = 0;
    ino_t ino = 0;
    pid_t pid = 0;
    bool readOnly = false;
    bool hasSchema = false;
    bool immutable = false;  // read-only view of a store whose folder we cannot write
    bool walChecked = false;
    bool tidied = false;  // temporaries left by killed store creations removed
    bool wrote = false;   // opened for a change at least once
};

// Serialises every use of the cached connection within the process.
std::mutex& StoreLock();

// Opens (or reuses) the store at path. For reading, a missing file gives
// ERROR_FILE_NOT_FOUND and nothing is created; for writing, the file and its
// folders are created and the tables set up. The caller holds StoreLock().
LONG Acquire(const std::string& path, bool forWrite, Connection** out);

// Status code for a failed SQLite call on db; also records the reason in
// words for LastFailureText.
LONG MapError(int rc, sqlite3* db, bool forWrite);

// The reason in words behind the status of the current call (see
// LastFailureText). Each registry call starts with it cleared.
void ClearFailure();
LONG Fail(LONG status, const std::string& reason);
const std::string& FailureText();

// Ends a registry call: a read-only view of a store that this user cannot
// open the normal way is not kept, so that the next call sees changes.
// The caller holds StoreLock().
void EndCall();

// Folds the write-ahead log into the store file and closes the connection.
// The caller holds StoreLock().
void Close();

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(Connection* conn);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    LONG Status() const { return m_status; }
    LONG Commit();

private:
    Connection* m_conn;
    LONG m_status;
    bool m_open = false;
};

}  // namespace ondrelo::registry::detail
