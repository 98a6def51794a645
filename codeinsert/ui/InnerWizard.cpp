// The inner wizard: "Specify HTML File", "Place the Script", "Place the
// code" and "Create New File" in a modal dialog with Back, Next, Finish and
// Cancel.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include "InsertPages.h"
#include "inslet/InsletControls.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/Format.h"
#include "ondrelo/OndWizSheet.h"

namespace inslet {

using ondrelo::SetControlId;

namespace {

QString WithObjectName(const char* format, const CInsertWizardModel& model) {
    return ToQt(ondrelo::FormatText(format, {model.ObjectName()}));
}

}  // namespace

// ---- "Specify HTML File" --------------------------------------------------

CPageSpecifyHtmlFile::CPageSpecifyHtmlFile(CInsertWizardModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    SetControlId(this, IDD_SPECIFY_HTML_FILE);
    auto* group = MakeControl<QGroupBox>(this, IDC_SPECIFY_GROUP, DialogRect(this, 7, 7, 286, 126));
    group->setTitle(QStringLiteral("Specify HTML File"));
    m_create =
        MakeCaptioned<QRadioButton>(this, IDC_CREATE_NEW, QStringLiteral("&Create New HTML File"),
                                    DialogRect(this, 20, 24, 200, 12));
    m_existing = MakeCaptioned<QRadioButton>(
        this, IDC_INSERT_EXISTING, WithObjectName("&Insert the %s in Existing File", model),
        DialogRect(this, 20, 40, 200, 12));
    auto* label = MakeLabel(this, IDC_PATH_LABEL, QStringLiteral("&File Path:"),
                            DialogRect(this, 20, 64, 60, 10));
    m_path = MakeControl<QLineEdit>(this, IDC_HTML_PATH, DialogRect(this, 20, 76, 262, 14));
    label->setBuddy(m_path);
    auto* browse = MakeCaptioned<QPushButton>(this, IDC_BROWSE, QStringLiteral("&Browse ..."),
                                              DialogRect(this, 222, 96, 60, 14));
    browse->setAutoDefault(false);

    connect(m_create, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model.m_nFileOption = 0;
        }
    });
    connect(m_existing, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model.m_nFileOption = 1;
        }
    });
    connect(m_path, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.OnPathEdited(FromQt(text)); });
    connect(browse, &QPushButton::clicked, this, [this] {
        if (m_model.Browse()) {
            m_path->setText(ToQt(m_model.m_strPath));
        }
    });
}

void CPageSpecifyHtmlFile::OnSetActive() {
    m_model.OnSpecifyActivated();
    (m_model.m_nFileOption == 0 ? m_create : m_existing)->setChecked(true);
    m_path->setText(ToQt(m_model.m_strPath));
}

// ---- "Place the Script" ---------------------------------------------------

CCopyJSFilePage::CCopyJSFilePage(CInsertWizardModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    SetControlId(this, IDD_COPY_JS_FILE);
    auto* group =
        MakeControl<QGroupBox>(this, IDC_PLACE_SCRIPT_GROUP, DialogRect(this, 7, 7, 286, 126));
    group->setTitle(QStringLiteral("Place the Script"));
    MakeLabel(this, IDC_PLACE_SCRIPT_TEXT,
              QStringLiteral("The master JavaScript File need to be placed in the scripts folder. "
                             "Place the scripts in a folder easily accessible from the HTML file."),
              DialogRect(this, 20, 24, 262, 30));
    m_destination = MakeReadOnlyField(this, IDC_DESTINATION, DialogRect(this, 20, 60, 262, 14));
    auto* change = MakeCaptioned<QPushButton>(this, IDC_CHANGE_DESTINATION,
                                              QStringLiteral("&Change The Destination Path "),
                                              DialogRect(this, 162, 82, 120, 14));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, [this] {
        if (m_model.ChangeDestination()) {
            ShowDestination();
        }
    });
}

void CCopyJSFilePage::OnSetActive() {
    m_model.OnPlaceScriptActivated();
    ShowDestination();
}

void CCopyJSFilePage::ShowDestination() {
    m_destination->setText(ToQt(m_model.DestinationText()));
    m_destination->setCursorPosition(0);
}

// ---- "Place the code" -----------------------------------------------------

CPagePlaceCode::CPagePlaceCode(CInsertWizardModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    SetControlId(this, IDD_PLACE_CODE);
    auto* group =
        MakeControl<QGroupBox>(this, IDC_PLACE_CODE_GROUP, DialogRect(this, 7, 7, 286, 126));
    group->setTitle(WithObjectName("Where to place the %s?", model));
    m_beginning = MakeCaptioned<QRadioButton>(this, IDC_PLACE_BEGINNING,
                                              QStringLiteral("Place in the begining of the file"),
                                              DialogRect(this, 20, 24, 200, 12));
    m_location = MakeCaptioned<QRadioButton>(this, IDC_PLACE_LOCATION,
                                             QStringLiteral("Specify the location within the file"),
                                             DialogRect(this, 20, 40, 200, 12));
    m_text = MakeLabel(this, IDC_PLACE_TEXT,
                       WithObjectName("Copy this code and paste in the HTML file at the location "
                                      "where you want the %s to appear.",
                                      model),
                       DialogRect(this, 32, 58, 250, 20));
    m_placeholder =
        MakeReadOnlyField(this, IDC_PLACEHOLDER_TEXT, DialogRect(this, 32, 82, 190, 14));
    m_copy = MakeCaptioned<QPushButton>(this, IDC_COPY_PLACEHOLDER, QStringLiteral("&Copy"),
                                        DialogRect(this, 228, 82, 54, 14));
    m_copy->setAutoDefault(false);

    connect(m_beginning, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model.m_nPlaceOption = 0;
        }
        EnableControls();
    });
    connect(m_location, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_model.m_nPlaceOption = 1;
        }
        EnableControls();
    });
    connect(m_copy, &QPushButton::clicked, this, [this] { CopyAllToClipboard(m_placeholder); });
}

void CPagePlaceCode::OnSetActive() {
    (m_model.m_nPlaceOption == 0 ? m_beginning : m_location)->setChecked(true);
    m_placeholder->setText(ToQt(m_model.Placeholder()));
    EnableControls();
}

void CPagePlaceCode::EnableControls() {
    const bool on = m_model.PlaceholderControlsEnabled();
    m_text->setEnabled(on);
    m_placeholder->setEnabled(on);
    m_copy->setEnabled(on);
}

// ---- "Create New File" ----------------------------------------------------

CPageInsertCodeResult::CPageInsertCodeResult(CInsertWizardModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    SetControlId(this, IDD_INSERT_CODE_RESULT);
    auto* group = MakeControl<QGroupBox>(this, IDC_RESULT_GROUP, DialogRect(this, 7, 7, 286, 126));
    group->setTitle(QStringLiteral("Result"));
    m_result = MakeReadOnlyField(this, IDC_RESULT_TEXT, DialogRect(this, 20, 30, 262, 14));
}

void CPageInsertCodeResult::OnSetActive() {
    m_result->setText(ToQt(m_model.m_strResultText));
    m_result->setCursorPosition(0);
}

// ---- The wizard -----------------------------------------------------------

CInnerWizardDlg::CInnerWizardDlg(CInsertWizardModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    SetControlId(this, IDD_INNER_WIZARD);
    setModal(true);
    const QRect pageRect = DialogRect(this, 0, 0, 300, 140);
    m_stack = new QStackedWidget(this);
    m_stack->setGeometry(pageRect);
    m_specify = new CPageSpecifyHtmlFile(model, m_stack);
    m_script = new CCopyJSFilePage(model, m_stack);
    m_place = new CPagePlaceCode(model, m_stack);
    m_result = new CPageInsertCodeResult(model, m_stack);
    for (QWidget* page : {static_cast<QWidget*>(m_specify), static_cast<QWidget*>(m_script),
                          static_cast<QWidget*>(m_place), static_cast<QWidget*>(m_result)}) {
        m_stack->addWidget(page);
    }

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(DialogRect(this, 7, 142, 286, 2));
    auto button = [this](int id, const QString& text, int x) {
        auto* b = MakeControl<QPushButton>(this, id, DialogRect(this, x, 148, 50, 14));
        b->setText(text);
        b->setAutoDefault(false);
        return b;
    };
    m_back = button(ID_WIZBACK, QStringLiteral("< &Back"), 132);
    m_next = button(ID_WIZNEXT, QStringLiteral("&Next >"), 182);
    m_finish = button(ID_WIZFINISH, QStringLiteral("Finish"), 182);
    QPushButton* cancel = button(ID_WIZCANCEL, QStringLiteral("Cancel"), 243);
    setFixedSize(DialogRect(this, 0, 0, 300, 168).size());

    connect(m_back, &QPushButton::clicked, this, [this] { OnBack(); });
    connect(m_next, &QPushButton::clicked, this, [this] { OnNext(); });
    connect(m_finish, &QPushButton::clicked, this, [this] { OnFinish(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (!m_model.Pages().empty()) {
        ShowPage(m_model.Pages().front());
    }
}

QWidget* CInnerWizardDlg::PageWidget(EInnerPage page) const {
    switch (page) {
        case EInnerPage::SpecifyHtmlFile:
            return m_specify;
        case EInnerPage::PlaceScript:
            return m_script;
        case EInnerPage::PlaceCode:
            return m_place;
        case EInnerPage::Result:
            return m_result;
    }
    return m_specify;
}

void CInnerWizardDlg::ShowPage(EInnerPage page) {
    m_current = page;
    switch (page) {
        case EInnerPage::SpecifyHtmlFile:
            m_specify->OnSetActive();
            break;
        case EInnerPage::PlaceScript:
            m_script->OnSetActive();
            break;
        case EInnerPage::PlaceCode:
            m_place->OnSetActive();
            break;
        case EInnerPage::Result:
            m_result->OnSetActive();
            break;
    }
    m_stack->setCurrentWidget(PageWidget(page));
    setWindowTitle(QString::fromUtf8(PageCaption(page)));

    // The first page of the list has nothing to go back to.
    const SPageButtons buttons = m_model.ButtonsFor(page);
    const bool first = m_model.Pages().empty() || m_model.Pages().front() == page;
    m_back->setEnabled(buttons.back && !first);
    // Finish takes the place of Next.
    m_next->setVisible(!buttons.finish);
    m_next->setEnabled(buttons.next);
    m_finish->setVisible(buttons.finish);
    (buttons.finish ? m_finish : m_next)->setDefault(true);
    (buttons.finish ? m_next : m_finish)->setDefault(false);
}

void CInnerWizardDlg::OnBack() {
    const auto& pages = m_model.Pages();
    for (std::size_t i = 1; i < pages.size(); ++i) {
        if (pages[i] == m_current) {
            ShowPage(pages[i - 1]);
            return;
        }
    }
}

void CInnerWizardDlg::OnNext() {
    if (!m_model.ButtonsFor(m_current).next) {
        return;
    }
    if (m_current == EInnerPage::SpecifyHtmlFile && !m_model.LeaveSpecifyForward()) {
        if (m_model.FocusPathField()) {
            m_specify->PathField()->setFocus();
        }
        return;
    }
    if (m_current == EInnerPage::PlaceScript && !m_model.LeavePlaceScriptForward()) {
        return;
    }
    // The list may have changed on leaving the page.
    const auto& pages = m_model.Pages();
    for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
        if (pages[i] == m_current) {
            ShowPage(pages[i + 1]);
            return;
        }
    }
}

void CInnerWizardDlg::OnFinish() {
    if (!m_model.ButtonsFor(m_current).finish) {
        return;
    }
    if (m_current == EInnerPage::PlaceScript && !m_model.LeavePlaceScriptForward()) {
        return;
    }
    accept();
}

bool RunInnerWizard(CInsertWizardModel& model, QWidget* owner) {
    model.BeginRun();
    if (model.Pages().empty()) {
        return false;
    }
    CInnerWizardDlg dialog(model, owner ? owner->window() : nullptr);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace inslet
