// Draws the program's bitmaps at build time:
//   ondrelo-art OUTDIR
// splash.png (550 x 191, bitmap 102), tree130.png and tree131.png (16 x 16
// tree images on white, the transparent colour) and ondrelo-<n>.png, the
// program icon in several sizes.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor kInk(0x12, 0x2b, 0x4a);
const QColor kSea(0x1c, 0x6e, 0x8c);
const QColor kLeaf(0x3f, 0xb8, 0x8f);
const QColor kSun(0xf2, 0xa9, 0x3b);

// The emblem: a rounded tile with angle brackets and a spark.
void DrawEmblem(QPainter& p, const QRectF& r) {
    const qreal s = r.width();
    QLinearGradient tile(r.topLeft(), r.bottomRight());
    tile.setColorAt(0, kSea);
    tile.setColorAt(1, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(r, s * 0.2, s * 0.2);

    QPen pen(Qt::white, s * 0.085, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal cx = r.center().x();
    const qreal cy = r.center().y() + s * 0.04;
    QPainterPath left;
    left.moveTo(cx - s * 0.16, cy - s * 0.2);
    left.lineTo(cx - s * 0.33, cy);
    left.lineTo(cx - s * 0.16, cy + s * 0.2);
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(cx + s * 0.16, cy - s * 0.2);
    right.lineTo(cx + s * 0.33, cy);
    right.lineTo(cx + s * 0.16, cy + s * 0.2);
    p.drawPath(right);
    pen.setColor(kLeaf);
    p.setPen(pen);
    p.drawLine(QPointF(cx + s * 0.06, cy - s * 0.24), QPointF(cx - s * 0.06, cy + s * 0.24));

    // The spark in the upper right corner: the wizard's touch.
    const QPointF c(r.right() - s * 0.2, r.top() + s * 0.2);
    QPainterPath star;
    const qreal a = s * 0.13;
    const qreal b = s * 0.035;
    star.moveTo(c.x(), c.y() - a);
    star.lineTo(c.x() + b, c.y() - b);
    star.lineTo(c.x() + a, c.y());
    star.lineTo(c.x() + b, c.y() + b);
    star.lineTo(c.x(), c.y() + a);
    star.lineTo(c.x() - b, c.y() + b);
    star.lineTo(c.x() - a, c.y());
    star.lineTo(c.x() - b, c.y() - b);
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSun);
    p.drawPath(star);
}

QImage Splash() {
    QImage img(550, 191, QImage::Format_RGB888);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 550, 191);
    sky.setColorAt(0, QColor(0x0d, 0x1f, 0x38));
    sky.setColorAt(0.6, kInk);
    sky.setColorAt(1, kSea);
    p.fillRect(img.rect(), sky);

    // Soft rings behind the emblem.
    QRadialGradient glow(QPointF(95, 95), 150);
    glow.setColorAt(0, QColor(255, 255, 255, 45));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1.2));
    for (int i = 0; i < 7; ++i) {
        p.drawEllipse(QPointF(470, 40), 60 + i * 26, 60 + i * 26);
    }

    // Faint markup in the background.
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(11);
    p.setFont(mono);
    p.setPen(QColor(255, 255, 255, 34));
    const char* lines[] = {"<form name=\"order\" onsubmit=\"return v.check()\">",
                           "  <input type=\"text\" name=\"email\">",
                           "<a href=\"#\" onmouseover=\"swap('b1',1)\">",
                           "window.open(url, \"popup\", \"width=320\");"};
    for (int i = 0; i < 4; ++i) {
        p.drawText(QPointF(200, 128 + i * 14), QString::fromLatin1(lines[i]));
    }

    DrawEmblem(p, QRectF(32, 40, 110, 110));

    QFont title("DejaVu Sans");
    title.setPixelSize(50);
    title.setBold(true);
    title.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(168, 92), QStringLiteral("Ondrelo"));

    QFont tag("DejaVu Sans");
    tag.setPixelSize(15);
    p.setFont(tag);
    p.setPen(QColor(0xcf, 0xe6, 0xef));
    p.drawText(QPointF(171, 117), QStringLiteral("Wizards that write HTML and JavaScript"));

    p.setPen(QPen(kSun, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(171, 100), QPointF(232, 100));

    QFont small("DejaVu Sans");
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(255, 255, 255, 170));
    p.drawText(QRectF(0, 164, 534, 18), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Velmora  \u00b7  Version 1.1"));
    p.end();
    return img;
}

// A 16 x 16 tree image on white. The open variant marks the selected item.
QImage TreeImage(bool selected) {
    QImage img(16, 16, QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A page with a folded corner.
    const QColor edge = selected ? kInk : QColor(0x4a, 0x5a, 0x6e);
    const QColor body = selected ? QColor(0xe3, 0xf4, 0xee) : QColor(0xf4, 0xf6, 0xf9);
    QPolygon page;
    page << QPoint(2, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14) << QPoint(2, 14);
    p.setPen(edge);
    p.setBrush(body);
    p.drawPolygon(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    // Lines of text, the first one coloured.
    p.setPen(selected ? kLeaf.darker(120) : kSea);
    p.drawLine(4, 6, 11, 6);
    p.setPen(selected ? kSea : QColor(0x9a, 0xa6, 0xb4));
    p.drawLine(4, 8, 11, 8);
    p.drawLine(4, 10, 9, 10);
    if (selected) {
        // The spark of the active wizard.
        p.setPen(kSun.darker(115));
        p.drawLine(12, 9, 12, 15);
        p.drawLine(9, 12, 15, 12);
        p.setPen(kSun);
        p.drawPoint(12, 12);
        p.drawPoint(11, 12);
        p.drawPoint(13, 12);
    }
    p.end();
    return img;
}

QImage Icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.06;
    DrawEmblem(p, QRectF(m, m, size - 2 * m, size - 2 * m));
    p.end();
    return img;
}

bool Save(const QImage& img, const QString& path) {
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "ondrelo-art: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ondrelo-art OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "ondrelo-art: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = Save(Splash(), out.filePath("splash.png"));
    ok = Save(TreeImage(false), out.filePath("tree130.png")) && ok;
    ok = Save(TreeImage(true), out.filePath("tree131.png")) && ok;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        ok = Save(Icon(size), out.filePath(QStringLiteral("ondrelo-%1.png").arg(size))) && ok;
    }
    return ok ? 0 : 1;
}
