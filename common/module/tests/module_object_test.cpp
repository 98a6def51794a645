#include <cstring>

#include "ModuleFixture.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleObject.h"

namespace moduletest {
namespace {

using ondrelo::COndModuleObject;
using ondrelo::SModuleDescriptor;
using testprobe::Events;
using testprobe::EventsOf;

const ondrelo::SModuleResources kResources{"ObjectTest", nullptr, nullptr};

std::unique_ptr<ondrelo::IModuleSheet> MakeSheet() {
    return std::unique_ptr<ondrelo::IModuleSheet>(new testprobe::CFakeSheet("S"));
}
std::unique_ptr<ondrelo::IModuleSheet> MakeNoSheet() {
    throw std::runtime_error("no sheet today");
}

const SModuleDescriptor kDescriptor{"Popup Wizard", &kResources, &MakeSheet};
const SModuleDescriptor kThrowingSheet{"Broken", &kResources, &MakeNoSheet};

using CTestModule = ondrelo::CModuleClass<kDescriptor>;
using CThrowingModule = ondrelo::CModuleClass<kThrowingSheet>;

class CPopkinLike : public ondrelo::COndModuleObjectWith<ondrelo::modules::IPopkinard,
                                                         ondrelo::modules::IID_IPopkinard> {
public:
    CPopkinLike() : COndModuleObjectWith(kDescriptor) {}
    HRESULT GetWizard(IUnknown** punknown) override {
        *punknown = nullptr;
        return S_OK;
    }
};

ondrelo::com::COndServerModule g_server({{ondrelo::modules::CLSID_Popkinard,
                                          &ondrelo::com::CreateObjectInstance<CTestModule>,
                                          nullptr}},
                                        {});

IOndModule* NewModule() {
    IOndModule* module = nullptr;
    EXPECT_EQ(ondrelo::com::CreateObjectInstance<CTestModule>(g_server, nullptr, IID_IOndModule,
                                                              reinterpret_cast<void**>(&module)),
              S_OK);
    return module;
}

class ModuleObject : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        m_pane = testprobe::NewWindow(nullptr, RECT{0, 0, 640, 480});
    }
    HWND m_pane = nullptr;
};

TEST_F(ModuleObject, BeforeCreateShowHideResizeReportNoSheet) {
    IOndModule* module = NewModule();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->Show(), S_FALSE);
    EXPECT_EQ(module->Hide(), S_FALSE);
    EXPECT_EQ(module->Resize(), S_FALSE);
    EXPECT_EQ(module->Destroy(), S_OK);
    EXPECT_TRUE(EventsOf("S:").empty());
    module->Release();
}

TEST_F(ModuleObject, CreateMakesAHiddenChildSheetInTheModulesContext) {
    IOndModule* module = NewModule();
    EXPECT_EQ(module->Create(m_pane, RECT{0, 0, 640, 480}), S_OK);
    EXPECT_EQ(EventsOf("S:"), std::vector<std::string>{"S:Create in ObjectTest at 640x480"});
    EXPECT_EQ(ondrelo::CurrentModuleResources(), nullptr);  // the scope ended with the call

    EXPECT_EQ(module->Show(), S_OK);
    EXPECT_EQ(module->Resize(), S_OK);
    EXPECT_EQ(module->Hide(), S_OK);
    EXPECT_EQ(EventsOf("S:"), (std::vector<std::string>{"S:Create in ObjectTest at 640x480",
                                                        "S:Show", "S:Fit", "S:Fit", "S:Hide"}));
    // A second Create keeps the sheet that is there.
    testprobe::ClearEvents();
    EXPECT_EQ(module->Create(m_pane, RECT{0, 0, 10, 10}), S_OK);
    EXPECT_TRUE(EventsOf("S:").empty());
    module->Release();
    EXPECT_EQ(EventsOf("S:"), (std::vector<std::string>{"S:DestroyWindow", "S:~sheet"}));
}

TEST_F(ModuleObject, DestroyTwiceDoesTheWorkOnce) {
    IOndModule* module = NewModule();
    module->Create(m_pane, RECT{0, 0, 640, 480});
    testprobe::ClearEvents();
    EXPECT_EQ(module->Destroy(), S_OK);
    EXPECT_EQ(module->Destroy(), S_OK);
    EXPECT_EQ(Events(), (std::vector<std::string>{"S:DestroyWindow", "S:~sheet"}));
    EXPECT_EQ(module->Show(), S_FALSE);
    EXPECT_EQ(module->Hide(), S_FALSE);
    EXPECT_EQ(module->Resize(), S_FALSE);
    module->Release();
    EXPECT_EQ(Events().size(), 2u);
}

TEST_F(ModuleObject, ReleaseAfterTheParentWindowDiedDeletesTheSheetOnly) {
    IOndModule* module = NewModule();
    module->Create(m_pane, RECT{0, 0, 640, 480});
    module->Show();
    testprobe::DestroyWindowTree(m_pane);
    testprobe::ClearEvents();
    EXPECT_EQ(module->Resize(), S_FALSE);
    EXPECT_EQ(module->Show(), S_OK);  // the sheet object is still there; its window is not
    EXPECT_EQ(module->Hide(), S_OK);
    module->Release();
    EXPECT_EQ(Events(), std::vector<std::string>{"S:~sheet"});
}

TEST_F(ModuleObject, PropertiesAndDialogMessages) {
    IOndModule* module = NewModule();
    LPCOLESTR first = nullptr;
    LPCOLESTR second = nullptr;
    ASSERT_EQ(module->GetProperties(&first), S_OK);
    ASSERT_EQ(module->GetProperties(&second), S_OK);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::u16string(first), u"Popup Wizard");
    EXPECT_EQ(module->GetProperties(nullptr), E_POINTER);

    // The message is passed along untouched and never consumed.
    unsigned char message[64];
    std::memset(message, 0xA5, sizeof message);
    BOOL consumed = 7;
    EXPECT_EQ(module->IsDialogMessage(&consumed, reinterpret_cast<MSG*>(message)), S_OK);
    EXPECT_EQ(consumed, 0);
    for (unsigned char byte : message) {
        ASSERT_EQ(byte, 0xA5);
    }
    EXPECT_EQ(module->IsDialogMessage(nullptr, reinterpret_cast<MSG*>(message)), E_POINTER);
    module->Release();
}

TEST_F(ModuleObject, NamesAreConvertedAndCutToTheBuffer) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"Popup Wizard", u"Popup Wizard"},
        {"Caf\xC3\xA9 \xE2\x82\xAC", u"Caf\u00E9 \u20AC"},
        {"\xF0\x9F\x98\x80!", u"\U0001F600!"},
        {"Latin-1 \xE9t\xE9", u"Latin-1 \u00E9t\u00E9"},  // not UTF-8: bytes kept
        {std::string(300, 'x'), std::u16string(255, u'x')},
        // A pair that no longer fits is left out whole.
        {std::string(254, 'x') + "\xF0\x9F\x98\x80", std::u16string(254, u'x')},
    };
    for (const Case& c : cases) {
        WCHAR buffer[COndModuleObject::kNameBufferSize];
        ondrelo::Utf8ToUtf16(c.utf8, buffer, COndModuleObject::kNameBufferSize);
        EXPECT_EQ(std::u16string(buffer), c.utf16) << c.utf8;
    }
    // Back to 8-bit text with at most 255 bytes, cut between characters.
    const std::u16string euros(100, u'\u20AC');
    const std::string back = ondrelo::Utf16ToUtf8(euros.c_str(), 255);
    EXPECT_EQ(back.size(), 255u);
    const std::string shorter = ondrelo::Utf16ToUtf8(euros.c_str(), 254);
    EXPECT_EQ(shorter.size(), 252u);
    EXPECT_EQ(ondrelo::Utf16ToUtf8(u"Caf\u00E9", 255), "Caf\xC3\xA9");
}

TEST_F(ModuleObject, InterfacesAndTheLibraryCount) {
    EXPECT_EQ(g_server.GetLockCount(), 0);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(ondrelo::com::CreateObjectInstance<CPopkinLike>(g_server, nullptr, IID_IUnknown,
                                                              reinterpret_cast<void**>(&unknown)),
              S_OK);
    EXPECT_EQ(g_server.GetLockCount(), 1);
    IOndModule* module = nullptr;
    ASSERT_EQ(unknown->QueryInterface(IID_IOndModule, reinterpret_cast<void**>(&module)), S_OK);
    ondrelo::modules::IPopkinard* popkinard = nullptr;
    ASSERT_EQ(unknown->QueryInterface(ondrelo::modules::IID_IPopkinard,
                                      reinterpret_cast<void**>(&popkinard)),
              S_OK);
    IUnknown* wizard = unknown;
    EXPECT_EQ(popkinard->GetWizard(&wizard), S_OK);
    EXPECT_EQ(wizard, nullptr);
    void* other = unknown;
    EXPECT_EQ(unknown->QueryInterface(ondrelo::modules::IID_ICHoverkit, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(g_server.CanUnloadNow(), S_FALSE);
    popkinard->Release();
    module->Release();
    EXPECT_EQ(g_server.GetLockCount(), 1);
    unknown->Release();
    EXPECT_EQ(g_server.GetLockCount(), 0);
    EXPECT_EQ(g_server.CanUnloadNow(), S_OK);

    // A toolkit that still has objects of the library keeps it loaded.
    bool busy = true;
    g_server.SetOutstandingObjectsProbe([&] { return busy; });
    EXPECT_EQ(g_server.CanUnloadNow(), S_FALSE);
    busy = false;
    EXPECT_EQ(g_server.CanUnloadNow(), S_OK);
    g_server.SetOutstandingObjectsProbe({});
}

TEST_F(ModuleObject, FactoryRulesForModules) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(g_server.GetClassObject(ondrelo::modules::CLSID_Popkinard, IID_IClassFactory,
                                      reinterpret_cast<void**>(&factory)),
              S_OK);
    void* object = &factory;
    EXPECT_EQ(
        g_server.GetClassObject(ondrelo::modules::CLSID_CHoverkit, IID_IClassFactory, &object),
        CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(g_server.GetClassObject(ondrelo::modules::CLSID_Popkinard, IID_IOndModule, &object),
              E_NOINTERFACE);

    object = &factory;
    EXPECT_EQ(factory->CreateInstance(factory, IID_IOndModule, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, ondrelo::modules::IID_IPopkinard, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(g_server.GetLockCount(), 1);  // only the factory: the refused object is gone
    factory->Release();
    EXPECT_EQ(g_server.GetLockCount(), 0);
}

TEST_F(ModuleObject, ASheetThatCannotBeMadeLeavesAModuleWithoutSheet) {
    IOndModule* module = nullptr;
    ASSERT_EQ(ondrelo::com::CreateObjectInstance<CThrowingModule>(
                  g_server, nullptr, IID_IOndModule, reinterpret_cast<void**>(&module)),
              S_OK);
    EXPECT_EQ(module->Create(m_pane, RECT{0, 0, 1, 1}), S_OK);
    EXPECT_TRUE(Traced("no sheet today"));
    EXPECT_EQ(module->Show(), S_FALSE);
    module->Release();
}

}  // namespace
}  // namespace moduletest
