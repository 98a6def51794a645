// What the host says about a store that cannot give it the module list,
// and the store it picks when started from a build tree.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "StoreCheck.h"

namespace {

namespace fs = std::filesystem;
using ondrelo::host::EStoreProblem;

class StoreCheck : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(testing::TempDir()) /
                ("ondrelo_storecheck_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_dir / "locked.db", fs::perms::owner_all, ignored);
        fs::remove_all(m_dir, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    fs::path m_dir;
};

TEST_F(StoreCheck, TellsWhatIsWrongWithTheFile) {
    const std::string database = std::string("SQLite format 3") + '\0' + std::string(84, 'x');
    struct Case {
        const char* name;
        std::string path;
        EStoreProblem problem;
        const char* said;
    };
    fs::create_directories(m_dir / "folder.db");
    const Case cases[] = {
        {"missing", (m_dir / "none.db").string(), EStoreProblem::Missing, "does not exist"},
        {"empty path", "", EStoreProblem::Missing, "does not exist"},
        {"folder", (m_dir / "folder.db").string(), EStoreProblem::Folder,
         "is a folder, not a settings file"},
        {"text file", Write("notes.db", "these are notes, not settings\n"),
         EStoreProblem::NotADatabase, "is not a settings database"},
        {"short file", Write("short.db", "SQLite"), EStoreProblem::NotADatabase,
         "is not a settings database"},
        // Sound files: what is missing then is the module list.
        {"database", Write("store.db", database), EStoreProblem::None,
         "holds no module list (SOFTWARE\\Velmora\\Ondrelo\\Modules)"},
        {"empty file", Write("empty.db", ""), EStoreProblem::None, "holds no module list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ondrelo::host::CheckStoreFile(c.path), c.problem);
        const std::string text = ondrelo::host::StoreProblemText(c.path, c.problem);
        EXPECT_NE(text.find("The settings store " + c.path + " " + c.said), std::string::npos)
            << text;
        // Every text says how to register the wizards.
        EXPECT_NE(text.find("tools/run"), std::string::npos);
        EXPECT_NE(text.find("ondrelo-register"), std::string::npos);
    }
}

TEST_F(StoreCheck, AFileThatCannotBeReadIsToldApart) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file modes do not keep root out";
    }
    const std::string path = Write("locked.db", "SQLite format 3");
    fs::permissions(path, fs::perms::none);
    EXPECT_EQ(ondrelo::host::CheckStoreFile(path), EStoreProblem::Unreadable);
}

TEST_F(StoreCheck, ABuildTreeProgramUsesTheTreesStore) {
    fs::create_directories(m_dir / "build" / "bin");
    fs::create_directories(m_dir / "usr" / "bin");
    Write("build/CMakeCache.txt", "# cache\n");
    EXPECT_EQ(ondrelo::host::BuildTreeStore((m_dir / "build" / "bin").string()),
              (m_dir / "build" / "registry.db").string());
    // An installed program keeps the built-in store.
    EXPECT_EQ(ondrelo::host::BuildTreeStore((m_dir / "usr" / "bin").string()), "");
    EXPECT_EQ(ondrelo::host::BuildTreeStore(""), "");
}

}  // namespace
