// The registry-style calls on top of the SQLite store.
//
// Every call takes the process-wide store lock, opens (or reuses) the
// connection, and runs each change as one BEGIN IMMEDIATE transaction so
// that concurrent writers in other processes wait for each other instead of
// losing updates. Handles are checked against the set of live handles, so a
// closed or foreign pointer gives ERROR_INVALID_HANDLE rather than a crash.
#include <unistd.h>

#include <cstring>
#include <unordered_set>
#include <vector>

#include "Store.h"

using ondrelo::registry::detail::Acquire;
using ondrelo::registry::detail::Connection;
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

bool CanWrite(REGSAM access) {
    return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
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

LONG KeyExists(Connection* conn, std::int64_t id, bool forWrite) {
    Statement st(conn->db, "SELECT 1 FROM keys WHERE id = ?");
    int rc = st.Bind(1, id).Step();
    if (rc == SQLITE_ROW) {
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : MapError(rc, conn->db, forWrite);
}

LONG FindChild(Connection* conn, std::int64_t parent, const std::string& name, std::int64_t& id,
               bool forWrite) {
    Statement st(conn->db, "SELECT id FROM keys WHERE parent = ? AND name = ?");
    int rc = st.Bind(1, parent).Bind(2, name).Step();
    if (rc == SQLITE_ROW) {
        id = st.Int(0);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : MapError(rc, conn->db, forWrite);
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

// Opens the store for reading and checks that the target key still exists.
// A missing or empty store holds no keys below the roots.
LONG BeginRead(const Target& target, Connection** conn) {
    LONG status = Acquire(target.path, false, conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (!(*conn)->hasSchema) {
        return ERROR_FILE_NOT_FOUND;
    }
    return target.root ? ERROR_SUCCESS : KeyExists(*conn, target.id, false);
}

// Opens the store for writing. A handle to a key whose store has vanished
// must not bring a new, empty store into being.
LONG BeginWrite(const Target& target, Connection** conn) {
    if (!target.root && !StoreFileExists(target.path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return Acquire(target.path, true, conn);
}

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
        int rc = st.Bind(1, id).Step();
        if (rc != SQLITE_DONE) {
            return MapError(rc, conn->db, true);
        }
    }
    if (!withKey) {
        Statement st(conn->db, "DELETE FROM vals WHERE key = ?");
        int rc = st.Bind(1, id).Step();
        if (rc != SQLITE_DONE) {
            return MapError(rc, conn->db, true);
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::string> parts = SplitKeyPath(subKey);
    if (parts.empty() && target.root) {
        *result = NewHandle(target.id, access, target.path);
        return ERROR_SUCCESS;
    }
    Connection* conn = nullptr;
    status = BeginRead(target, &conn);
    std::int64_t id = 0;
    if (status == ERROR_SUCCESS) {
        status = Walk(conn, target.id, parts, id, false);
    }
    if (status == ERROR_SUCCESS) {
        *result = NewHandle(id, access, target.path);
    }
    return status;
}

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD /*reserved*/, char* /*className*/,
                     DWORD /*options*/, REGSAM access, const void* /*security*/, HKEY* result,
                     DWORD* disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::string> parts = SplitKeyPath(subKey);
    if (parts.empty() && target.root) {
        *result = NewHandle(target.id, access, target.path);
        if (disposition) {
            *disposition = 2;
        }
        return ERROR_SUCCESS;
    }

    // Most calls find the key in place; they need no write access to the store.
    Connection* conn = nullptr;
    status = BeginRead(target, &conn);
    std::int64_t id = 0;
    if (status == ERROR_SUCCESS) {
        status = Walk(conn, target.id, parts, id, false);
        if (status == ERROR_SUCCESS) {
            *result = NewHandle(id, access, target.path);
            if (disposition) {
                *disposition = 2;
            }
            return ERROR_SUCCESS;
        }
    }
    if (status != ERROR_FILE_NOT_FOUND) {
        return status;
    }
    if (!target.root && (conn == nullptr || !conn->hasSchema ||
                         KeyExists(conn, target.id, false) != ERROR_SUCCESS)) {
        return ERROR_FILE_NOT_FOUND;  // the parent key itself is gone
    }
    if ((target.access & KEY_CREATE_SUB_KEY) == 0) {
        return ERROR_ACCESS_DENIED;
    }

    status = BeginWrite(target, &conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    WriteTransaction txn(conn);
    if (txn.Status() != ERROR_SUCCESS) {
        return txn.Status();
    }
    if (!target.root && (status = KeyExists(conn, target.id, true)) != ERROR_SUCCESS) {
        return status;
    }
    bool created = false;
    id = target.id;
    for (const std::string& part : parts) {
        std::int64_t child = 0;
        status = FindChild(conn, id, part, child, true);
        if (status == ERROR_FILE_NOT_FOUND) {
            Statement insert(conn->db, "INSERT INTO keys(parent, name) VALUES(?, ?)");
            int rc = insert.Bind(1, id).Bind(2, part).Step();
            if (rc != SQLITE_DONE) {
                return MapError(rc, conn->db, true);
            }
            child = sqlite3_last_insert_rowid(conn->db);
            created = true;
        } else if (status != ERROR_SUCCESS) {
            return status;
        }
        id = child;
    }
    status = txn.Commit();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    *result = NewHandle(id, access, target.path);
    if (disposition) {
        *disposition = created ? 1 : 2;
    }
    return ERROR_SUCCESS;
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
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Connection* conn = nullptr;
    status = BeginRead(target, &conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(conn->db, "SELECT type, data FROM vals WHERE key = ? AND name = ?");
    int rc = st.Bind(1, target.id).Bind(2, ValueName(valueName)).Step();
    if (rc == SQLITE_DONE) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) {
        return MapError(rc, conn->db, false);
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

    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if ((target.access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    Connection* conn = nullptr;
    status = BeginWrite(target, &conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    WriteTransaction txn(conn);
    if (txn.Status() != ERROR_SUCCESS) {
        return txn.Status();
    }
    if (!target.root && (status = KeyExists(conn, target.id, true)) != ERROR_SUCCESS) {
        return status;
    }
    // An existing value keeps the spelling of its name.
    Statement upsert(conn->db,
                     "INSERT INTO vals(key, name, type, data) VALUES(?, ?, ?, ?)"
                     " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type,"
                     " data = excluded.data");
    int rc = upsert.Bind(1, target.id)
                 .Bind(2, ValueName(valueName))
                 .Bind(3, static_cast<std::int64_t>(type))
                 .BindBlob(4, stored.data(), static_cast<int>(stored.size()))
                 .Step();
    if (rc != SQLITE_DONE) {
        return MapError(rc, conn->db, true);
    }
    return txn.Commit();
}

LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* /*reserved*/,
                   char* className, DWORD* classSize, void* /*lastWriteTime*/) {
    if (name == nullptr || nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Connection* conn = nullptr;
    status = BeginRead(target, &conn);
    if (status == ERROR_FILE_NOT_FOUND && target.root) {
        return ERROR_NO_MORE_ITEMS;  // no store yet: the roots are empty
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(conn->db,
                 "SELECT name FROM keys WHERE parent = ? ORDER BY name COLLATE NOCASE, name"
                 " LIMIT 1 OFFSET ?");
    int rc = st.Bind(1, target.id).Bind(2, static_cast<std::int64_t>(index)).Step();
    if (rc == SQLITE_DONE) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (rc != SQLITE_ROW) {
        return MapError(rc, conn->db, false);
    }
    status = CopyNameOut(st.Text(0), name, nameSize);
    if (status == ERROR_SUCCESS && className && classSize && *classSize > 0) {
        className[0] = 0;
        *classSize = 0;
    }
    return status;
}

LONG RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* valueNameSize,
                   DWORD* /*reserved*/, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (valueName == nullptr || valueNameSize == nullptr ||
        (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Connection* conn = nullptr;
    status = BeginRead(target, &conn);
    if (status == ERROR_FILE_NOT_FOUND && target.root) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Statement st(conn->db,
                 "SELECT name, type, data FROM vals WHERE key = ?"
                 " ORDER BY name COLLATE NOCASE, name LIMIT 1 OFFSET ?");
    int rc = st.Bind(1, target.id).Bind(2, static_cast<std::int64_t>(index)).Step();
    if (rc == SQLITE_DONE) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (rc != SQLITE_ROW) {
        return MapError(rc, conn->db, false);
    }
    status = CopyNameOut(st.Text(0), valueName, valueNameSize);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return CopyValueOut(static_cast<DWORD>(st.Int(1)), st.Blob(2), type, data, dataSize);
}

LONG RegDeleteValueA(HKEY key, const char* valueName) {
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if ((target.access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (!StoreFileExists(target.path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    Connection* conn = nullptr;
    status = BeginWrite(target, &conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    WriteTransaction txn(conn);
    if (txn.Status() != ERROR_SUCCESS) {
        return txn.Status();
    }
    Statement st(conn->db, "DELETE FROM vals WHERE key = ? AND name = ?");
    int rc = st.Bind(1, target.id).Bind(2, ValueName(valueName)).Step();
    if (rc != SQLITE_DONE) {
        return MapError(rc, conn->db, true);
    }
    if (sqlite3_changes(conn->db) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return txn.Commit();
}

namespace {

// Shared part of the two key deletions: finds the key below the handle
// inside a write transaction and lets `remove` do the work.
template <typename Remove>
LONG DeleteKey(HKEY key, const char* subKey, Remove remove) {
    std::lock_guard<std::mutex> lock(StoreLock());
    Target target;
    LONG status = Resolve(key, target);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (!CanWrite(target.access)) {
        return ERROR_ACCESS_DENIED;
    }
    std::vector<std::string> parts = SplitKeyPath(subKey);
    if (!StoreFileExists(target.path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    Connection* conn = nullptr;
    status = BeginWrite(target, &conn);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    WriteTransaction txn(conn);
    if (txn.Status() != ERROR_SUCCESS) {
        return txn.Status();
    }
    if (!target.root && (status = KeyExists(conn, target.id, true)) != ERROR_SUCCESS) {
        return status;
    }
    std::int64_t id = 0;
    status = Walk(conn, target.id, parts, id, true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    bool isRoot = id == kLocalMachineId || id == kClassesRootId;
    status = remove(conn, id, parts.empty(), isRoot);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return txn.Commit();
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
        if (rc != SQLITE_DONE) {
            return MapError(rc, conn->db, true);
        }
        return DeleteBelow(conn, id, true);
    });
}
