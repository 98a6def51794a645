// The popup wizard's sheet and its six pages. The pages show and collect;
// the rules they follow (preview arithmetic, number fields, enabling, the
// sample window's stacking) are the core's.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "bridgel/CIWImpl.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/Resources.h"
#include "popkin/PopupCodeGen.h"
#include "popkin/PopupPageRules.h"

class CButtonST;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace popkin {

// The library's resources: help pages and pictures under ":/Popkin".
const ondrelo::SModuleResources& PopkinResources();
inline constexpr const char* kPopkinDisplayName = "Popup Wizard";

// Control numbers.
enum EPopkinControl : int {
    IDC_HELP_PANE = 234,
    IDC_PREVIEW = 207,
    IDC_RES_640 = 208,
    IDC_RES_800 = 209,
    IDC_RES_1024 = 210,
    IDC_LEFT = 211,
    IDC_TOP = 212,
    IDC_WIDTH = 213,
    IDC_HEIGHT = 214,
    IDC_RES_GROUP = 230,
    IDC_CENTER = 237,
    IDC_STATUS = 215,
    IDC_LOCATION = 217,
    IDC_MENUBAR = 218,
    IDC_RESIZABLE = 220,
    IDC_SCROLLBARS = 221,
    IDC_DIRECTORIES = 222,
    IDC_TOOLBAR = 225,
    IDC_SAMPLE = 226,
    IDC_USE_URL = 258,
    IDC_USE_HTML = 259,
    IDC_URL = 238,
    IDC_HTML = 239,
    IDC_URL_CAPTION = 256,
    IDC_HTML_CAPTION = 257,
    IDC_PASTE_URL = 267,
    IDC_PASTE_HTML = 268,
    IDC_ON_BUTTON = 240,
    IDC_ON_LINK = 241,
    IDC_ON_ENTRY = 242,
    IDC_ON_EXIT = 243,
    IDC_BUTTON_LABEL = 244,
    IDC_LINK_LABEL = 245,
    IDC_POPUNDER = 273,
    IDC_ONCE = 274,
    IDC_DAYS = 275,
    IDC_SECONDS = 276,
    IDC_CODE_PLACE = 272,
};

// Help pages.
enum EPopkinHelp : unsigned {
    IDH_INTRODUCTION = 272,
    IDH_POSITION = 273,
    IDH_FEATURES = 274,
    IDH_CONTENT = 275,
    IDH_INVOCATION = 276,
    IDH_CODE = 277,
};

// A page that hands its values to the generator when the user leaves it.
class CPopupInputPage : public COndWizPage {
public:
    using COndWizPage::COndWizPage;
    void SetGenerator(CPopupCodeGen* generator) { m_pGen = generator; }

    // Reads the controls and passes them on. With report set, a value that
    // is not accepted is shown to the user and the result is false.
    virtual bool KillActive(bool report) = 0;

    bool OnWizardNext() override { return KillActive(true); }
    bool OnWizardBack() override { return KillActive(true); }

protected:
    // Puts the help pane over its placeholder and shows the page.
    void AddHelpPane(unsigned htmlId);
    // Tells the user what is wrong with a number field and puts the focus there.
    bool RejectField(QLineEdit* field, int min, int max, bool report);

    CPopupCodeGen* m_pGen = nullptr;
};

class CPopupIntroductionPage : public COndWizPage {
public:
    CPopupIntroductionPage();
    std::string GetPageLabel() override { return "&Introduction"; }

protected:
    bool OnInitDialog() override;
};

// The screen picture with the small window that stands for the popup; it
// reports the window's position and size in preview pixels.
class CScreenPreview : public QWidget {
public:
    explicit CScreenPreview(QWidget* parent);

    std::function<void(int x, int y)> onMoved;
    std::function<void(int width, int height)> onResized;

    // Sizes the preview for a resolution, keeping its top-left corner.
    void SetResolution(int index);
    // Places the popup window without reporting it.
    void MovePopup(int x, int y);
    void ResizePopup(int width, int height);
    // Places it and reports both its position and its size.
    void PlacePopup(const QRect& rect);
    QWidget* PopupWindow() const { return m_popup; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_popup;
};

class CPopupPositionPage : public CPopupInputPage {
public:
    CPopupPositionPage();
    std::string GetPageLabel() override { return "&Position"; }
    bool KillActive(bool report) override;
    CScreenPreview* Preview() const { return m_preview; }

protected:
    bool OnInitDialog() override;

private:
    void OnEditDone(QLineEdit* edit);

    CScreenPreview* m_preview = nullptr;
    QLineEdit* m_left = nullptr;
    QLineEdit* m_top = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QCheckBox* m_center = nullptr;
    int m_nLeft = 50, m_nTop = 50, m_nWidth = 350, m_nHeight = 350;
};

// The picture of a browser window with the chosen features.
class CSampleWindow : public QWidget {
public:
    explicit CSampleWindow(QWidget* parent);
    std::function<SSampleFeatures()> features;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CPopupFeaturesPage : public CPopupInputPage {
public:
    CPopupFeaturesPage();
    std::string GetPageLabel() override { return "&Features"; }
    bool KillActive(bool report) override;
    bool OnSetActive() override;
    SSampleFeatures Features() const;

protected:
    bool OnInitDialog() override;

private:
    QCheckBox* m_boxes[7] = {};  // in the generator's order
    CSampleWindow* m_sample = nullptr;
};

class CPopupContentPage : public CPopupInputPage {
public:
    CPopupContentPage();
    std::string GetPageLabel() override { return "&Content"; }
    bool KillActive(bool report) override;

protected:
    bool OnInitDialog() override;

private:
    void UpdateControls();

    QRadioButton* m_useUrl = nullptr;
    QRadioButton* m_useHtml = nullptr;
    QLineEdit* m_url = nullptr;
    QPlainTextEdit* m_html = nullptr;
    QLabel* m_urlCaption = nullptr;
    QLabel* m_htmlCaption = nullptr;
    CButtonST* m_pasteUrl = nullptr;
    CButtonST* m_pasteHtml = nullptr;
};

class CPopupInvocationPage : public CPopupInputPage {
public:
    CPopupInvocationPage();
    std::string GetPageLabel() override { return "I&nvocation"; }
    bool KillActive(bool report) override;
    int Kind() const;

protected:
    bool OnInitDialog() override;

private:
    void UpdateControls();

    QRadioButton* m_kinds[4] = {};
    QLineEdit* m_buttonLabel = nullptr;
    QLineEdit* m_linkLabel = nullptr;
    QLabel* m_buttonCaption = nullptr;
    QLabel* m_linkCaption = nullptr;
    QCheckBox* m_popUnder = nullptr;
    QCheckBox* m_once = nullptr;
    QLabel* m_reappearCaption = nullptr;
    QLineEdit* m_days = nullptr;
    QLabel* m_daysCaption = nullptr;
    QLabel* m_delayCaption = nullptr;
    QLineEdit* m_seconds = nullptr;
    QLabel* m_secondsCaption = nullptr;
};

// The last page: the insertion component shows the code and inserts it.
class CPageTakeCode : public COndWizPage, public ICodeWizEventHandler {
public:
    explicit CPageTakeCode(CPopupCodeGen* generator);
    ~CPageTakeCode() override;
    std::string GetPageLabel() override { return "Take The Code!"; }
    bool OnSetActive() override;
    bool IsDialogMessageA(MSG* msg) override;
    int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                   bool createFile, bool placeAfterBody) override;
    CCIWImpl* Adapter() const { return m_pCIW; }

protected:
    bool OnInitDialog() override;

private:
    CPopupCodeGen* m_pGen;
    CCIWImpl* m_pCIW;
};

class CPopkinSheet : public COndWizSheet {
public:
    CPopkinSheet();
    ~CPopkinSheet() override;
    void AddPages() override;
    bool IsDialogMessageA(MSG* msg) override;

    CPopupCodeGen& Generator() { return m_gen; }
    CPopupPositionPage& PositionPage() { return *m_position; }
    CPopupFeaturesPage& FeaturesPage() { return *m_features; }
    CPopupContentPage& ContentPage() { return *m_content; }
    CPopupInvocationPage& InvocationPage() { return *m_invocation; }
    CPageTakeCode& CodePage() { return *m_code; }

    // Passes on what every page shown so far holds, without messages: the
    // step buttons leave a page without asking it.
    void StoreShownPages();

private:
    CPopupCodeGen m_gen;
    CPopupIntroductionPage* m_intro;
    CPopupPositionPage* m_position;
    CPopupFeaturesPage* m_features;
    CPopupContentPage* m_content;
    CPopupInvocationPage* m_invocation;
    CPageTakeCode* m_code;
};

}  // namespace popkin
