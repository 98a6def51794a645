#include "AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Resources.h"
#include "VersionInfo.h"
#include "ondrelo/HyperLink.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/QtWindow.h"

const char* const CAboutDlg::kSupportUrl = "https://velmora.example/ondrelo/support/";
const char* const CAboutDlg::kHomeUrl = "https://velmora.example/ondrelo/";

namespace {

// Links are blue in every state and underlined.
void StyleLink(CHyperLink* link, const char* url, int id) {
    const QColor blue(0, 0, 255);
    ondrelo::SetControlId(link, id);
    link->SetURL(QString::fromLatin1(url));
    link->SetColours(blue, blue, blue);
    link->SetUnderline(true);
}

}  // namespace

QString CAboutDlg::VersionLine(const QString& fileVersion) {
    return QStringLiteral("Ondrelo Version %1").arg(fileVersion);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    using namespace ondrelo::host;
    ondrelo::SetControlId(this, IDD_ABOUTBOX);
    setWindowTitle(QStringLiteral("About Ondrelo"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    m_version =
        new QLabel(VersionLine(QString::fromStdString(ReadFileVersion(ProgramPath()))), this);
    ondrelo::SetControlId(m_version, IDC_VERSION);
    QFont bold = m_version->font();
    bold.setBold(true);
    m_version->setFont(bold);
    auto* copyright = new QLabel(QStringLiteral("Copyright (C) Velmora"), this);
    auto* blurb =
        new QLabel(QStringLiteral("Wizards that write HTML and JavaScript for web authors."), this);

    m_support = new CHyperLink(QStringLiteral("Support"), QString(), this);
    StyleLink(m_support, kSupportUrl, IDC_SUPPORT_LINK);
    m_home = new CHyperLink(QStringLiteral("Ondrelo Home"), QString(), this);
    StyleLink(m_home, kHomeUrl, IDC_HOME_LINK);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    ondrelo::SetControlId(m_ok, IDOK);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* links = new QHBoxLayout;
    links->addWidget(m_support);
    links->addSpacing(18);
    links->addWidget(m_home);
    links->addStretch();

    auto* text = new QVBoxLayout;
    text->addWidget(m_version);
    text->addWidget(copyright);
    text->addWidget(blurb);
    text->addSpacing(8);
    text->addLayout(links);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}
