#include <algorithm>
#include <deque>
#include <map>

#include "ModuleFixture.h"
#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/OndRegistryHandler.h"

namespace moduletest {
namespace {

using ondrelo::com::GuidToString;
using ondrelo::registry::WriteNumber;
using ondrelo::registry::WriteString;
using testprobe::EventsOf;

const std::string kModules = COndRegistryHandler::kModulesKey;

// A tree that keeps its items and prints itself with siblings sorted, as
// the tree control sorts them: "Group[Child=2,Other=1]".
class CFakeTree : public IModuleTree {
public:
    struct SItem {
        SItem* parent;
        std::string text;
        std::uintptr_t data;
    };
    HTREEITEM InsertItem(HTREEITEM parent, const std::string& text, std::uintptr_t data) override {
        m_items.push_back(SItem{reinterpret_cast<SItem*>(parent), text, data});
        return reinterpret_cast<HTREEITEM>(&m_items.back());
    }
    void ExpandRoot() override { ++m_expanded; }

    std::string Print(const SItem* parent = nullptr) const {
        std::vector<std::string> children;
        for (const SItem& item : m_items) {
            if (item.parent != parent) {
                continue;
            }
            std::string text = item.text;
            const std::string below = Print(&item);
            if (item.data != 0) {
                text += "=" + std::to_string(item.data);
            }
            if (!below.empty() || item.data == 0) {
                text += "[" + below + "]";
            }
            children.push_back(text);
        }
        std::sort(children.begin(), children.end());
        std::string joined;
        for (const std::string& child : children) {
            joined += (joined.empty() ? "" : ",") + child;
        }
        return joined;
    }
    int m_expanded = 0;
    std::deque<SItem> m_items;
};

class Catalogue : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        m_pane = testprobe::NewWindow(nullptr, RECT{0, 0, 800, 600});
    }
    std::unique_ptr<CModuleCatalogue> Make() {
        return std::make_unique<CModuleCatalogue>(&m_tree, m_pane, &testprobe::ClientRect);
    }
    // A module list entry naming a class by its text.
    static void Entry(const std::string& path, const std::string& clsid) {
        ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, kModules + "\\" + path, "Type", 0));
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\" + path, "CLSID", clsid));
    }
    static void Group(const std::string& path) {
        ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, kModules + "\\" + path, "Type", 1));
    }
    // Registers the library's classes but keeps its entries out of the module list.
    static void RegisterClassesOnly(const char* library) {
        Register(library);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kModules.c_str());
    }
    static std::string Faulty(int n) {
        return "{0D5E7A10-0000-4000-8000-00000000000" + std::to_string(n) + "}";
    }
    std::vector<std::string> Names(const CModuleCatalogue& catalogue) {
        std::vector<std::string> names;
        for (const SModuleEntry& entry : catalogue.Entries()) {
            names.push_back(entry.name);
        }
        return names;
    }

    CFakeTree m_tree;
    HWND m_pane = nullptr;
};

TEST_F(Catalogue, TheFiveModulesMakeTheTree) {
    RegisterAllFive();
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    EXPECT_EQ(m_tree.m_expanded, 1);
    // Indices follow the store's order of keys: Formwarden, MouseOverButtonWizard,
    // Popkinard, Smallset\RoridaZiroZover, Smallset\VivadirivAradErevazo.
    EXPECT_EQ(m_tree.Print(),
              "HTML Form Wizard=1,Popup Wizard=3,Smallset[Rarededeva Razo Revizav=5,Rorida Ziro "
              "Zover=4],VozizEvev Uduved Ududor=2");
    EXPECT_EQ(Names(*catalogue), (std::vector<std::string>{
                                     "HTML Form Wizard", "VozizEvev Uduved Ududor", "Popup Wizard",
                                     "Rorida Ziro Zover", "Rarededeva Razo Revizav"}));
    EXPECT_EQ(catalogue->Entries()[2].clsid, ondrelo::modules::CLSID_Popkinard);
    EXPECT_EQ(catalogue->Current(), 0u);
    EXPECT_FALSE(catalogue->HasActiveModule());

    // Every module made its sheet in the pane at the pane's size, in its own context.
    EXPECT_EQ(EventsOf("Popup Wizard:"),
              std::vector<std::string>{"Popup Wizard:Create in Popkin at 800x600"});
    EXPECT_EQ(EventsOf("Rorida Ziro Zover:"),
              std::vector<std::string>{"Rorida Ziro Zover:Create in Smallset at 800x600"});
    EXPECT_TRUE(EventsOf("HTML Form Wizard:Show").empty());
}

TEST_F(Catalogue, SelectionRules) {
    RegisterAllFive();
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    testprobe::ClearEvents();

    // Nothing visible: no module hears of keys or sizes.
    EXPECT_FALSE(catalogue->IsDialogMessage(nullptr));
    catalogue->Resize();
    EXPECT_TRUE(testprobe::Events().empty());

    catalogue->Select(0);  // the root or a group item
    catalogue->Select(6);  // no such module
    EXPECT_TRUE(testprobe::Events().empty());
    EXPECT_EQ(catalogue->Current(), 0u);

    catalogue->Select(3);
    EXPECT_EQ(testprobe::Events(),
              (std::vector<std::string>{"Popup Wizard:Show", "Popup Wizard:Fit"}));
    testprobe::ClearEvents();
    catalogue->Select(3);  // the visible module again
    catalogue->Select(0);  // a group item keeps the visible module
    EXPECT_TRUE(testprobe::Events().empty());
    EXPECT_EQ(catalogue->Current(), 3u);

    catalogue->Select(1);
    EXPECT_EQ(testprobe::Events(),
              (std::vector<std::string>{"Popup Wizard:Hide", "HTML Form Wizard:Show",
                                        "HTML Form Wizard:Fit"}));
    testprobe::ClearEvents();
    catalogue->Resize();
    EXPECT_EQ(testprobe::Events(), std::vector<std::string>{"HTML Form Wizard:Fit"});
    EXPECT_TRUE(catalogue->HasActiveModule());
    // Modules never consume messages.
    EXPECT_FALSE(catalogue->IsDialogMessage(nullptr));
}

TEST_F(Catalogue, AMessageCountsAsConsumedOnlyWithSuccessAndAFlag) {
    Register(kFaulty);
    Entry("A", Faulty(2));  // claims with S_OK
    Entry("B", Faulty(3));  // claims with E_FAIL
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    ASSERT_EQ(Names(*catalogue), (std::vector<std::string>{"Greedy", "Greedy Failing"}));
    catalogue->Select(1);
    EXPECT_TRUE(catalogue->IsDialogMessage(nullptr));
    catalogue->Select(2);
    EXPECT_FALSE(catalogue->IsDialogMessage(nullptr));
}

TEST_F(Catalogue, EmptyAndMissingModuleList) {
    auto catalogue = Make();
    EXPECT_FALSE(catalogue->Load());
    EXPECT_TRUE(Traced("cannot be opened"));
    EXPECT_EQ(m_tree.m_expanded, 0);

    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules, "", ""));
    ondrelo::utils::ClearTraceRecords();
    EXPECT_TRUE(catalogue->Load());
    EXPECT_EQ(m_tree.m_expanded, 1);
    EXPECT_TRUE(m_tree.m_items.empty());
    EXPECT_TRUE(catalogue->Entries().empty());
    // The end of the list is recorded too.
    EXPECT_TRUE(Traced("enumeration ended at entry 0: error 259"));
}

TEST_F(Catalogue, GroupsNestAndKeepTheirItemsWhenEmpty) {
    RegisterClassesOnly(kPopkin);
    const std::string popkinard = GuidToString(ondrelo::modules::CLSID_Popkinard);
    Group("Outer");
    Group("Outer\\Inner");
    Entry("Outer\\Inner\\Deep", popkinard);
    Group("Outer\\Empty");
    Group("Lonely");
    // A group with a CLSID is still a group.
    Group("Tagged");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\Tagged", "CLSID", popkinard));
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    EXPECT_EQ(m_tree.Print(), "Lonely[],Outer[Empty[],Inner[Popup Wizard=1]],Tagged[]");
    EXPECT_EQ(catalogue->Entries().size(), 1u);
}

TEST_F(Catalogue, TypeValuesOtherThanOneMeanAModule) {
    RegisterClassesOnly(kPopkin);
    const std::string popkinard = GuidToString(ondrelo::modules::CLSID_Popkinard);
    Entry("Zero", popkinard);
    ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, kModules + "\\Two", "Type", 2));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\Two", "CLSID", popkinard));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\Text", "Type", "1"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\Text", "CLSID", popkinard));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kModules + "\\None", "CLSID", popkinard));
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    // Four entries with one CLSID: four objects and four items.
    ASSERT_EQ(catalogue->Entries().size(), 4u);
    EXPECT_EQ(m_tree.Print(), "Popup Wizard=1,Popup Wizard=2,Popup Wizard=3,Popup Wizard=4");
    EXPECT_NE(catalogue->Entries()[0].module, catalogue->Entries()[1].module);
    EXPECT_EQ(LockCountOf(kPopkin), 4);
    EXPECT_EQ(EventsOf("new:Popup Wizard").size(), 4u);
}

TEST_F(Catalogue, EntriesThatCannotBeCreatedAreSkippedAndTraced) {
    RegisterClassesOnly(kPopkin);
    Register(kFaulty);
    const std::string popkinard = GuidToString(ondrelo::modules::CLSID_Popkinard);
    const std::string missingLib = "{0D5E7A10-0000-4000-8000-0000000000AA}";
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "CLSID\\" + missingLib + "\\InprocServer32", "",
                            m_dir + "/libGone.so"));
    struct Case {
        const char* key;
        std::string clsid;  // "<none>": no CLSID value
        ESkipReason reason;
        std::string entry;  // the skipped entry as recorded
    };
    const std::string tooLong = "{" + std::string(300, 'A') + "}";
    const std::string unregistered = "{0D5E7A10-0000-4000-8000-0000000000BB}";
    const Case cases[] = {
        {"01 no clsid", "<none>", ESkipReason::NoClsid, ""},
        {"02 too long", tooLong, ESkipReason::NoClsid, ""},
        {"03 bad text", "Popkinard", ESkipReason::BadClsid, "Popkinard"},
        {"04 unregistered", unregistered, ESkipReason::CannotCreate, unregistered},
        {"05 library missing", missingLib, ESkipReason::CannotCreate, missingLib},
        {"06 no IOndModule", Faulty(4), ESkipReason::CannotCreate, Faulty(4)},
        {"07 GetProperties fails", Faulty(1), ESkipReason::NoDisplayName, Faulty(1)},
    };
    for (const Case& c : cases) {
        if (c.clsid == "<none>") {
            ASSERT_TRUE(WriteNumber(HKEY_LOCAL_MACHINE, kModules + "\\" + c.key, "Type", 0));
        } else {
            Entry(c.key, c.clsid);
        }
    }
    Entry("08 good", popkinard);
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    EXPECT_EQ(m_tree.Print(), "Popup Wizard=1");
    // Entries are visited in the store's order of names, one record each,
    // every one with the failing call's status.
    const auto& skipped = catalogue->Skipped();
    ASSERT_EQ(skipped.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(skipped[i].reason, cases[i].reason) << cases[i].key;
        EXPECT_EQ(skipped[i].entry, cases[i].entry) << cases[i].key;
        EXPECT_NE(skipped[i].status, 0) << cases[i].key;
    }
    // The module that could not name itself was released at once.
    EXPECT_EQ(EventsOf("delete:Nameless").size(), 1u);
    EXPECT_EQ(LockCountOf(kFaulty), 0);
}

TEST_F(Catalogue, ANameTooLongForItsBufferStopsItsLevel) {
    RegisterClassesOnly(kPopkin);
    const std::string popkinard = GuidToString(ondrelo::modules::CLSID_Popkinard);
    Entry("A", popkinard);
    Entry(std::string("M") + std::string(270, 'm'), popkinard);
    Entry("Z", popkinard);
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    EXPECT_EQ(catalogue->Entries().size(), 1u);
    EXPECT_TRUE(Traced("enumeration ended at entry 1: error 234"));
}

TEST_F(Catalogue, NestingStopsAtTheStoresDepthLimit) {
    // A damaged store nested thousands of groups deep used to exhaust the
    // stack; entries below level kMaxNesting are skipped and traced.
    RegisterClassesOnly(kPopkin);
    const std::string popkinard = GuidToString(ondrelo::modules::CLSID_Popkinard);
    // Groups "g" from level 1 down to level kMaxNesting - 1, made level by level.
    std::string path;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kModules.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (int level = 1; level < CModuleCatalogue::kMaxNesting; ++level) {
        HKEY sub = nullptr;
        ASSERT_EQ(RegCreateKeyExA(key, "g", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
                  ERROR_SUCCESS);
        const DWORD group = 1;
        RegSetValueExA(sub, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&group),
                       sizeof group);
        RegCloseKey(key);
        key = sub;
        path += path.empty() ? "g" : "\\g";
    }
    RegCloseKey(key);
    Entry(path + "\\last", popkinard);          // level kMaxNesting: still visited
    Group(path + "\\deeper");                   // level kMaxNesting: shown
    Entry(path + "\\deeper\\lost", popkinard);  // one level too deep
    Entry("top", popkinard);
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    EXPECT_EQ(catalogue->Entries().size(), 2u);
    ASSERT_EQ(catalogue->Skipped().size(), 1u);
    EXPECT_EQ(catalogue->Skipped()[0].reason, ESkipReason::TooDeep);
    EXPECT_EQ(catalogue->Skipped()[0].entry, "lost");
}

TEST_F(Catalogue, ReleaseAllReleasesEachModuleOnceInCreationOrder) {
    RegisterAllFive();
    auto catalogue = Make();
    ASSERT_TRUE(catalogue->Load());
    catalogue->Select(2);
    // The host destroys its windows first; the sheets go with the pane.
    testprobe::DestroyWindowTree(m_pane);
    testprobe::ClearEvents();
    catalogue->ReleaseAll();
    EXPECT_EQ(EventsOf("delete:"),
              (std::vector<std::string>{"delete:HTML Form Wizard", "delete:VozizEvev Uduved Ududor",
                                        "delete:Popup Wizard", "delete:Rorida Ziro Zover",
                                        "delete:Rarededeva Razo Revizav"}));
    // Destroy is never called; the sheet objects are deleted without their windows.
    for (const std::string& event : testprobe::Events()) {
        EXPECT_EQ(event.find(":DestroyWindow"), std::string::npos) << event;
    }
    EXPECT_EQ(EventsOf("Popup Wizard:"), std::vector<std::string>{"Popup Wizard:~sheet"});
    EXPECT_TRUE(catalogue->Entries().empty());
    // Nothing is visible any more, and nothing is released twice.
    EXPECT_FALSE(catalogue->HasActiveModule());
    EXPECT_FALSE(catalogue->IsDialogMessage(nullptr));
    catalogue->Resize();
    testprobe::ClearEvents();
    catalogue.reset();
    EXPECT_TRUE(testprobe::Events().empty());
    EXPECT_EQ(LockCountOf(kPopkin), 0);
    EXPECT_EQ(LockCountOf(kSmallset), 0);
    CoFreeUnusedLibraries();
}

TEST_F(Catalogue, TheDestructorReleasesWhatIsLeft) {
    Register(kHoverkit);
    {
        auto catalogue = Make();
        ASSERT_TRUE(catalogue->Load());
        EXPECT_EQ(LockCountOf(kHoverkit), 1);
    }
    EXPECT_EQ(LockCountOf(kHoverkit), 0);
    // Without a window the sheet's own destruction closes it.
    EXPECT_EQ(EventsOf("VozizEvev Uduved Ududor:"),
              (std::vector<std::string>{"VozizEvev Uduved Ududor:Create in Hoverkit at 800x600",
                                        "VozizEvev Uduved Ududor:DestroyWindow",
                                        "VozizEvev Uduved Ududor:~sheet"}));
}

}  // namespace
}  // namespace moduletest
