#include "ondrelo/OndWizSheet.h"

#include <QFrame>
#include <QKeyEvent>
#include <QStackedWidget>

#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/Resources.h"

namespace {

// The button row in dialog units of the sheet's font.
constexpr int kButtonWidth = 53;
constexpr int kButtonHeight = 15;
constexpr int kMargin = 5;
constexpr int kBarHeight = kButtonHeight + 2 * kMargin + 1;  // buttons and the line above them

}  // namespace

// Pages.

COndWizPage::COndWizPage(int templateId) : m_templateId(templateId), m_anchors(this) {
    ondrelo::UseWindowBackground(this);
}

COndWizPage::~COndWizPage() = default;

QSize COndWizPage::DesignSize() const {
    return ondrelo::DialogRect(this, 0, 0, kDesignWidthDlu, kDesignHeightDlu).size();
}

void COndWizPage::EnsureCreated() {
    if (m_created) {
        return;
    }
    m_created = true;
    const QSize actual = size();
    // Controls are placed and anchored for the design size; the page then
    // takes the size the sheet gives it.
    resize(DesignSize());
    OnInitDialog();
    resize(actual);
    m_anchors.ArrangeLayout();
}

void COndWizPage::AddAnchor(QWidget* control, ondrelo::SAnchorPoint first,
                            ondrelo::SAnchorPoint second) {
    m_anchors.AddAnchor(control, first, second);
}

void COndWizPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_anchors.ArrangeLayout();
}

bool COndWizPage::OnSetActive() {
    if (m_sheet) {
        switch (m_type) {
            case PAGE_FIRST:
                m_sheet->SetWizardButtons(PSWIZB_NEXT);
                m_sheet->SetNextText(QStringLiteral("&Next"));
                break;
            case PAGE_FINISH:
                m_sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
                m_sheet->SetNextText(QStringLiteral("&Finish"));
                break;
            case PAGE_CODE:
                m_sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_DISABLEDFINISH);
                break;
            case PAGE_INNER:
            default:
                m_sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
                m_sheet->SetNextText(QStringLiteral("&Next"));
                m_sheet->GetBackButton()->show();
                break;
        }
    }
    m_visited = true;
    if (m_sheet) {
        m_sheet->EnablePageButtons();
    }
    return true;
}

bool COndWizPage::InitBrowserWnd(int placeholderId, unsigned htmlId) {
    QWidget* placeholder = ondrelo::FindControl(this, placeholderId);
    if (!placeholder) {
        return false;
    }
    const QRect rect(placeholder->mapTo(this, QPoint(0, 0)), placeholder->size());
    if (!m_help) {
        m_help = new CBrowserWnd(this);
    }
    m_help->Create(this, rect);
    {
        // Pages are often built from the event loop, outside any call into
        // the module; the sheet knows whose pages these are.
        const ondrelo::SModuleResources* module = m_sheet && m_sheet->GetModuleResources()
                                                      ? m_sheet->GetModuleResources()
                                                      : ondrelo::CurrentModuleResources();
        ondrelo::CModuleResourceScope scope(module);
        m_help->LoadFromResource(htmlId);
    }
    m_help->show();
    placeholder->hide();
    m_anchors.AddAnchor(m_help, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_LEFT);
    m_help->setFocusPolicy(Qt::ClickFocus);
    return true;
}

bool COndWizPage::IsDialogMessageA(MSG* msg) {
    const int direction = ondrelo::DialogTabDirection(this, msg);
    return direction != 0 && focusNextPrevChild(direction > 0);
}

// Sheet.

COndWizSheet::COndWizSheet(QWidget* parent)
    : QWidget(parent),
      m_stack(new QStackedWidget(this)),
      m_line(new QFrame(this)),
      m_back(MakeButton(ID_WIZBACK, QStringLiteral("< &Back"))),
      m_next(MakeButton(ID_WIZNEXT, QStringLiteral("&Next >"))),
      m_finish(MakeButton(ID_WIZFINISH, QStringLiteral("Finish"))),
      m_cancel(MakeButton(ID_WIZCANCEL, QStringLiteral("Cancel"))),
      m_anchors(this) {
    ondrelo::UseWindowBackground(this);
    ondrelo::UseWindowBackground(m_stack);
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);
    m_finish->hide();
    connect(m_back, &QPushButton::clicked, this, [this] { PressBack(); });
    connect(m_next, &QPushButton::clicked, this, [this] { PressNext(); });
    connect(m_finish, &QPushButton::clicked, this, [this] { PressFinish(); });
}

COndWizSheet::~COndWizSheet() = default;

QSize COndWizSheet::DesignSize() const {
    return ondrelo::DialogRect(this, 0, 0, kDesignWidthDlu, kDesignHeightDlu).size();
}

CButtonST* COndWizSheet::MakeButton(int id, const QString& text) {
    auto* button = new CButtonST(text, this);
    ondrelo::SetControlId(button, id);
    return button;
}

void COndWizSheet::AddPage(COndWizPage* page) {
    if (!page) {
        return;
    }
    page->SetPropertySheet(this);
    m_pages.push_back(page);
    m_stack->addWidget(page);
}

COndWizPage* COndWizSheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)]
                                                : nullptr;
}

int COndWizSheet::GetPageIndex(const COndWizPage* page) const {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)] == page) {
            return i;
        }
    }
    return -1;
}

CButtonST* COndWizSheet::GetPageButton(int index) const {
    return index >= 0 && index < static_cast<int>(m_pageButtons.size())
               ? m_pageButtons[static_cast<std::size_t>(index)]
               : nullptr;
}

bool COndWizSheet::Create(QWidget* parent, const QRect& rect) {
    if (!m_module) {
        m_module = ondrelo::CurrentModuleResources();
    }
    ondrelo::CModuleResourceScope scope(m_module);
    if (!m_pagesAdded) {
        m_pagesAdded = true;
        AddPages();
    }
    if (!parent) {
        return false;
    }

    hide();
    setParent(parent);
    // Lay the sheet out at its design size and anchor against it.
    const QSize design = DesignSize();
    resize(design);
    const int W = kDesignWidthDlu, H = kDesignHeightDlu;
    const int buttonTop = H - kMargin - kButtonHeight;
    const int nextLeft = W - kMargin - kButtonWidth;
    const QRect bar = ondrelo::DialogRect(this, 0, H - kBarHeight, W, kBarHeight);
    m_stack->setGeometry(0, 0, design.width(), bar.top());
    m_line->setGeometry(0, bar.top(), design.width(), 2);
    m_next->setGeometry(
        ondrelo::DialogRect(this, nextLeft, buttonTop, kButtonWidth, kButtonHeight));
    m_finish->setGeometry(m_next->geometry());
    m_cancel->setGeometry(m_next->geometry());
    m_back->setGeometry(
        ondrelo::DialogRect(this, nextLeft - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight));
    m_anchors.AddAnchor(m_stack, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_anchors.AddAnchor(m_line, ondrelo::ANCHOR_BOTTOM_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    for (QWidget* b : {m_back, m_next, m_finish, m_cancel}) {
        m_anchors.AddAnchor(b, ondrelo::ANCHOR_BOTTOM_RIGHT);
    }

    m_cancel->hide();
    for (CButtonST* b : {m_back, m_next, m_finish}) {
        InitOndButton(*b);
    }
    const QIcon next = ondrelo::LoadResIcon(IDI_ARROW_NEXT);
    m_back->SetIcon(ondrelo::LoadResIcon(IDI_ARROW_BACK));
    m_back->setText(QStringLiteral("&Back"));
    m_back->SetIconAlign(CButtonST::EIconAlign::Left);
    m_next->SetIcon(next);
    m_next->setText(QStringLiteral("&Next"));
    m_next->SetIconAlign(CButtonST::EIconAlign::Right);
    m_finish->SetIcon(next);
    m_finish->SetIconAlign(CButtonST::EIconAlign::Right);

    CreatePageButtons();
    setGeometry(rect);
    m_anchors.ArrangeLayout();
    if (!m_pages.empty()) {
        SetActivePage(0);
    }
    return true;
}

bool COndWizSheet::Create(HWND parent, const RECT& rect) {
    return Create(ondrelo::ToWidget(parent), ondrelo::ToQRect(rect));
}

void COndWizSheet::OnParentResize() {
    if (QWidget* parent = parentWidget()) {
        setGeometry(parent->rect());
    }
}

void COndWizSheet::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_anchors.ArrangeLayout();
}

void COndWizSheet::AddAnchor(QWidget* control, ondrelo::SAnchorPoint first,
                             ondrelo::SAnchorPoint second) {
    m_anchors.AddAnchor(control, first, second);
}

bool COndWizSheet::CreatePageButtons() {
    for (CButtonST* b : m_pageButtons) {
        m_anchors.RemoveAnchor(b);
        delete b;
    }
    m_pageButtons.assign(m_pages.size(), nullptr);
    const QRect back = m_back->geometry();
    int x = back.left() - 1;
    for (int i = GetPageCount() - 1; i >= 0; --i) {
        std::string label = m_pages[static_cast<std::size_t>(i)]->GetPageLabel();
        if (label.empty()) {
            label = "No Title Specified !";
        }
        const QString caption = QString::fromStdString(label);
        auto* button = MakeButton(ID_PAGE_BUTTON_FIRST + i, caption);
        button->setFont(font());
        InitOndButton(*button);
        // Measured with the font the button is drawn with, which a style
        // sheet may set only when the button is polished.
        button->ensurePolished();
        const int width = button->fontMetrics().horizontalAdvance(caption) + 12;
        // x is the button's right edge, exclusive: it ends one pixel short
        // of Back, and each button ends where the next one starts.
        button->setGeometry(x - width, back.top(), width, back.height());
        button->show();
        x = button->geometry().left();
        m_anchors.AddAnchor(button, ondrelo::ANCHOR_BOTTOM_RIGHT, ondrelo::ANCHOR_BOTTOM_RIGHT);
        // Only the first 21 step buttons have numbers that lead anywhere.
        if (ID_PAGE_BUTTON_FIRST + i <= ID_PAGE_BUTTON_LAST) {
            connect(button, &QPushButton::clicked, this, [this, i] { PressPageButton(i); });
        }
        m_pageButtons[static_cast<std::size_t>(i)] = button;
    }
    EnablePageButtons();
    return true;
}

void COndWizSheet::EnablePageButtons() {
    // The first page's button always stays as it is: shown and enabled.
    for (int i = GetPageCount() - 1; i >= 1; --i) {
        CButtonST* button = GetPageButton(i);
        if (!button) {
            continue;
        }
        COndWizPage* page = m_pages[static_cast<std::size_t>(i)];
        if (page->IsEnabled()) {
            button->show();
            button->setEnabled(page->CanActivate());
        } else {
            button->hide();
        }
    }
}

void COndWizSheet::ShowPageButtons(bool show) {
    for (int i = 1; i < static_cast<int>(m_pageButtons.size()); ++i) {
        if (m_pageButtons[static_cast<std::size_t>(i)]) {
            m_pageButtons[static_cast<std::size_t>(i)]->setVisible(show);
        }
    }
}

bool COndWizSheet::SetActivePage(int index) {
    COndWizPage* page = GetPage(index);
    if (!page) {
        return false;
    }
    ondrelo::CModuleResourceScope scope(m_module);
    page->resize(m_stack->size());
    page->EnsureCreated();
    const int previous = m_active;
    m_active = index;
    if (!page->OnSetActive()) {
        m_active = previous;
        return false;
    }
    m_stack->setCurrentWidget(page);
    return true;
}

void COndWizSheet::SetWizardButtons(unsigned flags) {
    m_back->setEnabled(flags & PSWIZB_BACK);
    if (flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) {
        m_next->hide();
        m_finish->show();
        m_finish->setEnabled(flags & PSWIZB_FINISH);
    } else {
        m_finish->hide();
        m_next->show();
        m_next->setEnabled(flags & PSWIZB_NEXT);
    }
}

void COndWizSheet::SetNextText(const QString& text) {
    m_next->setText(text);
}

void COndWizSheet::PressNext() {
    COndWizPage* page = GetActivePage();
    if (!page || m_next->isHidden() || !m_next->isEnabled()) {
        return;
    }
    ondrelo::CModuleResourceScope scope(m_module);
    if (!page->OnWizardNext()) {
        return;
    }
    for (int i = m_active + 1; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<std::size_t>(i)]->IsEnabled()) {
            SetActivePage(i);
            return;
        }
    }
}

void COndWizSheet::PressBack() {
    COndWizPage* page = GetActivePage();
    if (!page || !m_back->isEnabled()) {
        return;
    }
    ondrelo::CModuleResourceScope scope(m_module);
    if (!page->OnWizardBack()) {
        return;
    }
    for (int i = m_active - 1; i >= 0; --i) {
        if (m_pages[static_cast<std::size_t>(i)]->IsEnabled()) {
            SetActivePage(i);
            return;
        }
    }
}

void COndWizSheet::PressFinish() {
    COndWizPage* page = GetActivePage();
    if (!page || m_finish->isHidden() || !m_finish->isEnabled()) {
        return;
    }
    ondrelo::CModuleResourceScope scope(m_module);
    page->OnWizardFinish();
}

void COndWizSheet::PressPageButton(int index) {
    if (index + ID_PAGE_BUTTON_FIRST > ID_PAGE_BUTTON_LAST) {
        return;
    }
    COndWizPage* page = GetPage(index);
    // The first page's button is always enabled, so it always leads back,
    // even after the pages were cleared.
    if (!page || !page->IsCreated() || (index > 0 && !page->CanActivate())) {
        return;
    }
    SetActivePage(index);
}

void COndWizSheet::ClearAllPages() {
    ondrelo::CModuleResourceScope scope(m_module);
    for (COndWizPage* page : m_pages) {
        page->ClearData();
    }
    EnablePageButtons();
}

bool COndWizSheet::IsDialogMessageA(MSG* msg) {
    COndWizPage* page = GetActivePage();
    if (!page) {
        return false;
    }
    ondrelo::CModuleResourceScope scope(m_module);
    return page->IsDialogMessageA(msg);
}
