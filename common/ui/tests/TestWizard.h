// A three-page wizard for the framework's tests: a first page with a help
// pane, an inner page that can refuse Next, and a code page.
#pragma once

#include <string>

#include "ondrelo/OndWizSheet.h"
#include "ondrelo/Resources.h"

class QFrame;

// The test wizard's module: its help page 100 lives in ":/TestWizard".
const ondrelo::SModuleResources& TestWizardResources();

inline constexpr int IDC_HELP_PLACEHOLDER = 1001;
inline constexpr int IDC_NAME = 1002;
inline constexpr unsigned IDH_START = 100;

class CTestPage : public COndWizPage {
public:
    CTestPage(int templateId, std::string label, EPageType type, bool withHelp = false);

    std::string GetPageLabel() override { return m_label; }
    bool OnWizardNext() override { return m_acceptNext && COndWizPage::OnWizardNext(); }
    void ClearData() override {
        m_cleared = true;
        COndWizPage::ClearData();
    }

    int initCount = 0;
    bool m_acceptNext = true;
    bool m_cleared = false;

protected:
    bool OnInitDialog() override;

private:
    std::string m_label;
    bool m_withHelp;
};

class CTestSheet : public COndWizSheet {
public:
    CTestSheet();
    void AddPages() override;

    CTestPage* first;
    CTestPage* middle;
    CTestPage* last;
};
