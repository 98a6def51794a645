// The registry-style calls on top of the SQLite store.
//
// Every call takes the process-wide store lock, opens (or reuses) the
// connection, and runs each change as one BEGIN IMMEDIATE transaction so
// that concurrent writers in other processes wait for each other instead of
// losing updates. Handles are checked against the set of live handles, so a
// closed or foreign pointer gives ERROR_INVALID_HANDLE rather than a crash.
#include <unistd.h>

#include <cstring>
#include <optional>
#include <unordered_set>
#include <vector>

#include "Store.h"

using ondrelo::registry::detail::Acquire;
using ondrelo::registry::detail::ClearFailure;
using ondrelo::registry::detail::Connection;
using ondrelo::registry::detail::EndCall;
using ondrelo::registry::detail::Fail;
using ondrelo::registry::detail::kClassesRootId;
using ondrelo::registry::detail::kLocalMachineId;
using ondrelo::registry::detail::MapError;
using ondrelo::registry::detail::Statement;
using ondrelo::registry::detail::StoreLock;
using ondrelo::registry::detail::WriteTransaction;

namespace {

OndRegKey g_localMachine{kLocalMachineId, KEY_ALL_ACCESS, std::string(), true};
OndRegKey g_classesRoot{kClassesRootId, KEY_ALL_ACCESS, std::string(), true};

}  // namespace

const HKEY HKEY_LOCAL_MACHINE = &g_localMachine;
const HKEY HKEY_CLASSES_ROOT = &g_classesRoot;

namespace {

std::unordered_set<HKEY>& LiveHandles() {
    static std::unordered_set<HKEY> handles;
    return handles;
}

// The key a call works on, copied out of its handle.
struct Target {
    std::int64_t id = 0;
    REGSAM access = 0;
    std::string path;
    bool root = false;
};

LONG Resolve(HKEY key, Target& target) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT) {
        target = Target{key->id, KEY_ALL_ACCESS, ondrelo::registry::StorePath(), true};
        return ERROR_SUCCESS;
    }
    if (key == nullptr || LiveHandles().count(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    target = Target{key->id, key->access, key->path, false};
    return ERROR_SUCCESS;
}

HKEY NewHandle(std::int64_t id, REGSAM access, const std::string& path) {
    HKEY key = new OndRegKey{id, access, path, false};
    LiveHandles().insert(key);
    return key;
}

// "Software\\Velmora\\Ondrelo" -> its names; empty parts (doubled or
// trailing backslashes) are ignored.
std::vector<std::string> SplitKeyPath(const char* subKey) {
    std::vector<std::string> parts;
    if (subKey == nullptr) {
        return parts;
    }
    std::string part;
    for (const char* p = subKey; *p; ++p) {
        if (*p == '\\') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

std::string ValueName(const char* name) {
    return name ? std::string(name) : std::string();
}

bool StoreFileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// Status of a statement that looks one row up: found, missing, or failed.
LONG Found(int rc, Connection* conn, bool forWrite) {
    if (rc == SQLITE_ROW) {
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : MapError(rc, conn->db, forWrite);
}

// Status of a change statement, which must run to its end.
LONG Done(int rc, Connection* conn) {
    return rc == SQLITE_DONE ? ERROR_SUCCESS : MapError(rc, conn->db, true);
}

LONG KeyExists(Connection* conn, std::int64_t id, bool forWrite) {
    Statement st(conn->db, "SELECT 1 FROM keys WHERE id = ?");
    return Found(st.Bind(1, id).Step(), conn, forWrite);
}

LONG FindChild(Connection* conn, std::int64_t parent, const std::string& name, std::int64_t& id,
               bool forWrite) {
    Statement st(conn->db, "SELECT id FROM keys WHERE parent = ? AND name = ?");
    LONG status = Found(st.Bind(1, parent).Bind(2, name).Step(), conn, forWrite);
    if (status == ERROR_SUCCESS) {
        id = st.Int(0);
    }
    return status;
}

LONG Walk(Connection* conn, std::int64_t start, const std::vector<std::string>& parts,
          std::int64_t& id, bool forWrite) {
    id = start;
    for (const std::string& part : parts) {
        LONG status = FindChild(conn, id, part, id, forWrite);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    return ERROR_SUCCESS;
}

// One registry call on one key: holds the store lock for the whole call,
// resolves the handle, and opens the store for reading or for a change.
// A change runs in one transaction that is rolled back unless committed.
class KeyCall {
public:
    explicit KeyCall(HKEY key) : m_lock(StoreLock()), m_status(Begin(key, m_target)) {}
    ~KeyCall() {
        m_txn.reset();
        EndCall();
    }
    KeyCall(const KeyCall&) = delete;
    KeyCall& operator=(const KeyCall&) = delete;

    // ERROR_SUCCESS when the handle named a key.
    LONG Status() const { return m_status; }
    const Target& Key() const { return m_target; }
    Connection* Conn() const { return m_conn; }

    // Opens the store for reading and checks that the key still exists. A
    // missing or empty store holds no keys below the roots.
    LONG Read() {
        LONG status = Acquire(m_target.path, false, &m_conn);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (!m_conn->hasSchema) {
            return ERROR_FILE_NOT_FOUND;
        }
        return m_target.root ? ERROR_SUCCESS : KeyExists(m_conn, m_target.id, false);
    }

    // Checks that the handle has one of the needed rights, opens the store
    // for writing and begins the transaction, in which the key must still
    // exist. Only a change that adds something (createStore) may bring a
    // missing store into being; a handle to a key whose store has vanished
    // never does.
    LONG Write(REGSAM needed, bool createStore) {
        if ((m_target.access & needed) == 0) {
            return ERROR_ACCESS_DENIED;
        }
        if ((!createStore || !m_target.root) && !StoreFileExists(m_target.path)) {
            return ERROR_FILE_NOT_FOUND;
        }
        LONG status = Acquire(m_target.path, true, &m_conn);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        m_txn.emplace(m_conn);
        if (m_txn->Status() != ERROR_SUCCESS) {
            return m_txn->Status();
        }
        return m_target.root ? ERROR_SUCCESS : KeyExists(m_conn, m_target.id, true);
    }

    LONG Commit() { return m_txn->Commit(); }

private:
    static LONG Begin(HKEY key, Target& target) {
        ClearFailure();
        return Resolve(key, target);
    }

    std::lock_guard<std::mutex> m_lock;
    Target m_target;
    LONG m_status;
    Connection* m_conn = nullptr;
    std::optional<WriteTransaction> m_txn;
};

// Hands a stored value to the caller's buffers; see RegQueryValueExA.
LONG CopyValueOut(DWORD type, const std::string& stored, DWORD* typeOut, BYTE* data,
                  DWORD* dataSize) {
    DWORD needed = static_cast<DWORD>(stored.size() + (type == REG_SZ ? 1 : 0));
    if (typeOut) {
        *typeOut = type;
    }
    if (data == nullptr) {
        if (dataSize) {
            *dataSize = needed;
        }
        return ERROR_SUCCESS;
    }
    if (*dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, stored.data(), stored.size());
    if (type == REG_SZ) {
        data[stored.size()] = 0;
    }
    *dataSize = needed;
    return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer of *size characters (zero included).
LONG CopyNameOut(const std::string& text, char* name, DWORD* size) {
    if (text.size() + 1 > *size) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, text.c_str(), text.size() + 1);
    *size = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

// Deletes the key's sub keys with everything below them, the key's own
// values, and (withKey) the key itself. Runs inside the caller's transaction.
LONG DeleteBelow(Connection* conn, std::int64_t id, bool withKey) {
    const char* seed = withKey ? "SELECT ?1" : "SELECT id FROM keys WHERE parent = ?1";
    std::string tree = std::string("WITH RECURSIVE tree(id) AS (") + seed +
                       " UNION ALL SELECT k.id FROM keys k JOIN tree ON k.parent = tree.id) ";
    std::string deleteValues = tree + "DELETE FROM vals WHERE key IN (SELECT id FROM tree)";
    std::string deleteKeys = tree + "DELETE FROM keys WHERE id IN (SELECT id FROM tree)";
    for (const std::string& sql : {deleteValues, deleteKeys}) {
        Statement st(conn->db, sql.c_str());
        LONG status = Done(st.Bind(1, id).Step(), conn);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    if (!withKey) {
        Statement st(conn->db, "DELETE FROM vals WHERE key = ?");
        return Done(st.Bind(1, id).Step(), conn);
    }
    return ERROR_SUCCESS;
}

// How many levels below its root the key lies.
LONG Depth(Connection* conn, std::int64_t id, std::int64_t& depth) {
    Statement st(conn->db,
                 "WITH RECURSIVE up(id, level) AS (SELECT parent, 1 FROM keys WHERE id = ?"
                 " UNION ALL SELECT k.parent, up.level + 1 FROM keys k JOIN up ON k.id = up.id"
                 " WHERE k.parent != 0) SELECT max(level) FROM up");
    int rc = st.Bind(1, id).Step();
    if (rc != SQLITE_ROW) {
        return MapError(rc, conn->db, false);
    }
    depth = st.Int(0);
    return ERROR_SUCCESS;
}

// Finds the key at the path below the call's key, for reading. A root
// itself needs no store.
LONG FindBelow(KeyCall& call, const std::vector<std::string>& parts, std::int64_t& id) {
    if (parts.empty() && call.Key().root) {
        id = call.Key().id;
        return ERROR_SUCCESS;
    }
    LONG status = call.Read();
    return status == ERROR_SUCCESS ? Walk(call.Conn(), call.Key().id, parts, id, false) : status;
}

// Gives out a new handle and tells a creating caller whether the key is new.
LONG HandOut(std::int64_t id, REGSAM access, const std::string& path, HKEY* result,
             DWORD* disposition, bool created) {
    *result = NewHandle(id, access, path);
    if (disposition) {
        *disposition = created ? 1 : 2;
    }
    return ERROR_SUCCESS;
}

// One step of an enumeration: runs the query (key ?1, "LIMIT 1 OFFSET ?2")
// to the item at index, names it into the caller's buffer and lets `rest`
// hand out the rest of the row. Without a store the roots are empty.
template <typename Rest>
LONG EnumItem(HKEY key, const char* sql, DWORD index, char* name, DWORD* nameSize, Rest rest) {
    KeyCall call(key);
    LONG status = call.Status() == ERROR_SUCCESS ? call.Read() : call.Status();
    if (status == ERROR_FILE_NOT_FOUND && call.Key().root) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(call.Conn()->db, sql);
    int rc = st.Bind(1, call.Key().id).Bind(2, static_cast<std::int64_t>(index)).Step();
    if (rc == SQLITE_DONE) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (rc != SQLITE_ROW) {
        return MapError(rc, call.Conn()->db, false);
    }
    status = CopyNameOut(st.Text(0), name, nameSize);
    return status == ERROR_SUCCESS ? rest(st) : status;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    KeyCall call(key);
    std::int64_t id = 0;
    LONG status =
        call.Status() == ERROR_SUCCESS ? FindBelow(call, SplitKeyPath(subKey), id) : call.Status();
    return status == ERROR_SUCCESS ? HandOut(id, access, call.Key().path, result, nullptr, false)
                                   : status;
}

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD /*reserved*/, char* /*className*/,
                     DWORD /*options*/, REGSAM access, const void* /*security*/, HKEY* result,
                     DWORD* disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    KeyCall call(key);
    if (call.Status() != ERROR_SUCCESS) {
        return call.Status();
    }
    const Target& target = call.Key();
    std::vector<std::string> parts = SplitKeyPath(subKey);
    // Most calls find the key in place; they need no write access to the store.
    std::int64_t id = 0;
    LONG status = FindBelow(call, parts, id);
    if (status == ERROR_SUCCESS) {
        return HandOut(id, access, target.path, result, disposition, false);
    }
    if (status != ERROR_FILE_NOT_FOUND) {
        return status;
    }
    Connection* conn = call.Conn();
    if (!target.root && (conn == nullptr || !conn->hasSchema ||
                         KeyExists(conn, target.id, false) != ERROR_SUCCESS)) {
        return ERROR_FILE_NOT_FOUND;  // the parent key itself is gone
    }
    std::int64_t depth = 0;
    if (!target.root && (status = Depth(conn, target.id, depth)) != ERROR_SUCCESS) {
        return status;
    }
    if (depth + static_cast<std::int64_t>(parts.size()) > kMaxKeyDepth) {
        return Fail(ERROR_INVALID_PARAMETER,
                    "the key would lie " + std::to_string(depth + parts.size()) +
                        " levels below its root; the settings store holds keys at most " +
                        std::to_string(kMaxKeyDepth) + " levels deep");
    }

    status = call.Write(KEY_CREATE_SUB_KEY, true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    conn = call.Conn();
    bool created = false;
    id = target.id;
    for (const std::string& part : parts) {
        std::int64_t child = 0;
        status = FindChild(conn, id, part, child, true);
        if (status == ERROR_FILE_NOT_FOUND) {
            Statement insert(conn->db, "INSERT INTO keys(parent, name) VALUES(?, ?)");
            status = Done(insert.Bind(1, id).Bind(2, part).Step(), conn);
            if (status != ERROR_SUCCESS) {
                return status;
            }
            child = sqlite3_last_insert_rowid(conn->db);
            created = true;
        } else if (status != ERROR_SUCCESS) {
            return status;
        }
        id = child;
    }
    status = call.Commit();
    return status == ERROR_SUCCESS ? HandOut(id, access, target.path, result, disposition, created)
                                   : status;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT) {
        return ERROR_SUCCESS;
    }
    std::lock_guard<std::mutex> lock(StoreLock());
    if (key == nullptr || LiveHandles().erase(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    if (data != nullptr && dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyCall call(key);
    LONG status = call.Status() == ERROR_SUCCESS ? call.Read() : call.Status();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(call.Conn()->db, "SELECT type, data FROM vals WHERE key = ? AND name = ?");
    status =
        Found(st.Bind(1, call.Key().id).Bind(2, ValueName(valueName)).Step(), call.Conn(), false);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return CopyValueOut(static_cast<DWORD>(st.Int(0)), st.Blob(1), type, data, dataSize);
}

LONG RegSetValueExA(HKEY key, const char* valueName, DWORD /*reserved*/, DWORD type,
                    const BYTE* data, DWORD dataSize) {
    std::string stored;
    if (type == REG_SZ) {
        if (data == nullptr && dataSize != 0) {
            return ERROR_INVALID_PARAMETER;
        }
        // The text ends at its zero or at the given size, whichever is first.
        const char* text = reinterpret_cast<const char*>(data);
        std::size_t length = text ? strnlen(text, dataSize) : 0;
        stored.assign(text ? text : "", length);
    } else if (type == REG_DWORD) {
        if (data == nullptr || dataSize != sizeof(DWORD)) {
            return ERROR_INVALID_PARAMETER;
        }
        stored.assign(reinterpret_cast<const char*>(data), sizeof(DWORD));
    } else {
        return ERROR_INVALID_PARAMETER;
    }

    KeyCall call(key);
    LONG status = call.Status() == ERROR_SUCCESS ? call.Write(KEY_SET_VALUE, true) : call.Status();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // An existing value keeps the spelling of its name.
    Statement upsert(call.Conn()->db,
                     "INSERT INTO vals(key, name, type, data) VALUES(?, ?, ?, ?)"
                     " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type,"
                     " data = excluded.data");
    status = Done(upsert.Bind(1, call.Key().id)
                      .Bind(2, ValueName(valueName))
                      .Bind(3, static_cast<std::int64_t>(type))
                      .BindBlob(4, stored.data(), static_cast<int>(stored.size()))
                      .Step(),
                  call.Conn());
    return status == ERROR_SUCCESS ? call.Commit() : status;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* /*reserved*/,
                   char* className, DWORD* classSize, void* /*lastWriteTime*/) {
    if (name == nullptr || nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return EnumItem(key,
                    "SELECT name FROM keys WHERE parent = ? ORDER BY name COLLATE NOCASE, name"
                    " LIMIT 1 OFFSET ?",
                    index, name, nameSize, [&](const Statement&) {
                        if (className && classSize && *classSize > 0) {
                            className[0] = 0;
                            *classSize = 0;
                        }
                        return ERROR_SUCCESS;
                    });
}

LONG RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* valueNameSize,
                   DWORD* /*reserved*/, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (valueName == nullptr || valueNameSize == nullptr ||
        (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    return EnumItem(key,
                    "SELECT name, type, data FROM vals WHERE key = ?"
                    " ORDER BY name COLLATE NOCASE, name LIMIT 1 OFFSET ?",
                    index, valueName, valueNameSize, [&](const Statement& st) {
                        return CopyValueOut(static_cast<DWORD>(st.Int(1)), st.Blob(2), type, data,
                                            dataSize);
                    });
}

LONG RegDeleteValueA(HKEY key, const char* valueName) {
    KeyCall call(key);
    LONG status = call.Status() == ERROR_SUCCESS ? call.Write(KEY_SET_VALUE, false) : call.Status();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(call.Conn()->db, "DELETE FROM vals WHERE key = ? AND name = ?");
    status = Done(st.Bind(1, call.Key().id).Bind(2, ValueName(valueName)).Step(), call.Conn());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (sqlite3_changes(call.Conn()->db) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return call.Commit();
}

namespace {

// Shared part of the two key deletions: finds the key below the handle
// inside a write transaction and lets `remove` do the work.
template <typename Remove>
LONG DeleteKey(HKEY key, const char* subKey, Remove remove) {
    KeyCall call(key);
    LONG status = call.Status() == ERROR_SUCCESS
                      ? call.Write(KEY_SET_VALUE | KEY_CREATE_SUB_KEY, false)
                      : call.Status();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::string> parts = SplitKeyPath(subKey);
    std::int64_t id = 0;
    status = Walk(call.Conn(), call.Key().id, parts, id, true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    bool isRoot = id == kLocalMachineId || id == kClassesRootId;
    status = remove(call.Conn(), id, parts.empty(), isRoot);
    return status == ERROR_SUCCESS ? call.Commit() : status;
}

}  // namespace

LONG RegDeleteTreeA(HKEY key, const char* subKey) {
    return DeleteKey(key, subKey, [](Connection* conn, std::int64_t id, bool contentsOnly, bool) {
        // With no sub key named, the key stays and only its contents go.
        return DeleteBelow(conn, id, !contentsOnly);
    });
}

LONG RegDeleteKeyA(HKEY key, const char* subKey) {
    return DeleteKey(key, subKey, [](Connection* conn, std::int64_t id, bool, bool isRoot) {
        if (isRoot) {
            return ERROR_ACCESS_DENIED;
        }
        Statement children(conn->db, "SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
        int rc = children.Bind(1, id).Step();
        if (rc == SQLITE_ROW) {
            return ERROR_ACCESS_DENIED;  // only a key without sub keys may go
        }
        return rc == SQLITE_DONE ? DeleteBelow(conn, id, true) : MapError(rc, conn->db, true);
    });
}
