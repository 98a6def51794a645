#include "ondrelo/BrowserWnd.h"

#include <QDesktopServices>
#include <QFile>
#include <QTextDocument>

#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/Resources.h"

namespace {

// ":/Inslet" -> "/Inslet"; empty for a prefix that is not a single folder
// of the resource root, which no address could name.
QString ResourceFolder(const char* prefix) {
    if (prefix == nullptr) {
        return {};
    }
    const QString folder = QString::fromUtf8(prefix);
    if (!folder.startsWith(QLatin1String(":/")) || folder.size() < 3 ||
        folder.indexOf('/', 2) >= 0) {
        return {};
    }
    return folder.mid(1);
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
    if (!parent) {
        return false;
    }
    setParent(parent);
    setGeometry(rect);
    show();
    return true;
}

bool CBrowserWnd::Create(HWND parent, const RECT& rect) {
    return Create(ondrelo::ToWidget(parent), ondrelo::ToQRect(rect));
}

std::string CBrowserWnd::ResourceAddress(const ondrelo::SModuleResources& module, unsigned id) {
    const QString folder = ResourceFolder(module.qtResourcePrefix);
    if (folder.isEmpty()) {
        return {};
    }
    return "res://" + folder.toStdString() + "/" + std::to_string(id);
}

bool CBrowserWnd::LoadFromResource(unsigned id) {
    const ondrelo::SModuleResources* module = ondrelo::CurrentModuleResources();
    if (!module) {
        module = &ondrelo::CommonResources();
    }
    const std::string address = ResourceAddress(*module, id);
    if (address.empty() || ResolveResource(QUrl(QString::fromStdString(address))).isEmpty()) {
        return false;
    }
    Navigate(address);
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

QString CBrowserWnd::ResolveResource(const QUrl& address) {
    if (address.scheme() != QLatin1String("res") || !address.host().isEmpty()) {
        return {};
    }
    // "/<module folder>/<resource>"; the resource may lie in a subfolder.
    const QStringList parts = address.path().split('/');
    if (parts.size() < 3 || !parts[0].isEmpty()) {
        return {};
    }
    for (const QString& part : parts.mid(1)) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            return {};
        }
    }
    QString relative = parts.mid(2).join('/');
    bool page = false;
    relative.toUInt(&page);
    if (page) {
        relative += QLatin1String(".html");
    }
    // A page is always the module's own; a style sheet or picture it lacks
    // may be Common's, shared by all help pages.
    const QString own = QLatin1String(":/") + parts[1] + QLatin1String("/html/") + relative;
    if (QFile::exists(own)) {
        return own;
    }
    const QString shared =
        QLatin1String(ondrelo::kCommonQtPrefix) + QLatin1String("/html/") + relative;
    if (!page && QFile::exists(shared)) {
        return shared;
    }
    return {};
}

QVariant CBrowserWnd::loadResource(int type, const QUrl& name) {
    if (name.scheme() != QLatin1String("res")) {
        return QTextBrowser::loadResource(type, name);
    }
    const QString path = ResolveResource(name);
    if (path.isEmpty()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
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
