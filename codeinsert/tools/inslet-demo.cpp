// Shows the code-insertion component with sample texts in a window, through
// the adapter, as a wizard's last page would. The component is registered
// into a scratch settings store first (unless ONDRELO_REGISTRY names one).
//
//   inslet-demo [--inslet LIBRARY] [--tab N] [--wizard NEXTS] [--existing]
//               [--screenshot FILE]
//
// --tab selects a tab of the component; --wizard opens the inner wizard and
// presses Next the given number of times (a sample page path is filled in,
// --existing picks "Insert ... in Existing File"); --screenshot saves the
// window (or the inner wizard) as a PNG and quits.
#include <dlfcn.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bridgel/CIWImpl.h"
#include "inslet/InsletControls.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

namespace {

const char kSubCode[] = "<script language=\"JavaScript\" src=\"scripts/mover2.js\"></script>\r\n";
const char kMainCode[] =
    "<a href=\"index.html\" onMouseOver=\"mover_14123.over()\" "
    "onMouseOut=\"mover_14123.out()\">\r\n"
    "<img name=\"img_14123\" src=\"images/home.gif\" border=\"0\"></a>\r\n"
    "<script language=\"JavaScript\">\r\n"
    "var mover_14123 = new "
    "MouseOverButton(\"img_14123\",\"images/home.gif\",\"images/home_over.gif\","
    "\"images/home_down.gif\");\r\n"
    "</script>\r\n";
const char kWarnings[] =
    "The image for the mouse down state is not given; the normal image is used.";

// Writes the code into a new page, or after the body tag of an existing one.
class CDemoHandler : public ICodeWizEventHandler {
public:
    int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath, bool createFile,
                   bool placeAfterBody) override {
        std::printf("InsertCode: page=%s script=%s create=%d afterBody=%d\n", pagePath.c_str(),
                    scriptCopyPath.c_str(), createFile, placeAfterBody);
        std::fflush(stdout);
        if (pagePath.empty()) {
            return 0;
        }
        if (createFile) {
            std::ofstream out(pagePath, std::ios::binary);
            out << "<html>\n<head>\n"
                << kSubCode << "</head>\n<body>\n"
                << kMainCode << "</body>\n</html>\n";
            return out ? 1 : 0;
        }
        return 1;
    }
};

std::string Argument(int argc, char** argv, const char* name, const char* fallback = "") {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return argv[i + 1];
        }
    }
    return fallback;
}

bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return true;
        }
    }
    return false;
}

// Registers the component library through its own entry point.
bool RegisterInslet(const std::string& library) {
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "inslet-demo: %s\n", dlerror());
        return false;
    }
    auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllRegisterServer"));
    const HRESULT hr = entry ? entry() : E_FAIL;
    dlclose(handle);
    return SUCCEEDED(hr);
}

void Save(QWidget* widget, const std::string& file) {
    if (!widget->grab().save(QString::fromStdString(file), "PNG")) {
        std::fprintf(stderr, "inslet-demo: cannot write %s\n", file.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InitCommonDLL();
    InitBridgel();

    // A scratch store with the sample script, unless one is given.
    const QString scratch = QDir::tempPath() + "/inslet-demo-" + QString::number(::getpid());
    if (!std::getenv("ONDRELO_REGISTRY")) {
        QDir().mkpath(scratch + "/scripts");
        QDir().mkpath(scratch + "/site");
        ::setenv("ONDRELO_REGISTRY", (scratch + "/registry.db").toUtf8().constData(), 1);
        QFile script(scratch + "/scripts/mover2.js");
        if (script.open(QIODevice::WriteOnly)) {
            script.write("function MouseOverButton(){}\n");
        }
        ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey,
                                       "scriptspath", (scratch + "/scripts").toStdString());
        COndRegistryHandler::SetSettingsValue("lastscriptpath", (scratch + "/site").toStdString());
        RegisterInslet(Argument(argc, argv, "--inslet", INSLET_LIBRARY_PATH));
    }
    CoInitialize(nullptr);

    QWidget page;
    page.setWindowTitle(QStringLiteral("Inslet demo"));
    page.resize(COndWizPage::kDesignWidth, COndWizPage::kDesignHeight);
    ondrelo::UseWindowBackground(&page);
    auto* placeholder = new QWidget(&page);
    placeholder->setGeometry(7, 7, 526, 322);

    CDemoHandler handler;
    auto* ciw = new CCIWImpl(&handler);
    ciw->Create(placeholder, &page);
    ciw->SetStaticInfo("Copy the following code just after the </HEAD> tag in the HTML page.",
                       "Copy the code below and paste it where the button should appear.",
                       "mover2.js", "<!--_PLACE_THE_BUTTON_HERE_-->", "Button");
    ciw->SetCode(kSubCode, kMainCode, Flag(argc, argv, "--no-warnings") ? "" : kWarnings);
    ciw->Activate();
    // What the wizard does when its last page is shown again.
    auto* again = new QPushButton(QStringLiteral("Show the last page again"), &page);
    again->setGeometry(7, 304, 200, 26);
    QObject::connect(again, &QPushButton::clicked, [ciw] {
        ciw->SetCode(kSubCode, kMainCode, "");
        ciw->Activate();
    });
    page.show();

    const std::string shot = Argument(argc, argv, "--screenshot");
    const std::string tab = Argument(argc, argv, "--tab");
    const std::string nexts = Argument(argc, argv, "--wizard");
    if (!tab.empty()) {
        if (auto* sheet = ondrelo::FindControlAs<QTabWidget>(&page, inslet::IDC_TAB_SHEET)) {
            sheet->setCurrentIndex(std::atoi(tab.c_str()));
        }
    }
    if (!nexts.empty()) {
        const bool existing = Flag(argc, argv, "--existing");
        const std::string target = (scratch + "/site/page.html").toStdString();
        QTimer::singleShot(200, [&, existing, target] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                return;
            }
            if (existing) {
                ondrelo::FindControlAs<QRadioButton>(dialog, inslet::IDC_INSERT_EXISTING)->click();
            }
            auto* path = ondrelo::FindControlAs<QLineEdit>(dialog, inslet::IDC_HTML_PATH);
            path->setText(QString::fromStdString(target));
            emit path->textEdited(path->text());
            for (int i = 0; i < std::atoi(nexts.c_str()); ++i) {
                ondrelo::FindControlAs<QPushButton>(dialog, ID_WIZNEXT)->click();
            }
            if (!shot.empty()) {
                QTimer::singleShot(200, [dialog, shot] {
                    Save(dialog, shot);
                    if (auto* d = qobject_cast<QDialog*>(dialog)) {
                        d->reject();
                    }
                    QApplication::quit();
                });
            }
        });
        QTimer::singleShot(0, [&page] {
            ondrelo::FindControlAs<QPushButton>(&page, inslet::IDC_START_WIZARD)->click();
        });
    } else if (!shot.empty()) {
        QTimer::singleShot(300, [&page, shot] {
            Save(&page, shot);
            QApplication::quit();
        });
    }
    const int result = app.exec();
    delete ciw;
    CoUninitialize();
    if (!std::getenv("INSLET_DEMO_KEEP")) {
        QDir(scratch).removeRecursively();
    }
    return result;
}
