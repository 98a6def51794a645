#include "ondrelo/HyperLink.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QMouseEvent>

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    Restyle();
}

CHyperLink::CHyperLink(const QString& text, const QString& url, QWidget* parent)
    : CHyperLink(parent) {
    setText(text);
    SetURL(url);
}

void CHyperLink::SetURL(const QString& url) {
    m_url = url;
    setToolTip(url);
}

void CHyperLink::SetColours(const QColor& link, const QColor& visited, const QColor& hover) {
    m_link = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    Restyle();
}

void CHyperLink::SetUnderline(bool underline) {
    m_underline = underline;
    Restyle();
}

void CHyperLink::SetVisited(bool visited) {
    m_visited = visited;
    Restyle();
}

QColor CHyperLink::CurrentColour() const {
    if (m_hover) {
        return m_hoverColour;
    }
    return m_visited ? m_visitedColour : m_link;
}

bool CHyperLink::GotoURL() {
    const QUrl url = QUrl::fromUserInput(m_url.isEmpty() ? text() : m_url);
    if (!url.isValid()) {
        return false;
    }
    const bool opened = QDesktopServices::openUrl(url);
    if (opened) {
        SetVisited(true);
    }
    emit linkOpened(url);
    return opened;
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        GotoURL();
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    m_hover = true;
    Restyle();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    m_hover = false;
    Restyle();
    QLabel::leaveEvent(event);
}

void CHyperLink::Restyle() {
    QFont f = font();
    f.setUnderline(m_underline);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, CurrentColour());
    setPalette(p);
}

void InitUIDLL() {}
