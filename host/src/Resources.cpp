#include "Resources.h"

#include <QString>

namespace ondrelo::host {

QPixmap LoadProgramBitmap(int id) {
    return QPixmap(QStringLiteral(":/Ondrelo/bitmaps/%1.png").arg(id));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/Ondrelo/icons/ondrelo-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace ondrelo::host
