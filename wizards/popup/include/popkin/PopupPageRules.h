// The rules behind the popup wizard's pages, free of any window toolkit:
// the screen preview's arithmetic, the number fields, which Invocation
// controls are enabled, and how the Features page stacks its sample window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace popkin {

// ---- Position page: screen preview ----------------------------------------

// Screen pixels per preview pixel.
inline constexpr int kPreviewScale = 5;

struct SExtent {
    int cx = 0;
    int cy = 0;
    bool operator==(const SExtent&) const = default;
};

// Screen resolutions the preview knows; the first three have a button.
inline constexpr SExtent kResolutions[] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}};
inline constexpr int kResolutionCount = 4;
inline constexpr int kResolutionButtons = 3;

// Preview size for a resolution (the resolution divided by the scale);
// an index out of range gives the first.
SExtent PreviewSizeFor(int resolutionIndex);

// The small popup window in the preview when the page opens.
inline constexpr int kInitialPopupLeft = 10;
inline constexpr int kInitialPopupTop = 10;
inline constexpr int kInitialPopupRight = 80;
inline constexpr int kInitialPopupBottom = 80;

// A preview value shown in an edit.
inline int PreviewToScreen(int previewValue) {
    return previewValue * kPreviewScale;
}
// An edit's text as a preview value: decimal, 0 when unreadable, divided by
// the scale. Nothing (leave the preview as it is) when the result is negative.
std::optional<int> EditToPreview(const std::string& text);

// Ranges of the number fields.
inline constexpr int kPositionMin = -9999;
inline constexpr int kPositionMax = 9999;
inline constexpr int kSizeMin = 0;
inline constexpr int kSizeMax = 9999;
inline constexpr int kIntMin = -2147483647 - 1;
inline constexpr int kIntMax = 2147483647;

// A number field's text when the user leaves a page: optional blanks, an
// optional sign and decimal digits, within [min, max].
std::optional<int> ParseNumberField(const std::string& text, int min = kIntMin,
                                    int max = kIntMax);
// The message for a field that is not a number, or out of range.
std::string NumberFieldMessage(int min = kIntMin, int max = kIntMax);

// ---- Content page -----------------------------------------------------------

inline constexpr int kMaxUrlLength = 1024;
inline constexpr int kMaxHtmlLength = 9999;

// ---- Invocation page --------------------------------------------------------

struct SInvocationEnabling {
    bool buttonLabel = false;  // edit and caption of the button's label
    bool linkLabel = false;    // edit and caption of the link's label
    bool automaticOptions = false;  // once per visitor, pop under, the delay
    bool reappear = false;          // the days after which the popup reappears
    bool operator==(const SInvocationEnabling&) const = default;
};

SInvocationEnabling InvocationEnabling(int kind, bool oncePerVisitorChecked);
// The label the generator gets: the button's for a button, the link's for a
// link, none for the automatic kinds.
std::string InvocationLabel(int kind, const std::string& buttonLabel,
                            const std::string& linkLabel);

// ---- Features page: sample window -------------------------------------------

// Pictures of the sample window.
enum ESamplePicture : int {
    kPicTitleBar = 223,
    kPicLowerEdge = 224,
    kPicStatusBar = 225,
    kPicPageArea = 218,
    kPicScrollBar = 231,
    kPicLinksBar = 237,
    kPicAddressBar = 238,
    kPicMenuBar = 235,
    kPicToolBar = 236,
    kPicResizeCursor = 0,  // the system's horizontal-resize cursor
};

struct SSampleFeatures {
    bool location = false;
    bool scrollbars = false;
    bool menubar = false;
    bool toolbar = false;
    bool status = false;
    bool resizable = false;
    bool directories = false;
};

struct SSampleDraw {
    int picture = 0;
    int x = 0;
    int y = 0;
    bool operator==(const SSampleDraw&) const = default;
};

// Where each picture of the sample goes, in drawing order; size gives a
// picture's size.
std::vector<SSampleDraw> LayoutFeatureSample(const SSampleFeatures& f,
                                             const std::function<SExtent(int picture)>& size);

}  // namespace popkin
