// Replacing files whole: saves that are killed half-way leave the old or the
// new file and no temporary files, temporaries of dead saves are cleared,
// and files the user may not write are refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "ondrelo/AtomicFile.h"
#include "ondrelo/OndException.h"
#include "ondrelo/testsupport/ScratchDir.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace fs = std::filesystem;
using ondrelo::CFileException;
using ondrelo::ReplaceFileAtomically;
using ondrelo::registry::testing::RunInChild;
using ondrelo::test::ReadFile;
using ondrelo::test::WriteFile;

namespace {

class AtomicFile : public ::testing::Test {
public:
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_folder)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

protected:
    void SetUp() override {
        m_folder = m_scratch / "site";
        fs::create_directory(m_folder);
        m_page = m_folder + "/page.html";
    }
    void TearDown() override {
        ondrelo::UseUnnamedTempFiles(true);
    }

    ondrelo::test::CScratchDir m_scratch;
    std::string m_folder;
    std::string m_page;
};

struct SKillFigures {
    int kills = 0;
    int intact = 0;
    int leftAfterKills = 0;  // temporary files seen just after a kill, summed
    int leftAtEnd = 0;       // after one more save
};

// Kills a process that saves the page over and over, at random moments,
// and looks at the folder after each kill.
SKillFigures KillLoop(const AtomicFile& test, const std::string& page, int kills, bool unnamed) {
    const std::string a(1 << 20, 'a');
    const std::string b = std::string(1 << 20, 'b') + "b";
    WriteFile(page, a);
    std::mt19937 rng(unnamed ? 1 : 2);
    std::uniform_int_distribution<int> wait(0, 4000);
    SKillFigures figures;
    for (int k = 0; k < kills; ++k) {
        const pid_t child = ::fork();
        if (child == 0) {
            ondrelo::UseUnnamedTempFiles(unnamed);
            for (unsigned i = 0;; ++i) {
                try {
                    ReplaceFileAtomically(page, i % 2 ? a : b);
                } catch (...) {
                    ::_exit(3);
                }
            }
        }
        ::usleep(static_cast<useconds_t>(wait(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the saving child failed";
        ++figures.kills;
        const std::string now = ReadFile(page);
        figures.intact += now == a || now == b;
        figures.leftAfterKills += static_cast<int>(test.Entries().size()) - 1;
    }
    ReplaceFileAtomically(page, a);
    figures.leftAtEnd = static_cast<int>(test.Entries().size()) - 1;
    return figures;
}

int KillCount() {
    const char* wanted = std::getenv("ONDRELO_KILL_LOOP");
    return wanted ? std::atoi(wanted) : 40;
}

}  // namespace

TEST_F(AtomicFile, KilledSavesLeaveTheFileWholeAndNoTemporaries) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary files" : "named temporary files");
        const SKillFigures f = KillLoop(*this, m_page, KillCount(), unnamed);
        std::cout << (unnamed ? "unnamed" : "named") << ": kills " << f.kills << ", pages intact "
                  << f.intact << ", temporary files seen after kills " << f.leftAfterKills
                  << ", left at the end " << f.leftAtEnd << "\n";
        EXPECT_EQ(f.intact, f.kills);
        EXPECT_EQ(f.leftAtEnd, 0);
        EXPECT_EQ(Entries(), std::vector<std::string>{"page.html"});
    }
}

// Temporary files of our naming that no save holds are removed by the next
// save in the folder; one that a running save holds, and every other file,
// stays.
TEST_F(AtomicFile, NextSaveClearsOnlyDeadTemporaries) {
    WriteFile(m_page, "old");
    const std::string dead = ".page.html.ond-0123456789ab.tmp";
    const std::string held = ".other.html.ond-00000000cafe.tmp";
    const std::vector<std::string> foreign = {
        ".page.html.tmp",  ".page.html.ond-0123456789AB.tmp", "page.ond-0123456789ab.tmp",
        ".ond-0123456789ab.tmp", ".page.html.ond-0123456789a.tmp", ".page.html.ond-0123456789ab.tmp~",
    };
    for (const std::string& name : foreign) {
        EXPECT_FALSE(ondrelo::IsReplaceTempName(name)) << name;
        WriteFile(m_folder + "/" + name, "user's");
    }
    EXPECT_TRUE(ondrelo::IsReplaceTempName(dead));
    WriteFile(m_folder + "/" + dead, "left by a killed save");
    WriteFile(m_folder + "/" + held, "being written");
    const int fd = ::open((m_folder + "/" + held).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    // A folder of our name stays too.
    fs::create_directory(m_folder + "/.dir.ond-0123456789ab.tmp");

    ASSERT_TRUE(ReplaceFileAtomically(m_page, "new"));
    EXPECT_EQ(ReadFile(m_page), "new");
    std::vector<std::string> expected = foreign;
    expected.push_back(held);
    expected.push_back(".dir.ond-0123456789ab.tmp");
    expected.push_back("page.html");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(), expected);

    ::close(fd);  // the holder is gone
    ASSERT_TRUE(ReplaceFileAtomically(m_page, "newer"));
    expected.erase(std::find(expected.begin(), expected.end(), held));
    EXPECT_EQ(Entries(), expected);
}

// The temporary name keeps within the name limit of the file system, so a
// page with a long name can be saved.
TEST_F(AtomicFile, LongNames) {
    const std::string page = m_folder + "/" + std::string(250, 'p') + ".htm";
    for (const bool unnamed : {true, false}) {
        ondrelo::UseUnnamedTempFiles(unnamed);
        WriteFile(page, "old");
        ASSERT_TRUE(ReplaceFileAtomically(page, "new"));
        EXPECT_EQ(ReadFile(page), "new");
        EXPECT_EQ(Entries().size(), 1u);
    }
}

// A declined or failed replacement leaves nothing behind either way.
TEST_F(AtomicFile, DeclinedReplacementLeavesNothing) {
    for (const bool unnamed : {true, false}) {
        ondrelo::UseUnnamedTempFiles(unnamed);
        WriteFile(m_page, "old");
        std::size_t seen = 0;
        EXPECT_FALSE(ReplaceFileAtomically(m_page, "new", [&] {
            seen = Entries().size();
            return false;
        }));
        // The named temporary file is there while the question is open.
        EXPECT_EQ(seen, unnamed ? 1u : 2u);
        EXPECT_THROW(ReplaceFileAtomically(m_page, "new", []() -> bool { throw 7; }), int);
        EXPECT_EQ(ReadFile(m_page), "old");
        EXPECT_EQ(Entries(), std::vector<std::string>{"page.html"});
    }
}

// Whether a file is refused depends on its mode, for root (who passes every
// access check) and for an ordinary user alike.
TEST_F(AtomicFile, FilesTheUserMayNotWriteAreRefused) {
    const struct {
        mode_t mode;
        bool refusedForRoot;
        bool refusedForUser;
    } cases[] = {
        {0444, true, true},
        {0400, true, true},
        {0644, false, false},
        {0200, false, false},
        {0464, false, true},  // the group may write, the owner may not
    };
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(m_folder.c_str(), uid, gid), 0);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        for (const bool asUser : {false, true}) {
            if (!asUser && !root) {
                continue;
            }
            WriteFile(m_page, "old");
            ASSERT_EQ(::chmod(m_page.c_str(), c.mode), 0);
            if (root) {
                ASSERT_EQ(::chown(m_page.c_str(), uid, gid), 0);
            }
            const std::string page = m_page;
            const std::vector<long> result = RunInChild(
                [page] {
                    try {
                        ReplaceFileAtomically(page, "new");
                        return std::vector<long>{0, 0};
                    } catch (const CFileException& e) {
                        return std::vector<long>{1, e.OsError()};
                    }
                },
                asUser);
            ASSERT_EQ(result.size(), 2u);
            const bool refused = asUser ? c.refusedForUser : c.refusedForRoot;
            EXPECT_EQ(result[0], refused ? 1 : 0) << (asUser ? "user" : "root");
            if (refused) {
                EXPECT_EQ(result[1], EACCES);
            }
            ASSERT_EQ(::chmod(m_page.c_str(), 0644), 0);
            EXPECT_EQ(ReadFile(m_page), refused ? "old" : "new");
            EXPECT_EQ(Entries(), std::vector<std::string>{"page.html"});
        }
    }
}
