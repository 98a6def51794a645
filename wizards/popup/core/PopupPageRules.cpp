#include "popkin/PopupPageRules.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "popkin/PopupCodeGen.h"

namespace popkin {

SExtent PreviewSizeFor(int resolutionIndex) {
    if (resolutionIndex < 0 || resolutionIndex >= kResolutionCount) {
        resolutionIndex = 0;
    }
    const SExtent& r = kResolutions[resolutionIndex];
    return {r.cx / kPreviewScale, r.cy / kPreviewScale};
}

std::optional<int> EditToPreview(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    const long preview = value / kPreviewScale;
    if (preview < 0) {
        return std::nullopt;
    }
    if (preview > kIntMax) {
        return kIntMax / kPreviewScale;
    }
    return static_cast<int>(preview);
}

std::optional<int> ParseNumberField(const std::string& text, int min, int max) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::size_t end = text.size();
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    std::size_t digits = i;
    if (digits < end && (text[digits] == '-' || text[digits] == '+')) {
        ++digits;
    }
    if (digits == end) {
        return std::nullopt;
    }
    for (std::size_t k = digits; k < end; ++k) {
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) {
            return std::nullopt;
        }
    }
    errno = 0;
    const long long value = std::strtoll(text.substr(i, end - i).c_str(), nullptr, 10);
    if (errno == ERANGE || value < min || value > max) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string NumberFieldMessage(int min, int max) {
    if (min == kIntMin && max == kIntMax) {
        return "Please enter an integer.";
    }
    return "Please enter an integer between " + std::to_string(min) + " and " +
           std::to_string(max) + ".";
}

SInvocationEnabling InvocationEnabling(int kind, bool oncePerVisitorChecked) {
    SInvocationEnabling e;
    e.buttonLabel = kind == kInvokeButton;
    e.linkLabel = kind == kInvokeLink;
    e.automaticOptions = kind == kInvokePageEntry || kind == kInvokePageExit;
    e.reappear = e.automaticOptions && !oncePerVisitorChecked;
    return e;
}

std::string InvocationLabel(int kind, const std::string& buttonLabel,
                            const std::string& linkLabel) {
    if (kind == kInvokeButton) {
        return buttonLabel;
    }
    if (kind == kInvokeLink) {
        return linkLabel;
    }
    return {};
}

std::vector<SSampleDraw> LayoutFeatureSample(const SSampleFeatures& f,
                                             const std::function<SExtent(int picture)>& size) {
    std::vector<SSampleDraw> draws;
    int y = 0;
    auto stack = [&](int picture) {
        draws.push_back({picture, 0, y});
        y += size(picture).cy;
    };
    stack(kPicTitleBar);
    if (f.location) {
        stack(kPicAddressBar);
    }
    if (f.menubar) {
        stack(kPicMenuBar);
    }
    if (f.toolbar) {
        stack(kPicToolBar);
    }
    if (f.directories) {
        stack(kPicLinksBar);
    }
    stack(kPicLowerEdge);
    const int pageTop = y;
    stack(kPicPageArea);
    const int width = size(kPicLowerEdge).cx;
    if (f.scrollbars) {
        // Against the page area's right edge, inside the window frame.
        const int x = width - 5 - size(kPicScrollBar).cx;
        draws.push_back({kPicScrollBar, x, pageTop - 1});
    }
    if (f.resizable) {
        draws.push_back({kPicResizeCursor, width - 13, pageTop + 49});
    }
    if (f.status) {
        draws.push_back({kPicStatusBar, 0, y - 2});
    }
    return draws;
}

}  // namespace popkin
