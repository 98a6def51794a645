// The shared part of ondrelo-gen, driven through a probe subcommand: option
// parsing and exit codes, what is printed where, and the insertion flow
// (script copy, request handed to the wizard, failures).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ondrelo/testsupport/StoreFixture.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"

namespace {

namespace fs = std::filesystem;
using namespace ondrelo::gen;
using ondrelo::registry::testing::Exists;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

// Draws two numbers so that --numbers shows in the code.
class CProbeGen : public CCodeGen {
public:
    int GenerateCode() override {
        m_strCode1 = "<SCRIPT src='probe.js'></SCRIPT>";
        const int first = DrawRandomNumber();
        const int second = DrawRandomNumber();
        m_strCode2 = "\r\ncode " + std::to_string(first) + " " + std::to_string(second) + "\r\n";
        m_strCode3 = "3. Paste it";
        AddWarning("careful");
        return 1;
    }
};

// What the probe's insertion was asked, and what it answers.
struct SProbeState {
    int calls = 0;
    SInsertRequest request;
    bool succeed = true;
    bool raise = false;
    std::string inclusionPage;
    std::string inclusionDestination;
} g_probe;

// Arguments: "usage" and "fail" raise the two errors, "noinsert" offers no
// insertion, "noscript" needs no runtime script.
void RunProbe(const std::vector<std::string>& args, const SGenOptions&, SGenerated& out) {
    bool insert = true;
    out.scriptName = "probe.js";
    out.placeholderText = "_PROBE_";
    for (const std::string& a : args) {
        if (a == "usage") {
            throw CUsageError("bad probe argument");
        }
        if (a == "fail") {
            throw CGenFailure("probe input unreadable");
        }
        if (a == "noinsert") {
            insert = false;
        }
        if (a == "noscript") {
            out.scriptName.clear();
        }
        if (a == "withinclusion") {
            out.inclusion = [](const std::string& page, const std::string& destination,
                               std::string& line) {
                g_probe.inclusionPage = page;
                g_probe.inclusionDestination = destination;
                line = "<SCRIPT src='rel/probe.js'></SCRIPT>";
                return true;
            };
        }
    }
    auto gen = std::make_shared<CProbeGen>();
    gen->SetModified(true);
    out.generator = gen;
    if (insert) {
        out.insert = [](const SInsertRequest& request) {
            ++g_probe.calls;
            g_probe.request = request;
            if (g_probe.raise) {
                COndException::ThrowOndException("scanner gave up", 7);
            }
            if (g_probe.succeed) {
                WriteFile(request.page, "inserted");
            }
            return g_probe.succeed;
        };
    }
}

ONDRELO_GEN_SUBCOMMAND(probe, "a probe for the tests", "  ondrelo-gen probe [ARGS]\n", &RunProbe);

class GenCommand : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        g_probe = SProbeState();
        scripts = m_dir + "/installed";
        fs::create_directories(scripts);
        WriteFile(scripts + "/probe.js", "// runtime\n");
        ASSERT_TRUE(ondrelo::registry::WriteString(
            HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey, "scriptspath", scripts));
        site = m_dir + "/site";
        fs::create_directories(site);
    }

    int Gen(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return ondrelo::gen::Run(args, out, err);
    }

    std::string scripts;
    std::string site;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(GenCommand, BadUsageExitsTwoWithAPointerToHelp) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nosuch"},
        {"probe", "--print"},
        {"probe", "--print", "everything"},
        {"probe", "--print", "code", "--print", "include"},
        {"probe", "--numbers", ""},
        {"probe", "--numbers", "1,,2"},
        {"probe", "--numbers", "1,x"},
        {"probe", "--numbers", "32768"},
        {"probe", "--numbers", "-1"},
        {"probe", "--numbers", "99999999999999999999"},
        {"probe", "--new"},
        {"probe", "--placeholder"},
        {"probe", "--script-to", "/tmp"},
        {"probe", "--insert", "a.html", "--new", "--placeholder"},
        {"probe", "--insert", "a.html", "--page", "b.html"},
        {"probe", "--insert", ""},
        {"probe", "usage"},
        {"probe", "noinsert", "--insert", "a.html"},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const auto& a : args) {
            line += a + " ";
        }
        EXPECT_EQ(Gen(args), kExitUsage) << line;
        EXPECT_NE(err.str().find("--help"), std::string::npos) << line << err.str();
        EXPECT_EQ(out.str(), "") << line;
    }
    EXPECT_EQ(g_probe.calls, 0);
}

TEST_F(GenCommand, PrintGivesExactlyOneTextAndNothingElse) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"include", "<SCRIPT src='probe.js'></SCRIPT>"},
        {"code", "\r\ncode 4 9\r\n"},
        {"instruction", "3. Paste it"},
        {"warnings", "careful\r\n"},
    };
    for (const auto& [kind, text] : cases) {
        EXPECT_EQ(Gen({"probe", "--print", kind, "--numbers", "4,9"}), kExitDone);
        EXPECT_EQ(out.str(), text) << kind;
        EXPECT_EQ(err.str(), kind == "warnings" ? "" : "careful\r\n") << kind;
    }
}

TEST_F(GenCommand, WithoutPrintTheInclusionABlankLineAndTheCode) {
    EXPECT_EQ(Gen({"probe", "--numbers", "12"}), kExitDone);
    // The last fixed number repeats.
    EXPECT_EQ(out.str(), "<SCRIPT src='probe.js'></SCRIPT>\r\n\r\n\r\ncode 12 12\r\n");
    EXPECT_EQ(err.str(), "careful\r\n");
}

TEST_F(GenCommand, FixedNumbersLastOneRunOnly) {
    EXPECT_EQ(Gen({"probe", "--numbers", "7"}), kExitDone);
    CCodeGen::SeedRandomNumbers();
    bool allSeven = true;
    for (int i = 0; i < 20; ++i) {
        allSeven = allSeven && CCodeGen::DrawRandomNumber() == 7;
    }
    EXPECT_FALSE(allSeven);
}

TEST_F(GenCommand, SubcommandFailureExitsOneWithItsMessage) {
    EXPECT_EQ(Gen({"probe", "fail"}), kExitFailed);
    EXPECT_NE(err.str().find("probe input unreadable"), std::string::npos);
    EXPECT_EQ(out.str(), "");
}

TEST_F(GenCommand, HelpListsEverySubcommandAndTheCommonOptions) {
    EXPECT_EQ(Gen({"--help"}), kExitDone);
    for (const char* part : {"probe", "a probe for the tests", "ondrelo-gen probe [ARGS]",
                             "--print", "--numbers", "--page", "--insert", "--script-to"}) {
        EXPECT_NE(out.str().find(part), std::string::npos) << part;
    }
    EXPECT_EQ(Gen({"probe", "--help"}), kExitDone);
    EXPECT_NE(out.str().find("ondrelo-gen probe [ARGS]"), std::string::npos);
}

TEST_F(GenCommand, InsertCopiesTheScriptNextToThePageAndHandsOverTheChoices) {
    const std::string page = site + "/page.html";
    WriteFile(page, "<html><body></body></html>");
    EXPECT_EQ(Gen({"probe", "--insert", page, "--placeholder"}), kExitDone) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ReadFile(site + "/probe.js"), "// runtime\n");
    ASSERT_EQ(g_probe.calls, 1);
    EXPECT_EQ(g_probe.request.page, page);
    EXPECT_EQ(g_probe.request.scriptDestination, site + "/probe.js");
    EXPECT_FALSE(g_probe.request.newFile);
    EXPECT_TRUE(g_probe.request.atPlaceholder);
}

TEST_F(GenCommand, InsertWithScriptFolderAndRelativePaths) {
    fs::create_directories(site + "/js");
    const fs::path cwd = fs::current_path();
    fs::current_path(site);
    const int status =
        Gen({"probe", "withinclusion", "--insert", "new.html", "--new", "--script-to", "js",
             "--print", "include"});
    fs::current_path(cwd);
    EXPECT_EQ(status, kExitDone) << err.str();
    EXPECT_EQ(g_probe.request.page, site + "/new.html");
    EXPECT_TRUE(g_probe.request.newFile);
    EXPECT_EQ(g_probe.request.scriptDestination, site + "/js/probe.js");
    EXPECT_TRUE(Exists(site + "/js/probe.js"));
    EXPECT_EQ(g_probe.inclusionPage, site + "/new.html");
    EXPECT_EQ(out.str(), "<SCRIPT src='rel/probe.js'></SCRIPT>");
}

TEST_F(GenCommand, PageAloneComputesTheInclusionWithoutInserting) {
    EXPECT_EQ(Gen({"probe", "withinclusion", "--page", site + "/a/b.html", "--print", "include"}),
              kExitDone);
    EXPECT_EQ(g_probe.calls, 0);
    EXPECT_EQ(g_probe.inclusionDestination, site + "/a/probe.js");
    EXPECT_FALSE(Exists(site + "/a/probe.js"));
    EXPECT_EQ(out.str(), "<SCRIPT src='rel/probe.js'></SCRIPT>");
}

TEST_F(GenCommand, NoScriptNoCopy) {
    const std::string page = site + "/page.html";
    WriteFile(page, "<html><body></body></html>");
    EXPECT_EQ(Gen({"probe", "noscript", "--insert", page}), kExitDone);
    EXPECT_EQ(g_probe.request.scriptDestination, "");
    EXPECT_FALSE(Exists(site + "/probe.js"));
}

TEST_F(GenCommand, InsertFailuresExitOneAndLoseNothing) {
    const std::string page = site + "/page.html";
    WriteFile(page, "mine");

    // --new never overwrites a page.
    EXPECT_EQ(Gen({"probe", "--insert", page, "--new"}), kExitFailed);
    EXPECT_NE(err.str().find("already exists"), std::string::npos);
    EXPECT_EQ(ReadFile(page), "mine");
    EXPECT_EQ(g_probe.calls, 0);

    // Without --new the page must be there.
    EXPECT_EQ(Gen({"probe", "--insert", site + "/missing.html"}), kExitFailed);
    EXPECT_EQ(g_probe.calls, 0);

    // The wizard's insertion refuses; a missing placeholder is named.
    g_probe.succeed = false;
    EXPECT_EQ(Gen({"probe", "--insert", page}), kExitFailed);
    EXPECT_NE(err.str().find("not inserted"), std::string::npos);
    EXPECT_EQ(err.str().find("holds no"), std::string::npos);
    EXPECT_EQ(Gen({"probe", "--insert", page, "--placeholder"}), kExitFailed);
    EXPECT_NE(err.str().find("(the page holds no _PROBE_)"), std::string::npos) << err.str();
    EXPECT_EQ(ReadFile(page), "mine");

    // The wizard's core raises its error object.
    g_probe.raise = true;
    EXPECT_EQ(Gen({"probe", "--insert", page}), kExitFailed);
    EXPECT_NE(err.str().find("scanner gave up"), std::string::npos);
}

TEST_F(GenCommand, FailedScriptCopyIsReportedButTheCodeIsStillInserted) {
    fs::remove(scripts + "/probe.js");
    const std::string page = site + "/page.html";
    WriteFile(page, "<html><body></body></html>");
    EXPECT_EQ(Gen({"probe", "--insert", page}), kExitFailed);
    EXPECT_NE(err.str().find("Failed copying the JavaScript File to the destination: " + site +
                             "/probe.js"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(g_probe.calls, 1);
    EXPECT_EQ(ReadFile(page), "inserted");
}

TEST_F(GenCommand, DoubleDashPassesOptionLookingArgumentsOn) {
    EXPECT_EQ(Gen({"probe", "--", "--print"}), kExitDone);
    EXPECT_NE(out.str().find("code"), std::string::npos);
}

}  // namespace
