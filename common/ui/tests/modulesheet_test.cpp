#include <gtest/gtest.h>

#include <memory>

#include "TestWizard.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/QtModuleSheet.h"
#include "ondrelo/comserver.h"

namespace {

using Holder = ondrelo::CQtModuleSheet<CTestSheet>;

struct ModuleSheet : ::testing::Test {
    ModuleSheet() {
        InitCommonDLL();
        pane = std::make_unique<QWidget>();
        pane->resize(640, 420);
        pane->show();
        holder = ondrelo::MakeQtModuleSheet<CTestSheet>();
    }
    ~ModuleSheet() override {
        holder.reset();
        pane.reset();
        TermCommonDLL();
    }
    Holder& Typed() { return static_cast<Holder&>(*holder); }

    std::unique_ptr<QWidget> pane;
    std::unique_ptr<ondrelo::IModuleSheet> holder;
};

TEST_F(ModuleSheet, CreatesTheSheetHiddenAndFittedToThePane) {
    ASSERT_TRUE(holder->Create(ondrelo::ToHwnd(pane.get()), RECT{0, 0, 100, 100}));
    ASSERT_TRUE(holder->IsWindowAlive());
    CTestSheet* sheet = Typed().Sheet();
    EXPECT_EQ(sheet->parentWidget(), pane.get());
    EXPECT_TRUE(sheet->isHidden());
    EXPECT_EQ(sheet->geometry(), pane->rect());

    holder->ShowWindow(true);
    EXPECT_TRUE(sheet->isVisible());
    pane->resize(800, 500);
    holder->OnParentResize();
    EXPECT_EQ(sheet->size(), QSize(800, 500));
    holder->ShowWindow(false);
    EXPECT_TRUE(sheet->isHidden());
}

TEST_F(ModuleSheet, SheetDestroyedWithItsPaneIsNotTouchedAgain) {
    ASSERT_TRUE(holder->Create(ondrelo::ToHwnd(pane.get()), RECT{0, 0, 640, 420}));
    pane.reset();
    EXPECT_FALSE(holder->IsWindowAlive());
    holder->ShowWindow(true);
    holder->OnParentResize();
    holder->DestroyWindow();
    EXPECT_EQ(Typed().Sheet(), nullptr);
}

TEST_F(ModuleSheet, DestroyTwiceAndCreateWithoutParent) {
    ASSERT_TRUE(holder->Create(ondrelo::ToHwnd(pane.get()), RECT{0, 0, 640, 420}));
    holder->DestroyWindow();
    EXPECT_FALSE(holder->IsWindowAlive());
    EXPECT_TRUE(pane->findChildren<CTestSheet*>().isEmpty());
    holder->DestroyWindow();

    auto other = ondrelo::MakeQtModuleSheet<CTestSheet>();
    EXPECT_FALSE(other->Create(nullptr, RECT{0, 0, 10, 10}));
    EXPECT_FALSE(other->IsWindowAlive());
}

// The module object over a real Qt sheet, as a module library builds it.
const ondrelo::SModuleDescriptor kQtModule{"Popup Wizard", &TestWizardResources(),
                                           &ondrelo::MakeQtModuleSheet<CTestSheet>};
ondrelo::com::COndServerModule g_server({}, {});

struct QtModuleObject : ModuleSheet {
    IOndModule* New() {
        IOndModule* module = nullptr;
        EXPECT_EQ(ondrelo::com::CreateObjectInstance<ondrelo::CModuleClass<kQtModule>>(
                      g_server, nullptr, IID_IOndModule, reinterpret_cast<void**>(&module)),
                  S_OK);
        return module;
    }
    CTestSheet* SheetIn(QWidget* parent) { return parent->findChild<CTestSheet*>(); }
};

TEST_F(QtModuleObject, LifecycleEndsWithoutTouchingDeadWindows) {
    enum class EEnd { ReleaseWithPaneAlive, PaneDiesFirst, DestroyThenRelease };
    for (EEnd end : {EEnd::ReleaseWithPaneAlive, EEnd::PaneDiesFirst, EEnd::DestroyThenRelease}) {
        SCOPED_TRACE(static_cast<int>(end));
        auto parent = std::make_unique<QWidget>();
        parent->resize(600, 400);
        parent->show();
        IOndModule* module = New();
        ASSERT_EQ(module->Create(ondrelo::ToHwnd(parent.get()), RECT{0, 0, 600, 400}), S_OK);
        CTestSheet* sheet = SheetIn(parent.get());
        ASSERT_NE(sheet, nullptr);
        EXPECT_TRUE(sheet->isHidden());
        EXPECT_EQ(module->Show(), S_OK);
        EXPECT_TRUE(sheet->isVisible());
        parent->resize(700, 450);
        EXPECT_EQ(module->Resize(), S_OK);
        EXPECT_EQ(sheet->size(), QSize(700, 450));
        switch (end) {
            case EEnd::ReleaseWithPaneAlive:
                module->Release();
                EXPECT_EQ(SheetIn(parent.get()), nullptr);
                break;
            case EEnd::PaneDiesFirst:
                parent.reset();
                EXPECT_EQ(module->Resize(), S_FALSE);
                EXPECT_EQ(module->Destroy(), S_OK);
                module->Release();
                break;
            case EEnd::DestroyThenRelease:
                EXPECT_EQ(module->Destroy(), S_OK);
                EXPECT_EQ(SheetIn(parent.get()), nullptr);
                EXPECT_EQ(module->Destroy(), S_OK);
                EXPECT_EQ(module->Show(), S_FALSE);
                module->Release();
                break;
        }
        EXPECT_EQ(g_server.GetLockCount(), 0);
    }
}

}  // namespace
