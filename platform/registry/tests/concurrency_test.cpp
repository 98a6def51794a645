// Several processes writing to one store at once lose nothing.
#include <sys/wait.h>

#include <string>
#include <vector>

#include "ondrelo/testsupport/StoreFixture.h"

namespace ondrelo::registry::testing {
namespace {

using ConcurrencyTest = StoreTest;

constexpr int kWriters = 4;
constexpr int kValuesEach = 150;

std::string SharedName(int writer, int i) {
    return "w" + std::to_string(writer) + "_" + std::to_string(i);
}

// Forks the writers, lets them start together and waits for all. Each
// child's exit status is the number of its calls that failed.
std::vector<int> RunWriters(const std::function<int(int)>& work) {
    int gate[2];
    EXPECT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char ch;
            while (read(gate[0], &ch, 1) > 0) {
            }
            _exit(std::min(work(writer), 255));
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);  // opens the gate
    std::vector<int> failures;
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        failures.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + status);
    }
    return failures;
}

TEST_F(ConcurrencyTest, ParallelWritersLoseNothing) {
    // The store does not exist yet: the writers also race to create it.
    std::vector<int> failures = RunWriters([](int writer) {
        int failed = 0;
        const std::string own = "Software\\Writer" + std::to_string(writer);
        for (int i = 0; i < kValuesEach; ++i) {
            // Distinct values in one shared key, created by whoever comes first.
            failed += !WriteString(HKEY_LOCAL_MACHINE, "Software\\Shared\\Deep",
                                   SharedName(writer, i), "value " + SharedName(writer, i));
            failed += !WriteNumber(HKEY_LOCAL_MACHINE, own, "n" + std::to_string(i),
                                   static_cast<DWORD>(i));
        }
        return failed;
    });
    EXPECT_EQ(failures, std::vector<int>(kWriters, 0));

    for (int writer = 0; writer < kWriters; ++writer) {
        const std::string own = "Software\\Writer" + std::to_string(writer);
        for (int i = 0; i < kValuesEach; ++i) {
            std::string value;
            ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Shared\\Deep",
                                   SharedName(writer, i), value))
                << SharedName(writer, i);
            EXPECT_EQ(value, "value " + SharedName(writer, i));
            DWORD number = 0;
            ASSERT_TRUE(ReadNumber(HKEY_LOCAL_MACHINE, own, "n" + std::to_string(i), number));
            EXPECT_EQ(number, static_cast<DWORD>(i));
        }
    }
    std::vector<std::string> keys = SubKeys(HKEY_LOCAL_MACHINE, "Software");
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(kWriters + 1));
}

TEST_F(ConcurrencyTest, DeletingTreesWhileOthersWriteKeepsTheStoreWhole) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\Keep", "v", "kept"));
    std::vector<int> failures = RunWriters([](int writer) {
        int failed = 0;
        const std::string branch = "Software\\Churn" + std::to_string(writer);
        for (int i = 0; i < 40; ++i) {
            failed += !WriteString(HKEY_LOCAL_MACHINE, branch + "\\A\\B", "x", "y");
            failed += RegDeleteTreeA(HKEY_LOCAL_MACHINE, branch.c_str()) != ERROR_SUCCESS;
        }
        return failed;
    });
    EXPECT_EQ(failures, std::vector<int>(kWriters, 0));
    EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, "Software"), std::vector<std::string>{"Keep"});
    std::string value;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Keep", "v", value));
    EXPECT_EQ(value, "kept");
}

}  // namespace
}  // namespace ondrelo::registry::testing
