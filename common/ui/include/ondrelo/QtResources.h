// Qt-side lookups of numbered resources: the module being called first (its
// SModuleResources::qtResourcePrefix), Common's second. A module's Qt
// resources are laid out as <prefix>/icons/<n>.png, <prefix>/bitmaps/<n>.png
// and <prefix>/html/<n>.html, the help pages' pictures and style sheets
// beside them in <prefix>/html/.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include "ondrelo/Resources.h"
#include "ondrelo/common_export.h"

namespace ondrelo {

inline constexpr char kCommonQtPrefix[] = ":/Common";

// The Qt resource prefix of a module (Common's when the module has none).
ONDCOMMON_EXPORT QString QtPrefixOf(const SModuleResources* module);
// The path of "<prefix>/<relative>" in the module, else in Common; empty
// when neither holds it.
ONDCOMMON_EXPORT QString FindQtResource(const SModuleResources* module, const QString& relative);
// Same, starting from the module of the current resource scope.
ONDCOMMON_EXPORT QString FindQtResource(const QString& relative);

ONDCOMMON_EXPORT QIcon LoadResIcon(unsigned id);
ONDCOMMON_EXPORT QPixmap LoadResBitmap(unsigned id);
// False when no module has the page.
ONDCOMMON_EXPORT bool LoadResHtml(unsigned id, QByteArray& html);

}  // namespace ondrelo
