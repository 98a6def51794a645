// Anchoring of the controls of a window: each control keeps its margins to
// two reference points of its parent (Layout.h) when the parent is resized.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "ondrelo/Layout.h"
#include "ondrelo/common_export.h"

namespace ondrelo {

class ONDCOMMON_EXPORT CAnchorSet {
public:
    explicit CAnchorSet(QWidget* parent) : m_parent(parent) {}

    // Measures the margins against the parent's current size; anchoring a
    // control again replaces its earlier anchor.
    void AddAnchor(QWidget* control, SAnchorPoint first, SAnchorPoint second = ANCHOR_NONE);
    void RemoveAnchor(QWidget* control);
    bool IsAnchored(const QWidget* control) const;
    // Moves every anchored control for the parent's current size. Controls
    // destroyed since they were anchored are dropped.
    void ArrangeLayout();

private:
    struct SItem {
        QPointer<QWidget> control;
        SAnchor anchor;
    };
    QWidget* m_parent;
    std::vector<SItem> m_items;
};

}  // namespace ondrelo
