// The link editor's sheet and pages.
#include <QDesktopServices>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

#include "LinkGrid.h"
#include "SmallsetPages.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtWindow.h"

namespace smallset {

using ondrelo::ANCHOR_BOTTOM_LEFT;
using ondrelo::ANCHOR_BOTTOM_RIGHT;
using ondrelo::ANCHOR_TOP_LEFT;
using ondrelo::ANCHOR_TOP_RIGHT;
using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::ToQt;

namespace {

void AddHelp(COndWizPage* page, unsigned html) {
    auto* placeholder = ondrelo::MakeControl<QFrame>(page, IDC_HELP, DialogRect(222, 4, 104, 168));
    page->AddAnchor(placeholder, ANCHOR_TOP_RIGHT, ANCHOR_BOTTOM_RIGHT);
    page->InitBrowserWnd(IDC_HELP, html);
    if (QWidget* pane = static_cast<QWidget*>(page->GetHelpPane())) {
        page->AddAnchor(pane, ANCHOR_TOP_RIGHT, ANCHOR_BOTTOM_RIGHT);
    }
}

// The path box as the shared file dialog fills it.
class CLineField : public ondrelo::ITextField {
public:
    explicit CLineField(QLineEdit* box) : m_box(box) {}
    void SetText(const std::string& text) override { m_box->setText(ToQt(text)); }

private:
    QLineEdit* m_box;
};

}  // namespace

// ---- File ------------------------------------------------------------------------

CAffLinkPageSelectFile::CAffLinkPageSelectFile(CAffLinkList& list, CAffLinkScanner& scanner)
    : COndWizPage(311), m_list(list), m_scanner(scanner) {
    SetPageType(PAGE_FIRST);
}

bool CAffLinkPageSelectFile::OnInitDialog() {
    auto* group = ondrelo::MakeControl<QGroupBox>(this, 214, DialogRect(4, 2, 214, 48));
    group->setTitle(QStringLiteral("Select the HTML Page"));
    m_path = ondrelo::MakeControl<QLineEdit>(this, IDC_AFF_PATH, DialogRect(10, 20, 140, 14));
    auto* browse = ondrelo::MakeOndButton(this, IDC_AFF_BROWSE, QStringLiteral("&Browse ..."),
                                          DialogRect(156, 20, 56, 14));
    QObject::connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    AddAnchor(group, ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
    AddAnchor(m_path, ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
    AddAnchor(browse, ANCHOR_TOP_RIGHT);
    AddHelp(this, IDH_AFF_FILE);
    return COndWizPage::OnInitDialog();
}

void CAffLinkPageSelectFile::Browse() {
    std::string path;
    CLineField field(m_path);
    if (CCommon::ShowOpenHtmlFile(path, &field)) {
        OpenAndScan(m_scanner, m_list, path);
    }
}

bool CAffLinkPageSelectFile::OnWizardNext() {
    if (!OpenAndScan(m_scanner, m_list, m_path ? FromQt(m_path->text()) : std::string())) {
        return false;
    }
    return COndWizPage::OnWizardNext();
}

void CAffLinkPageSelectFile::ClearData() {
    if (m_path) {
        m_path->clear();
    }
    COndWizPage::ClearData();
}

// ---- Links -----------------------------------------------------------------------

CAfflinkPageEditLinks::CAfflinkPageEditLinks(CAffLinkList& list, CLinkTable& table)
    : COndWizPage(312), m_list(list), m_table(table) {
    SetPageType(PAGE_INNER);
}

CAfflinkPageEditLinks::~CAfflinkPageEditLinks() = default;

bool CAfflinkPageEditLinks::OnInitDialog() {
    auto* group = ondrelo::MakeControl<QGroupBox>(this, 213, DialogRect(4, 2, 214, 170));
    group->setTitle(QStringLiteral("Edit the Links"));
    m_group = std::make_unique<CLinkTableGroup>(
        this, m_table, CLinkTableGroup::SIds{IDC_AFF_TABLE, IDC_AFF_TEXT, IDC_AFF_UPDATE, 0},
        kAffTarget, true);
    m_group->Place(DialogRect(10, 14, 202, 134), DialogRect(10, 152, 140, 14),
                   DialogRect(156, 152, 56, 14));
    AddAnchor(group, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->Grid(), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->TextBox(), ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->UpdateButton(), ANCHOR_BOTTOM_RIGHT);
    AddHelp(this, IDH_AFF_LINKS);
    return COndWizPage::OnInitDialog();
}

bool CAfflinkPageEditLinks::OnSetActive() {
    if (m_list.IsChanged()) {
        if (m_group) {
            m_group->Grid()->CancelEditor();
        }
        AffLinkListToTable(m_list, m_table);
    }
    if (m_group) {
        m_group->Grid()->Refresh();
    }
    return COndWizPage::OnSetActive();
}

void CAfflinkPageEditLinks::StoreLinks() {
    if (m_group) {
        m_group->Commit();
    }
    TableToAffLinkList(m_table, m_list);
}

bool CAfflinkPageEditLinks::OnWizardNext() {
    StoreLinks();
    return COndWizPage::OnWizardNext();
}

void CAfflinkPageEditLinks::ClearData() {
    if (m_group) {
        m_group->Grid()->CancelEditor();
    }
    m_table.Clear();
    if (m_group) {
        m_group->Grid()->Refresh();
    }
    COndWizPage::ClearData();
}

// ---- Save ------------------------------------------------------------------------

CAffLinkTakeCodePage::CAffLinkTakeCodePage(CAffLinkCodeGen& gen, CAffLinkScanner& scanner,
                                           CAfflinkPageEditLinks& links)
    : COndWizPage(313), m_gen(gen), m_scanner(scanner), m_links(links) {
    SetPageType(PAGE_CODE);
}

bool CAffLinkTakeCodePage::OnInitDialog() {
    auto* group = ondrelo::MakeControl<QGroupBox>(this, 214, DialogRect(4, 2, 214, 70));
    group->setTitle(QStringLiteral("Make Changes"));
    ondrelo::MakeLabel(this, 220, QStringLiteral("File:"), DialogRect(10, 20, 24, 10));
    m_file = ondrelo::MakeReadOnlyField(this, IDC_AFF_PATH, DialogRect(36, 18, 176, 14));
    auto* modify = ondrelo::MakeOndButton(this, IDC_AFF_MODIFY, QStringLiteral("&Modify File"),
                                          DialogRect(36, 44, 80, 16));
    auto* open = ondrelo::MakeOndButton(this, IDC_AFF_OPEN, QStringLiteral("&Open In Browser"),
                                        DialogRect(122, 44, 90, 16));
    QObject::connect(modify, &QPushButton::clicked, this, [this] { Modify(); });
    QObject::connect(open, &QPushButton::clicked, this, [this] { OpenInBrowser(); });
    AddAnchor(group, ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
    AddAnchor(m_file, ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
    AddHelp(this, IDH_AFF_SAVE);
    return COndWizPage::OnInitDialog();
}

bool CAffLinkTakeCodePage::OnSetActive() {
    // The links page may have been left by a step button, without Next.
    m_links.StoreLinks();
    if (m_file) {
        m_file->setText(ToQt(m_scanner.GetFilePath()));
    }
    return COndWizPage::OnSetActive();
}

void CAffLinkTakeCodePage::Modify() {
    m_gen.ModifyFileReported();
}

void CAffLinkTakeCodePage::OpenInBrowser() {
    const std::string path = m_scanner.GetFilePath();
    if (!path.empty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(ToQt(path)));
    }
}

// ---- Sheet -----------------------------------------------------------------------

CAffLinkSheet::CAffLinkSheet() : m_table(MakeAffLinkTable()) {
    m_list = std::make_unique<CAffLinkList>();
    m_scanner = std::make_unique<CAffLinkScanner>();
    m_gen = std::make_unique<CAffLinkCodeGen>(*m_list, *m_scanner);
    m_filePage = new CAffLinkPageSelectFile(*m_list, *m_scanner);
    m_linkPage = new CAfflinkPageEditLinks(*m_list, m_table);
    m_lastPage = new CAffLinkTakeCodePage(*m_gen, *m_scanner, *m_linkPage);
    ++LiveSheetCounter();
}

CAffLinkSheet::~CAffLinkSheet() {
    delete m_lastPage;
    delete m_linkPage;
    delete m_filePage;
    --LiveSheetCounter();
}

void CAffLinkSheet::AddPages() {
    AddPage(m_filePage);
    AddPage(m_linkPage);
    AddPage(m_lastPage);
}

}  // namespace smallset
