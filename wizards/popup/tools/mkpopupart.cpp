// Draws the popup wizard's pictures at build time:
//   popkin-art OUTDIR
// OUTDIR/<n>.png for the Position page's screen preview (207 the screen,
// 209 the small popup window) and the Features page's sample browser window
// (223 title bar, 238 address bar, 235 menu bar, 236 tool bar, 237 links
// bar, 224 lower edge, 218 page area, 231 scroll bar, 225 status bar).
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

namespace {

constexpr int kWidth = 200;  // every bar of the sample window
const QColor kFrame(0xc0, 0xc6, 0xd0);
const QColor kFrameDark(0x80, 0x88, 0x98);
const QColor kTitle(0x1c, 0x4e, 0x8c);
const QColor kTitleEnd(0x4a, 0x8f, 0xc8);
const QColor kInk(0x20, 0x24, 0x30);

QImage NewImage(int w, int h, const QColor& fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The window's side frame on both edges of a bar.
void SideFrame(QPainter& p, int h) {
    p.fillRect(0, 0, 4, h, kFrame);
    p.fillRect(kWidth - 4, 0, 4, h, kFrame);
    p.fillRect(0, 0, 1, h, kFrameDark);
    p.fillRect(kWidth - 1, 0, 1, h, kFrameDark);
}

void Text(QPainter& p, const QRect& r, const QString& text, const QColor& color, int px,
          bool bold = false) {
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(px);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignVCenter | Qt::AlignLeft, text);
}

QImage TitleBar() {
    QImage image = NewImage(kWidth, 20, kFrame);
    QPainter p(&image);
    p.fillRect(0, 0, kWidth, 1, kFrameDark);
    SideFrame(p, 20);
    p.fillRect(0, 0, kWidth, 1, kFrameDark);
    QLinearGradient g(0, 0, kWidth, 0);
    g.setColorAt(0, kTitle);
    g.setColorAt(1, kTitleEnd);
    p.fillRect(4, 3, kWidth - 8, 15, g);
    Text(p, QRect(9, 3, 140, 15), QStringLiteral("Popup"), Qt::white, 10, true);
    // Minimise, maximise and close boxes.
    for (int i = 0; i < 3; ++i) {
        const QRect box(kWidth - 46 + i * 14, 5, 12, 11);
        p.fillRect(box, kFrame);
        p.setPen(kInk);
        if (i == 0) {
            p.drawLine(box.left() + 3, box.bottom() - 3, box.right() - 3, box.bottom() - 3);
        } else if (i == 1) {
            p.drawRect(box.adjusted(3, 2, -3, -3));
        } else {
            p.drawLine(box.topLeft() + QPoint(3, 2), box.bottomRight() - QPoint(3, 3));
            p.drawLine(box.topRight() + QPoint(-3, 2), box.bottomLeft() + QPoint(3, -3));
        }
    }
    return image;
}

QImage Bar(int h, const QString& caption, bool field) {
    QImage image = NewImage(kWidth, h, kFrame);
    QPainter p(&image);
    SideFrame(p, h);
    p.fillRect(4, h - 1, kWidth - 8, 1, kFrameDark.lighter(130));
    if (field) {
        Text(p, QRect(7, 0, 40, h), caption, kInk, 9);
        const QRect box(46, 2, kWidth - 54, h - 5);
        p.fillRect(box, Qt::white);
        p.setPen(kFrameDark);
        p.drawRect(box);
        Text(p, box.adjusted(3, 0, 0, 0), QStringLiteral("http://www.example.com/"), kInk, 8);
    } else {
        Text(p, QRect(7, 0, kWidth - 14, h), caption, kInk, 9);
    }
    return image;
}

QImage ToolBar() {
    QImage image = NewImage(kWidth, 24, kFrame);
    QPainter p(&image);
    SideFrame(p, 24);
    p.fillRect(4, 23, kWidth - 8, 1, kFrameDark.lighter(130));
    const QColor colours[] = {QColor(0x3a, 0x8f, 0x3a), QColor(0x3a, 0x8f, 0x3a),
                              QColor(0xc0, 0x40, 0x30), QColor(0x30, 0x70, 0xc0),
                              QColor(0xd0, 0x90, 0x20)};
    for (int i = 0; i < 5; ++i) {
        const QRect button(8 + i * 22, 3, 18, 18);
        p.setPen(kFrameDark);
        p.setBrush(kFrame.lighter(108));
        p.drawRoundedRect(button, 3, 3);
        p.setBrush(colours[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(button.adjusted(4, 4, -4, -4));
    }
    return image;
}

QImage LowerEdge() {
    QImage image = NewImage(kWidth, 4, kFrame);
    QPainter p(&image);
    SideFrame(p, 4);
    p.fillRect(4, 3, kWidth - 8, 1, kFrameDark);
    return image;
}

QImage PageArea() {
    const int h = 120;
    QImage image = NewImage(kWidth, h, Qt::white);
    QPainter p(&image);
    SideFrame(p, h);
    p.fillRect(0, h - 4, kWidth, 4, kFrame);
    p.fillRect(0, h - 1, kWidth, 1, kFrameDark);
    // A few lines of a page.
    Text(p, QRect(10, 6, 150, 14), QStringLiteral("Welcome!"), kTitle, 11, true);
    for (int i = 0; i < 5; ++i) {
        p.fillRect(10, 28 + i * 12, (i % 2) ? 130 : 150, 5, QColor(0xd8, 0xdc, 0xe4));
    }
    return image;
}

QImage ScrollBar() {
    const int h = 113;
    QImage image = NewImage(16, h, QColor(0xe4, 0xe7, 0xec));
    QPainter p(&image);
    p.fillRect(0, 0, 16, 16, kFrame);
    p.fillRect(0, h - 16, 16, 16, kFrame);
    p.fillRect(2, 22, 12, 30, kFrame);
    p.setPen(kInk);
    p.setBrush(kInk);
    const QPoint up[] = {QPoint(8, 5), QPoint(4, 10), QPoint(12, 10)};
    p.drawPolygon(up, 3);
    const QPoint down[] = {QPoint(8, h - 5), QPoint(4, h - 10), QPoint(12, h - 10)};
    p.drawPolygon(down, 3);
    return image;
}

QImage StatusBar() {
    QImage image = NewImage(kWidth, 18, kFrame);
    QPainter p(&image);
    SideFrame(p, 18);
    p.fillRect(0, 17, kWidth, 1, kFrameDark);
    p.setPen(kFrameDark);
    p.drawRect(5, 2, kWidth - 60, 12);
    Text(p, QRect(8, 2, 120, 13), QStringLiteral("Done"), kInk, 9);
    return image;
}

// The screen image of the Position page: a desktop with a task bar.
QImage Screen() {
    QImage image(256, 192, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 192);
    g.setColorAt(0, QColor(0x2c, 0x6e, 0x9c));
    g.setColorAt(1, QColor(0x18, 0x3c, 0x60));
    p.fillRect(image.rect(), g);
    p.fillRect(0, 180, 256, 12, kFrame);
    p.fillRect(2, 182, 26, 8, QColor(0x3a, 0x8f, 0x3a));
    for (int i = 0; i < 3; ++i) {
        p.fillRect(8, 8 + i * 22, 14, 14, QColor(0xe8, 0xe8, 0xe8));
    }
    return image;
}

// The small window in the preview that stands for the popup.
QImage SmallWindow() {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, 64, 10, kTitle);
    p.fillRect(54, 2, 7, 6, kFrame);
    p.setPen(kFrameDark);
    p.drawRect(0, 0, 63, 63);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(6, 16 + i * 10, (i % 2) ? 36 : 48, 4, QColor(0xd8, 0xdc, 0xe4));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: popkin-art OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const struct {
        int id;
        QImage image;
    } pictures[] = {
        {207, Screen()},
        {209, SmallWindow()},
        {223, TitleBar()},
        {238, Bar(18, QStringLiteral("Address"), true)},
        {235, Bar(15, QStringLiteral("File  Edit  View  Go  Help"), false)},
        {236, ToolBar()},
        {237, Bar(16, QStringLiteral("Links:  Home  News  Search"), false)},
        {224, LowerEdge()},
        {218, PageArea()},
        {231, ScrollBar()},
        {225, StatusBar()},
    };
    for (const auto& picture : pictures) {
        const QString path = dir + QStringLiteral("/%1.png").arg(picture.id);
        if (!picture.image.save(path)) {
            std::fprintf(stderr, "popkin-art: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
