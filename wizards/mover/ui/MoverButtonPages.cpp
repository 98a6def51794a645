#include "MoverButtonPages.h"


#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "hoverkit/HoverkitResources.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtWindow.h"

// The help pages are linked in from a static library: register them explicitly.
static void InitHoverkitResources() {
    Q_INIT_RESOURCE(hoverkit);
}

using namespace hoverkit;

using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeControl;
using ondrelo::ToQt;

// ---- Test area -------------------------------------------------------------

CImageTestAreaWnd::CImageTestAreaWnd(QWidget* parent) : QWidget(parent), m_area(this) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CImageTestAreaWnd::Repaint() {
    update();
}

void CImageTestAreaWnd::CaptureMouse(bool) {
    // Qt keeps the pointer with the pressed widget by itself, and leaving
    // the area is seen through leaveEvent, so no explicit grab is needed.
}

void CImageTestAreaWnd::GetClientSize(int& width, int& height) const {
    width = this->width();
    height = this->height();
}

const QImage& CImageTestAreaWnd::ImageOf(int slot) {
    const SButtonImage& s = m_area.GetSlot(slot);
    const CImageFile* image = s.m_pImage.get();
    if (m_converted[slot] != image || m_convertedSize[slot][0] != image->GetWidth() ||
        m_convertedSize[slot][1] != image->GetHeight()) {
        QImage converted(image->GetWidth(), image->GetHeight(), QImage::Format_ARGB32);
        const std::vector<std::uint32_t> pixels = image->ToArgb32();
        for (int y = 0; y < image->GetHeight(); ++y)
            std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * image->GetWidth(),
                        image->GetWidth(), reinterpret_cast<std::uint32_t*>(converted.scanLine(y)));
        m_images[slot] = converted;
        m_converted[slot] = image;
        m_convertedSize[slot][0] = image->GetWidth();
        m_convertedSize[slot][1] = image->GetHeight();
    }
    return m_images[slot];
}

void CImageTestAreaWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const int slot = m_area.SlotToDraw();
    if (slot < 0)
        return;
    const SRect& r = m_area.GetSlot(slot).m_rcPlacement;
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    painter.drawImage(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), ImageOf(slot));
}

void CImageTestAreaWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    m_area.OnMouseMove(p.x(), p.y());
}

void CImageTestAreaWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_area.OnLeftButtonDown(p.x(), p.y());
    }
}

void CImageTestAreaWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_area.OnLeftButtonUp(p.x(), p.y());
    }
}

void CImageTestAreaWnd::leaveEvent(QEvent*) {
    m_area.OnMouseMove(-1, -1);
}

// ---- Introduction ------------------------------------------------------------

CMoverButtonPageOne::CMoverButtonPageOne() : COndWizPage(IDD_MOVER_PAGE_ONE) {
    SetPageType(PAGE_FIRST);
}

bool CMoverButtonPageOne::OnInitDialog() {
    auto* frame = MakeControl<QGroupBox>(this, -1, DialogRect(4, 2, 381, 26));
    AddAnchor(frame, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    m_create = ondrelo::MakeOndButton(this, IDC_CREATE_NEW_BUTTON,
                                      QStringLiteral("&Create New Button"),
                                      DialogRect(10, 8, 90, 15));
    m_create->setEnabled(false);
    connect(m_create, &QPushButton::clicked, this, [this] {
        if (m_callback)
            m_callback->CreateNewButton();
    });
    auto* help = MakeControl<QWidget>(this, IDC_HELP_PAGE_ONE, DialogRect(4, 32, 381, 196));
    InitBrowserWnd(IDC_HELP_PAGE_ONE, IDH_INTRODUCTION);
    (void)help;
    return COndWizPage::OnInitDialog();
}

bool CMoverButtonPageOne::OnWizardNext() {
    if (m_create)
        m_create->setEnabled(true);
    return true;
}

// ---- Edit Button -------------------------------------------------------------

CSelectImagesPage::CSelectImagesPage() : COndWizPage(IDD_SELECT_IMAGES) {
    SetPageType(PAGE_INNER);
}

bool CSelectImagesPage::OnInitDialog() {
    auto* images = MakeControl<QGroupBox>(this, -1, DialogRect(4, 2, 381, 64));
    images->setTitle(QStringLiteral("Image Files"));
    AddAnchor(images, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    const char* labels[] = {"Normal Image:", "Mouse Over Image:", "Mouse Click Image:"};
    const char* browse[] = {"&Browse ...", "B&rowse ...", "Br&owse ..."};
    for (int i = 0; i < kImageCount; ++i) {
        const int y = 14 + 17 * i;
        ondrelo::MakeLabel(this, -1, QString::fromUtf8(labels[i]), DialogRect(10, y + 2, 64, 9));
        m_path[i] = MakeControl<QLineEdit>(this, IDC_NORMAL_PATH + 2 * i, DialogRect(76, y, 160, 13));
        AddAnchor(m_path[i], ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
        auto* button = ondrelo::MakeOndButton(this, IDC_NORMAL_BROWSE + 2 * i,
                                              QString::fromUtf8(browse[i]),
                                              DialogRect(239, y, 46, 13));
        AddAnchor(button, ondrelo::ANCHOR_TOP_RIGHT);
        auto* wl = ondrelo::MakeLabel(this, -1, QStringLiteral("Width:"), DialogRect(290, y + 2, 24, 9));
        m_width[i] = MakeControl<QLineEdit>(this, IDC_NORMAL_WIDTH + 2 * i, DialogRect(314, y, 22, 13));
        auto* hl = ondrelo::MakeLabel(this, -1, QStringLiteral("Height:"), DialogRect(339, y + 2, 24, 9));
        m_height[i] = MakeControl<QLineEdit>(this, IDC_NORMAL_HEIGHT + 2 * i, DialogRect(361, y, 22, 13));
        for (QWidget* w : {static_cast<QWidget*>(wl), static_cast<QWidget*>(m_width[i]),
                           static_cast<QWidget*>(hl), static_cast<QWidget*>(m_height[i])})
            AddAnchor(w, ondrelo::ANCHOR_TOP_RIGHT);
        for (QLineEdit* box : {m_width[i], m_height[i]}) {
            box->setValidator(new QIntValidator(0, 99999, box));
            connect(box, &QLineEdit::editingFinished, this, [this, i] { OnSizeLeft(i); });
        }
        connect(m_path[i], &QLineEdit::editingFinished, this, [this, i] { OnPathLeft(i); });
        connect(button, &QPushButton::clicked, this, [this, i] { OnBrowse(i); });
    }

    auto* properties = MakeControl<QGroupBox>(this, -1, DialogRect(4, 68, 200, 60));
    properties->setTitle(QStringLiteral("Button Properties"));
    const char* propertyLabels[] = {"Target URL:", "Status Text:", "Alt. Text:"};
    QLineEdit** boxes[] = {&m_target, &m_status, &m_alt};
    for (int i = 0; i < 3; ++i) {
        const int y = 80 + 15 * i;
        ondrelo::MakeLabel(this, -1, QString::fromUtf8(propertyLabels[i]), DialogRect(10, y + 2, 46, 9));
        *boxes[i] = MakeControl<QLineEdit>(this, IDC_TARGET_URL + i, DialogRect(58, y, 140, 13));
        connect(*boxes[i], &QLineEdit::editingFinished, this, [this] { StoreControls(); });
    }
    m_message = ondrelo::MakeLabel(this, IDC_MESSAGE_LINE, QString(), DialogRect(4, 130, 200, 18));
    m_message->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* testGroup = MakeControl<QGroupBox>(this, -1, DialogRect(208, 68, 177, 80));
    testGroup->setTitle(QStringLiteral("Test Area"));
    AddAnchor(testGroup, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    m_testArea = new CImageTestAreaWnd(this);
    ondrelo::SetControlId(m_testArea, IDC_TEST_AREA);
    m_testArea->setGeometry(DialogRect(213, 78, 167, 65));
    AddAnchor(m_testArea, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);

    MakeControl<QWidget>(this, IDC_HELP_IMAGES, DialogRect(4, 152, 381, 76));
    InitBrowserWnd(IDC_HELP_IMAGES, IDH_EDIT_BUTTON);
    LoadControls();
    return COndWizPage::OnInitDialog();
}

void CSelectImagesPage::StoreControls() {
    if (!m_pInfo || !IsCreated())
        return;
    for (int i = 0; i < kImageCount; ++i) {
        m_pInfo->ImagePath(i) = FromQt(m_path[i]->text());
        m_pInfo->ImageWidth(i) = m_width[i]->text().toInt();
        m_pInfo->ImageHeight(i) = m_height[i]->text().toInt();
    }
    m_pInfo->m_strTargetURL = FromQt(m_target->text());
    m_pInfo->m_strStatusText = FromQt(m_status->text());
    m_pInfo->m_strAltText = FromQt(m_alt->text());
    m_pInfo->m_bChanged = 1;
}

void CSelectImagesPage::LoadControls() {
    if (!m_pInfo || !m_path[0])
        return;
    for (int i = 0; i < kImageCount; ++i) {
        m_path[i]->setText(ToQt(m_pInfo->ImagePath(i)));
        m_width[i]->setText(QString::number(m_pInfo->ImageWidth(i)));
        m_height[i]->setText(QString::number(m_pInfo->ImageHeight(i)));
    }
    m_target->setText(ToQt(m_pInfo->m_strTargetURL));
    m_status->setText(ToQt(m_pInfo->m_strStatusText));
    m_alt->setText(ToQt(m_pInfo->m_strAltText));
}

void CSelectImagesPage::ReloadSlot(int index) {
    std::string message = FromQt(m_message->text());
    hoverkit::ReloadSlot(*m_pInfo, m_testArea->Area(), index, message);
    m_message->setText(ToQt(message));
    LoadControls();
}

bool CSelectImagesPage::OnSetActive() {
    LoadControls();
    return COndWizPage::OnSetActive();
}

void CSelectImagesPage::OnBrowse(int index) {
    if (!m_pInfo)
        return;
    const std::string path = BrowseForImage(ondrelo::ToHwnd(this));
    if (path.empty())
        return;
    StoreControls();
    m_pInfo->ImagePath(index) = path;
    ReloadSlot(index);
}

void CSelectImagesPage::OnPathLeft(int index) {
    if (!m_pInfo)
        return;
    const std::string before = m_pInfo->ImagePath(index);
    StoreControls();
    const std::string& now = m_pInfo->ImagePath(index);
    const bool same = before.size() == now.size() &&
                      std::equal(before.begin(), before.end(), now.begin(), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
    if (!same)
        ReloadSlot(index);
}

void CSelectImagesPage::OnSizeLeft(int index) {
    if (!m_pInfo)
        return;
    StoreControls();
    m_testArea->Area().ResizeSlot(index, m_pInfo->ImageWidth(index), m_pInfo->ImageHeight(index));
    // A refused size leaves its reason on the message line.
    const SButtonImage& slot = m_testArea->Area().GetSlot(index);
    if (slot.m_pImage && (slot.m_nWidth != m_pInfo->ImageWidth(index) ||
                          slot.m_nHeight != m_pInfo->ImageHeight(index)))
        m_message->setText(ToQt(m_testArea->Area().GetLastError()));
}

bool CSelectImagesPage::OnWizardNext() {
    StoreControls();
    if (!m_pInfo)
        return false;
    std::string message;
    if (const int focus = CheckImagesPage(*m_pInfo, message)) {
        CCommon::ShowErrorMessage(message);
        if (QWidget* box = ondrelo::FindControl(this, focus))
            box->setFocus();
        return false;
    }
    return true;
}

void CSelectImagesPage::ClearData() {
    COndWizPage::ClearData();
    if (m_testArea)
        m_testArea->Area().ClearAll();
}

// ---- Take The Code -------------------------------------------------------------

CTakeTheCodePage::CTakeTheCodePage()
    : COndWizPage(IDD_TAKE_THE_CODE), m_pCIW(std::make_unique<CCIWImpl>(this)) {
    SetPageType(PAGE_CODE);
}

CTakeTheCodePage::~CTakeTheCodePage() = default;

bool CTakeTheCodePage::OnInitDialog() {
    auto* placeholder = MakeControl<QWidget>(this, IDC_CODE_PLACEHOLDER, DialogRect(4, 2, 381, 150));
    MakeControl<QWidget>(this, IDC_HELP_CODE, DialogRect(4, 156, 381, 72));
    InitBrowserWnd(IDC_HELP_CODE, IDH_TAKE_THE_CODE);
    m_pCIW->Create(placeholder, this);
    m_pCIW->SetStaticInfo(HoverkitString(IDS_SUB_CODE_INSTRUCTION),
                          HoverkitString(IDS_MAIN_CODE_INSTRUCTION), kScriptFileName, kPlaceholder,
                          kObjectName);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != static_cast<QWidget*>(GetHelpPane()) && child->geometry() == placeholder->geometry() &&
            child != placeholder)
            AddAnchor(child, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    }
    return COndWizPage::OnInitDialog();
}

bool CTakeTheCodePage::OnSetActive() {
    if (m_pGenerator) {
        m_pGenerator->UpdateModified();
        std::string code, inclusion, unused, warnings;
        m_pGenerator->GetCode(code, inclusion, unused, warnings);
        m_pCIW->SetCode(inclusion, code, warnings);
    }
    m_pCIW->Activate();
    return COndWizPage::OnSetActive();
}

void CTakeTheCodePage::ClearData() {
    COndWizPage::ClearData();
    m_pCIW->Reset();
    if (m_pGenerator)
        m_pGenerator->Reset();
}

int CTakeTheCodePage::InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                                 bool createFile, bool placeAfterBody) {
    if (!m_pGenerator)
        return 0;
    return m_pGenerator->Insert(scriptCopyPath, pagePath, createFile, placeAfterBody);
}

bool CTakeTheCodePage::IsDialogMessageA(MSG* msg) {
    return m_pCIW->IsDialogMessage(msg) || COndWizPage::IsDialogMessageA(msg);
}

// ---- Sheet ---------------------------------------------------------------------

CMoverButtonSheet::CMoverButtonSheet()
    : m_pageOne(new CMoverButtonPageOne), m_images(new CSelectImagesPage),
      m_code(new CTakeTheCodePage) {
    InitHoverkitResources();
    m_generator.SetButtonInfo(&m_info);
    SetModuleResources(&HoverkitResources());
}

CMoverButtonSheet::~CMoverButtonSheet() = default;

void CMoverButtonSheet::AddPages() {
    AddPage(m_pageOne);
    AddPage(m_images);
    AddPage(m_code);
    m_images->SetButtonInfo(&m_info);
    m_code->SetGenerator(&m_generator);
    m_pageOne->SetCallback(this);
}

bool CMoverButtonSheet::Create(HWND parent, const RECT& rect) {
    SetModuleResources(&HoverkitResources());
    return COndWizSheet::Create(parent, rect);
}

void CMoverButtonSheet::CreateNewButton() {
    m_images->ClearData();
    m_code->ClearData();
    m_info.Clear();
    EnablePageButtons();
    PressNext();
}
