// What the host tells a user whose settings store cannot give it the
// module list: which file it read, what is wrong with it, and what to do.
// Also where the program finds its store when it is started straight from
// a build tree.
#pragma once

#include <string>

namespace ondrelo::host {

enum class EStoreProblem {
    None,          // a readable database file
    Missing,       // no such file
    Folder,        // a folder, not a file
    Unreadable,    // the file cannot be read
    NotADatabase,  // the file is not a settings database
};

// Looks at the file alone: whether it is there, readable, and a database.
EStoreProblem CheckStoreFile(const std::string& path);

// The text shown, after "Failed Loading Plugins", when the module list
// could not be opened in the store at path: the file, why (the file's
// problem, or no module list in a sound store), and how to register the
// wizards.
std::string StoreProblemText(const std::string& path, EStoreProblem problem);

// The store of a build tree for a program in programDir: <build>/registry.db
// when programDir is <build>/bin of a CMake build tree (its CMakeCache.txt
// is there), else empty.
std::string BuildTreeStore(const std::string& programDir);

}  // namespace ondrelo::host
