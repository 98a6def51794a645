// The help pane: shows a module's HTML page by number. A module's pages live
// in its Qt resources, <prefix>/html/<n>.html with their pictures and style
// sheets beside them, and are addressed "res:///<folder>/<n>", the folder
// being the module's resource prefix without its colon (":/Inslet" gives
// "res:///Inslet/100"). Relative links of a page stay within its module;
// what the module lacks is looked up among Common's pages (the shared style
// sheet). Links to other addresses open in the desktop's browser.
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
    // outside any scope); false when that module has no Qt resources or no
    // such page.
    virtual bool LoadFromResource(unsigned id);
    // Goes to the address. The flags, target frame, post data and headers
    // of a web request have no meaning for the pages shown here and are
    // ignored.
    void Navigate(const std::string& address, unsigned flags = 0, const std::string& frame = {},
                  const std::string& postData = {}, const std::string& headers = {});

    // The address of the module's page n: "res://%s/%d" with the module's
    // resource folder; empty when the module has no Qt resources.
    static std::string ResourceAddress(const ondrelo::SModuleResources& module, unsigned id);
    // The Qt resource path an address of a module page stands for (a number
    // is a page, any other name a file beside the pages); empty when the
    // address is not one of them or the resource does not exist.
    static QString ResolveResource(const QUrl& address);

    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link to an address outside the modules' pages was opened.
    void externalLinkOpened(const QUrl& url);

private:
    void OnAnchorClicked(const QUrl& url);
};
