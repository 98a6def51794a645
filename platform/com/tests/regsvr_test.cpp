#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "ComFixture.h"
#include "servers/TestInterfaces.h"

namespace comtest {
namespace {

using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

struct SRun {
    int status = -1;
    std::string output;  // standard output and error together
};

SRun RunTool(const std::string& arguments) {
    SRun run;
    const std::string command = std::string(ONDRELO_REGSVR_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        run.output += buffer.data();
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class RegSvr : public StoreTest {};

TEST_F(RegSvr, RegistersAndRemovesALibrary) {
    const std::string clsidKey = "CLSID\\{6F1B0C2A-8E11-4A5B-9C3D-5A0000000001}";
    SRun run = RunTool(COMTEST_SERVER_PATH);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("registered"), std::string::npos) << run.output;
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, clsidKey + "\\InprocServer32"), COMTEST_SERVER_PATH);
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "TypeLib\\{6F1B0C2A-8E11-4A5B-9C3D-5A00000000FF}\\1.0"),
              "ComTest 1.0 Type Library");

    // The registration is what creation needs.
    CoInitialize(nullptr);
    ICounter* counter = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_ALL, IID_ICounter,
                               reinterpret_cast<void**>(&counter)),
              S_OK);
    ondrelo::com::SafeRelease(counter);
    CoUninitialize();

    run = RunTool(std::string("-u ") + COMTEST_SERVER_PATH);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsidKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "ComTest.Counter.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{6F1B0C2A-8E11-4A5B-9C3D-5A00000000FF}"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST_F(RegSvr, FailuresSayWhyAndExitNonZero) {
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"", 2, "usage"},
        {"-x " + std::string(COMTEST_SERVER_PATH), 2, "unknown option"},
        {m_dir + "/missing.so", 1, "No such file"},
        {COMTEST_NOENTRY_PATH, 1, "does not export DllRegisterServer"},
        {std::string("-u ") + COMTEST_NOENTRY_PATH, 1, "does not export DllUnregisterServer"},
        {COMTEST_FAILREG_PATH, 1,
         "failed with status 0x80020009 (a registration script that cannot be parsed)\n"
         "ondrelo-regsvr:   registration script: line 3: a quoted text is not closed"},
        // One bad library among good ones still fails the run; the good one is registered.
        {m_dir + "/missing.so " + COMTEST_SERVER_PATH, 1, "registered"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const SRun run = RunTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{6F1B0C2A-8E11-4A5B-9C3D-5A0000000003}"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{6F1B0C2A-8E11-4A5B-9C3D-5A0000000001}"));
}

TEST_F(RegSvr, AnUnusableStoreIsNamedWithItsFault) {
    // A real store cut short, as an interrupted copy leaves it.
    const SRun made = RunTool(COMTEST_SERVER_PATH);
    ASSERT_EQ(made.status, 0) << made.output;
    const std::string whole = ReadFile(m_store);
    struct Case {
        const char* what;
        std::string store;
        std::string bytes;
        std::string says;
    };
    const Case cases[] = {
        {"damaged", m_dir + "/cut.db", whole.substr(0, 5000), " is damaged"},
        {"not a store", m_dir + "/notes.db", std::string(4096, 'n'), " is not a settings store"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.store, c.bytes);
        UseStore(c.store);
        const SRun run = RunTool(COMTEST_SERVER_PATH);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("(the settings store cannot be opened)"), std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find("settings store " + c.store + c.says), std::string::npos)
            << run.output;
        EXPECT_EQ(ReadFile(c.store), c.bytes);
    }
}

TEST_F(RegSvr, TheStoreFileAloneHoldsTheRegistration) {
    ASSERT_EQ(RunTool(COMTEST_SERVER_PATH).status, 0);
    const std::string copy = m_dir + "/copy.db";
    WriteFile(copy, ReadFile(m_store));
    UseStore(copy);
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT,
                      "CLSID\\{6F1B0C2A-8E11-4A5B-9C3D-5A0000000001}\\InprocServer32"),
              COMTEST_SERVER_PATH);
}

}  // namespace
}  // namespace comtest
