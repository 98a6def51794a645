// A label that shows a link: an address, underlined text in the link
// colour, another colour once visited and while the mouse is over it, a
// hand cursor, and a click that opens the address in the desktop's browser.
#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>

#include "ondrelo/ui_export.h"

class ONDUI_EXPORT CHyperLink : public QLabel {
    Q_OBJECT
public:
    explicit CHyperLink(QWidget* parent = nullptr);
    CHyperLink(const QString& text, const QString& url, QWidget* parent = nullptr);

    void SetURL(const QString& url);
    QString GetURL() const { return m_url; }
    void SetColours(const QColor& link, const QColor& visited, const QColor& hover);
    QColor GetLinkColour() const { return m_link; }
    QColor GetVisitedColour() const { return m_visitedColour; }
    QColor GetHoverColour() const { return m_hoverColour; }
    void SetUnderline(bool underline);
    bool GetUnderline() const { return m_underline; }
    void SetVisited(bool visited);
    bool GetVisited() const { return m_visited; }
    // The colour the text is painted in now.
    QColor CurrentColour() const;

    // Opens the address (the text when no address was set) and marks the
    // link visited; false when the desktop could not open it.
    bool GotoURL();

signals:
    void linkOpened(const QUrl& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Restyle();

    QString m_url;
    QColor m_link{0, 0, 238};
    QColor m_visitedColour{85, 26, 139};
    QColor m_hoverColour{0, 0, 255};
    bool m_underline = true;
    bool m_visited = false;
    bool m_hover = false;
};

// Start-up call of the library; safe to call more than once.
ONDUI_EXPORT void InitUIDLL();
