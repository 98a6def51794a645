#include "ondrelo/Anchor.h"

#include <algorithm>

namespace ondrelo {

namespace {
RECT ToRECT(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
}  // namespace

void CAnchorSet::AddAnchor(QWidget* control, SAnchorPoint first, SAnchorPoint second) {
    if (!control || first.IsNone()) {
        return;
    }
    RemoveAnchor(control);
    const QSize size = m_parent->size();
    m_items.push_back({control, MakeAnchor(ToRECT(control->geometry()), first, second, size.width(),
                                           size.height())});
}

void CAnchorSet::RemoveAnchor(QWidget* control) {
    std::erase_if(m_items, [&](const SItem& i) { return i.control == control; });
}

bool CAnchorSet::IsAnchored(const QWidget* control) const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [&](const SItem& i) { return i.control == control; });
}

void CAnchorSet::ArrangeLayout() {
    std::erase_if(m_items, [](const SItem& i) { return i.control.isNull(); });
    const QSize size = m_parent->size();
    // Work out every position first, then move, so that no control sees a
    // half-arranged parent.
    std::vector<std::pair<QWidget*, QRect>> moves;
    moves.reserve(m_items.size());
    for (const SItem& item : m_items) {
        const RECT r = ArrangeAnchor(item.anchor, size.width(), size.height());
        moves.emplace_back(item.control.data(), QRect(r.left, r.top, std::max(0, r.right - r.left),
                                                      std::max(0, r.bottom - r.top)));
    }
    for (auto& [control, rect] : moves) {
        if (control->geometry() != rect) {
            control->setGeometry(rect);
        }
    }
}

}  // namespace ondrelo
