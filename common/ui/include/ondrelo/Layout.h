// Layout arithmetic without any window: anchor points and margins, the
// floating-point rectangle of proportional resizing, size limits and the
// stored window-placement record. The Qt classes (Anchor.h, Resize.h) apply
// the results to widgets.
#pragma once

#include <cstdint>
#include <string>

#include "ondrelo/Window.h"
#include "ondrelo/common_export.h"

namespace ondrelo {

// A reference point in percent of the parent's client width and height.
struct SAnchorPoint {
    int x = -1;
    int y = -1;
    bool IsNone() const { return x < 0 || y < 0; }
    bool operator==(const SAnchorPoint&) const = default;
};

inline constexpr SAnchorPoint ANCHOR_TOP_LEFT{0, 0};
inline constexpr SAnchorPoint ANCHOR_TOP_CENTER{50, 0};
inline constexpr SAnchorPoint ANCHOR_TOP_RIGHT{100, 0};
inline constexpr SAnchorPoint ANCHOR_MIDDLE_LEFT{0, 50};
inline constexpr SAnchorPoint ANCHOR_MIDDLE_CENTER{50, 50};
inline constexpr SAnchorPoint ANCHOR_MIDDLE_RIGHT{100, 50};
inline constexpr SAnchorPoint ANCHOR_BOTTOM_LEFT{0, 100};
inline constexpr SAnchorPoint ANCHOR_BOTTOM_CENTER{50, 100};
inline constexpr SAnchorPoint ANCHOR_BOTTOM_RIGHT{100, 100};
inline constexpr SAnchorPoint ANCHOR_NONE{-1, -1};

// A control tied to two points of its parent, with its four margins.
struct SAnchor {
    SAnchorPoint first;
    SAnchorPoint second;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Records the margins of a control (in the parent's client coordinates) for a
// parent of client size width x height. A second point of none means the
// first point: the control moves but keeps its size.
ONDCOMMON_EXPORT SAnchor MakeAnchor(const RECT& control, SAnchorPoint first, SAnchorPoint second,
                                    int width, int height);
// Where the control goes for a parent of client size width x height.
ONDCOMMON_EXPORT RECT ArrangeAnchor(const SAnchor& anchor, int width, int height);

}  // namespace ondrelo

// A rectangle of 32-bit floats.
struct REALRECT {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

class ONDCOMMON_EXPORT CRealRect : public REALRECT {
public:
    CRealRect() = default;
    CRealRect(const REALRECT& r) : REALRECT(r) {}
    explicit CRealRect(const RECT& r);
    CRealRect(float l, float t, float r, float b) : REALRECT{l, t, r, b} {}

    CRealRect& operator+=(const REALRECT& r);
    CRealRect& operator-=(const REALRECT& r);
    CRealRect operator+(const REALRECT& r) const;
    CRealRect operator-(const REALRECT& r) const;
    bool operator==(const REALRECT& r) const;
    bool operator!=(const REALRECT& r) const { return !(*this == r); }

    // Each edge truncated toward zero.
    RECT ToRect() const;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    bool IsNormalized() const { return left <= right && top <= bottom; }
};

namespace ondrelo {

// Moves the edges of a control by the given fractions of the parent's change
// in size. Returns false (nothing to move) when no edge changed.
ONDCOMMON_EXPORT bool StepResize(CRealRect& position, const REALRECT& fractions, int dx, int dy);
// The integer geometry of a control at the given position: left and top
// truncated, width and height the truncated differences.
struct SMove {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const SMove&) const = default;
};
ONDCOMMON_EXPORT SMove MoveOf(const CRealRect& position);

// Size limits of a window laid out by CResize; 0 means no limit.
struct STrackLimits {
    SIZE minTrack;
    SIZE maxTrack;
};
// flags: the CResize flags (2 fixed width, 4 fixed height); initial: the
// window's size at initialisation; minSize/maxSize as set (0 = not set).
ONDCOMMON_EXPORT STrackLimits ComputeTrackLimits(unsigned flags, SIZE initial, SIZE minSize,
                                                 SIZE maxSize);

// The 44-byte placement record stored in the profile.
inline constexpr std::uint32_t SW_SHOWNORMAL = 1;
inline constexpr std::uint32_t SW_SHOWMINIMIZED = 2;
inline constexpr std::uint32_t SW_SHOWMAXIMIZED = 3;

struct SWindowPlacement {
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = SW_SHOWNORMAL;
    POINT minPosition;
    POINT maxPosition;
    RECT normalPosition;
};
inline constexpr std::size_t kPlacementRecordSize = 44;

// Little-endian bytes of the record.
ONDCOMMON_EXPORT std::string PackPlacement(const SWindowPlacement& placement);
// False, leaving placement unchanged, when the bytes are not one record of
// 44 bytes or describe no usable window (an empty or inverted rectangle).
ONDCOMMON_EXPORT bool UnpackPlacement(const std::string& bytes, SWindowPlacement& placement);

}  // namespace ondrelo
