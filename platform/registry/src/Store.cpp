// The SQLite connection behind the settings store.
//
// One connection is cached per process and reopened when the store path
// changes, when the file at that path is replaced, or after a fork (SQLite
// connections must not be shared across processes). It is closed when the
// process exits, which folds the write-ahead log into the store file. A new
// store is built complete in memory, written to an unnamed file and linked
// into place (or, where the file system has no unnamed files, written under
// a temporary name of our own that a later write removes if we died). The
// schema:
//   keys(id, parent, name NOCASE, unique(parent, name)): ids 1 and 2 are the
//       two roots; ids are never reused so a stale handle cannot reach a
//       different key.
//   vals(key, name NOCASE, type, data): a string is stored without its zero,
//       a number as its four bytes.
#include "Store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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
thread_local std::string t_failure;

bool IsDenied(int err) {
    return err == EACCES || err == EPERM || err == EROFS;
}

std::string StoreName(const std::string& path) {
    return "settings store " + path;
}

// Forgets the cached connection. One inherited from the parent process is
// left alone: closing it here could disturb the parent's locks and files.
void Drop() {
    if (g_conn.db && g_conn.pid == getpid()) {
        sqlite3_close_v2(g_conn.db);
    }
    g_conn = Connection{};
}

// Copies everything in the write-ahead log into the store file and empties
// the log, then closes. Closing alone folds the log in only when no other
// process has the store open; the checkpoint does it regardless, waiting for
// readers in the middle of a read (up to the busy timeout). A connection
// that only read leaves that to the writers.
void CheckpointAndDrop() {
    if (g_conn.db && g_conn.pid == getpid() && g_conn.wrote) {
        sqlite3_exec(g_conn.db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    }
    Drop();
}

// A process that exits normally closes its connection. No lock is taken
// here: the store lock may already be gone at this point of the exit.
struct CloseAtExit {
    ~CloseAtExit() { CheckpointAndDrop(); }
} g_closeAtExit;

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
}

// The first folder on the way to path that exists but is no folder, for
// telling why a store cannot be made there; empty when there is none.
std::string NonFolderOnPath(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        struct stat st {};
        if (stat(prefix.c_str(), &st) != 0) {
            return std::string();
        }
        if (!S_ISDIR(st.st_mode)) {
            return prefix;
        }
    }
    return std::string();
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
    return access(FolderOf(path).c_str(), W_OK | X_OK) == 0 || !IsDenied(errno);
}

// Whether the store's write-ahead log holds anything.
bool HasLogContent(const std::string& path) {
    struct stat st {};
    return stat((path + "-wal").c_str(), &st) == 0 && st.st_size > 0;
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

// Failures of a reader that cannot make the store's journal files (the
// write-ahead log and its index) next to a store in a folder it may not
// write.
bool NeedsJournalFiles(int rc) {
    return (rc & 0xff) == SQLITE_CANTOPEN || rc == SQLITE_READONLY_DIRECTORY ||
           rc == SQLITE_READONLY_CANTINIT;
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
        if (NeedsJournalFiles(rc) && !forWrite && !HasLogContent(path)) {
            // The journal files cannot be made next to the store (read-only
            // folder, as for every user but the owner of a machine-wide
            // store). With no log to read, the store file alone holds every
            // setting: read it as a file nobody changes, opened anew for
            // each call.
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
            return Fail(ERROR_CANTOPEN,
                        StoreName(path) + " is another program's database, not a settings store");
        }
        c.hasSchema = objects > 0;
    }
    if (rc != SQLITE_OK) {
        LONG status = MapError(rc, c.db, forWrite);
        if (NeedsJournalFiles(rc) && !forWrite) {
            status = Fail(ERROR_ACCESS_DENIED,
                          StoreName(path) +
                              " cannot be read by this user: its latest changes are in " + path +
                              "-wal, which this user may not use; they reach the store file once"
                              " its owner closes it");
        }
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
            return Fail(ERROR_CANTOPEN, StoreName(c.path) +
                                            " is another program's database, not a settings store");
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

// Held by a process that removes the stale journals of a missing store and
// links its new store file into place. Without it, one creator could find
// the store missing, another link its store and begin writing its log, and
// the first then delete that log, losing the other's writes. The lock is on
// the store's folder and lasts only for the check, the removal and the link.
class CCreationLock {
public:
    explicit CCreationLock(const std::string& folder)
        : m_fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (m_fd >= 0 && flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~CCreationLock() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    CCreationLock(const CCreationLock&) = delete;
    CCreationLock& operator=(const CCreationLock&) = delete;

private:
    int m_fd;
};

// The bytes of a new, empty store: the tables made in memory, and the file
// marked for write-ahead logging (the two format bytes at offsets 18 and 19
// are 2 in such a file; SQLite reads them when it opens it).
LONG BuildStoreImage(std::string& image) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        rc = Exec(db, kSchema);
    }
    sqlite3_int64 size = 0;
    unsigned char* bytes = rc == SQLITE_OK ? sqlite3_serialize(db, "main", &size, 0) : nullptr;
    sqlite3_close_v2(db);
    if (bytes == nullptr || size < 100) {
        sqlite3_free(bytes);
        return ERROR_CANTWRITE;
    }
    image.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    image[18] = 2;
    image[19] = 2;
    return ERROR_SUCCESS;
}

// Writes all of bytes to fd and makes sure they are on the disk before the
// file gets its name.
int WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return fsync(fd) == 0 ? 0 : errno;
}

LONG CreateFailed(const std::string& path, int err, const char* what) {
    return Fail(IsDenied(err) ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE,
                StoreName(path) + " cannot be made: " + what + " (" + std::strerror(err) + ")");
}

// Gives the finished file its name. EEXIST means another process made the
// store first; theirs is used.
LONG LinkIntoPlace(const std::string& from, const std::string& path, int flags, int fromDir = AT_FDCWD) {
    if (linkat(fromDir, from.c_str(), AT_FDCWD, path.c_str(), flags) == 0 || errno == EEXIST) {
        return ERROR_SUCCESS;
    }
    return -errno;
}

// Temporary names of our own: "<store file>.new-XXXXXX" as mkstemp makes
// them, and the journal files that older versions left beside them.
bool IsOurTemporary(const std::string& entry, const std::string& base, std::string& main) {
    const std::string prefix = base + ".new-";
    if (entry.compare(0, prefix.size(), prefix) != 0 || entry.size() < prefix.size() + 6) {
        return false;
    }
    std::string suffix = entry.substr(prefix.size() + 6);
    if (!suffix.empty() && suffix != "-wal" && suffix != "-shm" && suffix != "-journal") {
        return false;
    }
    for (std::size_t i = prefix.size(); i < prefix.size() + 6; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) {
            return false;
        }
    }
    main = entry.substr(0, prefix.size() + 6);
    return true;
}

// Whether another process is still writing the temporary file: a maker
// holds a write lock on it until it is done.
bool InUse(const std::string& file) {
    int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    bool used = false;
    if (fcntl(fd, F_GETLK, &probe) == 0) {
        used = probe.l_type != F_UNLCK;
    } else {
        // No locks on this file system: only a file untouched for a while
        // counts as left behind.
        struct stat st {};
        used = fstat(fd, &st) != 0 || st.st_mtime > time(nullptr) - 600;
    }
    close(fd);
    return used;
}

// Removes the temporary files that a store creation left when it was killed
// before it could clean up. Failures (a folder this user may not change)
// are of no consequence.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string base = path.substr(path.rfind('/') + 1);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(dir)) {
        std::string main;
        if (IsOurTemporary(entry->d_name, base, main)) {
            stale.push_back(entry->d_name);
        }
    }
    closedir(dir);
    for (const std::string& name : stale) {
        std::string main;
        IsOurTemporary(name, base, main);
        const std::string mainPath = folder + "/" + main;
        // A journal file goes with its temporary file, or alone when that is gone.
        if (!InUse(mainPath)) {
            unlink((folder + "/" + name).c_str());
        }
    }
}

// Makes the new store under a temporary name of our own, for file systems
// without unnamed files. The file is write-locked while it is made, so that
// a process tidying up after a killed creation leaves it alone.
LONG CreateUnderTemporaryName(const std::string& path, const std::string& image, mode_t mode) {
    RemoveStaleTemporaries(path);
    for (int attempt = 0;; ++attempt) {
        std::string temp = path + ".new-XXXXXX";
        int fd = mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) {
            return CreateFailed(path, errno, "cannot make a temporary file in its folder");
        }
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        fcntl(fd, F_SETLK, &lock);
        fchmod(fd, mode);
        int err = WriteAll(fd, image);
        LONG status = err ? CreateFailed(path, err, "cannot write it") : ERROR_SUCCESS;
        if (status == ERROR_SUCCESS) {
            LONG linked = 0;
            {
                CCreationLock creation(FolderOf(path));
                RemoveStaleJournal(path);
                linked = LinkIntoPlace(temp, path, 0);
            }
            if (linked == -ENOENT && attempt < 3) {
                // Another process took our file for a left-over one in the
                // moment before we locked it: start again.
                close(fd);
                continue;
            }
            if (linked == -EPERM || linked == -ENOTSUP || linked == -EOPNOTSUPP) {
                // No hard links here: let SQLite make an empty file in place,
                // which the first write sets up.
                sqlite3* db = nullptr;
                int rc = sqlite3_open_v2(path.c_str(), &db,
                                         SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
                status = MapError(rc, db, true);
                sqlite3_close_v2(db);
            } else if (linked != ERROR_SUCCESS) {
                status = CreateFailed(path, -linked, "cannot give it its name");
            }
        }
        unlink(temp.c_str());
        close(fd);
        return status;
    }
}

// Makes a new store at path, complete with its tables and in write-ahead
// mode, so that no process ever sees a half-made one and a process killed
// on the way leaves nothing behind: the file is written without a name and
// linked into place, which fails if another process got there first (then
// theirs is used).
LONG CreateStoreFile(const std::string& path) {
    std::string image;
    LONG status = BuildStoreImage(image);
    if (status != ERROR_SUCCESS) {
        return Fail(status, StoreName(path) + " cannot be made: out of memory");
    }
    // Everyone may read the per-machine store.
    mode_t mask = umask(0);
    umask(mask);
    const mode_t mode = 0666 & ~mask;

    int fd = open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
        if (IsDenied(errno)) {
            return CreateFailed(path, errno, "no right to write in its folder");
        }
        return CreateUnderTemporaryName(path, image, mode);
    }
    int err = WriteAll(fd, image);
    if (err != 0) {
        close(fd);
        return CreateFailed(path, err, "cannot write it");
    }
    LONG linked = 0;
    {
        CCreationLock creation(FolderOf(path));
        RemoveStaleJournal(path);
        linked = LinkIntoPlace("/proc/self/fd/" + std::to_string(fd), path, AT_SYMLINK_FOLLOW);
        if (linked != ERROR_SUCCESS && linked != -EEXIST) {
            // Without /proc, a privileged process can still link the file itself.
            LONG direct = LinkIntoPlace("", path, AT_EMPTY_PATH, fd);
            linked = direct == ERROR_SUCCESS ? direct : linked;
        }
    }
    close(fd);
    if (linked == ERROR_SUCCESS) {
        return ERROR_SUCCESS;
    }
    if (IsDenied(-linked) && linked != -EPERM) {
        return CreateFailed(path, -linked, "cannot give it its name");
    }
    return CreateUnderTemporaryName(path, image, mode);
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

void ClearFailure() {
    t_failure.clear();
}

LONG Fail(LONG status, const std::string& reason) {
    t_failure = reason;
    return status;
}

const std::string& FailureText() {
    return t_failure;
}

LONG MapError(int rc, sqlite3* db, bool forWrite) {
    int sysErr = db ? sqlite3_system_errno(db) : 0;
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    const std::string store = StoreName(file && *file ? file : "");
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const std::string system =
        sysErr != 0 ? std::string(" (") + std::strerror(sysErr) + ")" : std::string();
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return ERROR_SUCCESS;
        case SQLITE_READONLY:
            if (rc == SQLITE_READONLY_DIRECTORY) {
                return Fail(ERROR_ACCESS_DENIED,
                            store + " is read-only for this user: it cannot make the store's"
                                    " journal files in a folder it may not write");
            }
            return Fail(ERROR_ACCESS_DENIED, store + " is read-only for this user");
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return Fail(ERROR_ACCESS_DENIED, store + " may not be used: " + detail + system);
        case SQLITE_CORRUPT:
            return Fail(ERROR_CANTOPEN, store + " is damaged (" + detail + ")");
        case SQLITE_NOTADB:
            return Fail(ERROR_CANTOPEN, store + " is not a settings store (" + detail + ")");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Fail(forWrite ? ERROR_CANTWRITE : ERROR_CANTOPEN,
                        store + " is busy: another program kept it locked for more than " +
                            std::to_string(kBusyTimeout.count() / 1000) + " seconds");
        case SQLITE_FULL:
            return Fail(ERROR_CANTWRITE, store + " cannot be written: the disk is full");
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
            if (IsDenied(sysErr)) {
                return Fail(ERROR_ACCESS_DENIED, store + ": missing rights" + system);
            }
            break;
        default:
            break;
    }
    return Fail(forWrite ? ERROR_CANTWRITE : ERROR_CANTOPEN,
                store + (forWrite ? " cannot be written: " : " cannot be opened: ") + detail +
                    system);
}

LONG Acquire(const std::string& path, bool forWrite, Connection** out) {
    *out = nullptr;
    if (path.empty()) {
        return Fail(ERROR_CANTOPEN, "no settings store is named (ONDRELO_REGISTRY is empty)");
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        int err = errno;
        if (g_conn.path == path) {
            Drop();
        }
        if (err == EACCES) {
            return Fail(ERROR_ACCESS_DENIED,
                        StoreName(path) + " cannot be reached: missing rights to a folder on its way");
        }
        if (err == ENOTDIR) {
            std::string notFolder = NonFolderOnPath(path);
            Fail(ERROR_FILE_NOT_FOUND,
                 StoreName(path) + (forWrite ? " cannot be made: " : " does not exist: ") +
                     (notFolder.empty() ? FolderOf(path) : notFolder) + " is not a folder");
            return forWrite ? ERROR_CANTWRITE : ERROR_FILE_NOT_FOUND;
        }
        if (err != ENOENT) {
            return Fail(forWrite ? ERROR_CANTWRITE : ERROR_CANTOPEN,
                        StoreName(path) + " cannot be opened (" + std::strerror(err) + ")");
        }
        if (!forWrite) {
            return ERROR_FILE_NOT_FOUND;
        }
        int folderErr = MakeParentFolders(path);
        if (folderErr == ENOTDIR || folderErr == EEXIST) {
            std::string notFolder = NonFolderOnPath(path);
            return Fail(ERROR_CANTWRITE, StoreName(path) + " cannot be made: " +
                                             (notFolder.empty() ? FolderOf(path) : notFolder) +
                                             " is not a folder");
        }
        if (folderErr != 0) {
            return CreateFailed(path, folderErr, "cannot make its folder");
        }
        if (!FolderWritable(path)) {
            return CreateFailed(path, EACCES, "no right to write in its folder");
        }
        LONG status = CreateStoreFile(path);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (stat(path.c_str(), &st) != 0) {
            return CreateFailed(path, errno, "it is gone again");
        }
    }
    if (S_ISDIR(st.st_mode)) {
        return Fail(ERROR_CANTOPEN, StoreName(path) + " is a folder, not a store file");
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
            return Fail(ERROR_ACCESS_DENIED, StoreName(path) + " is read-only for this user");
        }
        g_conn.wrote = true;
        if (!g_conn.tidied) {
            // Once per connection: a creation killed after it had linked the
            // store into place may have left its temporary file.
            g_conn.tidied = true;
            RemoveStaleTemporaries(path);
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
            return Fail(ERROR_CANTOPEN,
                        StoreName(path) + " is another program's database, not a settings store");
        }
        g_conn.hasSchema = objects > 0;
    }
    *out = &g_conn;
    return ERROR_SUCCESS;
}

void EndCall() {
    if (g_conn.immutable) {
        Drop();
    }
}

void Close() {
    CheckpointAndDrop();
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
