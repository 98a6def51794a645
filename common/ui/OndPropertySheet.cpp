#include "ondrelo/OndPropertySheet.h"

#include <QTabBar>

#include "ondrelo/CommonUI.h"

const QColor COndPropertySheet::kCaptionColour{0, 0, 255};
const QColor COndPropertySheet::kSelectedCaptionColour{0, 0, 0};

COndPropertyPage::COndPropertyPage(int templateId, QWidget* parent)
    : QWidget(parent), m_templateId(templateId) {
    ondrelo::UseWindowBackground(this);
}

void COndPropertyPage::EnsureCreated() {
    if (m_created) {
        return;
    }
    m_created = true;
    OnInitDialog();
}

COndPropertySheet::COndPropertySheet(QWidget* parent) : QTabWidget(parent) {
    ondrelo::UseWindowBackground(this);
    tabBar()->setAutoFillBackground(true);
    tabBar()->setDrawBase(false);
    connect(this, &QTabWidget::currentChanged, this, [this](int i) { OnCurrentChanged(i); });
}

void COndPropertySheet::AddPage(COndPropertyPage* page) {
    if (!page) {
        return;
    }
    addTab(page, page->GetCaption());
    UpdateCaptionColours();
}

COndPropertyPage* COndPropertySheet::GetPage(int index) const {
    return dynamic_cast<COndPropertyPage*>(widget(index));
}

bool COndPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    setCurrentIndex(index);
    return currentIndex() == index;
}

void COndPropertySheet::showEvent(QShowEvent* event) {
    if (m_shown < 0 && count() > 0) {
        OnCurrentChanged(currentIndex());
    }
    QTabWidget::showEvent(event);
}

void COndPropertySheet::OnCurrentChanged(int index) {
    if (m_switching) {
        return;
    }
    // The page being left may keep the selection.
    if (COndPropertyPage* old = GetPage(m_shown); old && m_shown != index && !old->OnKillActive()) {
        m_switching = true;
        setCurrentIndex(m_shown);
        m_switching = false;
        return;
    }
    if (COndPropertyPage* page = GetPage(index)) {
        page->EnsureCreated();
        page->OnSetActive();
    }
    m_shown = index;
    UpdateCaptionColours();
}

void COndPropertySheet::UpdateCaptionColours() {
    for (int i = 0; i < count(); ++i) {
        tabBar()->setTabTextColor(i, i == currentIndex() ? kSelectedCaptionColour : kCaptionColour);
    }
}

COndSubDlg::COndSubDlg(int templateId, QWidget* parent)
    : QWidget(parent), m_templateId(templateId) {
    ondrelo::UseWindowBackground(this);
}

bool COndSubDlg::Create() {
    if (!m_created) {
        m_created = true;
        OnInitDialog();
    }
    show();
    return true;
}

void COndSubDlg::showEvent(QShowEvent* event) {
    if (!m_created) {
        m_created = true;
        OnInitDialog();
    }
    QWidget::showEvent(event);
}
