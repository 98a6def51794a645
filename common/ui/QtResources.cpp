#include "ondrelo/QtResources.h"

#include <QFile>

namespace ondrelo {

QString QtPrefixOf(const SModuleResources* module) {
    if (module && module->qtResourcePrefix && *module->qtResourcePrefix) {
        return QString::fromUtf8(module->qtResourcePrefix);
    }
    return QString::fromLatin1(kCommonQtPrefix);
}

QString FindQtResource(const SModuleResources* module, const QString& relative) {
    for (const QString& prefix : {QtPrefixOf(module), QString::fromLatin1(kCommonQtPrefix)}) {
        const QString path = prefix + '/' + relative;
        if (QFile::exists(path)) {
            return path;
        }
    }
    return {};
}

QString FindQtResource(const QString& relative) {
    return FindQtResource(CurrentModuleResources(), relative);
}

QIcon LoadResIcon(unsigned id) {
    const QString path = FindQtResource(QStringLiteral("icons/%1.png").arg(id));
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QPixmap LoadResBitmap(unsigned id) {
    const QString path = FindQtResource(QStringLiteral("bitmaps/%1.png").arg(id));
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

bool LoadResHtml(unsigned id, QByteArray& html) {
    const QString path = FindQtResource(QStringLiteral("html/%1.html").arg(id));
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    html = file.readAll();
    return true;
}

}  // namespace ondrelo
