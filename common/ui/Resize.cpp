#include "ondrelo/Resize.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSizeGrip>
#include <QWindow>
#include <algorithm>

#include "ondrelo/QtWindow.h"

namespace {

SIZE SizeOf(const QWidget* w) {
    return {w->width(), w->height()};
}

// Check boxes, radio buttons and group boxes without their own tab stop are
// drawn on their parent's background.
void MakeTransparent(QWidget* control) {
    const bool boxLike =
        qobject_cast<QGroupBox*>(control) ||
        (qobject_cast<QAbstractButton*>(control) && !qobject_cast<QPushButton*>(control));
    if (boxLike && !(control->focusPolicy() & Qt::TabFocus)) {
        control->setAutoFillBackground(false);
        control->setAttribute(Qt::WA_NoSystemBackground);
    }
}

}  // namespace

CResize::CResize(QWidget* window, unsigned flags) : m_window(window), m_flags(flags) {}

CResize::~CResize() = default;

void CResize::Init() {
    m_initial = m_last = SizeOf(m_window);
    m_initialised = true;
    if (!(m_flags & eNoMinSize)) {
        m_minSize = m_initial;
    }
    // Qt widgets always clip their children; eNoClipChildren has nothing to turn off.
    if (!(m_flags & eNoSizeGrip)) {
        auto* grip = new QSizeGrip(m_window);
        ondrelo::SetControlId(grip, kSizeGripId);
        grip->setGeometry(m_window->width() - 16, m_window->height() - 16, 16, 16);
        grip->show();
        SItem item;
        item.control = grip;
        item.fractions = REALRECT{1, 1, 1, 1};
        item.position = CRealRect(ondrelo::ToRect(grip->geometry()));
        item.ownsWindow = true;
        m_items.push_back(item);
    }
    ApplyLimits();
    m_window->removeEventFilter(this);
    m_window->installEventFilter(this);
}

void CResize::SetResize(int id, const REALRECT& fractions) {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->control && ondrelo::GetControlId(it->control) == id) {
            CRealRect sum = CRealRect(it->fractions) + fractions;
            it->fractions = sum;
            return;
        }
    }
    SetResize(ondrelo::FindControl(m_window, id), fractions);
}

void CResize::SetResize(QWidget* control, const REALRECT& fractions) {
    if (!control) {
        return;
    }
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->control == control) {
            it->fractions = CRealRect(it->fractions) + fractions;
            return;
        }
    }
    // The rectangle in the window's client coordinates.
    const QPoint topLeft = control->mapTo(m_window, QPoint(0, 0));
    SItem item;
    item.control = control;
    item.fractions = fractions;
    item.position = CRealRect(ondrelo::ToRect(QRect(topLeft, control->size())));
    m_items.push_back(item);
    if (!(m_flags & eNoTransparentGroups)) {
        MakeTransparent(control);
    }
}

void CResize::SetMinSize(SIZE size) {
    m_minSize = size;
    if (m_initialised) {
        ApplyLimits();
    }
}

void CResize::SetMaxSize(SIZE size) {
    m_maxSize = size;
    if (m_initialised) {
        ApplyLimits();
    }
}

void CResize::Size() {
    if (m_items.empty() || !m_initialised) {
        return;
    }
    const SIZE now = SizeOf(m_window);
    const int dx = now.cx - m_last.cx;
    const int dy = now.cy - m_last.cy;
    std::vector<std::pair<QWidget*, ondrelo::SMove>> moves;
    std::vector<SItem> updated = m_items;
    for (SItem& item : updated) {
        if (!item.control) {
            continue;
        }
        if (!ondrelo::StepResize(item.position, item.fractions, dx, dy)) {
            continue;
        }
        moves.emplace_back(item.control.data(), ondrelo::MoveOf(item.position));
    }
    // Positions are committed together with the moves, so that a layout
    // that could not be worked out leaves everything as it was.
    m_items = std::move(updated);
    for (auto& [control, move] : moves) {
        // Controls of nested widgets are registered in window coordinates.
        QPoint at(move.x, move.y);
        if (control->parentWidget() && control->parentWidget() != m_window) {
            at = control->parentWidget()->mapFrom(m_window, at);
        }
        control->setGeometry(at.x(), at.y(), std::max(0, move.width), std::max(0, move.height));
    }
    m_last = now;
}

ondrelo::STrackLimits CResize::GetMinMaxInfo() const {
    return ondrelo::ComputeTrackLimits(m_flags, m_initial, m_minSize, m_maxSize);
}

void CResize::ApplyLimits() {
    const ondrelo::STrackLimits limits = GetMinMaxInfo();
    m_window->setMinimumSize(limits.minTrack.cx, limits.minTrack.cy);
    m_window->setMaximumSize(limits.maxTrack.cx > 0 ? limits.maxTrack.cx : QWIDGETSIZE_MAX,
                             limits.maxTrack.cy > 0 ? limits.maxTrack.cy : QWIDGETSIZE_MAX);
}

bool CResize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Resize) {
        Size();
    }
    return false;
}

bool CResize::LoadPlacement(const std::string& section) {
    QSettings profile;
    const QByteArray bytes =
        profile.value(QString::fromStdString(section) + "/WindowPlacement").toByteArray();
    ondrelo::SWindowPlacement placement;
    if (!ondrelo::UnpackPlacement(bytes.toStdString(), placement)) {
        return false;
    }
    m_window->setGeometry(ondrelo::ToQRect(placement.normalPosition));
    // A window restored minimised would start out of sight; it comes back
    // in its normal size instead.
    if (placement.showCmd == ondrelo::SW_SHOWMAXIMIZED) {
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
    }
    return true;
}

void CResize::SavePlacement(const std::string& section) {
    ondrelo::SWindowPlacement placement;
    const Qt::WindowStates state = m_window->windowState();
    placement.showCmd = state & Qt::WindowMaximized   ? ondrelo::SW_SHOWMAXIMIZED
                        : state & Qt::WindowMinimized ? ondrelo::SW_SHOWMINIMIZED
                                                      : ondrelo::SW_SHOWNORMAL;
    const QRect normal = m_window->isWindow() ? m_window->normalGeometry() : m_window->geometry();
    placement.normalPosition = ondrelo::ToRect(normal.isValid() ? normal : m_window->geometry());
    const std::string bytes = ondrelo::PackPlacement(placement);
    QSettings profile;
    profile.setValue(QString::fromStdString(section) + "/WindowPlacement",
                     QByteArray(bytes.data(), static_cast<int>(bytes.size())));
}

// The windows that carry a CResize.

CResizeDialog::CResizeDialog(int templateId, QWidget* parent, unsigned flags)
    : QDialog(parent), m_templateId(templateId), m_resize(this, flags) {}

void CResizeDialog::EnsureInitialised() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    OnInitDialog();
    m_resize.Init();
}

void CResizeDialog::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QDialog::showEvent(event);
}

CResizePropertyPage::CResizePropertyPage(int templateId, QWidget* parent, unsigned flags)
    : QWidget(parent), m_templateId(templateId), m_resize(this, flags | CResize::eNoSizeGrip) {}

void CResizePropertyPage::EnsureInitialised() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    OnInitDialog();
    m_resize.Init();
}

void CResizePropertyPage::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QWidget::showEvent(event);
}

CResizePropertySheet::CResizePropertySheet(QWidget* parent, unsigned flags)
    : QDialog(parent), m_tabs(new QTabWidget(this)), m_resize(this, flags) {
    ondrelo::SetControlId(m_tabs, 0x3020);  // the tab control of a property sheet
}

void CResizePropertySheet::EnsureInitialised() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    m_tabs->setGeometry(rect().adjusted(7, 7, -7, -7));
    m_resize.SetResize(m_tabs, REALRECT{0, 0, 1, 1});
    OnInitDialog();
    m_resize.Init();
}

void CResizePropertySheet::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QDialog::showEvent(event);
}

CResizeFormView::CResizeFormView(int templateId, QWidget* parent, unsigned flags)
    : QWidget(parent), m_templateId(templateId), m_resize(this, flags) {}

void CResizeFormView::EnsureInitialised() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    OnInitDialog();
    m_resize.Init();
}

void CResizeFormView::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QWidget::showEvent(event);
}
