// The help pane: shows a module's HTML page by number. The address
// "res://<module path>/<n>" is served from that module's Qt resources
// (<prefix>/html/<n>.html), and so are the page's pictures and style sheet;
// links to other addresses open in the desktop's browser.
#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <string>

#include "ondrelo/Window.h"
#include "ondrelo/common_export.h"

namespace ondrelo {
struct SModuleResources;
}

class ONDCOMMON_EXPORT CBrowserWnd : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr int kControlId = 123;

    explicit CBrowserWnd(QWidget* parent = nullptr);

    // Makes the pane a visible child of the parent with the rectangle.
    virtual bool Create(QWidget* parent, const QRect& rect);
    bool Create(HWND parent, const RECT& rect);
    // Shows page n of the module of the current resource scope (Common
    // outside any scope); false when that module has no file path.
    virtual bool LoadFromResource(unsigned id);
    // Goes to the address. The flags, target frame, post data and headers
    // of a web request have no meaning for the pages shown here and are
    // ignored.
    void Navigate(const std::string& address, unsigned flags = 0, const std::string& frame = {},
                  const std::string& postData = {}, const std::string& headers = {});

    // The address of the module's page n: "res://%s/%d".
    static std::string ResourceAddress(const ondrelo::SModuleResources& module, unsigned id);
    // Makes the module's pages reachable under its res:// addresses.
    static void RegisterModule(const ondrelo::SModuleResources& module);

    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link to an address outside the modules' pages was opened.
    void externalLinkOpened(const QUrl& url);

private:
    void OnAnchorClicked(const QUrl& url);
};
