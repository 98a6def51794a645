#include "TestWizard.h"

#include <QFrame>
#include <QLineEdit>

#include "ondrelo/QtWindow.h"

const ondrelo::SModuleResources& TestWizardResources() {
    static const ondrelo::StringTable strings = {{5000, "Please enter a name."}};
    static const ondrelo::SModuleResources module{"TestWizard", &strings, ":/TestWizard"};
    return module;
}

CTestPage::CTestPage(int templateId, std::string label, EPageType type, bool withHelp)
    : COndWizPage(templateId), m_label(std::move(label)), m_withHelp(withHelp) {
    SetPageType(type);
}

bool CTestPage::OnInitDialog() {
    ++initCount;
    auto* name = new QLineEdit(this);
    ondrelo::SetControlId(name, IDC_NAME);
    name->setGeometry(10, 10, 200, 22);
    AddAnchor(name, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    if (m_withHelp) {
        auto* placeholder = new QFrame(this);
        ondrelo::SetControlId(placeholder, IDC_HELP_PLACEHOLDER);
        placeholder->setGeometry(300, 40, 230, 280);
        InitBrowserWnd(IDC_HELP_PLACEHOLDER, IDH_START);
    }
    return COndWizPage::OnInitDialog();
}

CTestSheet::CTestSheet()
    : first(new CTestPage(201, "Start", PAGE_FIRST, true)),
      middle(new CTestPage(202, "Details", PAGE_FINISH)),
      last(new CTestPage(203, "", PAGE_CODE)) {}

void CTestSheet::AddPages() {
    AddPage(first);
    AddPage(middle);
    AddPage(last);
}
