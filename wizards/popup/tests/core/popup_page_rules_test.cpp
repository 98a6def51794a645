// The pages' rules: preview arithmetic, number fields, the Invocation
// page's enabling, and the stacking of the Features page's sample window.
#include <gtest/gtest.h>

#include <map>

#include "popkin/PopupCodeGen.h"
#include "popkin/PopupPageRules.h"

namespace {

using namespace popkin;

TEST(PopupPreview, ResolutionsScaleDown) {
    EXPECT_EQ(PreviewSizeFor(0), (SExtent{128, 96}));
    EXPECT_EQ(PreviewSizeFor(1), (SExtent{160, 120}));
    EXPECT_EQ(PreviewSizeFor(2), (SExtent{204, 153}));
    EXPECT_EQ(PreviewSizeFor(3), (SExtent{230, 172}));
    EXPECT_EQ(PreviewSizeFor(9), (SExtent{128, 96}));
    EXPECT_EQ(PreviewToScreen(kInitialPopupRight - kInitialPopupLeft), 350);
    EXPECT_EQ(PreviewToScreen(kInitialPopupLeft), 50);
}

TEST(PopupPreview, EditTextToPreview) {
    struct Case {
        const char* text;
        std::optional<int> preview;
    } cases[] = {{"333", 66},       {"350", 70},   {"4", 0},          {"abc", 0},
                 {"", 0},           {"-20", std::nullopt},            {"-4", 0},
                 {"12abc", 2},      {"99999999999", kIntMax / kPreviewScale}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(EditToPreview(k.text), k.preview);
    }
}

TEST(PopupFields, NumberFields) {
    struct Case {
        const char* text;
        int min, max;
        std::optional<int> value;
    } cases[] = {
        {"333", kSizeMin, kSizeMax, 333},
        {" -20 ", kPositionMin, kPositionMax, -20},
        {"-20", kSizeMin, kSizeMax, std::nullopt},
        {"10000", kSizeMin, kSizeMax, std::nullopt},
        {"9999", kSizeMin, kSizeMax, 9999},
        {"-10000", kPositionMin, kPositionMax, std::nullopt},
        {"abc", kIntMin, kIntMax, std::nullopt},
        {"", kIntMin, kIntMax, std::nullopt},
        {"-", kIntMin, kIntMax, std::nullopt},
        {"5s", kIntMin, kIntMax, std::nullopt},
        {"+7", kIntMin, kIntMax, 7},
        {"2147483648", kIntMin, kIntMax, std::nullopt},
        {"99999999999999999999", kIntMin, kIntMax, std::nullopt},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(ParseNumberField(k.text, k.min, k.max), k.value);
    }
}

TEST(PopupInvocation, EnablingByKind) {
    struct Case {
        int kind;
        bool once;
        SInvocationEnabling expected;
    } cases[] = {
        {kInvokeButton, false, {true, false, false, false}},
        {kInvokeLink, true, {false, true, false, false}},
        {kInvokePageEntry, false, {false, false, true, true}},
        {kInvokePageEntry, true, {false, false, true, false}},
        {kInvokePageExit, false, {false, false, true, true}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(InvocationEnabling(k.kind, k.once), k.expected) << k.kind << k.once;
    }
    EXPECT_EQ(InvocationLabel(kInvokeButton, "Open", "Go"), "Open");
    EXPECT_EQ(InvocationLabel(kInvokeLink, "Open", ""), "");
    EXPECT_EQ(InvocationLabel(kInvokePageExit, "Open", "Go"), "");
}

TEST(PopupFeatureSample, StackingOrder) {
    const std::map<int, SExtent> sizes = {
        {kPicTitleBar, {200, 20}},  {kPicAddressBar, {200, 11}}, {kPicMenuBar, {200, 12}},
        {kPicToolBar, {200, 13}},   {kPicLinksBar, {200, 14}},   {kPicLowerEdge, {200, 4}},
        {kPicPageArea, {200, 100}}, {kPicScrollBar, {16, 98}},   {kPicStatusBar, {200, 18}},
    };
    auto size = [&](int picture) {
        auto it = sizes.find(picture);
        return it == sizes.end() ? SExtent{} : it->second;
    };
    SSampleFeatures none;
    EXPECT_EQ(LayoutFeatureSample(none, size),
              (std::vector<SSampleDraw>{
                  {kPicTitleBar, 0, 0}, {kPicLowerEdge, 0, 20}, {kPicPageArea, 0, 24}}));

    SSampleFeatures toolbarStatus;
    toolbarStatus.toolbar = true;
    toolbarStatus.status = true;
    EXPECT_EQ(LayoutFeatureSample(toolbarStatus, size),
              (std::vector<SSampleDraw>{{kPicTitleBar, 0, 0},
                                        {kPicToolBar, 0, 20},
                                        {kPicLowerEdge, 0, 33},
                                        {kPicPageArea, 0, 37},
                                        {kPicStatusBar, 0, 135}}));

    SSampleFeatures all{true, true, true, true, true, true, true};
    EXPECT_EQ(LayoutFeatureSample(all, size),
              (std::vector<SSampleDraw>{{kPicTitleBar, 0, 0},
                                        {kPicAddressBar, 0, 20},
                                        {kPicMenuBar, 0, 31},
                                        {kPicToolBar, 0, 43},
                                        {kPicLinksBar, 0, 56},
                                        {kPicLowerEdge, 0, 70},
                                        {kPicPageArea, 0, 74},
                                        {kPicScrollBar, 179, 73},
                                        {kPicResizeCursor, 187, 123},
                                        {kPicStatusBar, 0, 172}}));
}

}  // namespace
