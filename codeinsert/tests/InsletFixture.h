// A scratch settings store (the store tests' fixture) with the component registered through its own
// entry point, a page holding the adapter, a recording wizard handler, and a
// way to work the modal inner wizard from the test.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ondrelo/testsupport/StoreFixture.h"
#include "bridgel/CIWImpl.h"
#include "inslet/InsletControls.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/EntryPoints.h"

namespace insletest {

namespace fs = std::filesystem;

inline HRESULT CallEntry(const char* entry) {
    return ondrelo::test::CallEntry(INSLET_LIBRARY_PATH, entry);
}

struct SInsertCall {
    std::string page;
    std::string script;
    bool createFile;
    bool placeAfterBody;
};

// The wizard's side: records every insertion and answers from `result`.
class CRecordingHandler : public ICodeWizEventHandler {
public:
    int InsertCode(const std::string& page, const std::string& script, bool createFile,
                   bool placeAfterBody) override {
        calls.push_back({page, script, createFile, placeAfterBody});
        if (onInsert) {
            onInsert();
        }
        return result;
    }
    std::vector<SInsertCall> calls;
    int result = 1;
    std::function<void()> onInsert;
};

class InsletTest : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        CoInitialize(nullptr);
        fs::create_directories(Dir() / "scripts");
        fs::create_directories(Dir() / "site" / "js");
        Write("scripts/mover2.js", "function MouseOverButton(){}\n");
        ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                                   COndRegistryHandler::kInstallationKey,
                                                   "scriptspath", (Dir() / "scripts").string()));
        m_page = std::make_unique<QWidget>();
        m_page->resize(COndWizPage::kDesignWidth, COndWizPage::kDesignHeight);
        m_placeholder = new QWidget(m_page.get());
        m_placeholder->setGeometry(7, 9, 526, 300);
    }
    void TearDown() override {
        m_ciw.reset();
        m_page.reset();
        CoFreeUnusedLibraries();
        CoUninitialize();
        StoreTest::TearDown();
    }

    static void Register() { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }

    // Registers the component and puts it on the page with the given texts.
    void MakeComponent(const std::string& script = "mover2.js",
                       const std::string& placeholder = "<!--_PLACE_THE_BUTTON_HERE_-->",
                       const std::string& warnings = "") {
        Register();
        m_ciw = std::make_unique<CCIWImpl>(&m_handler);
        ASSERT_TRUE(m_ciw->Create(m_placeholder, m_page.get()));
        m_ciw->SetStaticInfo("Sub instruction", "Main instruction", script, placeholder, "Button");
        m_ciw->SetCode("<script src=\"mover2.js\"></script>\r\n", "<a href=\"x\">x</a>\r\n",
                       warnings);
        m_ciw->Activate();
        m_page->show();
    }

    template <class T = QWidget>
    T* Control(int id) const {
        auto* control = ondrelo::FindControlAs<T>(m_page.get(), id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    void Click(int id) const {
        if (auto* button = Control<QAbstractButton>(id)) {
            button->click();
        }
    }
    QTabWidget* Tabs() const { return Control<QTabWidget>(inslet::IDC_TAB_SHEET); }
    std::vector<QString> TabTexts() const {
        std::vector<QString> texts;
        for (int i = 0; i < Tabs()->count(); ++i) {
            texts.push_back(Tabs()->tabText(i));
        }
        return texts;
    }

    // Presses "Code Insertion Wi&zard ..." and runs the steps on the modal
    // wizard once it is up; a wizard the steps leave open is cancelled.
    // Returns false when no wizard came up.
    bool RunWizard(const std::function<void(QWidget*)>& steps) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) {
                return;
            }
            shown = true;
            steps(dialog);
            if (dialog->isVisible()) {
                if (auto* d = qobject_cast<QDialog*>(dialog)) {
                    d->reject();
                }
            }
        });
        Click(inslet::IDC_START_WIZARD);
        return shown;
    }

    // Helpers for the steps.
    static QWidget* In(QWidget* dialog, int id) {
        QWidget* control = ondrelo::FindControl(dialog, id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    static void Press(QWidget* dialog, int id) {
        if (auto* b = qobject_cast<QAbstractButton*>(In(dialog, id))) {
            b->click();
        }
    }
    static void TypePath(QWidget* dialog, const std::string& path) {
        auto* field = qobject_cast<QLineEdit*>(In(dialog, inslet::IDC_HTML_PATH));
        field->setText(QString::fromStdString(path));
        emit field->textEdited(field->text());
    }
    static std::string Title(QWidget* dialog) { return dialog->windowTitle().toStdString(); }

    std::string FieldText(int id) const { return Control<QLineEdit>(id)->text().toStdString(); }

    std::unique_ptr<QWidget> m_page;
    QWidget* m_placeholder = nullptr;
    CRecordingHandler m_handler;
    std::unique_ptr<CCIWImpl> m_ciw;
};

}  // namespace insletest
