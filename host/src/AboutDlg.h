// The About box: program icon, product name with the file version read
// from the program's own version record, and links to the maker's support
// and home pages.
#pragma once

#include <QDialog>
#include <QString>

class CHyperLink;
class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
public:
    static const char* const kSupportUrl;
    static const char* const kHomeUrl;

    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Ondrelo Version <file version>"; the version part is empty when the
    // program file carries no readable version record.
    static QString VersionLine(const QString& fileVersion);

    QLabel* VersionLabel() const { return m_version; }
    CHyperLink* SupportLink() const { return m_support; }
    CHyperLink* HomeLink() const { return m_home; }

private:
    QLabel* m_version = nullptr;
    CHyperLink* m_support = nullptr;
    CHyperLink* m_home = nullptr;
    QPushButton* m_ok = nullptr;
};
