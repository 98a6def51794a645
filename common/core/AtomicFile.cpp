#include "ondrelo/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "ondrelo/OndException.h"

namespace ondrelo {

namespace {

std::atomic<bool> g_useUnnamed{true};

// Temporary names: "." + the target's name (cut short, so that the whole
// stays within the file system's name limit) + ".ond-" + 12 hex digits +
// ".tmp".
constexpr std::size_t kNameKept = 200;
constexpr const char kTag[] = ".ond-";
constexpr const char kSuffix[] = ".tmp";
constexpr std::size_t kHexDigits = 12;

// Closes a descriptor when it goes out of scope.
struct SFd {
    int fd = -1;
    SFd() = default;
    SFd(const SFd&) = delete;
    SFd& operator=(const SFd&) = delete;
    ~SFd() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// The file a save replaces: a symbolic link is followed so that the link
// itself stays in place.
std::string SaveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

class CNames {
public:
    explicit CNames(const std::string& base)
        : m_prefix("." + base.substr(0, kNameKept) + kTag),
          m_rng((static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())) {}
    std::string Next() {
        char digits[kHexDigits + 1];
        std::snprintf(digits, sizeof digits, "%012llx",
                      static_cast<unsigned long long>(m_rng() & 0xffffffffffffULL));
        return m_prefix + digits + kSuffix;
    }

private:
    std::string m_prefix;
    std::mt19937_64 m_rng;
};

int LockFile(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// The temporary file of one save. It is locked for as long as it is open, so
// that a sweep can tell a file in use from one whose save died; a named one
// is removed again unless it was renamed over the target.
struct STemp {
    int folder = -1;  // not owned
    int fd = -1;
    std::string name;  // empty while the file has no name
    bool unnamed = false;

    STemp() = default;
    STemp(const STemp&) = delete;
    STemp& operator=(const STemp&) = delete;
    ~STemp() { Discard(); }

    // The name goes first: once the lock is given up, a sweep may take it.
    void Discard() {
        if (!name.empty()) {
            ::unlinkat(folder, name.c_str(), 0);
            name.clear();
        }
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
};

[[noreturn]] void Raise(int err, const std::string& path) {
    throw CFileException::FromErrno(err, path, "write");
}

// Whether the target may be written by this user: the access check of the
// system, and for root, who passes it always, at least one write bit.
int WriteDenied(int folder, const std::string& base, const struct stat& st) {
    if (::faccessat(folder, base.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return errno;
    }
    if (::geteuid() == 0 && (st.st_mode & 0222) == 0) {
        return EACCES;
    }
    return 0;
}

bool UnnamedPossible() {
#ifdef O_TMPFILE
    // The unnamed file is given its name through /proc.
    return g_useUnnamed.load() && ::access("/proc/self/fd", X_OK) == 0;
#else
    return false;
#endif
}

void CreateTemp(STemp& temp, CNames& names, mode_t mode, const std::string& path) {
#ifdef O_TMPFILE
    if (UnnamedPossible()) {
        int fd = ::openat(temp.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.fd = fd;
            temp.unnamed = true;
            if (int err = LockFile(fd)) {
                Raise(err, path);
            }
            return;
        }
        // File systems without unnamed files say so in one of these ways;
        // anything else (no rights, no room) is the save's error.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOTSUP) {
            Raise(errno, path);
        }
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = names.Next();
        int fd = ::openat(temp.folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) {
                continue;
            }
            Raise(errno, path);
        }
        temp.fd = fd;
        temp.name = name;
        if (int err = LockFile(fd)) {
            Raise(err, path);
        }
        // A sweep in another process may have found the file between its
        // creation and the lock, and removed it: start again with a new name.
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            Raise(errno, path);
        }
        if (st.st_nlink > 0) {
            return;
        }
        temp.name.clear();
        ::close(fd);
        temp.fd = -1;
    }
    Raise(EEXIST, path);
}

// Gives the unnamed file a name in the folder, just before the rename.
void NameTemp(STemp& temp, CNames& names, const std::string& path) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", temp.fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = names.Next();
        if (::linkat(AT_FDCWD, self, temp.folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp.name = std::move(name);
            return;
        }
        if (errno != EEXIST && errno != EINTR) {
            Raise(errno, path);
        }
    }
    Raise(EEXIST, path);
}

// Removes temporary files of our own naming that no save holds any more:
// what saves that died (killed, crashed, powered off) left behind. A file is
// only removed while we hold its lock and its name still leads to it.
void RemoveStaleTemps(int folder) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return;
    }
    const uid_t me = ::geteuid();
    while (const struct dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsReplaceTempName(name)) {
            continue;
        }
        SFd file;
        file.fd = ::openat(folder, name.c_str(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat st {};
        if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
            (me != 0 && st.st_uid != me)) {
            continue;
        }
        if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
            continue;  // a save is writing it
        }
        struct stat now {};
        if (::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == st.st_dev && now.st_ino == st.st_ino) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
    ::closedir(dir);
}

int OpenFolder(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) {
        // A folder we may write into but not list still takes the file.
        fd = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    return fd;
}

}  // namespace

void UseUnnamedTempFiles(bool use) {
    g_useUnnamed.store(use);
}

bool IsReplaceTempName(const std::string& name) {
    const std::size_t tag = sizeof kTag - 1;
    const std::size_t suffix = sizeof kSuffix - 1;
    if (name.size() < 2 + tag + kHexDigits + suffix || name[0] != '.' ||
        name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
        return false;
    }
    const std::size_t digits = name.size() - suffix - kHexDigits;
    if (name.compare(digits - tag, tag, kTag) != 0) {
        return false;
    }
    for (std::size_t i = digits; i < digits + kHexDigits; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& text,
                           const std::function<bool()>& mayReplace) {
    const std::string target = SaveTarget(path);
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    SFd folder;
    folder.fd = OpenFolder(dir);
    if (folder.fd < 0) {
        Raise(errno, path);
    }

    struct stat old {};
    const bool exists = ::fstatat(folder.fd, base.c_str(), &old, 0) == 0;
    if (exists) {
        if (int err = WriteDenied(folder.fd, base, old)) {
            Raise(err, path);
        }
    }

    RemoveStaleTemps(folder.fd);

    CNames names(base);
    STemp temp;
    temp.folder = folder.fd;
    // A replacement starts private and gets the old file's mode once it is
    // complete; a new file gets the usual mode under the umask.
    CreateTemp(temp, names, exists ? 0600 : 0666, path);

    if (mayReplace && !mayReplace()) {
        return false;  // temp removes itself; an exception from mayReplace does too
    }

    if (exists) {
        // Keeping the owner needs privileges; keep at least the group if we can.
        if (::fchown(temp.fd, old.st_uid, old.st_gid) != 0) {
            (void)::fchown(temp.fd, static_cast<uid_t>(-1), old.st_gid);
        }
    }
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t put = ::write(temp.fd, data, left);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            Raise(errno, path);
        }
        data += put;
        left -= static_cast<std::size_t>(put);
    }
    // After the owner: changing the owner clears the set-id bits.
    if (exists && ::fchmod(temp.fd, old.st_mode & 07777) != 0) {
        Raise(errno, path);
    }
    if (::fsync(temp.fd) != 0) {
        Raise(errno, path);
    }
    if (temp.unnamed) {
        NameTemp(temp, names, path);
    }
    if (::renameat(folder.fd, temp.name.c_str(), folder.fd, base.c_str()) != 0) {
        Raise(errno, path);
    }
    temp.name.clear();  // it is the target now
    temp.Discard();
    // Make the rename itself durable; a failure here no longer risks the file.
    (void)::fsync(folder.fd);
    return true;
}

}  // namespace ondrelo
