#include "ondrelo/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "ondrelo/OndException.h"

namespace ondrelo {

namespace {

// Closes a descriptor when it goes out of scope.
struct SFd {
    int fd = -1;
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

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::string& text,
                           const std::function<bool()>& mayReplace) {
    const std::string target = SaveTarget(path);
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    // A name of our own in the same folder, created exclusively.
    std::random_device rd;
    std::mt19937_64 rng((static_cast<std::uint64_t>(rd()) << 32) ^ rd() ^ ::getpid());
    std::string temp;
    SFd file;
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx.tmp",
                      static_cast<unsigned long long>(rng() & 0xffffffffffffULL));
        temp = (slash == std::string::npos ? std::string() : dir) + "." + base + suffix;
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST && errno != EINTR) {
            throw CFileException::FromErrno(errno, path, "write");
        }
    }
    if (file.fd < 0) {
        throw CFileException::FromErrno(EEXIST, path, "write");
    }

    auto fail = [&](int err, const char* action) {
        ::close(file.fd);
        file.fd = -1;
        ::unlink(temp.c_str());
        throw CFileException::FromErrno(err, path, action);
    };

    bool go = true;
    try {
        if (mayReplace)
            go = mayReplace();
    } catch (...) {
        ::close(file.fd);
        file.fd = -1;
        ::unlink(temp.c_str());
        throw;
    }
    if (!go) {
        ::close(file.fd);
        file.fd = -1;
        ::unlink(temp.c_str());
        return false;
    }

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (::fchmod(file.fd, old.st_mode & 07777) != 0) {
            fail(errno, "write");
        }
        // Keeping the owner needs privileges; keep at least the group if we can.
        if (::fchown(file.fd, old.st_uid, old.st_gid) != 0) {
            (void)::fchown(file.fd, static_cast<uid_t>(-1), old.st_gid);
        }
    }

    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t put = ::write(file.fd, data, left);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, "write");
        }
        data += put;
        left -= static_cast<std::size_t>(put);
    }
    if (::fsync(file.fd) != 0) {
        fail(errno, "write");
    }
    const int fd = file.fd;
    file.fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw CFileException::FromErrno(err, path, "write");
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw CFileException::FromErrno(err, path, "write");
    }
    // Make the rename itself durable; a failure here no longer risks the file.
    SFd folder;
    folder.fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.fd >= 0) {
        (void)::fsync(folder.fd);
    }
    return true;
}

}  // namespace ondrelo
