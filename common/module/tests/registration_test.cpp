#include "ModuleFixture.h"
#include "ondrelo/testsupport/ScratchDir.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/OndRegistryHandler.h"

namespace moduletest {
namespace {

using namespace ondrelo::modules;
using ondrelo::com::GuidToString;
using ondrelo::com::RunRegistrationScript;
using ondrelo::registry::ReadString;
using ondrelo::registry::SubKeys;

const std::string kModules = COndRegistryHandler::kModulesKey;

struct SExpected {
    const char* className;
    const char* script;
    CLSID clsid;
    const char* progId;  // Lib.Class
    const char* model;   // null: no ThreadingModel value
    bool curVer;
    bool programmable;
    const GUID* typeLib;    // null: no TypeLib key
    const char* moduleKey;  // path below Modules, null: no module entry
};

const SExpected kExpected[] = {
    {"Popkinard", kPopkinardScript, CLSID_Popkinard, "Popkin.Popkinard", "both", false, false,
     nullptr, "Popkinard"},
    {"CHoverkit", kCHoverkitScript, CLSID_CHoverkit, "Hoverkit.CHoverkit", "Apartment", true, true,
     &LIBID_Hoverkit, "MouseOverButtonWizard"},
    {"FormwardenWizard", kFormwardenWizardScript, CLSID_FormwardenWizard,
     "Formwarden.FormwardenWizard", "Apartment", true, true, &LIBID_Formwarden, "Formwarden"},
    {"RoridaZiroZover", kRoridaZiroZoverScript, CLSID_RoridaZiroZover, "Smallset.RoridaZiroZover",
     "Apartment", true, false, &LIBID_Smallset, "Smallset\\RoridaZiroZover"},
    {"DudIzuvIzurido", kDudIzuvIzuridoScript, CLSID_DudIzuvIzurido, "Smallset.DudIzuvIzurido",
     "Apartment", true, true, &LIBID_Smallset, "Smallset\\VivadirivAradErevazo"},
    {"CodeInsertUI", kCodeInsertUIScript, CLSID_CodeInsertUI, "Inslet.CodeInsertUI", nullptr, true,
     false, &LIBID_Inslet, nullptr},
};

class Registration : public StoreTest {
protected:
    static HRESULT Run(const char* script, bool registering) {
        return RunRegistrationScript(script, {{"MODULE", "/usr/lib/ondrelo/libTest.so"}},
                                     registering);
    }
};

TEST_F(Registration, EveryClassWritesItsKeysAndValues) {
    for (const SExpected& e : kExpected) {
        SCOPED_TRACE(e.className);
        ASSERT_EQ(Run(e.script, true), S_OK);
        const std::string guid = GuidToString(e.clsid);
        const std::string title = std::string(e.className) + " Class";
        const std::string progId = e.progId;
        const std::string classKey = "CLSID\\" + guid;

        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, progId + ".1"), title);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, progId + ".1\\CLSID"), guid);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, progId), title);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, progId + "\\CLSID"), guid);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, progId + "\\CurVer"),
                  e.curVer ? progId + ".1" : "<missing>");

        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, classKey), title);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, classKey + "\\ProgID"), progId + ".1");
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, classKey + "\\VersionIndependentProgID"), progId);
        EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, classKey + "\\Programmable"), e.programmable);
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32"),
                  "/usr/lib/ondrelo/libTest.so");
        std::string model;
        EXPECT_EQ(
            ReadString(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", "ThreadingModel", model),
            e.model != nullptr);
        if (e.model != nullptr) {
            EXPECT_EQ(model, e.model);
        }
        EXPECT_EQ(Default(HKEY_CLASSES_ROOT, classKey + "\\TypeLib"),
                  e.typeLib ? GuidToString(*e.typeLib) : "<missing>");

        if (e.moduleKey != nullptr) {
            const std::string key = kModules + "\\" + e.moduleKey;
            DWORD type = 9;
            EXPECT_TRUE(Number(HKEY_LOCAL_MACHINE, key, "Type", type));
            EXPECT_EQ(type, 0u);
            std::string clsid;
            EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, key, "CLSID", clsid));
            EXPECT_EQ(clsid, guid);
        }
    }
    // The insertion component writes no module entry; the module list holds
    // the five modules, two of them in the group.
    EXPECT_EQ(
        SubKeys(HKEY_LOCAL_MACHINE, kModules),
        (std::vector<std::string>{"Formwarden", "MouseOverButtonWizard", "Popkinard", "Smallset"}));
    DWORD groupType = 0;
    EXPECT_TRUE(Number(HKEY_LOCAL_MACHINE, kModules + "\\Smallset", "Type", groupType));
    EXPECT_EQ(groupType, 1u);
    std::string groupClsid;
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kModules + "\\Smallset", "CLSID", groupClsid));
}

TEST_F(Registration, RemovingOneSmallsetModuleKeepsTheGroupAndTheOther) {
    ASSERT_EQ(Run(kRoridaZiroZoverScript, true), S_OK);
    ASSERT_EQ(Run(kDudIzuvIzuridoScript, true), S_OK);
    ASSERT_EQ(Run(kRoridaZiroZoverScript, false), S_OK);

    DWORD type = 0;
    EXPECT_TRUE(Number(HKEY_LOCAL_MACHINE, kModules + "\\Smallset", "Type", type));
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, kModules + "\\Smallset"),
              std::vector<std::string>{"VivadirivAradErevazo"});
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_RoridaZiroZover)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Smallset.RoridaZiroZover"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_DudIzuvIzurido)));

    // With both removed, the never-removed keys stay as they are.
    ASSERT_EQ(Run(kDudIzuvIzuridoScript, false), S_OK);
    EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, kModules + "\\Smallset").empty());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kModules));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST_F(Registration, ALibraryRegistersItselfUnderItsOwnPathWithItsTypeLibrary) {
    Register(kSmallset);
    const std::string server = Default(
        HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_RoridaZiroZover) + "\\InprocServer32");
    EXPECT_EQ(server, std::filesystem::canonical(kSmallset).string());
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "TypeLib\\" + GuidToString(LIBID_Smallset) + "\\1.0"),
              "Smallset 1.0 Type Library");

    ASSERT_EQ(CallEntry(kSmallset, "DllUnregisterServer"), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + GuidToString(LIBID_Smallset)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_DudIzuvIzurido)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kModules + "\\Smallset"));
}

TEST_F(Registration, TheModuleTableMatchesTheScripts) {
    for (const SModuleClassInfo& info : kModuleClasses) {
        SCOPED_TRACE(info.className);
        const std::string script = info.script;
        EXPECT_NE(script.find(GuidToString(info.clsid)), std::string::npos);
        EXPECT_NE(script.find(std::string("ForceRemove ") + info.moduleKey), std::string::npos);
        EXPECT_NE(script.find(std::string(info.library) + "." + info.className + ".1"),
                  std::string::npos);
        EXPECT_EQ(script.find(std::string("NoRemove ") + (info.group ? info.group : "-")) !=
                      std::string::npos,
                  info.group != nullptr);
    }
}

// The registration-script interpreter's fuzzing seeds: every class's script
// (when ONDRELO_FUZZ_CORPUS_DIR is set).
TEST(FuzzCorpus, RegistrationScriptSeeds) {
    const std::string dir = ondrelo::test::FuzzSeedDir("regscript");
    if (dir.empty()) {
        GTEST_SKIP() << "ONDRELO_FUZZ_CORPUS_DIR is not set";
    }
    for (const SModuleClassInfo& info : kModuleClasses) {
        ondrelo::test::WriteFile(dir + "/" + info.className + ".rgs", info.script);
    }
}

}  // namespace
}  // namespace moduletest
