#include "ondrelo/BrowserWnd.h"

#include <QDesktopServices>
#include <QFile>
#include <QTextDocument>
#include <map>

#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/Resources.h"

namespace {

constexpr std::size_t kMaxModulePath = 260;

// Module file path -> Qt resource prefix, for the res:// addresses.
std::map<QString, QString>& Modules() {
    static std::map<QString, QString> modules;
    return modules;
}

}  // namespace

CBrowserWnd::CBrowserWnd(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("BrowserWnd"));
    ondrelo::SetControlId(this, kControlId);
    setFrameShape(QFrame::NoFrame);
    setContextMenuPolicy(Qt::NoContextMenu);
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &CBrowserWnd::OnAnchorClicked);
}

bool CBrowserWnd::Create(QWidget* parent, const QRect& rect) {
    if (!parent)
        return false;
    setParent(parent);
    setGeometry(rect);
    show();
    return true;
}

bool CBrowserWnd::Create(HWND parent, const RECT& rect) {
    return Create(ondrelo::ToWidget(parent), ondrelo::ToQRect(rect));
}

std::string CBrowserWnd::ResourceAddress(const ondrelo::SModuleResources& module, unsigned id) {
    return "res://" + module.path + "/" + std::to_string(id);
}

void CBrowserWnd::RegisterModule(const ondrelo::SModuleResources& module) {
    if (module.path.empty())
        return;
    Modules()[QString::fromStdString(module.path)] = ondrelo::QtPrefixOf(&module);
}

bool CBrowserWnd::LoadFromResource(unsigned id) {
    const ondrelo::SModuleResources* module = ondrelo::CurrentModuleResources();
    if (!module)
        module = &ondrelo::CommonResources();
    if (module->path.empty() || module->path.size() > kMaxModulePath)
        return false;
    RegisterModule(*module);
    Navigate(ResourceAddress(*module, id));
    return true;
}

void CBrowserWnd::Navigate(const std::string& address, unsigned, const std::string&,
                           const std::string&, const std::string&) {
    const QUrl url(QString::fromStdString(address));
    if (url.scheme() == QLatin1String("res") || url.isRelative()) {
        setSource(url, QTextDocument::HtmlResource);
    } else {
        OnAnchorClicked(url);
    }
}

QVariant CBrowserWnd::loadResource(int type, const QUrl& name) {
    if (name.scheme() != QLatin1String("res"))
        return QTextBrowser::loadResource(type, name);
    // res://<module path>/<resource>: the last segment names the resource,
    // everything before it the module.
    const QString path = name.path();
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {};
    const QString modulePath = (name.host().isEmpty() ? QString() : name.host()) + path.left(slash);
    const QString resource = path.mid(slash + 1);
    if (resource.isEmpty() || resource.contains(QLatin1String("..")))
        return {};
    bool numeric = false;
    resource.toUInt(&numeric);
    const QString relative = QStringLiteral("html/") + resource + (numeric ? ".html" : "");

    QString prefix;
    auto it = Modules().find(modulePath);
    if (it != Modules().end())
        prefix = it->second;
    QString file;
    for (const QString& p : {prefix, QString::fromLatin1(ondrelo::kCommonQtPrefix)}) {
        if (p.isEmpty())
            continue;
        if (QFile::exists(p + '/' + relative)) {
            file = p + '/' + relative;
            break;
        }
    }
    if (file.isEmpty())
        return {};
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) {
        return QString::fromUtf8(bytes);
    }
    return bytes;
}

void CBrowserWnd::OnAnchorClicked(const QUrl& url) {
    const QUrl target = source().resolved(url);
    if (target.scheme() == QLatin1String("res")) {
        setSource(target, QTextDocument::HtmlResource);
        return;
    }
    if (url.scheme().isEmpty() && url.hasFragment()) {
        scrollToAnchor(url.fragment());
        return;
    }
    QDesktopServices::openUrl(target);
    emit externalLinkOpened(target);
}
