// The popup wizard's sheet on the offscreen platform: what each page hands
// to the generator, the screen preview, the enabling rules, and the code
// page with the insertion component.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <memory>

#include "PopkinPages.h"
#include "ondrelo/testsupport/EntryPoints.h"
#include "ondrelo/testsupport/StoreFixture.h"
#include "inslet/InsletControls.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleObject.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace {

using namespace popkin;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

HRESULT RegisterInslet() {
    return ondrelo::test::CallEntry(INSLET_LIBRARY_PATH, "DllRegisterServer");
}

enum EPage { kIntro, kPosition, kFeatures, kContent, kInvocation, kCode };

class PopkinSheet : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CoInitialize(nullptr);
        ASSERT_EQ(RegisterInslet(), S_OK);
        ASSERT_TRUE(ondrelo::registry::WriteString(
            HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey, "scriptspath", m_dir));
        CCodeGen::SetFixedRandomNumbers({1, 2});
        parent = std::make_unique<QWidget>();
        parent->resize(800, 560);
        sheet = new CPopkinSheet;
        {
            ondrelo::CModuleResourceScope scope(&PopkinResources());
            ASSERT_TRUE(sheet->Create(parent.get(), QRect(0, 0, 800, 560)));
        }
        sheet->show();
        parent->show();
    }
    void TearDown() override {
        parent.reset();
        CCodeGen::SetFixedRandomNumbers({});
        CoFreeUnusedLibraries();
        CoUninitialize();
        StoreTest::TearDown();
    }

    // Next until the page is reached; false when a page keeps the user.
    bool GoTo(int page) {
        while (sheet->GetActiveIndex() < page) {
            const int before = sheet->GetActiveIndex();
            sheet->PressNext();
            if (sheet->GetActiveIndex() == before) {
                return false;
            }
        }
        return true;
    }
    template <class T = QWidget>
    T* Control(int page, int id) {
        auto* control = ondrelo::FindControlAs<T>(sheet->GetPage(page), id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    void Type(int page, int id, const char* text) {
        auto* edit = Control<QLineEdit>(page, id);
        edit->setText(QString::fromUtf8(text));
        emit edit->editingFinished();
    }
    void Click(int page, int id) { Control<QAbstractButton>(page, id)->click(); }
    std::string Warnings() {
        std::string a, b, c, w;
        sheet->Generator().GetCode(a, b, c, w);
        return w;
    }
    std::string Script() {
        std::string a, b, c, w;
        sheet->Generator().GetCode(a, b, c, w);
        return a;
    }

    ondrelo::CScriptedPrompt prompt;
    std::unique_ptr<QWidget> parent;
    CPopkinSheet* sheet = nullptr;
};

TEST_F(PopkinSheet, PagesInOrderWithTheirLabelsAndTypes) {
    const char* labels[] = {"&Introduction", "&Position", "&Features",
                            "&Content",      "I&nvocation", "Take The Code!"};
    const int templates[] = {266, 204, 211, 258, 259, 106};
    const EPageType types[] = {PAGE_FIRST, PAGE_INNER, PAGE_INNER, PAGE_INNER, PAGE_FINISH,
                               PAGE_CODE};
    ASSERT_EQ(sheet->GetPageCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sheet->GetPage(i)->GetPageLabel(), labels[i]);
        EXPECT_EQ(sheet->GetPage(i)->GetTemplateId(), templates[i]);
        EXPECT_EQ(sheet->GetPage(i)->GetPageType(), types[i]);
    }
}

TEST_F(PopkinSheet, HelpPagesAndPicturesAreThere) {
    for (int id : {272, 273, 274, 275, 276, 277}) {
        EXPECT_FALSE(ondrelo::FindQtResource(&PopkinResources(), QStringLiteral("html/%1.html").arg(id))
                         .isEmpty())
            << id;
    }
    for (int id : {207, 209, 218, 223, 224, 225, 231, 235, 236, 237, 238}) {
        const QString path =
            ondrelo::FindQtResource(&PopkinResources(), QStringLiteral("bitmaps/%1.png").arg(id));
        EXPECT_FALSE(QPixmap(path).isNull()) << id;
    }
    // Every page's help pane shows its page.
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(GoTo(i));
        ASSERT_NE(sheet->GetPage(i)->GetHelpPane(), nullptr) << i;
        EXPECT_FALSE(sheet->GetPage(i)->GetHelpPane()->toPlainText().isEmpty()) << i;
    }
}

TEST_F(PopkinSheet, StraightToTheCodePageGivesTheDefaultPopup) {
    ASSERT_TRUE(GoTo(kCode));
    const SPopupSettings& s = sheet->Generator().Settings();
    EXPECT_EQ(s.center, 0);
    EXPECT_EQ(s.left, 50);
    EXPECT_EQ(s.top, 50);
    EXPECT_EQ(s.width, 350);
    EXPECT_EQ(s.height, 350);
    EXPECT_EQ(s.location + s.scrollbars + s.menubar + s.toolbar + s.status + s.resizable +
                  s.directories,
              0);
    EXPECT_EQ(s.urlMode, 1);
    EXPECT_EQ(s.url, "");
    EXPECT_EQ(s.kind, kInvokePageEntry);
    EXPECT_EQ(Warnings(), "The URL mentioned for the Popup is empty!\r\n");

    // The insertion component shows the calling HTML, the script and the warning.
    QWidget* code = sheet->GetPage(kCode);
    auto* sub = ondrelo::FindControlAs<QPlainTextEdit>(code, inslet::IDC_SUB_CODE);
    auto* main = ondrelo::FindControlAs<QPlainTextEdit>(code, inslet::IDC_MAIN_CODE);
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ondrelo::FromQt(sub->toPlainText()), "<BODY  onLoad=\"popup1()\">");
    EXPECT_NE(ondrelo::FromQt(main->toPlainText()).find("window2 = window.open(\"\""),
              std::string::npos);
}

TEST_F(PopkinSheet, PreviewFollowsTheEditsWithoutWritingBack) {
    ASSERT_TRUE(GoTo(kPosition));
    CScreenPreview* preview = sheet->PositionPage().Preview();
    QWidget* popup = preview->PopupWindow();
    EXPECT_EQ(preview->size(), QSize(128, 96));
    EXPECT_EQ(popup->geometry(), QRect(10, 10, 70, 70));
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_WIDTH)->text(), "350");
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_LEFT)->text(), "50");

    Type(kPosition, IDC_WIDTH, "333");
    EXPECT_EQ(popup->width(), 66);
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_WIDTH)->text(), "333");

    Type(kPosition, IDC_LEFT, "-20");
    EXPECT_EQ(popup->x(), 10) << "a negative value leaves the small window";

    Click(kPosition, IDC_RES_1024);
    EXPECT_EQ(preview->size(), QSize(204, 153));
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_LEFT)->text(), "-20");
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_WIDTH)->text(), "333");

    ASSERT_TRUE(GoTo(kFeatures));
    EXPECT_EQ(sheet->Generator().Settings().width, 333);
    EXPECT_EQ(sheet->Generator().Settings().left, -20);
    EXPECT_NE(Warnings().find("negative values"), std::string::npos);
}

TEST_F(PopkinSheet, DraggingAndResizingTheSmallWindowFillsTheEdits) {
    ASSERT_TRUE(GoTo(kPosition));
    CScreenPreview* preview = sheet->PositionPage().Preview();
    QWidget* popup = preview->PopupWindow();
    auto press = [&](QPoint at, QPoint to) {
        QMouseEvent down(QEvent::MouseButtonPress, at, popup->mapToGlobal(at), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &down);
        QMouseEvent move(QEvent::MouseMove, to, popup->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &move);
        QMouseEvent up(QEvent::MouseButtonRelease, to, popup->mapToGlobal(to), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &up);
    };
    press(QPoint(30, 30), QPoint(34, 32));  // drag by (4, 2)
    EXPECT_EQ(popup->pos(), QPoint(14, 12));
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_LEFT)->text(), "70");
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_TOP)->text(), "60");
    press(QPoint(69, 69), QPoint(79, 64));  // the lower right corner
    EXPECT_EQ(popup->size(), QSize(80, 65));
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_WIDTH)->text(), "400");
    EXPECT_EQ(Control<QLineEdit>(kPosition, IDC_HEIGHT)->text(), "325");
}

TEST_F(PopkinSheet, OutOfRangePositionKeepsTheUserButStoresWhatItRead) {
    ASSERT_TRUE(GoTo(kPosition));
    Type(kPosition, IDC_LEFT, "7");
    Type(kPosition, IDC_WIDTH, "10000");
    EXPECT_FALSE(GoTo(kFeatures));
    EXPECT_EQ(sheet->GetActiveIndex(), kPosition);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please enter an integer between 0 and 9999."});
    EXPECT_EQ(sheet->Generator().Settings().left, 7);
    EXPECT_EQ(sheet->Generator().Settings().width, 350);
}

TEST_F(PopkinSheet, FeaturesReachTheGeneratorInItsOrder) {
    ASSERT_TRUE(GoTo(kFeatures));
    Click(kFeatures, IDC_TOOLBAR);
    Click(kFeatures, IDC_STATUS);
    const SSampleFeatures f = sheet->FeaturesPage().Features();
    EXPECT_TRUE(f.toolbar && f.status);
    EXPECT_FALSE(f.location || f.menubar || f.directories || f.scrollbars || f.resizable);
    Click(kFeatures, IDC_DIRECTORIES);
    ASSERT_TRUE(GoTo(kContent));
    const SPopupSettings& s = sheet->Generator().Settings();
    EXPECT_EQ((std::vector<int>{s.location, s.scrollbars, s.menubar, s.toolbar, s.status,
                                s.resizable, s.directories}),
              (std::vector<int>{0, 0, 0, 1, 1, 0, 1}));
}

TEST_F(PopkinSheet, HtmlModeSendsBothTexts) {
    ASSERT_TRUE(GoTo(kContent));
    auto* url = Control<QLineEdit>(kContent, IDC_URL);
    auto* html = Control<QPlainTextEdit>(kContent, IDC_HTML);
    EXPECT_TRUE(url->isEnabled());
    EXPECT_FALSE(html->isEnabled());
    url->setText("a.html");
    Click(kContent, IDC_USE_HTML);
    EXPECT_FALSE(url->isEnabled());
    EXPECT_FALSE(Control(kContent, IDC_PASTE_URL)->isEnabled());
    EXPECT_TRUE(html->isEnabled());
    EXPECT_TRUE(Control(kContent, IDC_PASTE_HTML)->isEnabled());
    EXPECT_EQ(url->text(), "a.html");
    html->setPlainText("<b>hi</b>\nx");
    ASSERT_TRUE(GoTo(kInvocation));
    const SPopupSettings& s = sheet->Generator().Settings();
    EXPECT_EQ(s.urlMode, 0);
    EXPECT_EQ(s.url, "a.html");
    EXPECT_EQ(s.htmlContent, "<b>hi</b>\r\nx");
}

TEST_F(PopkinSheet, InvocationEnablingFollowsTheKind) {
    ASSERT_TRUE(GoTo(kInvocation));
    auto enabled = [&](int id) { return Control(kInvocation, id)->isEnabled(); };
    EXPECT_TRUE(Control<QRadioButton>(kInvocation, IDC_ON_ENTRY)->isChecked());
    EXPECT_FALSE(enabled(IDC_BUTTON_LABEL));
    EXPECT_FALSE(enabled(IDC_LINK_LABEL));
    EXPECT_TRUE(enabled(IDC_ONCE) && enabled(IDC_POPUNDER) && enabled(IDC_SECONDS) &&
                enabled(IDC_DAYS));
    Click(kInvocation, IDC_ONCE);
    EXPECT_FALSE(enabled(IDC_DAYS));
    EXPECT_TRUE(enabled(IDC_SECONDS));
    Click(kInvocation, IDC_ON_BUTTON);
    EXPECT_TRUE(enabled(IDC_BUTTON_LABEL));
    EXPECT_FALSE(enabled(IDC_LINK_LABEL) || enabled(IDC_ONCE) || enabled(IDC_SECONDS) ||
                 enabled(IDC_DAYS) || enabled(IDC_POPUNDER));
    Click(kInvocation, IDC_ON_LINK);
    EXPECT_TRUE(enabled(IDC_LINK_LABEL));
    EXPECT_FALSE(enabled(IDC_BUTTON_LABEL));
}

TEST_F(PopkinSheet, OptionsStayWhenTheKindChanges) {
    ASSERT_TRUE(GoTo(kInvocation));
    Control<QLineEdit>(kInvocation, IDC_DAYS)->setText("7");
    Click(kInvocation, IDC_ONCE);
    Click(kInvocation, IDC_ON_BUTTON);
    Control<QLineEdit>(kInvocation, IDC_BUTTON_LABEL)->setText("Open");
    ASSERT_TRUE(GoTo(kCode));
    const std::string script = Script();
    EXPECT_NE(script.find("setcookie(\"popup1\",\"y\",1000);"), std::string::npos);
    EXPECT_EQ(sheet->Generator().Settings().label, "Open");
}

TEST_F(PopkinSheet, LinkLabelComesFromTheLinkEdit) {
    ASSERT_TRUE(GoTo(kInvocation));
    Click(kInvocation, IDC_ON_BUTTON);
    Control<QLineEdit>(kInvocation, IDC_BUTTON_LABEL)->setText("Open");
    Click(kInvocation, IDC_ON_LINK);
    ASSERT_TRUE(GoTo(kCode));
    EXPECT_EQ(sheet->Generator().Settings().kind, kInvokeLink);
    EXPECT_EQ(sheet->Generator().Settings().label, "");
    EXPECT_NE(Warnings().find("The label of the link is empty!"), std::string::npos);
}

TEST_F(PopkinSheet, UnreadableSecondsKeepTheUserOnTheInvocationPage) {
    ASSERT_TRUE(GoTo(kInvocation));
    Click(kInvocation, IDC_ON_BUTTON);
    Control<QLineEdit>(kInvocation, IDC_BUTTON_LABEL)->setText("Go");
    Control<QLineEdit>(kInvocation, IDC_SECONDS)->setText("abc");
    Click(kInvocation, IDC_POPUNDER);
    EXPECT_FALSE(GoTo(kCode));
    EXPECT_EQ(sheet->GetActiveIndex(), kInvocation);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Please enter an integer."});
    const SPopupSettings& s = sheet->Generator().Settings();
    EXPECT_EQ(s.kind, kInvokeButton);
    EXPECT_EQ(s.label, "Go");
    EXPECT_EQ(s.popUnder, 0) << "the options wait for readable numbers";
}

TEST_F(PopkinSheet, CodePageInsertsThroughTheGenerator) {
    ASSERT_TRUE(GoTo(kContent));
    Control<QLineEdit>(kContent, IDC_URL)->setText("offer.html");
    ASSERT_TRUE(GoTo(kCode));
    const std::string page = m_dir + "/page.html";
    WriteFile(page, "<html><head></head><body></body></html>");
    CCodeGen::SetFixedRandomNumbers({1, 2});  // the insertion draws new names
    EXPECT_EQ(sheet->CodePage().InsertCode(page, m_dir + "/cookies.js", false, false), 1);
    EXPECT_NE(ReadFile(page).find("<body onLoad=\"popup1()\">"), std::string::npos);

    // A page without a closed body: told to the user, not inserted, and the
    // wizard stays where it is.
    const std::string broken = m_dir + "/broken.html";
    WriteFile(broken, "<html><head></head><body>");
    EXPECT_EQ(sheet->CodePage().InsertCode(broken, "", false, false), 0);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Error 1003: The Html file is not formatted correctly"});
    EXPECT_EQ(sheet->GetActiveIndex(), kCode);
}

}  // namespace

namespace {

// The library as the host meets it: registered, created by class
// identifier, with its display name and its sheet in a pane.
using ondrelo::registry::testing::StoreTest;

class PopkinLibrary : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        CoUninitialize();
        StoreTest::TearDown();
    }
};

TEST_F(PopkinLibrary, RegistersAndServesThePopupModule) {
    ASSERT_EQ(RegisterInslet(), S_OK);
    ASSERT_EQ(ondrelo::test::CallEntry(POPKIN_LIBRARY_PATH, "DllRegisterServer"), S_OK);

    const std::string clsid = ondrelo::com::GuidToString(ondrelo::modules::CLSID_Popkinard);
    const std::string modules = "SOFTWARE\\Velmora\\Ondrelo\\Modules\\Popkinard";
    std::string value;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, modules.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(ondrelo::registry::testing::QueryString(key, "CLSID", value), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(value, clsid);
    const std::string server = "CLSID\\" + clsid + "\\InprocServer32";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Popkin.Popkinard\\CurVer"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\TypeLib"));
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, server.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(ondrelo::registry::testing::QueryString(key, "ThreadingModel", value), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(value, "both");

    IOndModule* module = nullptr;
    ASSERT_EQ(CoCreateInstance(ondrelo::modules::CLSID_Popkinard, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IOndModule, reinterpret_cast<void**>(&module)),
              S_OK);
    LPCOLESTR name = nullptr;
    ASSERT_EQ(module->GetProperties(&name), S_OK);
    EXPECT_EQ(ondrelo::Utf16ToUtf8(name, 255), "Popup Wizard");

    ondrelo::modules::IPopkinard* popkinard = nullptr;
    ASSERT_EQ(module->QueryInterface(ondrelo::modules::IID_IPopkinard,
                                     reinterpret_cast<void**>(&popkinard)),
              S_OK);
    IUnknown* wizard = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(popkinard->GetWizard(&wizard), S_OK);
    EXPECT_EQ(wizard, nullptr);
    popkinard->Release();

    // The sheet in a pane, shown and resized with it.
    QWidget pane;
    pane.resize(700, 500);
    ASSERT_EQ(module->Create(ondrelo::ToHwnd(&pane), RECT{0, 0, 700, 500}), S_OK);
    EXPECT_EQ(module->Show(), S_OK);
    auto* sheet = pane.findChild<COndWizSheet*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetPageCount(), 6);
    pane.resize(900, 600);
    EXPECT_EQ(module->Resize(), S_OK);
    EXPECT_EQ(sheet->size(), QSize(900, 600));
    EXPECT_EQ(module->Destroy(), S_OK);
    module->Release();
}

}  // namespace
