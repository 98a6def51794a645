// The Popkin library: its resources, the module class Popkinard around the
// popup wizard's sheet, and the library's entry points.
#include "PopkinPages.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/QtModuleSheet.h"
#include "ondrelo/comserver.h"

namespace popkin {

namespace {

using namespace ondrelo::modules;

const ondrelo::SModuleDescriptor kDescriptor{kPopkinDisplayName, &PopkinResources(),
                                             &ondrelo::MakeQtModuleSheet<CPopkinSheet>};

// The module object; its own interface hands out no wizard object.
class CPopkinard : public ondrelo::COndModuleObjectWith<IPopkinard, IID_IPopkinard> {
public:
    CPopkinard() : COndModuleObjectWith(kDescriptor) {}
    HRESULT GetWizard(IUnknown** punknown) override {
        if (punknown == nullptr)
            return E_POINTER;
        *punknown = nullptr;
        return S_OK;
    }
};

ondrelo::com::COndServerModule g_server(
    {{CLSID_Popkinard, &ondrelo::com::CreateObjectInstance<CPopkinard>, kPopkinardScript}},
    kPopkinTypeLib);

// Library start and end: Common and the adapter library are initialised
// while Popkin is loaded, and calls into it look up its resources first.
struct SLibraryLifetime {
    SLibraryLifetime() {
        InitCommonDLL();
        InitBridgel();
        g_server.SetCallContext(ondrelo::ResourceContext(&PopkinResources()));
    }
    ~SLibraryLifetime() { TermCommonDLL(); }
} g_lifetime;

}  // namespace
}  // namespace popkin

ONDRELO_COM_SERVER_ENTRY_POINTS(popkin::g_server)
