#include "StoreCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ondrelo::host {

namespace {

// The first bytes of every SQLite database file.
constexpr char kDatabaseHeader[] = "SQLite format 3";  // and a zero byte

}  // namespace

EStoreProblem CheckStoreFile(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return EStoreProblem::Missing;
    }
    if (S_ISDIR(info.st_mode)) {
        return EStoreProblem::Folder;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file || ::access(path.c_str(), R_OK) != 0) {
        return EStoreProblem::Unreadable;
    }
    // An empty file is an empty database to the store; it simply holds no
    // module list.
    if (info.st_size == 0) {
        return EStoreProblem::None;
    }
    char header[sizeof kDatabaseHeader] = {};
    file.read(header, sizeof header);
    if (file.gcount() != static_cast<std::streamsize>(sizeof header) ||
        std::memcmp(header, kDatabaseHeader, sizeof header) != 0) {
        return EStoreProblem::NotADatabase;
    }
    return EStoreProblem::None;
}

std::string StoreProblemText(const std::string& path, EStoreProblem problem) {
    std::string why;
    switch (problem) {
        case EStoreProblem::Missing:
            why = "does not exist";
            break;
        case EStoreProblem::Folder:
            why = "is a folder, not a settings file";
            break;
        case EStoreProblem::Unreadable:
            why = "cannot be read (no read permission)";
            break;
        case EStoreProblem::NotADatabase:
            why = "is not a settings database";
            break;
        case EStoreProblem::None:
            why = "holds no module list (SOFTWARE\\Velmora\\Ondrelo\\Modules)";
            break;
    }
    return "The settings store " + path + " " + why +
           ".\n\nRegister the wizards there: run tools/run in the source tree (it builds the "
           "program, registers every wizard it built in the build tree's store and starts the "
           "program), or ondrelo-register after installing. ONDRELO_REGISTRY names another "
           "store.";
}

std::string BuildTreeStore(const std::string& programDir) {
    if (programDir.empty()) {
        return {};
    }
    const std::filesystem::path build = std::filesystem::path(programDir).parent_path();
    std::error_code error;
    if (!std::filesystem::is_regular_file(build / "CMakeCache.txt", error)) {
        return {};
    }
    return (build / "registry.db").string();
}

}  // namespace ondrelo::host
