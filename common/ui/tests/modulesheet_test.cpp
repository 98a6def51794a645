#include <gtest/gtest.h>

#include <memory>

#include "TestWizard.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/QtModuleSheet.h"

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

}  // namespace
