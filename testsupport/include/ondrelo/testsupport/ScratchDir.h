// Scratch folders and whole-file reads and writes for tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ondrelo::test {

// A fresh folder below the system's temporary folder, removed with
// everything in it when the object goes. With ownStore, the settings store
// the code under test uses (ONDRELO_REGISTRY) is <folder>/registry.db for
// the object's life. The folder is readable by every user, so that a child
// that dropped its rights can reach what the test prepared there.
class CScratchDir {
public:
    explicit CScratchDir(bool ownStore = true);
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // The full path of a name inside the folder.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    // The names in the folder, sorted (to see what a failed save left).
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path m_path;
    bool m_ownStore;
};

std::string ReadFile(const std::string& path);
// Replaces the file's content with bytes (creating it).
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

// Where the tests that write fuzz seeds put those of one fuzz target: the
// folder <ONDRELO_FUZZ_CORPUS_DIR>/<target>/ (created), or "" when the
// variable is not set and the seeds are not wanted.
std::string FuzzSeedDir(const std::string& target);

}  // namespace ondrelo::test
