// Start-up and shutdown of the host against real settings stores and real
// module libraries, and the routing of size changes and keys to the modules.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>

#include "HostTestSupport.h"
#include "MainFrame.h"
#include "ModulesView.h"
#include "OndreloApp.h"
#include "OndreloView.h"
#include "SplashWnd.h"
#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace {

using hosttest::Counter;
using hosttest::CTempStore;

const QStringList kArgs{QStringLiteral("Ondrelo"), QStringLiteral("--nosplash")};

QStringList Children(const QTreeWidgetItem* item) {
    QStringList names;
    for (int i = 0; i < item->childCount(); ++i) {
        names << item->child(i)->text(0);
    }
    return names;
}

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text) {
            return item->child(i);
        }
    }
    return nullptr;
}

QWidget* Sheet(const COndreloApp& app, const char* name) {
    return app.MainFrame()->ModulePane()->findChild<QWidget*>(QStringLiteral("TestSheet:") +
                                                              QString::fromLatin1(name));
}

// Counts the resize events of the widget it watches.
struct CResizeCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            ++count;
        }
        return false;
    }
};

TEST(HostStart, MissingModuleListFailsWithMessageAndStillShutsDown) {
    CTempStore store;
    ondrelo::CScriptedPrompt prompt;
    prompt.AnswerMessage(IDOK);
    {
        COndreloApp app;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance(kArgs));
        const std::string errors = testing::internal::GetCapturedStderr();
        ASSERT_EQ(prompt.Records().size(), 1u);
        const std::string& text = prompt.Records()[0].text;
        EXPECT_EQ(text.rfind("Failed Loading Plugins\n\nThe settings store " +
                                 ondrelo::registry::StorePath() + " does not exist.",
                             0),
                  0u)
            << text;
        // Also on standard error, for a start without a window to look at.
        EXPECT_NE(errors.find(text), std::string::npos) << errors;
        EXPECT_EQ(prompt.Records()[0].caption, "Ondrelo");
        EXPECT_EQ(prompt.Records()[0].style & 0x0F, MB_OK);
        EXPECT_NE(app.Catalogue(), nullptr);  // created, then released at exit
        EXPECT_FALSE(app.MainFrame()->isVisible());

        app.ExitInstance();
        EXPECT_EQ(app.Catalogue(), nullptr);
        EXPECT_EQ(app.MainFrame(), nullptr);
        EXPECT_FALSE(ondrelo::com::IsThreadInitialized());
        app.ExitInstance();  // a second run does nothing
    }
    EXPECT_EQ(prompt.Records().size(), 1u);
}

// A store that cannot give the module list: the message names the file
// and what is wrong with it.
TEST(HostStart, AStoreWithoutModuleListIsNamedWithTheReason) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"folder", [](const std::string& path) { std::filesystem::create_directories(path); },
         "is a folder, not a settings file."},
        {"not a database",
         [](const std::string& path) { std::ofstream(path) << "a text file, not settings\n"; },
         "is not a settings database."},
        {"no module list",
         [](const std::string&) {
             ASSERT_TRUE(ondrelo::registry::WriteString(
                 HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Ondrelo\\Settings", "helppath", "/x"));
         },
         "holds no module list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempStore store;
        const std::string path = ondrelo::registry::StorePath();
        c.make(path);
        ondrelo::CScriptedPrompt prompt;
        {
            COndreloApp app;
            testing::internal::CaptureStderr();
            EXPECT_FALSE(app.InitInstance(kArgs));
            testing::internal::GetCapturedStderr();
        }
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_NE(prompt.Records()[0].text.find("The settings store " + path + " " + c.reason),
                  std::string::npos)
            << prompt.Records()[0].text;
        std::filesystem::remove_all(path);
    }
}

TEST(HostStart, EmptyModuleListShowsOnlyTheRoot) {
    CTempStore store;
    store.CreateModulesKey();
    ondrelo::CScriptedPrompt prompt;
    COndreloApp app;
    ASSERT_TRUE(app.InitInstance(kArgs));
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_TRUE(ondrelo::com::IsThreadInitialized());

    CMainFrame* frame = app.MainFrame();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->windowTitle(), "Ondrelo");
    EXPECT_EQ(frame->Splitter()->sizes().value(0), 170);  // maximizing widens the pane only
    QTreeWidget* tree = frame->ModulesView();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Modules");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    // Bitmap 130 for items, 131 for the selected one, white see-through.
    const QIcon icon = tree->topLevelItem(0)->icon(0);
    const QImage normal = icon.pixmap(16, 16, QIcon::Normal).toImage();
    const QImage selected = icon.pixmap(16, 16, QIcon::Selected).toImage();
    EXPECT_EQ(qAlpha(normal.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(normal.pixel(2, 5)), 255);
    EXPECT_NE(normal, selected);
    EXPECT_FALSE(app.Catalogue()->HasActiveModule());
    EXPECT_EQ(frame->ModulePane()->Host(), app.Catalogue());
    // The empty pane says so, which store it read and how to register.
    const QLabel* note = frame->ModulePane()->Note();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->geometry(), frame->ModulePane()->rect());
    EXPECT_TRUE(note->text().contains("No wizard is installed."));
    EXPECT_TRUE(note->text().contains(QString::fromStdString(ondrelo::registry::StorePath())));
    EXPECT_TRUE(note->text().contains("tools/run"));
    // Clicking the root changes nothing.
    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_FALSE(app.Catalogue()->HasActiveModule());
    app.ExitInstance();
    EXPECT_FALSE(ondrelo::com::IsThreadInitialized());
}

TEST(HostStart, ModulesFormASortedTreeAndNoneIsVisible) {
    CTempStore store;
    store.AddModule("Zeta", hosttest::kBetaClsid);
    store.AddModule("Group\\First", hosttest::kAlphaClsid);
    store.AddModule("Another", hosttest::kAlphaClsid);
    store.AddModule("Broken", "{0DE11E57-0000-4000-8000-0000000000FF}");  // not registered
    ondrelo::CScriptedPrompt prompt;
    COndreloApp app;
    ASSERT_TRUE(app.InitInstance(kArgs));
    EXPECT_TRUE(prompt.Records().empty());

    QTreeWidgetItem* root = app.MainFrame()->ModulesView()->RootItem();
    // Two alpha modules, one beta module, the group labelled by its key name.
    EXPECT_EQ(Children(root), (QStringList{"Alpha Test Wizard", "Beta Test Wizard", "Group"}));
    QTreeWidgetItem* group = Child(root, "Group");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(Children(group), QStringList{"Alpha Test Wizard"});
    EXPECT_EQ(CModulesView::ItemData(group), 0u);
    EXPECT_EQ(app.Catalogue()->Entries().size(), 3u);
    EXPECT_EQ(app.MainFrame()->ModulePane()->Note(), nullptr);

    // Every module window exists, hidden, inside the module pane.
    const auto sheets = app.MainFrame()->ModulePane()->findChildren<QWidget*>(
        QRegularExpression("^TestSheet:"), Qt::FindDirectChildrenOnly);
    EXPECT_EQ(sheets.size(), 3);
    for (const QWidget* sheet : sheets) {
        EXPECT_FALSE(sheet->isVisible());
    }
    EXPECT_FALSE(app.Catalogue()->HasActiveModule());

    // Selecting a module shows it; selecting the group keeps it.
    app.MainFrame()->ModulesView()->setCurrentItem(Child(root, "Beta Test Wizard"));
    QWidget* beta = Sheet(app, "Beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(beta->isVisible());
    EXPECT_EQ(beta->geometry(), app.MainFrame()->ModulePane()->rect());
    app.MainFrame()->ModulesView()->setCurrentItem(group);
    EXPECT_TRUE(beta->isVisible());
    EXPECT_EQ(Counter(beta, "hides"), 0);
    app.ExitInstance();
}

TEST(HostRouting, SizeChangesReachOnlyTheVisibleModule) {
    CTempStore store;
    store.AddModule("A", hosttest::kAlphaClsid);
    store.AddModule("B", hosttest::kBetaClsid);
    ondrelo::CScriptedPrompt prompt;
    COndreloApp app;
    ASSERT_TRUE(app.InitInstance(kArgs));
    CMainFrame* frame = app.MainFrame();
    QWidget* alpha = Sheet(app, "Alpha");
    QWidget* beta = Sheet(app, "Beta");
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(beta, nullptr);
    QSplitter* splitter = frame->Splitter();

    // No module visible: nothing is called on any module.
    const int alphaStart = Counter(alpha, "resizes");
    const int betaStart = Counter(beta, "resizes");
    frame->showNormal();
    frame->resize(900, 600);
    splitter->setSizes({220, 680});
    QApplication::processEvents();
    EXPECT_EQ(Counter(alpha, "resizes"), alphaStart);
    EXPECT_EQ(Counter(beta, "resizes"), betaStart);

    // Alpha visible: every size change of the pane reaches it, Beta never.
    frame->ModulesView()->setCurrentItem(
        Child(frame->ModulesView()->RootItem(), "Alpha Test Wizard"));
    ASSERT_TRUE(alpha->isVisible());
    CResizeCounter paneResizes;
    frame->ModulePane()->installEventFilter(&paneResizes);
    const int before = Counter(alpha, "resizes");
    splitter->setSizes({300, 600});
    QApplication::processEvents();
    splitter->setSizes({250, 650});
    QApplication::processEvents();
    frame->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_GE(paneResizes.count, 3);
    EXPECT_EQ(Counter(alpha, "resizes"), before + paneResizes.count);
    EXPECT_EQ(alpha->size(), frame->ModulePane()->size());
    EXPECT_EQ(Counter(beta, "resizes"), betaStart);
    app.ExitInstance();
}

TEST(HostRouting, KeysGetDialogNavigationOnlyWithAVisibleModule) {
    CTempStore store;
    store.AddModule("A", hosttest::kAlphaClsid);
    ondrelo::CScriptedPrompt prompt;
    COndreloApp app;
    ASSERT_TRUE(app.InitInstance(kArgs));
    CMainFrame* frame = app.MainFrame();
    COndreloView* pane = frame->ModulePane();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));

    // A control of the pane itself and a default button: with no module
    // visible, Return is not turned into a press of the default button.
    auto* own = new QLineEdit(pane);
    auto* defaultButton = new QPushButton(QStringLiteral("Default"), pane);
    defaultButton->setDefault(true);
    int defaultClicks = 0;
    QObject::connect(defaultButton, &QPushButton::clicked, [&] { ++defaultClicks; });
    own->show();
    defaultButton->show();
    own->setFocus();
    QTest::keyClick(own, Qt::Key_Return);
    EXPECT_EQ(defaultClicks, 0);
    QTest::keyClick(own, Qt::Key_X);
    EXPECT_EQ(own->text(), "x");  // ordinary keys reach the control
    delete defaultButton;
    delete own;

    frame->ModulesView()->setCurrentItem(
        Child(frame->ModulesView()->RootItem(), "Alpha Test Wizard"));
    QWidget* alpha = Sheet(app, "Alpha");
    auto* first = alpha->findChild<QLineEdit*>("first");
    auto* second = alpha->findChild<QLineEdit*>("second");
    auto* next = alpha->findChild<QPushButton*>("next");
    first->setFocus();
    ASSERT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(Counter(next, "clicks"), 1);
    // Tab from the last control wraps within the pane, never into the tree.
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Tab);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Q);
    EXPECT_EQ(first->text(), "q");
    app.ExitInstance();
}

}  // namespace
