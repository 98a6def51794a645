// The SQLite connection behind the settings store.
//
// One connection is cached per process and reopened when the store path
// changes, when the file at that path is replaced, or after a fork (SQLite
// connections must not be shared across processes). A new store is built
// complete under a temporary name and linked into place. The schema:
//   keys(id, parent, name NOCASE, unique(parent, name)): ids 1 and 2 are the
//       two roots; ids are never reused so a stale handle cannot reach a
//       different key.
//   vals(key, name NOCASE, type, data): a string is stored without its zero,
//       a number as its four bytes.
#include "Store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>

namespace ondrelo::registry::detail {

namespace {

constexpr int kApplicationId = 0x4F4E4452;  // marks a database as one of our stores
// How long a call waits for other processes' transactions to end.
constexpr std::chrono::milliseconds kBusyTimeout(5000);

constexpr const char* kSchema =
    "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " parent INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
    "CREATE TABLE vals(key INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, name));"
    "INSERT INTO keys(id, parent, name) VALUES(1, 0, 'HKEY_LOCAL_MACHINE'),"
    " (2, 0, 'HKEY_CLASSES_ROOT');"
    "PRAGMA application_id = 1330529362;"
    "PRAGMA user_version = 1;";
static_assert(kApplicationId == 1330529362);

Connection g_conn;

bool IsDenied(int err) {
    return err == EACCES || err == EPERM || err == EROFS;
}

// Forgets the cached connection. One inherited from the parent process is
// left alone: closing it here could disturb the parent's locks and files.
void Drop() {
    if (g_conn.db && g_conn.pid == getpid()) {
        sqlite3_close_v2(g_conn.db);
    }
    g_conn = Connection{};
}

// mkdir -p for the folder of path; 0 or an errno value.
int MakeParentFolders(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return 0;
    }
    std::string folder = path.substr(0, slash);
    for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') {
            continue;
        }
        std::string prefix = folder.substr(0, pos);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
        return errno;
    }
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

// Whether a new file may be made in the folder of path.
bool FolderWritable(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
    return access(folder.c_str(), W_OK | X_OK) == 0 || !IsDenied(errno);
}

// A "file:" URI for path, for opening with URI parameters.
std::string FileUri(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char ch : path) {
        if (std::isalnum(ch) || std::strchr("/._-~", ch)) {
            uri += static_cast<char>(ch);
        } else {
            uri += '%';
            uri += hex[ch >> 4];
            uri += hex[ch & 15];
        }
    }
    return uri;
}

std::chrono::steady_clock::time_point g_busySince;

// Waits a short, random while and asks SQLite to try again, up to
// kBusyTimeout. Short sleeps keep one process from starving while others
// take turns with the lock (SQLite's own handler backs off to 100 ms).
int OnBusy(void*, int count) {
    auto now = std::chrono::steady_clock::now();
    if (count == 0) {
        g_busySince = now;
    } else if (now - g_busySince > kBusyTimeout) {
        return 0;
    }
    static std::minstd_rand random(static_cast<unsigned>(getpid()) ^
                                   static_cast<unsigned>(now.time_since_epoch().count()));
    std::this_thread::sleep_for(std::chrono::microseconds(200 + random() % 1800));
    return 1;
}

int Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Reads the number of schema objects and the application id; this is also
// the first real access to the file, where a non-database shows.
int Probe(sqlite3* db, std::int64_t& objects, std::int64_t& appId) {
    Statement st(db,
                 "SELECT (SELECT count(*) FROM sqlite_master),"
                 " (SELECT application_id FROM pragma_application_id)");
    int rc = st.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    objects = st.Int(0);
    appId = st.Int(1);
    return SQLITE_OK;
}

bool IsCantOpen(int rc) {
    return (rc & 0xff) == SQLITE_CANTOPEN;
}

LONG OpenConnection(const std::string& path, bool forWrite, Connection& c) {
    c = Connection{};
    c.path = path;
    c.pid = getpid();
    int rc = sqlite3_open_v2(path.c_str(), &c.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(c.db, 1);
        sqlite3_busy_handler(c.db, OnBusy, nullptr);
        // With write-ahead logging this still never corrupts the store; a
        // power cut may only lose the last few changes, and commits no longer
        // wait for the disk each time.
        Exec(c.db, "PRAGMA synchronous = NORMAL");
        c.readOnly = sqlite3_db_readonly(c.db, "main") == 1;
        std::int64_t objects = 0;
        std::int64_t appId = 0;
        rc = Probe(c.db, objects, appId);
        if (IsCantOpen(rc) && !forWrite) {
            // The journal files cannot be made next to the store (read-only
            // folder): read it as a file nobody changes.
            sqlite3_close_v2(c.db);
            c.db = nullptr;
            std::string uri = FileUri(path) + "?immutable=1";
            rc = sqlite3_open_v2(uri.c_str(), &c.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                                 nullptr);
            if (rc == SQLITE_OK) {
                c.readOnly = true;
                c.immutable = true;
                rc = Probe(c.db, objects, appId);
            }
        }
        if (rc == SQLITE_OK && objects > 0 && appId != kApplicationId) {
            // Some other program's database: leave it untouched.
            sqlite3_close_v2(c.db);
            c = Connection{};
            return ERROR_CANTOPEN;
        }
        c.hasSchema = objects > 0;
    }
    if (rc != SQLITE_OK) {
        LONG status = MapError(rc, c.db, forWrite);
        sqlite3_close_v2(c.db);
        c = Connection{};
        return status;
    }
    return ERROR_SUCCESS;
}

// Sets up the tables in an empty store, once, even with several processes
// racing to do so.
LONG CreateSchema(Connection& c) {
    WriteTransaction txn(&c);
    if (txn.Status() != ERROR_SUCCESS) {
        return txn.Status();
    }
    std::int64_t objects = 0;
    std::int64_t appId = 0;
    int rc = Probe(c.db, objects, appId);
    if (rc != SQLITE_OK) {
        return MapError(rc, c.db, true);
    }
    if (objects > 0) {
        if (appId != kApplicationId) {
            return ERROR_CANTOPEN;
        }
    } else {
        rc = Exec(c.db, kSchema);
        if (rc != SQLITE_OK) {
            return MapError(rc, c.db, true);
        }
    }
    LONG status = txn.Commit();
    if (status == ERROR_SUCCESS) {
        c.hasSchema = true;
    }
    return status;
}

// Write-ahead logging lets readers go on while one process writes. It is a
// property of the file, so it is set once; failure leaves the (equally
// correct) rollback journal.
void EnsureWal(Connection& c) {
    if (c.walChecked) {
        return;
    }
    c.walChecked = true;
    Statement mode(c.db, "PRAGMA journal_mode");
    if (mode.Step() == SQLITE_ROW && mode.Text(0) == "wal") {
        return;
    }
    Exec(c.db, "PRAGMA journal_mode = WAL");
}

// Journal files left behind by a store that was deleted while a process had
// it open. SQLite would replay such a journal into a new store made under the
// same name, bringing back the old store's keys.
void RemoveStaleJournal(const std::string& path) {
    if (access(path.c_str(), F_OK) == 0) {
        return;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        unlink((path + suffix).c_str());
    }
}

// Makes a new store at path, complete with its tables and in write-ahead
// mode, so that no process ever sees a half-made one: it is built under a
// temporary name and linked into place, which fails if another process got
// there first (then theirs is used).
LONG CreateStoreFile(const std::string& path) {
    std::string temp = path + ".new-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        return IsDenied(errno) ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
    }
    // Everyone may read the per-machine store; mkstemp makes it private.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    LONG status = MapError(rc, db, true);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        Exec(db, "PRAGMA journal_mode = WAL");
        rc = Exec(db, "BEGIN IMMEDIATE");
        if (rc == SQLITE_OK) {
            rc = Exec(db, kSchema);
        }
        if (rc == SQLITE_OK) {
            rc = Exec(db, "COMMIT");
        }
        status = MapError(rc, db, true);
    }
    sqlite3_close_v2(db);
    if (status == ERROR_SUCCESS) {
        RemoveStaleJournal(path);
    }
    if (status == ERROR_SUCCESS && link(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        if (err == EPERM || err == ENOTSUP || err == EOPNOTSUPP) {
            // No hard links here: let SQLite make an empty file in place,
            // which the first write sets up.
            db = nullptr;
            rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
            status = MapError(rc, db, true);
            sqlite3_close_v2(db);
        } else if (err != EEXIST) {
            status = IsDenied(err) ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
        }
    }
    unlink(temp.c_str());
    unlink((temp + "-wal").c_str());
    unlink((temp + "-shm").c_str());
    return status;
}

}  // namespace

std::mutex& StoreLock() {
    static std::mutex lock;
    return lock;
}

Statement::Statement(sqlite3* db, const char* sql) {
    m_rc = db ? sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) : SQLITE_MISUSE;
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

Statement& Statement::Bind(int index, std::int64_t value) {
    if (m_stmt) {
        sqlite3_bind_int64(m_stmt, index, value);
    }
    return *this;
}

Statement& Statement::Bind(int index, const std::string& text) {
    if (m_stmt) {
        sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    return *this;
}

Statement& Statement::BindBlob(int index, const void* data, int size) {
    if (m_stmt) {
        // A zero-length blob must still be a blob, not NULL.
        sqlite3_bind_blob(m_stmt, index, size > 0 ? data : "", size, SQLITE_TRANSIENT);
    }
    return *this;
}

int Statement::Step() {
    if (m_rc != SQLITE_OK) {
        return m_rc;
    }
    return sqlite3_step(m_stmt);
}

std::int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    int size = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

std::string Statement::Blob(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

LONG MapError(int rc, sqlite3* db, bool forWrite) {
    int sysErr = db ? sqlite3_system_errno(db) : 0;
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return ERROR_SUCCESS;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return ERROR_ACCESS_DENIED;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return ERROR_CANTOPEN;
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
            if (IsDenied(sysErr)) {
                return ERROR_ACCESS_DENIED;
            }
            break;
        default:
            break;
    }
    return forWrite ? ERROR_CANTWRITE : ERROR_CANTOPEN;
}

LONG Acquire(const std::string& path, bool forWrite, Connection** out) {
    *out = nullptr;
    if (path.empty()) {
        return ERROR_CANTOPEN;
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        int err = errno;
        if (g_conn.path == path) {
            Drop();
        }
        if (err == EACCES) {
            return ERROR_ACCESS_DENIED;
        }
        if (err != ENOENT && err != ENOTDIR) {
            return forWrite ? ERROR_CANTWRITE : ERROR_CANTOPEN;
        }
        if (!forWrite) {
            return ERROR_FILE_NOT_FOUND;
        }
        int folderErr = MakeParentFolders(path);
        if (folderErr != 0) {
            return IsDenied(folderErr) ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
        }
        if (!FolderWritable(path)) {
            return ERROR_ACCESS_DENIED;
        }
        LONG status = CreateStoreFile(path);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (stat(path.c_str(), &st) != 0) {
            return ERROR_CANTWRITE;
        }
    }
    if (S_ISDIR(st.st_mode)) {
        return ERROR_CANTOPEN;
    }
    bool reuse = g_conn.db && g_conn.path == path && g_conn.dev == st.st_dev &&
                 g_conn.ino == st.st_ino && g_conn.pid == getpid() && !g_conn.immutable &&
                 !(forWrite && g_conn.readOnly);
    if (!reuse) {
        Drop();
        LONG status = OpenConnection(path, forWrite, g_conn);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        g_conn.dev = st.st_dev;
        g_conn.ino = st.st_ino;
    }

    if (forWrite) {
        if (g_conn.readOnly) {
            return ERROR_ACCESS_DENIED;
        }
        EnsureWal(g_conn);
        if (!g_conn.hasSchema) {
            LONG status = CreateSchema(g_conn);
            if (status != ERROR_SUCCESS) {
                return status;
            }
        }
    } else if (!g_conn.hasSchema) {
        // Another process may have written the first values meanwhile.
        std::int64_t objects = 0;
        std::int64_t appId = 0;
        int rc = Probe(g_conn.db, objects, appId);
        if (rc != SQLITE_OK) {
            return MapError(rc, g_conn.db, false);
        }
        if (objects > 0 && appId != kApplicationId) {
            return ERROR_CANTOPEN;
        }
        g_conn.hasSchema = objects > 0;
    }
    *out = &g_conn;
    return ERROR_SUCCESS;
}

WriteTransaction::WriteTransaction(Connection* conn) : m_conn(conn) {
    int rc = Exec(m_conn->db, "BEGIN IMMEDIATE");
    m_status = MapError(rc, m_conn->db, true);
    m_open = rc == SQLITE_OK;
}

WriteTransaction::~WriteTransaction() {
    if (m_open) {
        Exec(m_conn->db, "ROLLBACK");
    }
}

LONG WriteTransaction::Commit() {
    if (!m_open) {
        return m_status;
    }
    int rc = Exec(m_conn->db, "COMMIT");
    if (rc != SQLITE_OK) {
        m_status = MapError(rc, m_conn->db, true);
        return m_status;  // the destructor rolls back
    }
    m_open = false;
    return ERROR_SUCCESS;
}

}  // namespace ondrelo::registry::detail
