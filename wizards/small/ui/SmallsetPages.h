// The sheets and pages of the two small wizards: the drop-down link list
// (introduction, links, code) and the link editor (file, links, save).
#pragma once

#include <memory>
#include <string>

#include "bridgel/CIWImpl.h"
#include "ondrelo/OndWizSheet.h"
#include "smallset/AffLink.h"
#include "smallset/DLinkCodeGen.h"
#include "smallset/LinkTable.h"

class QLineEdit;

namespace smallset {

class CLinkTableGroup;

// Control numbers.
inline constexpr int IDC_DLINK_TABLE = 206;
inline constexpr int IDC_DLINK_ADD = 208;
inline constexpr int IDC_DLINK_REMOVE = 209;
inline constexpr int IDC_DLINK_TEXT = 210;
inline constexpr int IDC_DLINK_UPDATE = 211;
inline constexpr int IDC_DLINK_TARGET = 212;
inline constexpr int IDC_DLINK_CODE = 213;
inline constexpr int IDC_HELP = 222;
inline constexpr int IDC_HELP_WIDE = 223;
inline constexpr int IDC_AFF_TABLE = 214;
inline constexpr int IDC_AFF_PATH = 215;
inline constexpr int IDC_AFF_BROWSE = 216;
inline constexpr int IDC_AFF_TEXT = 217;
inline constexpr int IDC_AFF_UPDATE = 218;
inline constexpr int IDC_AFF_MODIFY = 219;
inline constexpr int IDC_AFF_OPEN = 221;

// Help pages.
inline constexpr unsigned IDH_AFF_FILE = 206;
inline constexpr unsigned IDH_AFF_LINKS = 207;
inline constexpr unsigned IDH_AFF_SAVE = 208;
inline constexpr unsigned IDH_DLINK_INTRO = 209;
inline constexpr unsigned IDH_DLINK_LINKS = 210;
inline constexpr unsigned IDH_DLINK_CODE = 211;

// Number of sheets alive, for the library's unloading check.
int LiveSheetCount();
int& LiveSheetCounter();

// ---- Drop-down link list -------------------------------------------------------

class CDLinkSheet;

class CDLinkPageIntro : public COndWizPage {
public:
    CDLinkPageIntro();
    std::string GetPageLabel() override { return "Introduction"; }
    bool OnSetActive() override;

protected:
    bool OnInitDialog() override;
};

class CDLinkPageCreateCombo : public COndWizPage {
public:
    CDLinkPageCreateCombo(CDLinkList& list, CLinkTable& table);
    ~CDLinkPageCreateCombo() override;
    std::string GetPageLabel() override { return "Create Links"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    bool OnWizardBack() override;
    void ClearData() override;
    CLinkTableGroup* Group() const { return m_group.get(); }
    // Rebuilds the list from the table.
    void StoreList();

protected:
    bool OnInitDialog() override;

private:
    CDLinkList& m_list;
    CLinkTable& m_table;
    std::unique_ptr<CLinkTableGroup> m_group;
};

class CDLinkPageTakeCode : public COndWizPage, public ICodeWizEventHandler {
public:
    CDLinkPageTakeCode(CDLinkCodeGen& gen, CDLinkPageCreateCombo& links);
    ~CDLinkPageTakeCode() override;
    std::string GetPageLabel() override { return "Take The Code!"; }
    bool OnSetActive() override;
    void ClearData() override;
    int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                   bool createFile, bool placeAfterBody) override;
    CCIWImpl* Adapter() const { return m_ciw; }

protected:
    bool OnInitDialog() override;

private:
    CDLinkCodeGen& m_gen;
    CDLinkPageCreateCombo& m_links;
    CCIWImpl* m_ciw;
};

class CDLinkSheet : public COndWizSheet {
public:
    CDLinkSheet();
    ~CDLinkSheet() override;
    void AddPages() override;

    CDLinkList& List() { return *m_list; }
    CDLinkCodeGen& Generator() { return *m_gen; }
    CLinkTable& Table() { return m_table; }
    CDLinkPageCreateCombo* LinkPage() const { return m_linkPage; }
    CDLinkPageTakeCode* CodePage() const { return m_codePage; }

private:
    std::unique_ptr<CDLinkList> m_list;
    CLinkTable m_table;
    CDLinkPageIntro* m_introPage;
    CDLinkPageCreateCombo* m_linkPage;
    std::unique_ptr<CDLinkCodeGen> m_gen;
    CDLinkPageTakeCode* m_codePage;
};

// ---- Link editor -----------------------------------------------------------------

class CAffLinkPageSelectFile : public COndWizPage {
public:
    CAffLinkPageSelectFile(CAffLinkList& list, CAffLinkScanner& scanner);
    std::string GetPageLabel() override { return "Open File"; }
    bool OnWizardNext() override;
    void ClearData() override;
    QLineEdit* PathBox() const { return m_path; }
    void Browse();

protected:
    bool OnInitDialog() override;

private:
    CAffLinkList& m_list;
    CAffLinkScanner& m_scanner;
    QLineEdit* m_path = nullptr;
};

class CAfflinkPageEditLinks : public COndWizPage {
public:
    CAfflinkPageEditLinks(CAffLinkList& list, CLinkTable& table);
    ~CAfflinkPageEditLinks() override;
    std::string GetPageLabel() override { return "Edit Links"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    void ClearData() override;
    CLinkTableGroup* Group() const { return m_group.get(); }
    // Stores the rows' status texts and targets into the links.
    void StoreLinks();

protected:
    bool OnInitDialog() override;

private:
    CAffLinkList& m_list;
    CLinkTable& m_table;
    std::unique_ptr<CLinkTableGroup> m_group;
};

class CAffLinkTakeCodePage : public COndWizPage {
public:
    CAffLinkTakeCodePage(CAffLinkCodeGen& gen, CAffLinkScanner& scanner,
                         CAfflinkPageEditLinks& links);
    std::string GetPageLabel() override { return "Save File"; }
    bool OnSetActive() override;
    void Modify();
    void OpenInBrowser();

protected:
    bool OnInitDialog() override;

private:
    CAffLinkCodeGen& m_gen;
    CAffLinkScanner& m_scanner;
    CAfflinkPageEditLinks& m_links;
    QLineEdit* m_file = nullptr;
};

class CAffLinkSheet : public COndWizSheet {
public:
    CAffLinkSheet();
    ~CAffLinkSheet() override;
    void AddPages() override;

    CAffLinkList& List() { return *m_list; }
    CAffLinkScanner& Scanner() { return *m_scanner; }
    CLinkTable& Table() { return m_table; }
    CAffLinkPageSelectFile* FilePage() const { return m_filePage; }
    CAfflinkPageEditLinks* LinkPage() const { return m_linkPage; }
    CAffLinkTakeCodePage* LastPage() const { return m_lastPage; }

private:
    CLinkTable m_table;
    CAffLinkPageSelectFile* m_filePage;
    CAfflinkPageEditLinks* m_linkPage;
    CAffLinkTakeCodePage* m_lastPage;
    std::unique_ptr<CAffLinkList> m_list;
    std::unique_ptr<CAffLinkScanner> m_scanner;
    std::unique_ptr<CAffLinkCodeGen> m_gen;
};

}  // namespace smallset
