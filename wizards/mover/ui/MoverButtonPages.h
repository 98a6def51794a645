// The button wizard's window: the sheet with its three pages and the test
// area control of the image page. Every rule lives in the core; the pages
// move values between the controls and the record and pass events on.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "bridgel/CIWImpl.h"
#include "hoverkit/ImageTestArea.h"
#include "hoverkit/MoverButtonCodeGen.h"
#include "ondrelo/OndWizSheet.h"

class CButtonST;
class QLabel;
class QLineEdit;

namespace hoverkit {

// Template and control numbers of the pages.
enum EHoverkitControls : int {
    IDD_MOVER_PAGE_ONE = 101,
    IDD_SELECT_IMAGES = 102,
    IDD_TAKE_THE_CODE = 103,
    IDC_NORMAL_BROWSE = 202,
    IDC_ACTIVE_BROWSE = 204,
    IDC_CLICK_BROWSE = 206,
    IDC_NORMAL_WIDTH = 207,
    IDC_NORMAL_HEIGHT = 208,
    IDC_TARGET_URL = 213,
    IDC_STATUS_TEXT = 214,
    IDC_ALT_TEXT = 215,
    IDC_TEST_AREA = 216,
    IDC_MESSAGE_LINE = 217,
    IDC_CODE_PLACEHOLDER = 218,
    IDC_HELP_PAGE_ONE = 231,
    IDC_HELP_IMAGES = 232,
    IDC_HELP_CODE = 233,
    IDC_CREATE_NEW_BUTTON = 234,
};

// Help pages.
inline constexpr unsigned IDH_INTRODUCTION = 203;
inline constexpr unsigned IDH_EDIT_BUTTON = 206;
inline constexpr unsigned IDH_TAKE_THE_CODE = 207;

}  // namespace hoverkit

// What the introduction page asks of its sheet.
class ICreateNewButton {
public:
    virtual ~ICreateNewButton() = default;
    virtual void CreateNewButton() = 0;
};

// The owner-painted "Test Area".
class CImageTestAreaWnd : public QWidget, public hoverkit::ITestAreaView {
public:
    explicit CImageTestAreaWnd(QWidget* parent);
    CImageTestArea& Area() { return m_area; }

    void Repaint() override;
    void CaptureMouse(bool capture) override;
    void GetClientSize(int& width, int& height) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& ImageOf(int slot);

    CImageTestArea m_area;
    // What was last converted for drawing, per slot.
    const CImageFile* m_converted[hoverkit::kImageCount] = {};
    int m_convertedSize[hoverkit::kImageCount][2] = {};
    QImage m_images[hoverkit::kImageCount];
};

class CMoverButtonPageOne : public COndWizPage {
public:
    CMoverButtonPageOne();
    void SetCallback(ICreateNewButton* callback) { m_callback = callback; }
    std::string GetPageLabel() override { return "Introduction"; }
    bool OnWizardNext() override;
    CButtonST* CreateButton() const { return m_create; }

protected:
    bool OnInitDialog() override;

private:
    ICreateNewButton* m_callback = nullptr;
    CButtonST* m_create = nullptr;
};

class CSelectImagesPage : public COndWizPage {
public:
    CSelectImagesPage();
    void SetButtonInfo(CMoverButtonInfo* info) { m_pInfo = info; }
    std::string GetPageLabel() override { return "Edit Button"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    void ClearData() override;

    // Control events, public for tests.
    void OnBrowse(int index);
    void OnPathLeft(int index);
    void OnSizeLeft(int index);

    CImageTestAreaWnd* TestArea() const { return m_testArea; }
    QLineEdit* PathBox(int index) const { return m_path[index]; }
    QLineEdit* WidthBox(int index) const { return m_width[index]; }
    QLineEdit* HeightBox(int index) const { return m_height[index]; }
    QLabel* MessageLine() const { return m_message; }

protected:
    bool OnInitDialog() override;

private:
    // Controls to record (sets the changed flag) or record to controls.
    void StoreControls();
    void LoadControls();
    void ReloadSlot(int index);

    CMoverButtonInfo* m_pInfo = nullptr;
    QLineEdit* m_path[hoverkit::kImageCount] = {};
    QLineEdit* m_width[hoverkit::kImageCount] = {};
    QLineEdit* m_height[hoverkit::kImageCount] = {};
    QLineEdit* m_target = nullptr;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_alt = nullptr;
    QLabel* m_message = nullptr;
    CImageTestAreaWnd* m_testArea = nullptr;
};

class CTakeTheCodePage : public COndWizPage, public ICodeWizEventHandler {
public:
    CTakeTheCodePage();
    ~CTakeTheCodePage() override;
    void SetGenerator(CMoverButtonCodeGen* generator) { m_pGenerator = generator; }
    std::string GetPageLabel() override { return "&Take The Code"; }
    bool OnSetActive() override;
    void ClearData() override;
    int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                   bool createFile, bool placeAfterBody) override;
    bool IsDialogMessageA(MSG* msg) override;
    CCIWImpl* Adapter() const { return m_pCIW.get(); }

protected:
    bool OnInitDialog() override;

private:
    CMoverButtonCodeGen* m_pGenerator = nullptr;
    std::unique_ptr<CCIWImpl> m_pCIW;
};

class CMoverButtonSheet : public COndWizSheet, public ICreateNewButton {
public:
    CMoverButtonSheet();
    ~CMoverButtonSheet() override;
    void AddPages() override;
    bool Create(HWND parent, const RECT& rect) override;
    void CreateNewButton() override;

    CMoverButtonPageOne* PageOne() const { return m_pageOne; }
    CSelectImagesPage* ImagesPage() const { return m_images; }
    CTakeTheCodePage* CodePage() const { return m_code; }
    CMoverButtonInfo& ButtonInfo() { return m_info; }
    CMoverButtonCodeGen& Generator() { return m_generator; }

private:
    CMoverButtonPageOne* m_pageOne;
    CSelectImagesPage* m_images;
    CTakeTheCodePage* m_code;
    CMoverButtonInfo m_info;
    CMoverButtonCodeGen m_generator;
};

