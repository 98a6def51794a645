#include "ondrelo/QtPrompt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>

#include "ondrelo/QtWindow.h"

namespace ondrelo {

SMessageBoxLook MapMessageBoxStyle(unsigned style) {
    using B = QMessageBox;
    SMessageBoxLook look;
    QList<QMessageBox::StandardButton> order;
    switch (style & 0x0F) {
        case MB_OKCANCEL:
            order = {B::Ok, B::Cancel};
            break;
        case 0x02:
            order = {B::Abort, B::Retry, B::Ignore};
            break;
        case MB_YESNOCANCEL:
            order = {B::Yes, B::No, B::Cancel};
            break;
        case MB_YESNO:
            order = {B::Yes, B::No};
            break;
        case 0x05:
            order = {B::Retry, B::Cancel};
            break;
        default:
            order = {B::Ok};
            break;  // MB_OK and unknown values
    }
    for (auto b : order) {
        look.buttons |= b;
    }

    const int defaultIndex = static_cast<int>((style >> 8) & 0x0F);
    look.defaultButton = order.value(defaultIndex < order.size() ? defaultIndex : 0);

    // Escape answers like the window's close box: Cancel where there is one,
    // else the only button, else no escape (a Yes/No box needs a choice).
    if (order.contains(B::Cancel)) {
        look.escapeButton = B::Cancel;
    } else if (order.size() == 1) {
        look.escapeButton = order.front();
    }

    switch (style & 0xF0) {
        case MB_ICONERROR:
            look.icon = B::Critical;
            break;
        case MB_ICONQUESTION:
            look.icon = B::Question;
            break;
        case MB_ICONWARNING:
            look.icon = B::Warning;
            break;
        case MB_ICONINFORMATION:
            look.icon = B::Information;
            break;
        default:
            look.icon = B::NoIcon;
            break;
    }
    return look;
}

int MapMessageBoxResult(QMessageBox::StandardButton button, unsigned style) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Abort:
            return 3;
        case QMessageBox::Retry:
            return 4;
        case QMessageBox::Ignore:
            return 5;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return CautiousAnswer(style);
    }
}

QStringList ConvertFilter(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter).split('|');
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i].trimmed();
        if (text.isEmpty()) {
            break;  // "||" ends the list
        }
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (pattern.isEmpty()) {
                continue;
            }
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty()) {
            patterns << QStringLiteral("*");
        }
        text.remove(trailingList);
        out << QStringLiteral("%1 (%2)").arg(text, patterns.join(' '));
    }
    return out;
}

QString DefaultSuffix(const std::string& defaultExt) {
    QString ext = QString::fromUtf8(defaultExt).trimmed();
    while (ext.startsWith('*') || ext.startsWith('.')) {
        ext.remove(0, 1);
    }
    if (ext.contains('*') || ext.contains('?')) {
        return {};
    }
    return ext;
}

int CQtPrompt::MessageBox(HWND owner, const std::string& caption, const std::string& text,
                          unsigned style) {
    const SMessageBoxLook look = MapMessageBoxStyle(style);
    QWidget* parent = owner ? ToWidget(owner) : QApplication::activeWindow();
    QMessageBox box(look.icon, QString::fromUtf8(caption), QString::fromUtf8(text), look.buttons,
                    parent);
    box.setTextFormat(Qt::PlainText);
    if (look.defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(look.defaultButton);
    }
    if (look.escapeButton != QMessageBox::NoButton) {
        box.setEscapeButton(look.escapeButton);
    }
    box.exec();
    return MapMessageBoxResult(box.standardButton(box.clickedButton()), style);
}

int CQtPrompt::ChooseOfThree(HWND owner, const std::string& caption, const std::string& text,
                             const std::string (&buttons)[3]) {
    QWidget* parent = owner ? ToWidget(owner) : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QAbstractButton* pressed[3] = {};
    const QMessageBox::ButtonRole roles[3] = {QMessageBox::AcceptRole, QMessageBox::DestructiveRole,
                                              QMessageBox::RejectRole};
    for (int i = 0; i < 3; ++i) {
        pressed[i] = box.addButton(QString::fromUtf8(buttons[i]), roles[i]);
    }
    box.setDefaultButton(static_cast<QPushButton*>(pressed[0]));
    box.setEscapeButton(pressed[2]);
    box.exec();
    for (int i = 0; i < 2; ++i) {
        if (box.clickedButton() == pressed[i]) {
            return i;
        }
    }
    return 2;
}

bool CQtPrompt::FileDialog(const SFileDialogSpec& request, std::string& path) {
    QWidget* parent = request.owner ? ToWidget(request.owner) : QApplication::activeWindow();
    QFileDialog dialog(parent, QString::fromUtf8(request.title),
                       QString::fromUtf8(request.initialDir));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open && request.fileMustExist ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
    const QStringList filters = ConvertFilter(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    dialog.setDefaultSuffix(DefaultSuffix(request.defaultExt));
    if (!request.fileName.empty()) {
        dialog.selectFile(QString::fromUtf8(request.fileName));
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setSizeGripEnabled(request.resizable);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return false;
    }
    path = QDir::toNativeSeparators(files.front()).toStdString();
    return true;
}

}  // namespace ondrelo
