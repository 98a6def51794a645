// The element type icons of the form wizard's lists: eight 16x16 pictures
// drawn once, at first use, in type-code order.
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "FormwardenDialogs.h"

namespace formwarden {

namespace {

constexpr int kIconSize = 16;

const QColor kFrame(64, 64, 64);
const QColor kField(255, 255, 255);
const QColor kInk(0, 0, 128);

// A white field with a dark frame.
void DrawField(QPainter& p, const QRect& r) {
    p.setPen(kFrame);
    p.setBrush(kField);
    p.drawRect(r);
}

void DrawTextbox(QPainter& p) {
    DrawField(p, QRect(0, 4, 15, 8));
    p.setPen(kInk);
    p.drawLine(3, 6, 3, 10);  // the text cursor
    p.drawLine(2, 6, 4, 6);
    p.drawLine(2, 10, 4, 10);
}

void DrawCheckbox(QPainter& p) {
    DrawField(p, QRect(2, 2, 11, 11));
    QPen tick(QColor(0, 128, 0), 2);
    p.setPen(tick);
    p.drawLine(4, 7, 7, 10);
    p.drawLine(7, 10, 11, 4);
}

void DrawFile(QPainter& p) {
    DrawField(p, QRect(0, 8, 9, 6));
    // A folder beside the field.
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(QRect(9, 3, 6, 5));
    p.drawRect(QRect(9, 2, 3, 1));
}

void DrawHidden(QPainter& p) {
    QPen dashed(kFrame, 1, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 3, 15, 9));
}

void DrawButton(QPainter& p) {
    p.setPen(kFrame);
    p.setBrush(QColor(212, 208, 200));
    p.drawRoundedRect(QRectF(0.5, 3.5, 14, 9), 2, 2);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(2, 5, 12, 5);  // the raised edge
    p.setPen(kInk);
    p.drawLine(4, 8, 10, 8);  // the caption
}

void DrawMultiline(QPainter& p) {
    DrawField(p, QRect(0, 0, 15, 15));
    p.setPen(kInk);
    for (int y = 3; y <= 11; y += 3) {
        p.drawLine(2, y, 10, y);
    }
    p.setPen(kFrame);
    p.drawLine(12, 1, 12, 14);  // the scroll bar
}

void DrawList(QPainter& p) {
    DrawField(p, QRect(0, 0, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 160));
    p.drawRect(QRect(1, 5, 14, 4));  // the chosen row
    p.setPen(kInk);
    p.drawLine(3, 3, 11, 3);
    p.drawLine(3, 12, 11, 12);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(3, 7, 11, 7);
}

void DrawRadio(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kFrame);
    p.setBrush(kField);
    p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(5, 5, 5, 5));
}

QIcon DrawIcon(int type) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (type) {
        case kTypeTextbox:
            DrawTextbox(p);
            break;
        case kTypeCheckbox:
            DrawCheckbox(p);
            break;
        case kTypeFile:
            DrawFile(p);
            break;
        case kTypeHidden:
            DrawHidden(p);
            break;
        case kTypeButton:
            DrawButton(p);
            break;
        case kTypeMultiline:
            DrawMultiline(p);
            break;
        case kTypeListbox:
            DrawList(p);
            break;
        default:
            DrawRadio(p);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace

const CImageList& ElementTypeImageList() {
    static const CImageList list = [] {
        CImageList icons;
        for (int type = 0; type < kElementTypeCount; ++type) {
            icons.append(DrawIcon(type));
        }
        return icons;
    }();
    return list;
}

QIcon ElementTypeIcon(int type) {
    if (type < 0 || type >= kElementTypeCount) {
        return {};
    }
    return ElementTypeImageList().at(type);
}

}  // namespace formwarden
