#include "ondrelo/testsupport/ScratchDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace ondrelo::test {

CScratchDir::CScratchDir(bool ownStore) : m_ownStore(ownStore) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ondrelo-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder in " << pattern;
    }
    m_path = pattern;
    chmod(pattern.c_str(), 0755);
    if (m_ownStore) {
        setenv("ONDRELO_REGISTRY", (m_path / "registry.db").c_str(), 1);
    }
}

CScratchDir::~CScratchDir() {
    std::error_code ignored;
    // A test may have taken rights away from the folder or files in it.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
    if (m_ownStore) {
        unsetenv("ONDRELO_REGISTRY");
    }
}

std::vector<std::string> CScratchDir::Entries() const {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(m_path, ignored)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

std::string FuzzSeedDir(const std::string& target) {
    const char* root = std::getenv("ONDRELO_FUZZ_CORPUS_DIR");
    if (root == nullptr || *root == '\0') {
        return {};
    }
    const std::filesystem::path dir = std::filesystem::path(root) / target;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        ADD_FAILURE() << "cannot make " << dir << ": " << error.message();
    }
    return dir.string();
}

}  // namespace ondrelo::test
