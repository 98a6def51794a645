#include "ondrelo/Layout.h"

namespace ondrelo {

SAnchor MakeAnchor(const RECT& control, SAnchorPoint first, SAnchorPoint second, int width,
                   int height) {
    SAnchor a;
    a.first = first;
    a.second = second.IsNone() ? first : second;
    a.left = control.left - a.first.x * width / 100;
    a.top = control.top - a.first.y * height / 100;
    a.right = control.right - a.second.x * width / 100;
    a.bottom = control.bottom - a.second.y * height / 100;
    return a;
}

RECT ArrangeAnchor(const SAnchor& a, int width, int height) {
    RECT r;
    r.left = a.first.x * width / 100 + a.left;
    r.top = a.first.y * height / 100 + a.top;
    r.right = a.second.x * width / 100 + a.right;
    r.bottom = a.second.y * height / 100 + a.bottom;
    return r;
}

bool StepResize(CRealRect& position, const REALRECT& fractions, int dx, int dy) {
    const CRealRect before = position;
    position.left += static_cast<float>(dx) * fractions.left;
    position.top += static_cast<float>(dy) * fractions.top;
    position.right += static_cast<float>(dx) * fractions.right;
    position.bottom += static_cast<float>(dy) * fractions.bottom;
    return position != before;
}

SMove MoveOf(const CRealRect& p) {
    return {static_cast<int>(p.left), static_cast<int>(p.top), static_cast<int>(p.right - p.left),
            static_cast<int>(p.bottom - p.top)};
}

STrackLimits ComputeTrackLimits(unsigned flags, SIZE initial, SIZE minSize, SIZE maxSize) {
    STrackLimits limits;
    if (flags & 2) {
        limits.maxTrack.cx = initial.cx;
    }
    if (flags & 4) {
        limits.maxTrack.cy = initial.cy;
    }
    if (minSize.cx > 0 || minSize.cy > 0) {
        limits.minTrack = minSize;
    }
    if (maxSize.cx > 0 || maxSize.cy > 0) {
        limits.maxTrack = maxSize;
    }
    return limits;
}

namespace {

void Put(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

std::uint32_t Get(const std::string& in, std::size_t& at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    }
    at += 4;
    return v;
}

std::int32_t GetSigned(const std::string& in, std::size_t& at) {
    return static_cast<std::int32_t>(Get(in, at));
}

}  // namespace

std::string PackPlacement(const SWindowPlacement& p) {
    std::string out;
    out.reserve(kPlacementRecordSize);
    Put(out, static_cast<std::uint32_t>(kPlacementRecordSize));
    Put(out, p.flags);
    Put(out, p.showCmd);
    for (std::int32_t v :
         {p.minPosition.x, p.minPosition.y, p.maxPosition.x, p.maxPosition.y, p.normalPosition.left,
          p.normalPosition.top, p.normalPosition.right, p.normalPosition.bottom}) {
        Put(out, static_cast<std::uint32_t>(v));
    }
    return out;
}

bool UnpackPlacement(const std::string& bytes, SWindowPlacement& placement) {
    if (bytes.size() != kPlacementRecordSize) {
        return false;
    }
    SWindowPlacement p;
    std::size_t at = 0;
    p.length = Get(bytes, at);
    p.flags = Get(bytes, at);
    p.showCmd = Get(bytes, at);
    p.minPosition.x = GetSigned(bytes, at);
    p.minPosition.y = GetSigned(bytes, at);
    p.maxPosition.x = GetSigned(bytes, at);
    p.maxPosition.y = GetSigned(bytes, at);
    p.normalPosition.left = GetSigned(bytes, at);
    p.normalPosition.top = GetSigned(bytes, at);
    p.normalPosition.right = GetSigned(bytes, at);
    p.normalPosition.bottom = GetSigned(bytes, at);
    // A damaged record must not restore a window nobody can see or reach.
    if (p.length != kPlacementRecordSize) {
        return false;
    }
    if (p.normalPosition.right <= p.normalPosition.left ||
        p.normalPosition.bottom <= p.normalPosition.top) {
        return false;
    }
    placement = p;
    return true;
}

}  // namespace ondrelo

CRealRect::CRealRect(const RECT& r)
    : REALRECT{static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
               static_cast<float>(r.bottom)} {}

CRealRect& CRealRect::operator+=(const REALRECT& r) {
    left += r.left;
    top += r.top;
    right += r.right;
    bottom += r.bottom;
    return *this;
}

CRealRect& CRealRect::operator-=(const REALRECT& r) {
    left -= r.left;
    top -= r.top;
    right -= r.right;
    bottom -= r.bottom;
    return *this;
}

CRealRect CRealRect::operator+(const REALRECT& r) const {
    CRealRect out = *this;
    out += r;
    return out;
}

CRealRect CRealRect::operator-(const REALRECT& r) const {
    CRealRect out = *this;
    out -= r;
    return out;
}

bool CRealRect::operator==(const REALRECT& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
}

RECT CRealRect::ToRect() const {
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}
