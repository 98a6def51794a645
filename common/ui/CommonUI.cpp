#include "ondrelo/CommonUI.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>
#include <cstdio>

#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/Format.h"
#include "ondrelo/QtPrompt.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"

namespace {

int g_initCount = 0;
ondrelo::IPrompt* g_previousPrompt = nullptr;

// Never destroyed: a prompt installed after ours (a test's) remembers it and
// puts it back when it goes, possibly after TermCommonDLL.
ondrelo::CQtPrompt& QtPrompt() {
    static auto* prompt = new ondrelo::CQtPrompt;
    return *prompt;
}

}  // namespace

void InitCommonDLL() {
    if (g_initCount++ > 0) {
        return;
    }
    g_previousPrompt = ondrelo::SetPrompt(&QtPrompt());
    // Common's resources are compiled into this library and registered when
    // it is loaded; say so loudly when they are missing, since every wizard
    // button needs them.
    if (!QFile::exists(QString(ondrelo::kCommonQtPrefix) + "/icons/14000.png")) {
        std::fprintf(stderr, "Ondrelo: the resources of the Common library are missing\n");
    }
}

void TermCommonDLL() {
    if (g_initCount == 0 || --g_initCount > 0) {
        return;
    }
    // Put the earlier prompt back only when ours is still the one in use; a
    // prompt installed later (a test's) stays.
    ondrelo::IPrompt* current = ondrelo::SetPrompt(g_previousPrompt);
    if (current != &QtPrompt()) {
        ondrelo::SetPrompt(current);
    }
    g_previousPrompt = nullptr;
}

void MoveWindowOver(QWidget* placeholder, QWidget* target, QWidget* parent) {
    if (!placeholder || !target || !parent) {
        return;
    }
    const QPoint topLeft = parent->mapFromGlobal(placeholder->mapToGlobal(QPoint(0, 0)));
    QRect rect(topLeft, placeholder->size());
    // The target's geometry is in its own parent's coordinates.
    if (target->parentWidget() && target->parentWidget() != parent) {
        rect.moveTopLeft(target->parentWidget()->mapFromGlobal(parent->mapToGlobal(topLeft)));
    }
    target->setGeometry(rect);
    target->update();
    placeholder->hide();
}

void MoveWindowOver(HWND placeholder, HWND target, HWND parent) {
    MoveWindowOver(ondrelo::ToWidget(placeholder), ondrelo::ToWidget(target),
                   ondrelo::ToWidget(parent));
}

void InitOndButton(CButtonST& button) {
    using State = CButtonST::EState;
    const QColor blue(0, 0, 255);
    const QColor window = button.palette().color(QPalette::Base);
    button.SetTextColor(State::Normal, blue, true);
    button.SetTextColor(State::Hover, blue, true);
    button.SetTextColor(State::Focus, blue, true);
    button.SetBackColor(State::Hover, QColor(230, 230, 255), true);
    button.SetBackColor(State::Normal, window, true);
    button.SetBackColor(State::Focus, window, true);
}

namespace ondrelo {

void UseWindowBackground(QWidget* widget) {
    if (!widget) {
        return;
    }
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

const char* const kBrowserFileMissing = "The file %s cannot be shown: it does not exist.";
const char* const kBrowserNotStarted =
    "No program could be started to show %s. Please make sure that a web browser is installed "
    "and set as the desktop's default browser.";

namespace {

UrlOpener& Opener() {
    static UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

}  // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener previous = Opener();
    Opener() = std::move(opener);
    return previous;
}

bool OpenInBrowser(const std::string& path, HWND owner) {
    const QString file = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    const char* problem = nullptr;
    if (path.empty() || !QFileInfo(file).isFile()) {
        problem = kBrowserFileMissing;
    } else if (!Opener()(QUrl::fromLocalFile(file))) {
        problem = kBrowserNotStarted;
    }
    if (problem == nullptr) {
        return true;
    }
    CCommon::ShowMessageBox(FormatText(problem, {path}), owner, MB_OK | MB_ICONERROR);
    return false;
}

}  // namespace ondrelo
