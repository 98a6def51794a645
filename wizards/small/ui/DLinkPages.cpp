// The drop-down link list's sheet and pages.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>

#include "LinkGrid.h"
#include "SmallsetPages.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtWindow.h"
#include "smallset/SmallsetText.h"

namespace smallset {

using ondrelo::ANCHOR_BOTTOM_LEFT;
using ondrelo::ANCHOR_BOTTOM_RIGHT;
using ondrelo::ANCHOR_TOP_LEFT;
using ondrelo::ANCHOR_TOP_RIGHT;
using ondrelo::DialogRect;

namespace {

// A help pane at the placeholder with that number.
void AddHelpPane(COndWizPage* page, int id, const QRect& rect, unsigned html,
                 ondrelo::SAnchorPoint first, ondrelo::SAnchorPoint second) {
    auto* placeholder = ondrelo::MakeControl<QFrame>(page, id, rect);
    page->AddAnchor(placeholder, first, second);
    page->InitBrowserWnd(id, html);
    if (QWidget* pane = static_cast<QWidget*>(page->GetHelpPane())) {
        page->AddAnchor(pane, first, second);
    }
}

}  // namespace

int& LiveSheetCounter() {
    static int count = 0;
    return count;
}

int LiveSheetCount() {
    return LiveSheetCounter();
}

// ---- Introduction ----------------------------------------------------------------

CDLinkPageIntro::CDLinkPageIntro() : COndWizPage(301) {
    SetPageType(PAGE_FIRST);
}

bool CDLinkPageIntro::OnInitDialog() {
    AddHelpPane(this, IDC_HELP_WIDE, DialogRect(4, 4, 322, 166), IDH_DLINK_INTRO, ANCHOR_TOP_LEFT,
                ANCHOR_BOTTOM_RIGHT);
    return COndWizPage::OnInitDialog();
}

bool CDLinkPageIntro::OnSetActive() {
    CCommon::SetMessageTitle(kDLinkMessageTitle);
    return COndWizPage::OnSetActive();
}

// ---- Links -----------------------------------------------------------------------

CDLinkPageCreateCombo::CDLinkPageCreateCombo(CDLinkList& list, CLinkTable& table)
    : COndWizPage(302), m_list(list), m_table(table) {
    SetPageType(PAGE_INNER);
}

CDLinkPageCreateCombo::~CDLinkPageCreateCombo() = default;

bool CDLinkPageCreateCombo::OnInitDialog() {
    auto* group = ondrelo::MakeControl<QGroupBox>(this, 205, DialogRect(4, 2, 214, 170));
    group->setTitle(QStringLiteral("Edit Links"));
    m_group = std::make_unique<CLinkTableGroup>(
        this, m_table,
        CLinkTableGroup::SIds{IDC_DLINK_TABLE, IDC_DLINK_TEXT, IDC_DLINK_UPDATE, IDC_DLINK_TARGET},
        kDLinkTarget, false);
    m_group->Place(DialogRect(10, 14, 202, 114), DialogRect(10, 132, 140, 14),
                   DialogRect(156, 132, 56, 14));
    auto* add = ondrelo::MakeOndButton(this, IDC_DLINK_ADD, QStringLiteral("&Add Link"),
                                       DialogRect(10, 152, 64, 14));
    auto* remove = ondrelo::MakeOndButton(this, IDC_DLINK_REMOVE, QStringLiteral("&Remove Link"),
                                          DialogRect(80, 152, 64, 14));
    QObject::connect(add, &QPushButton::clicked, this, [this] {
        m_group->Commit();
        AddDLinkRow(m_table);
        m_group->Grid()->Refresh();
    });
    QObject::connect(remove, &QPushButton::clicked, this, [this] {
        m_group->Commit();
        if (RemoveDLinkRow(m_table)) {
            m_group->Grid()->Refresh();
        }
    });
    AddAnchor(group, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->Grid(), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->TextBox(), ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->DropDown(), ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM_RIGHT);
    AddAnchor(m_group->UpdateButton(), ANCHOR_BOTTOM_RIGHT);
    AddAnchor(add, ANCHOR_BOTTOM_LEFT);
    AddAnchor(remove, ANCHOR_BOTTOM_LEFT);
    AddHelpPane(this, IDC_HELP, DialogRect(222, 4, 104, 168), IDH_DLINK_LINKS, ANCHOR_TOP_RIGHT,
                ANCHOR_BOTTOM_RIGHT);
    return COndWizPage::OnInitDialog();
}

bool CDLinkPageCreateCombo::OnSetActive() {
    if (m_group) {
        m_group->Grid()->Refresh();
    }
    return COndWizPage::OnSetActive();
}

void CDLinkPageCreateCombo::StoreList() {
    if (m_group) {
        m_group->Commit();
    }
    TableToDLinkList(m_table, m_list);
}

bool CDLinkPageCreateCombo::OnWizardNext() {
    if (m_group) {
        m_group->Commit();
    }
    if (!DLinkTableHasLinks(m_table)) {
        return false;
    }
    StoreList();
    return COndWizPage::OnWizardNext();
}

bool CDLinkPageCreateCombo::OnWizardBack() {
    StoreList();
    return COndWizPage::OnWizardBack();
}

void CDLinkPageCreateCombo::ClearData() {
    if (m_group) {
        m_group->Grid()->CancelEditor();
    }
    m_table = MakeDLinkTable();
    m_list.RemoveAll();
    if (m_group) {
        m_group->Grid()->Refresh();
    }
    COndWizPage::ClearData();
}

// ---- Code ------------------------------------------------------------------------

CDLinkPageTakeCode::CDLinkPageTakeCode(CDLinkCodeGen& gen, CDLinkPageCreateCombo& links)
    : COndWizPage(303), m_gen(gen), m_links(links), m_ciw(new CCIWImpl(this)) {
    SetPageType(PAGE_CODE);
}

CDLinkPageTakeCode::~CDLinkPageTakeCode() {
    delete m_ciw;
}

bool CDLinkPageTakeCode::OnInitDialog() {
    auto* placeholder = ondrelo::MakeControl<QFrame>(this, IDC_DLINK_CODE, DialogRect(0, 0, 336, 150));
    AddAnchor(placeholder, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    m_ciw->Create(placeholder, this);
    m_ciw->SetStaticInfo(SmallsetString(IDS_DLINK_SUB_CODE_COMMENT),
                         SmallsetString(IDS_DLINK_MAIN_CODE_COMMENT), kDLinkScriptName,
                         kDLinkPlaceholder, kDLinkObjectName);
    AddHelpPane(this, IDC_HELP_WIDE, DialogRect(4, 152, 322, 20), IDH_DLINK_CODE,
                ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM_RIGHT);
    return COndWizPage::OnInitDialog();
}

bool CDLinkPageTakeCode::OnSetActive() {
    // The links page may have been left by a step button, without Next.
    m_links.StoreList();
    m_gen.SetModified(true);
    std::string code, line, third, warnings;
    m_gen.GetCode(code, line, third, warnings);
    m_ciw->SetCode(line, code, warnings);
    m_ciw->Activate();
    return COndWizPage::OnSetActive();
}

void CDLinkPageTakeCode::ClearData() {
    m_ciw->Reset();
    m_gen.GetScanner().Close();
    COndWizPage::ClearData();
}

int CDLinkPageTakeCode::InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                                   bool createFile, bool placeAfterBody) {
    return m_gen.Insert(pagePath, scriptCopyPath, createFile, placeAfterBody);
}

// ---- Sheet -----------------------------------------------------------------------

CDLinkSheet::CDLinkSheet() : m_table(MakeDLinkTable()) {
    ++LiveSheetCounter();
    m_list = std::make_unique<CDLinkList>();
    m_introPage = new CDLinkPageIntro;
    m_linkPage = new CDLinkPageCreateCombo(*m_list, m_table);
    m_gen = std::make_unique<CDLinkCodeGen>(*m_list);
    m_codePage = new CDLinkPageTakeCode(*m_gen, *m_linkPage);
}

CDLinkSheet::~CDLinkSheet() {
    // The pages go first: they hold on to the list, the table and the generator.
    delete m_codePage;
    delete m_linkPage;
    delete m_introPage;
    --LiveSheetCounter();
}

void CDLinkSheet::AddPages() {
    AddPage(m_introPage);
    AddPage(m_linkPage);
    AddPage(m_codePage);
}

}  // namespace smallset
