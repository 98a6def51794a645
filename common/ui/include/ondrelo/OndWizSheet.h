// The wizard sheet every module shows: a page sequence with Back, Next and
// Finish, and a row of step buttons (one per page) to jump back to any page
// already visited.
//
// A wizard derives a sheet that adds its pages in AddPages, and pages that
// build their controls in OnInitDialog (called once, when the page is first
// shown), name their step button in GetPageLabel, refresh themselves in
// OnSetActive and check their entries in OnWizardNext/OnWizardBack (return
// false to stay on the page):
//
//     class CMySheet : public COndWizSheet {
//         void AddPages() override { AddPage(new CStartPage); AddPage(new CCodePage); }
//     };
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "ondrelo/Anchor.h"
#include "ondrelo/Window.h"
#include "ondrelo/common_export.h"

class CBrowserWnd;
class CButtonST;
class COndWizSheet;
class QFrame;
class QStackedWidget;

namespace ondrelo {
struct SModuleResources;
}

// Role of a page in the sequence.
enum EPageType {
    PAGE_INNER = 0,   // Back and Next
    PAGE_FIRST = 1,   // Next; Back disabled
    PAGE_FINISH = 2,  // Back and Next reading "&Finish"
    PAGE_CODE = 3,    // Back and a disabled Finish in place of Next
};

// Wizard button numbers (the Cancel button is IDCANCEL, 2) and the first
// step button's number.
inline constexpr int ID_WIZBACK = 0x3023;
inline constexpr int ID_WIZNEXT = 0x3024;
inline constexpr int ID_WIZFINISH = 0x3025;
inline constexpr int ID_WIZCANCEL = 2;
inline constexpr int ID_PAGE_BUTTON_FIRST = 600;
inline constexpr int ID_PAGE_BUTTON_LAST = 620;
// Icons of Common: the arrow to the right (Next, Finish) and to the left (Back).
inline constexpr unsigned IDI_ARROW_NEXT = 14000;
inline constexpr unsigned IDI_ARROW_BACK = 14001;

// Flags of SetWizardButtons.
inline constexpr unsigned PSWIZB_BACK = 0x1;
inline constexpr unsigned PSWIZB_NEXT = 0x2;
inline constexpr unsigned PSWIZB_FINISH = 0x4;
inline constexpr unsigned PSWIZB_DISABLEDFINISH = 0x8;

class ONDCOMMON_EXPORT COndWizPage : public QWidget {
public:
    // The page's controls are placed for its design size, in dialog units
    // of its font, and anchored against it. kDesignWidth x kDesignHeight is
    // that size in pixels at a 9 point font, for callers that need a size
    // before any page exists.
    static constexpr int kDesignWidthDlu = 360;
    static constexpr int kDesignHeightDlu = 207;
    static constexpr int kDesignWidth = 540;
    static constexpr int kDesignHeight = 336;
    QSize DesignSize() const;

    explicit COndWizPage(int templateId);
    ~COndWizPage() override;

    int GetTemplateId() const { return m_templateId; }
    void SetPageType(EPageType type) { m_type = type; }
    EPageType GetPageType() const { return m_type; }
    // A disabled page is left out of navigation and its step button hidden.
    void Enable(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    // Visited since the last ClearData.
    void SetActivatable(bool visited) { m_visited = visited; }
    virtual bool CanActivate() const { return m_visited; }
    virtual void SetPropertySheet(COndWizSheet* sheet) { m_sheet = sheet; }
    COndWizSheet* GetSheet() const { return m_sheet; }
    // True once the controls exist (OnInitDialog ran).
    bool IsCreated() const { return m_created; }

    // Caption of the page's step button; empty gives "No Title Specified !".
    virtual std::string GetPageLabel() { return {}; }
    // Forget the page's entries; the base forgets that it was visited.
    virtual void ClearData() { m_visited = false; }

    // Puts a help pane where the placeholder control is and shows the
    // module's HTML page with that number in it. False when the page has no
    // such placeholder.
    bool InitBrowserWnd(int placeholderId, unsigned htmlId);
    CBrowserWnd* GetHelpPane() const { return m_help; }

    // Offers a keyboard message for dialog navigation: Tab and Shift+Tab
    // move the focus among the page's controls. True when it was used.
    virtual bool IsDialogMessageA(MSG* msg);

    // Keeps a control at its margins to two points of the page.
    void AddAnchor(QWidget* control, ondrelo::SAnchorPoint first,
                   ondrelo::SAnchorPoint second = ondrelo::ANCHOR_NONE);
    void ArrangeLayout() { m_anchors.ArrangeLayout(); }

    // Called by the sheet.
    void EnsureCreated();
    virtual bool OnSetActive();
    virtual bool OnWizardNext() { return true; }
    virtual bool OnWizardBack() { return true; }
    virtual bool OnWizardFinish() { return true; }

protected:
    // Build the controls here, placed in dialog units (ondrelo::DialogRect
    // with the page) within DesignSize().
    virtual bool OnInitDialog() { return true; }
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_templateId;
    COndWizSheet* m_sheet = nullptr;
    EPageType m_type = PAGE_INNER;
    bool m_enabled = true;
    bool m_visited = false;
    bool m_created = false;
    CBrowserWnd* m_help = nullptr;
    ondrelo::CAnchorSet m_anchors;
};

class ONDCOMMON_EXPORT COndWizSheet : public QWidget {
public:
    // Laid out in dialog units of its font; kDesignWidth x kDesignHeight in
    // pixels at a 9 point font.
    static constexpr int kDesignWidthDlu = 360;
    static constexpr int kDesignHeightDlu = 234;
    static constexpr int kDesignWidth = 540;
    static constexpr int kDesignHeight = 380;
    QSize DesignSize() const;

    explicit COndWizSheet(QWidget* parent = nullptr);
    ~COndWizSheet() override;

    // Adds the pages, becomes a hidden child of the parent with the
    // rectangle, restyles the wizard buttons, makes the step buttons and
    // shows the first page. False without a parent.
    virtual bool Create(HWND parent, const RECT& rect);
    bool Create(QWidget* parent, const QRect& rect);
    // Fills the parent's client area.
    virtual void OnParentResize();
    virtual void EnablePageButtons();
    virtual bool CreatePageButtons();
    // A wizard adds its pages here, in order.
    virtual void AddPages() {}
    // Takes ownership of the page.
    virtual void AddPage(COndWizPage* page);
    // Shows or hides the step buttons of all pages but the first.
    void ShowPageButtons(bool show);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    COndWizPage* GetPage(int index) const;
    int GetPageIndex(const COndWizPage* page) const;
    int GetActiveIndex() const { return m_active; }
    COndWizPage* GetActivePage() const { return GetPage(m_active); }
    // Makes the page active (creating it first); false when the index is
    // out of range or the page refuses in OnSetActive.
    bool SetActivePage(int index);

    void SetWizardButtons(unsigned flags);
    void SetNextText(const QString& text);
    CButtonST* GetBackButton() const { return m_back; }
    CButtonST* GetNextButton() const { return m_next; }
    CButtonST* GetFinishButton() const { return m_finish; }
    CButtonST* GetCancelButton() const { return m_cancel; }
    // The step button of the page, or null.
    CButtonST* GetPageButton(int index) const;

    // What Back, Next, Finish and step button i do when pressed.
    void PressBack();
    void PressNext();
    void PressFinish();
    void PressPageButton(int index);

    // ClearData on every page, then the step buttons again.
    void ClearAllPages();

    // Offers a keyboard message to the active page.
    virtual bool IsDialogMessageA(MSG* msg);

    // The module whose resources pages look up while the sheet works for
    // them (help pages, texts); taken from the scope that calls Create.
    void SetModuleResources(const ondrelo::SModuleResources* module) { m_module = module; }
    const ondrelo::SModuleResources* GetModuleResources() const { return m_module; }

    void AddAnchor(QWidget* control, ondrelo::SAnchorPoint first,
                   ondrelo::SAnchorPoint second = ondrelo::ANCHOR_NONE);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CButtonST* MakeButton(int id, const QString& text);

    std::vector<COndWizPage*> m_pages;
    std::vector<CButtonST*> m_pageButtons;
    int m_active = -1;
    bool m_pagesAdded = false;
    QStackedWidget* m_stack;
    QFrame* m_line;
    CButtonST* m_back;
    CButtonST* m_next;
    CButtonST* m_finish;
    CButtonST* m_cancel;
    const ondrelo::SModuleResources* m_module = nullptr;
    ondrelo::CAnchorSet m_anchors;
};
