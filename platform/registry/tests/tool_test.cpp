// The ondrelo-reg command-line tool, run as a separate program.
#include <sys/wait.h>

#include <functional>
#include <string>
#include <vector>

#include "ondrelo/testsupport/StoreFixture.h"

#ifndef ONDRELO_REG_TOOL
#error "ONDRELO_REG_TOOL must name the built ondrelo-reg program"
#endif

namespace ondrelo::registry::testing {
namespace {

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

std::string Drain(int fd) {
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof(buffer))) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return text;
}

Outcome RunTool(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(ONDRELO_REG_TOOL));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(ONDRELO_REG_TOOL, argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    Outcome outcome;
    outcome.out = Drain(out[0]);  // the outputs here are far below a pipe's capacity
    outcome.err = Drain(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + status;
    return outcome;
}

class ToolTest : public StoreTest {
protected:
    Outcome RunOnStore(std::vector<std::string> args) {
        args.insert(args.begin(), {"--store", m_store});
        return RunTool(args);
    }
};

constexpr const char* kModules = "HKLM\\Software\\Velmora\\Ondrelo\\Modules";
constexpr const char* kInstallation = "HKLM\\Software\\Velmora\\Ondrelo\\Installation";

TEST_F(ToolTest, WritesReadsListsAndDeletes) {
    const std::string smallset = std::string(kModules) + "\\Smallset";
    struct Step {
        std::vector<std::string> args;
        int exit;
        std::string out;  // exact standard output
    };
    const Step steps[] = {
        {{"query", kInstallation, "scriptspath"}, 1, ""},
        {{"set", kInstallation, "scriptspath", "/usr/share/ondrelo/scripts"}, 0, ""},
        {{"query", "hklm\\SOFTWARE\\velmora\\ondrelo\\INSTALLATION", "ScriptsPath"},
         0,
         "/usr/share/ondrelo/scripts\n"},
        {{"setnum", "HKEY_LOCAL_MACHINE\\Software\\Velmora\\Ondrelo\\Modules\\Smallset", "Type",
          "1"},
         0,
         ""},
        {{"set", smallset + "\\RoridaZiroZover", "CLSID", "{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}"},
         0,
         ""},
        {{"setnum", smallset + "\\RoridaZiroZover", "Type", "0x0"}, 0, ""},
        // A leading zero is a decimal number, as the usage text says.
        {{"setnum", kInstallation, "count", "010"}, 0, ""},
        {{"query", kInstallation, "count"}, 0, "10\n"},
        {{"setnum", kInstallation, "count", "09"}, 0, ""},
        {{"query", kInstallation, "count"}, 0, "9\n"},
        {{"setnum", kInstallation, "count", "0x1F"}, 0, ""},
        {{"query", kInstallation, "count"}, 0, "31\n"},
        {{"delete", kInstallation, "count"}, 0, ""},
        {{"query", smallset}, 0, "Type\tREG_DWORD\t1\n"},
        {{"query", smallset + "\\RoridaZiroZover"},
         0,
         "CLSID\tREG_SZ\t{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}\nType\tREG_DWORD\t0\n"},
        {{"set", "HKCR\\Inslet.CodeInsertUI", "@", "CodeInsertUI Class"}, 0, ""},
        {{"query", "HKEY_CLASSES_ROOT\\Inslet.CodeInsertUI", ""}, 0, "CodeInsertUI Class\n"},
        {{"query", "HKCR\\Inslet.CodeInsertUI"}, 0, "@\tREG_SZ\tCodeInsertUI Class\n"},
        {{"list", "HKLM\\Software\\Velmora\\Ondrelo"}, 0, "Installation\nModules\n"},
        {{"list", "HKCR"}, 0, "Inslet.CodeInsertUI\n"},
        {{"list", "HKLM\\Software\\Nowhere"}, 1, ""},
        {{"query", smallset, "CLSID"}, 1, ""},
        {{"delete", kInstallation, "SCRIPTSPATH"}, 0, ""},
        {{"query", kInstallation, "scriptspath"}, 1, ""},
        {{"delete", kInstallation, "scriptspath"}, 1, ""},
        {{"delete", kModules}, 0, ""},
        {{"list", "HKLM\\Software\\Velmora\\Ondrelo"}, 0, "Installation\n"},
        {{"delete", kModules}, 1, ""},
    };
    for (const Step& step : steps) {
        std::string command;
        for (const std::string& arg : step.args) {
            command += arg + " ";
        }
        SCOPED_TRACE(command);
        Outcome outcome = RunOnStore(step.args);
        EXPECT_EQ(outcome.exit, step.exit) << outcome.err;
        EXPECT_EQ(outcome.out, step.out);
        EXPECT_EQ(outcome.err.empty(), step.exit == 0) << outcome.err;
    }
}

TEST_F(ToolTest, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"--verbose", "list", "HKLM"},
        {"query"},
        {"query", "HKLM\\a", "b", "c"},
        {"set", "HKLM\\a", "b"},
        {"setnum", "HKLM\\a", "b", "12abc"},
        {"setnum", "HKLM\\a", "b", "4294967296"},
        {"setnum", "HKLM\\a", "b", "-1"},
        {"setnum", "HKLM\\a", "b", ""},
        {"list", "HKXX\\a"},
        {"list"},
        {"delete", "HKLM"},
        {"delete", "HKCR\\"},
    };
    for (const auto& args : cases) {
        Outcome outcome = RunOnStore(args);
        EXPECT_EQ(outcome.exit, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(outcome.err.empty());
    }
    EXPECT_EQ(RunTool({"--store"}).exit, 2);
    EXPECT_FALSE(Exists(m_store)) << "no usage error may write the store";

    Outcome help = RunTool({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_NE(help.out.find("Usage: ondrelo-reg"), std::string::npos);
}

TEST_F(ToolTest, StoreErrorsExitWithThree) {
    WriteFile(m_store, "this is a text file, not a store\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", "HKLM\\A", "b", "c"},
          std::vector<std::string>{"query", "HKLM\\A", "b"},
          std::vector<std::string>{"list", "HKLM\\A"},
          std::vector<std::string>{"delete", "HKLM\\A"}}) {
        Outcome outcome = RunOnStore(args);
        EXPECT_EQ(outcome.exit, 3) << args[0];
        EXPECT_NE(outcome.err.find(m_store), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(ReadFile(m_store), "this is a text file, not a store\n");
}

TEST_F(ToolTest, StoreErrorsSayWhatIsWrongWithWhichFile) {
    // A real store, cut short as an interrupted copy leaves it.
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, "Software\\A", "b", "c"));
    CloseStore();
    const std::string whole = ReadFile(m_store);
    WriteFile(m_dir + "/plain", "not a folder");
    struct Case {
        const char* what;
        std::string store;
        std::function<void(const std::string&)> make;
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {"truncated store", m_dir + "/cut.db",
         [&](const std::string& p) { WriteFile(p, whole.substr(0, 5000)); },
         {"query", "HKLM\\Software\\A", "b"}, " is damaged"},
        {"text file", m_dir + "/text.db",
         [](const std::string& p) { WriteFile(p, std::string(4096, 'x')); },
         {"query", "HKLM\\Software\\A", "b"}, " is not a settings store"},
        {"store under a plain file", m_dir + "/plain/store.db", [](const std::string&) {},
         {"set", "HKLM\\Software\\A", "b", "c"}, m_dir + "/plain is not a folder"},
        {"a folder", m_dir, [](const std::string&) {}, {"query", "HKLM\\Software\\A", "b"},
         " is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(c.store);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--store", c.store});
        Outcome outcome = RunTool(args);
        EXPECT_EQ(outcome.exit, 3);
        EXPECT_NE(outcome.err.find("settings store " + c.store), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    }
}

TEST_F(ToolTest, UsesTheEnvironmentsStoreWithoutOption) {
    Outcome outcome = RunTool({"set", "HKLM\\Software\\Env", "where", "env store"});
    ASSERT_EQ(outcome.exit, 0) << outcome.err;
    std::string value;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Software\\Env", "where", value));
    EXPECT_EQ(value, "env store");
    // Values written in-process are seen by the tool.
    ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, "Software\\Env", "count", 4294967295u));
    EXPECT_EQ(RunTool({"query", "HKLM\\Software\\Env", "count"}).out, "4294967295\n");
}

}  // namespace
}  // namespace ondrelo::registry::testing
