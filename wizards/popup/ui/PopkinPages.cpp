#include "PopkinPages.h"


#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>

#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"

namespace popkin {

using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeCaptioned;
using ondrelo::MakeControl;
using ondrelo::MakeLabel;
using ondrelo::ToQt;

const ondrelo::SModuleResources& PopkinResources() {
    static const ondrelo::SModuleResources resources{"Popkin", nullptr, ":/Popkin"};
    return resources;
}

namespace {

// Every page has its help pane down the left side; its controls stand to
// the right of it.
QRect HelpRect() {
    return DialogRect(4, 4, 112, 160);
}

QPixmap Picture(int id) {
    const QString path = ondrelo::FindQtResource(&PopkinResources(),
                                                 QStringLiteral("bitmaps/%1.png").arg(id));
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

// A one-line caption beside a control.
QLabel* Caption(QWidget* parent, const char* text, const QRect& rect) {
    QLabel* label = MakeLabel(parent, 0, ToQt(text), rect);
    label->setWordWrap(false);
    return label;
}

void PlaceHelp(COndWizPage* page, unsigned htmlId) {
    MakeControl<QFrame>(page, IDC_HELP_PANE, HelpRect());
    page->InitBrowserWnd(IDC_HELP_PANE, htmlId);
}

// The small window of the preview: dragged with the mouse, sized with its
// right and bottom border.
class CPreviewPopup : public QFrame {
public:
    explicit CPreviewPopup(CScreenPreview* preview)
        : QFrame(preview), m_preview(preview) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(kBorder);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const QPixmap picture = Picture(209);
        if (!picture.isNull()) {
            p.drawPixmap(contentsRect(), picture);
        }
        p.end();
        QFrame::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        m_mode = EdgeAt(event->position().toPoint());
        if (m_mode == 0) {
            m_mode = kMove;
        }
        m_start = event->globalPosition().toPoint();
        m_startGeometry = geometry();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_mode == 0) {
            const int edge = EdgeAt(event->position().toPoint());
            setCursor(edge == (kRight | kBottom) ? Qt::SizeFDiagCursor
                      : edge == kRight           ? Qt::SizeHorCursor
                      : edge == kBottom          ? Qt::SizeVerCursor
                                                 : Qt::ArrowCursor);
            return;
        }
        const QPoint delta = event->globalPosition().toPoint() - m_start;
        if (m_mode == kMove) {
            const QPoint to = m_startGeometry.topLeft() + delta;
            move(to);
            if (m_preview->onMoved) {
                m_preview->onMoved(to.x(), to.y());
            }
            return;
        }
        QSize size = m_startGeometry.size();
        if (m_mode & kRight) {
            size.setWidth(std::max(kBorder * 2 + 2, size.width() + delta.x()));
        }
        if (m_mode & kBottom) {
            size.setHeight(std::max(kBorder * 2 + 2, size.height() + delta.y()));
        }
        resize(size);
        if (m_preview->onResized) {
            m_preview->onResized(size.width(), size.height());
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_mode = 0; }

private:
    static constexpr int kBorder = 2;
    static constexpr int kGrip = 4;
    static constexpr int kRight = 1, kBottom = 2, kMove = 4;

    int EdgeAt(const QPoint& at) const {
        int edge = 0;
        if (at.x() >= width() - kGrip) {
            edge |= kRight;
        }
        if (at.y() >= height() - kGrip) {
            edge |= kBottom;
        }
        return edge;
    }

    CScreenPreview* m_preview;
    int m_mode = 0;
    QPoint m_start;
    QRect m_startGeometry;
};

}  // namespace

// ---- shared --------------------------------------------------------------------

void CPopupInputPage::AddHelpPane(unsigned htmlId) {
    PlaceHelp(this, htmlId);
}

bool CPopupInputPage::RejectField(QLineEdit* field, int min, int max, bool report) {
    if (report) {
        CCommon::ShowMessageBox(NumberFieldMessage(min, max), ondrelo::ToHwnd(this),
                                MB_OK | MB_ICONWARNING);
        field->setFocus();
        field->selectAll();
    }
    return false;
}

// ---- Introduction ----------------------------------------------------------------

CPopupIntroductionPage::CPopupIntroductionPage() : COndWizPage(266) {
    SetPageType(PAGE_FIRST);
}

bool CPopupIntroductionPage::OnInitDialog() {
    // The introduction is all help pane.
    MakeControl<QFrame>(this, IDC_HELP_PANE, DialogRect(4, 4, 320, 160));
    InitBrowserWnd(IDC_HELP_PANE, IDH_INTRODUCTION);
    return COndWizPage::OnInitDialog();
}

// ---- Position: screen preview -------------------------------------------------------

CScreenPreview::CScreenPreview(QWidget* parent) : QWidget(parent) {
    ondrelo::SetControlId(this, IDC_PREVIEW);
    m_popup = new CPreviewPopup(this);
}

void CScreenPreview::SetResolution(int index) {
    const SExtent size = PreviewSizeFor(index);
    resize(size.cx, size.cy);
    update();
}

void CScreenPreview::MovePopup(int x, int y) {
    m_popup->move(x, y);
}

void CScreenPreview::ResizePopup(int width, int height) {
    m_popup->resize(width, height);
}

void CScreenPreview::PlacePopup(const QRect& rect) {
    m_popup->setGeometry(rect);
    if (onResized) {
        onResized(rect.width(), rect.height());
    }
    if (onMoved) {
        onMoved(rect.x(), rect.y());
    }
}

void CScreenPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap screen = Picture(207);
    if (screen.isNull()) {
        p.fillRect(rect(), QColor(0x2c, 0x6e, 0x9c));
    } else {
        p.drawPixmap(rect(), screen);
    }
}

// ---- Position page -------------------------------------------------------------

CPopupPositionPage::CPopupPositionPage() : CPopupInputPage(204) {}

bool CPopupPositionPage::OnInitDialog() {
    AddHelpPane(IDH_POSITION);

    auto* placeholder = MakeControl<QFrame>(this, 0, DialogRect(122, 4, 124, 80));
    placeholder->hide();
    m_preview = new CScreenPreview(this);
    m_preview->move(placeholder->pos());
    m_preview->SetResolution(0);
    m_preview->show();

    // The preview is sized in pixels by the resolution; the controls under
    // it start below its largest size whatever the dialog font.
    const int lowest = placeholder->y() + PreviewSizeFor(kResolutionButtons - 1).cy + 8;
    const int shift = std::max(0, lowest - DialogRect(0, 88, 0, 0).y());
    auto below = [shift](int x, int y, int w, int h) { return DialogRect(x, y, w, h).translated(0, shift); };

    auto* group = MakeControl<QGroupBox>(this, IDC_RES_GROUP, below(122, 88, 200, 26));
    group->setTitle(QStringLiteral("Screen Resolution"));
    AddAnchor(group, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_LEFT);
    const char* captions[] = {"640 X 480", "800 X 600", "1024 X 768"};
    for (int i = 0; i < kResolutionButtons; ++i) {
        auto* radio = MakeCaptioned<QRadioButton>(this, IDC_RES_640 + i, ToQt(captions[i]),
                                                  below(128 + i * 62, 100, 60, 10));
        radio->setChecked(i == 0);
        QObject::connect(radio, &QRadioButton::clicked, this,
                         [this, i] { m_preview->SetResolution(i); });
    }

    struct Field {
        QLineEdit** edit;
        int id;
        const char* caption;
        int x, y;
    } fields[] = {{&m_left, IDC_LEFT, "Left:", 122, 120},
                  {&m_top, IDC_TOP, "Top:", 226, 120},
                  {&m_width, IDC_WIDTH, "Width:", 122, 136},
                  {&m_height, IDC_HEIGHT, "Height:", 226, 136}};
    for (const Field& f : fields) {
        Caption(this, f.caption, below(f.x, f.y + 2, 30, 8));
        *f.edit = MakeControl<QLineEdit>(this, f.id, below(f.x + 32, f.y, 56, 12));
        QLineEdit* edit = *f.edit;
        QObject::connect(edit, &QLineEdit::editingFinished, this, [this, edit] { OnEditDone(edit); });
    }
    m_center = MakeCaptioned<QCheckBox>(this, IDC_CENTER,
                                        QStringLiteral("Always display in the center of the screen"),
                                        below(122, 154, 200, 10));

    m_preview->onMoved = [this](int x, int y) {
        m_left->setText(QString::number(PreviewToScreen(x)));
        m_top->setText(QString::number(PreviewToScreen(y)));
    };
    m_preview->onResized = [this](int w, int h) {
        m_width->setText(QString::number(PreviewToScreen(w)));
        m_height->setText(QString::number(PreviewToScreen(h)));
    };
    m_preview->PlacePopup(QRect(QPoint(kInitialPopupLeft, kInitialPopupTop),
                                QPoint(kInitialPopupRight - 1, kInitialPopupBottom - 1)));
    return COndWizPage::OnInitDialog();
}

void CPopupPositionPage::OnEditDone(QLineEdit* edit) {
    const std::optional<int> value = EditToPreview(FromQt(edit->text()));
    if (!value) {
        return;  // a negative position or size leaves the small window as it is
    }
    QWidget* popup = m_preview->PopupWindow();
    if (edit == m_left) {
        m_preview->MovePopup(*value, popup->y());
    } else if (edit == m_top) {
        m_preview->MovePopup(popup->x(), *value);
    } else if (edit == m_width) {
        m_preview->ResizePopup(*value, popup->height());
    } else {
        m_preview->ResizePopup(popup->width(), *value);
    }
}

bool CPopupPositionPage::KillActive(bool report) {
    if (!IsCreated()) {
        return true;
    }
    // Each field is read in turn; what could be read reaches the generator
    // even when a later field keeps the user on the page.
    struct Field {
        QLineEdit* edit;
        int* value;
        int min, max;
    } fields[] = {{m_left, &m_nLeft, kPositionMin, kPositionMax},
                  {m_top, &m_nTop, kPositionMin, kPositionMax},
                  {m_width, &m_nWidth, kSizeMin, kSizeMax},
                  {m_height, &m_nHeight, kSizeMin, kSizeMax}};
    const Field* rejected = nullptr;
    for (const Field& f : fields) {
        const std::optional<int> value = ParseNumberField(FromQt(f.edit->text()), f.min, f.max);
        if (!value) {
            rejected = &f;
            break;
        }
        *f.value = *value;
    }
    if (m_pGen) {
        m_pGen->SetPosition(m_center->isChecked() ? 1 : 0, m_nLeft, m_nTop, m_nWidth, m_nHeight);
    }
    if (rejected) {
        return RejectField(rejected->edit, rejected->min, rejected->max, report);
    }
    return true;
}

// ---- Features page ---------------------------------------------------------------

CSampleWindow::CSampleWindow(QWidget* parent) : QWidget(parent) {
    ondrelo::SetControlId(this, IDC_SAMPLE);
}

void CSampleWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const SSampleFeatures f = features ? features() : SSampleFeatures{};
    auto size = [](int picture) {
        const QPixmap pixmap = Picture(picture);
        return SExtent{pixmap.width(), pixmap.height()};
    };
    for (const SSampleDraw& draw : LayoutFeatureSample(f, size)) {
        if (draw.picture == kPicResizeCursor) {
            // A horizontal double arrow, as the resize cursor looks.
            QPainterPath arrow;
            const qreal x = draw.x, y = draw.y + 5;
            arrow.moveTo(x, y);
            arrow.lineTo(x + 5, y - 5);
            arrow.lineTo(x + 5, y - 2);
            arrow.lineTo(x + 13, y - 2);
            arrow.lineTo(x + 13, y - 5);
            arrow.lineTo(x + 18, y);
            arrow.lineTo(x + 13, y + 5);
            arrow.lineTo(x + 13, y + 2);
            arrow.lineTo(x + 5, y + 2);
            arrow.lineTo(x + 5, y + 5);
            arrow.closeSubpath();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::white, 1));
            p.setBrush(Qt::black);
            p.drawPath(arrow);
            p.setRenderHint(QPainter::Antialiasing, false);
            continue;
        }
        p.drawPixmap(draw.x, draw.y, Picture(draw.picture));
    }
}

CPopupFeaturesPage::CPopupFeaturesPage() : CPopupInputPage(211) {}

bool CPopupFeaturesPage::OnInitDialog() {
    AddHelpPane(IDH_FEATURES);
    struct Box {
        int id;
        const char* caption;
        int row;
    } boxes[] = {{IDC_LOCATION, "Location box", 0}, {IDC_SCROLLBARS, "Scrollbars", 4},
                 {IDC_MENUBAR, "Menu bar", 1},      {IDC_TOOLBAR, "Toolbar", 2},
                 {IDC_STATUS, "Status bar", 5},     {IDC_RESIZABLE, "Resizable", 6},
                 {IDC_DIRECTORIES, "Directories", 3}};
    for (int i = 0; i < 7; ++i) {
        m_boxes[i] = MakeCaptioned<QCheckBox>(this, boxes[i].id, ToQt(boxes[i].caption),
                                              DialogRect(122, 8 + boxes[i].row * 14, 70, 10));
        QObject::connect(m_boxes[i], &QCheckBox::clicked, this, [this] { m_sample->update(); });
    }
    m_sample = new CSampleWindow(this);
    // At least as large as the tallest sample, whatever the dialog font.
    QRect area = DialogRect(198, 4, 126, 160);
    area.setWidth(std::max(area.width(), Picture(kPicLowerEdge).width()));
    area.setHeight(std::max(area.height(), 240));
    m_sample->setGeometry(area);
    m_sample->features = [this] { return Features(); };
    return COndWizPage::OnInitDialog();
}

SSampleFeatures CPopupFeaturesPage::Features() const {
    auto on = [this](int i) { return m_boxes[i] && m_boxes[i]->isChecked(); };
    return {on(0), on(1), on(2), on(3), on(4), on(5), on(6)};
}

bool CPopupFeaturesPage::OnSetActive() {
    if (!COndWizPage::OnSetActive()) {
        return false;
    }
    if (GetSheet()) {
        GetSheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    }
    return true;
}

bool CPopupFeaturesPage::KillActive(bool) {
    if (!IsCreated()) {
        return true;
    }
    auto v = [this](int i) { return m_boxes[i]->isChecked() ? 1 : 0; };
    if (m_pGen) {
        m_pGen->SetFeatures(v(0), v(1), v(2), v(3), v(4), v(5), v(6));
    }
    return true;
}

// ---- Content page ---------------------------------------------------------------

CPopupContentPage::CPopupContentPage() : CPopupInputPage(258) {}

bool CPopupContentPage::OnInitDialog() {
    AddHelpPane(IDH_CONTENT);
    m_useUrl = MakeCaptioned<QRadioButton>(this, IDC_USE_URL,
                                           QStringLiteral("Use the following URL for the popup"),
                                           DialogRect(122, 6, 200, 10));
    m_urlCaption = MakeLabel(this, IDC_URL_CAPTION, QStringLiteral("URL"), DialogRect(132, 22, 20, 8));
    m_url = MakeControl<QLineEdit>(this, IDC_URL, DialogRect(154, 20, 132, 12));
    m_url->setMaxLength(kMaxUrlLength);
    m_pasteUrl = ondrelo::MakeOndButton(this, IDC_PASTE_URL, QStringLiteral("&Paste"),
                                        DialogRect(290, 19, 34, 14));

    m_useHtml = MakeCaptioned<QRadioButton>(
        this, IDC_USE_HTML, QStringLiteral("Use the following HTML as the content of the Popup"),
        DialogRect(122, 42, 200, 10));
    m_htmlCaption =
        MakeLabel(this, IDC_HTML_CAPTION, QStringLiteral("HTML"), DialogRect(132, 58, 20, 8));
    m_html = MakeControl<QPlainTextEdit>(this, IDC_HTML, DialogRect(132, 68, 154, 96));
    m_pasteHtml = ondrelo::MakeOndButton(this, IDC_PASTE_HTML, QStringLiteral("P&aste"),
                                         DialogRect(290, 68, 34, 14));
    AddAnchor(m_html, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);

    m_useUrl->setChecked(true);
    QObject::connect(m_useUrl, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    QObject::connect(m_pasteUrl, &QAbstractButton::clicked, m_url, &QLineEdit::paste);
    QObject::connect(m_pasteHtml, &QAbstractButton::clicked, m_html, &QPlainTextEdit::paste);
    // The HTML box holds at most so many characters, like the URL box.
    QObject::connect(m_html, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_html->toPlainText();
        if (text.size() > kMaxHtmlLength) {
            m_html->setPlainText(text.left(kMaxHtmlLength));
            m_html->moveCursor(QTextCursor::End);
        }
    });
    UpdateControls();
    return COndWizPage::OnInitDialog();
}

void CPopupContentPage::UpdateControls() {
    const bool url = m_useUrl->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_url), static_cast<QWidget*>(m_urlCaption),
                       static_cast<QWidget*>(m_pasteUrl)}) {
        w->setEnabled(url);
    }
    for (QWidget* w : {static_cast<QWidget*>(m_html), static_cast<QWidget*>(m_htmlCaption),
                       static_cast<QWidget*>(m_pasteHtml)}) {
        w->setEnabled(!url);
    }
}

bool CPopupContentPage::KillActive(bool) {
    if (!IsCreated()) {
        return true;
    }
    // The edit box's lines end in CR LF, as the generator expects them.
    std::string html = FromQt(m_html->toPlainText());
    std::string crlf;
    crlf.reserve(html.size() + html.size() / 16);
    for (char c : html) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    if (m_pGen) {
        m_pGen->SetContent(m_useUrl->isChecked() ? 1 : 0, FromQt(m_url->text()), crlf);
    }
    return true;
}

// ---- Invocation page ------------------------------------------------------------

CPopupInvocationPage::CPopupInvocationPage() : CPopupInputPage(259) {
    SetPageType(PAGE_FINISH);
}

bool CPopupInvocationPage::OnInitDialog() {
    AddHelpPane(IDH_INVOCATION);
    const char* kinds[] = {"Open the Popup on clicking a button", "Open the Popup on clicking a Link",
                           "Open automatically on Page Entry", "Open automatically on Page Exit"};
    const int rows[] = {4, 32, 60, 72};
    for (int i = 0; i < 4; ++i) {
        m_kinds[i] = MakeCaptioned<QRadioButton>(this, IDC_ON_BUTTON + i, ToQt(kinds[i]),
                                                 DialogRect(122, rows[i], 200, 10));
        QObject::connect(m_kinds[i], &QRadioButton::toggled, this, [this] { UpdateControls(); });
    }
    m_buttonCaption = Caption(this, "Label of the Button:", DialogRect(134, 18, 80, 8));
    m_buttonLabel = MakeControl<QLineEdit>(this, IDC_BUTTON_LABEL, DialogRect(216, 16, 108, 12));
    m_linkCaption = Caption(this, "Label of the Link:", DialogRect(134, 46, 80, 8));
    m_linkLabel = MakeControl<QLineEdit>(this, IDC_LINK_LABEL, DialogRect(216, 44, 108, 12));

    m_popUnder = MakeCaptioned<QCheckBox>(this, IDC_POPUNDER, QStringLiteral("Pop Under "),
                                          DialogRect(134, 88, 120, 10));
    m_once = MakeCaptioned<QCheckBox>(this, IDC_ONCE, QStringLiteral("Show only Once for a visitor"),
                                      DialogRect(134, 102, 160, 10));
    m_reappearCaption = Caption(this, "Reappear only after:", DialogRect(134, 120, 80, 8));
    m_days = MakeControl<QLineEdit>(this, IDC_DAYS, DialogRect(216, 118, 34, 12));
    m_daysCaption = Caption(this, "Day(s)", DialogRect(254, 120, 40, 8));
    m_delayCaption = Caption(this, "Display after:", DialogRect(134, 138, 80, 8));
    m_seconds = MakeControl<QLineEdit>(this, IDC_SECONDS, DialogRect(216, 136, 34, 12));
    m_secondsCaption = Caption(this, "Second(s)", DialogRect(254, 138, 40, 8));
    m_days->setText(QStringLiteral("0"));
    m_seconds->setText(QStringLiteral("0"));

    QObject::connect(m_once, &QCheckBox::clicked, this, [this] { UpdateControls(); });
    m_kinds[kInvokePageEntry]->setChecked(true);
    UpdateControls();
    return COndWizPage::OnInitDialog();
}

int CPopupInvocationPage::Kind() const {
    for (int i = 0; i < 4; ++i) {
        if (m_kinds[i] && m_kinds[i]->isChecked()) {
            return i;
        }
    }
    return kInvokePageEntry;
}

void CPopupInvocationPage::UpdateControls() {
    const SInvocationEnabling e = InvocationEnabling(Kind(), m_once->isChecked());
    m_buttonLabel->setEnabled(e.buttonLabel);
    m_buttonCaption->setEnabled(e.buttonLabel);
    m_linkLabel->setEnabled(e.linkLabel);
    m_linkCaption->setEnabled(e.linkLabel);
    for (QWidget* w : {static_cast<QWidget*>(m_once), static_cast<QWidget*>(m_popUnder),
                       static_cast<QWidget*>(m_delayCaption), static_cast<QWidget*>(m_seconds),
                       static_cast<QWidget*>(m_secondsCaption)}) {
        w->setEnabled(e.automaticOptions);
    }
    for (QWidget* w : {static_cast<QWidget*>(m_reappearCaption), static_cast<QWidget*>(m_days),
                       static_cast<QWidget*>(m_daysCaption)}) {
        w->setEnabled(e.reappear);
    }
}

bool CPopupInvocationPage::KillActive(bool report) {
    if (!IsCreated()) {
        return true;
    }
    const int kind = Kind();
    if (m_pGen) {
        m_pGen->SetInvocation(kind, InvocationLabel(kind, FromQt(m_buttonLabel->text()),
                                                    FromQt(m_linkLabel->text())));
    }
    // The options go on only when both numbers are readable; disabled
    // controls still count, so options set for an automatic kind stay.
    const std::optional<int> days = ParseNumberField(FromQt(m_days->text()));
    if (!days) {
        return RejectField(m_days, kIntMin, kIntMax, report);
    }
    const std::optional<int> seconds = ParseNumberField(FromQt(m_seconds->text()));
    if (!seconds) {
        return RejectField(m_seconds, kIntMin, kIntMax, report);
    }
    if (m_pGen) {
        m_pGen->SetOptions(m_popUnder->isChecked() ? 1 : 0, m_once->isChecked() ? 1 : 0, *days,
                           *seconds);
    }
    return true;
}

// ---- Code page -------------------------------------------------------------------

CPageTakeCode::CPageTakeCode(CPopupCodeGen* generator)
    : COndWizPage(106), m_pGen(generator), m_pCIW(new CCIWImpl(this)) {
    SetPageType(PAGE_CODE);
}

CPageTakeCode::~CPageTakeCode() {
    delete m_pCIW;
}

bool CPageTakeCode::OnInitDialog() {
    PlaceHelp(this, IDH_CODE);
    auto* place = MakeControl<QFrame>(this, IDC_CODE_PLACE, DialogRect(120, 0, 206, 166));
    AddAnchor(place, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_pCIW->Create(place, this);
    m_pCIW->SetStaticInfo("Comment Code Sub",
                          "Copy and Paste the following code just after the </HEAD> tag of your "
                          "HTML page",
                          "", "", "Popup");
    SetPageType(PAGE_CODE);
    return COndWizPage::OnInitDialog();
}

bool CPageTakeCode::OnSetActive() {
    if (auto* sheet = dynamic_cast<CPopkinSheet*>(GetSheet())) {
        sheet->StoreShownPages();
    }
    std::string script, calling, instruction, warnings;
    m_pGen->GetCode(script, calling, instruction, warnings);
    m_pCIW->SetSubCodeComment(instruction);
    std::string placeholder, objectName, scriptFile;
    m_pGen->GetInsertInfo(placeholder, objectName, scriptFile);
    m_pCIW->SetReplaceCode(placeholder);
    m_pCIW->SetObjectName(objectName);
    m_pCIW->SetMainScript(scriptFile);
    m_pCIW->SetCode(calling, script, warnings);
    m_pCIW->Activate();
    return COndWizPage::OnSetActive();
}

bool CPageTakeCode::IsDialogMessageA(MSG* msg) {
    if (m_pCIW->IsDialogMessage(msg)) {
        return true;
    }
    return COndWizPage::IsDialogMessageA(msg);
}

int CPageTakeCode::InsertCode(const std::string& pagePath, const std::string& /*scriptCopyPath*/,
                              bool createFile, bool placeAfterBody) {
    // The popup's script names "cookies.js" in the page's own folder, so the
    // copy's path is not needed here.
    return m_pGen->InsertCode(pagePath, createFile ? 1 : 0, placeAfterBody ? 1 : 0);
}

// ---- Sheet -------------------------------------------------------------------------

CPopkinSheet::CPopkinSheet()
    : m_intro(new CPopupIntroductionPage),
      m_position(new CPopupPositionPage),
      m_features(new CPopupFeaturesPage),
      m_content(new CPopupContentPage),
      m_invocation(new CPopupInvocationPage),
      m_code(new CPageTakeCode(&m_gen)) {}

CPopkinSheet::~CPopkinSheet() = default;

void CPopkinSheet::AddPages() {
    AddPage(m_intro);
    AddPage(m_position);
    AddPage(m_features);
    AddPage(m_content);
    AddPage(m_invocation);
    AddPage(m_code);
    m_position->SetGenerator(&m_gen);
    m_features->SetGenerator(&m_gen);
    m_content->SetGenerator(&m_gen);
    m_invocation->SetGenerator(&m_gen);
}

void CPopkinSheet::StoreShownPages() {
    for (CPopupInputPage* page :
         {static_cast<CPopupInputPage*>(m_position), static_cast<CPopupInputPage*>(m_features),
          static_cast<CPopupInputPage*>(m_content), static_cast<CPopupInputPage*>(m_invocation)}) {
        page->KillActive(false);
    }
}

bool CPopkinSheet::IsDialogMessageA(MSG* msg) {
    if (COndWizPage* page = GetActivePage()) {
        if (page->IsDialogMessageA(msg)) {
            return true;
        }
    }
    return COndWizSheet::IsDialogMessageA(msg);
}

}  // namespace popkin
