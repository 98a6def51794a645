// The Hoverkit library: the module class CHoverkit around the button
// wizard's sheet, its registration, and the library's start and end.
#include "MoverButtonPages.h"
#include "bridgel/CIWImpl.h"
#include "hoverkit/HoverkitResources.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/HyperLink.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleObject.h"
#include "ondrelo/QtModuleSheet.h"

namespace hoverkit {

namespace {

using namespace ondrelo::modules;

const ondrelo::SModuleDescriptor kDescriptor{"VozizEvev Uduved Ududor",
                                             &HoverkitLibraryResources(),
                                             &ondrelo::MakeQtModuleSheet<CMoverButtonSheet>};

class CHoverkit : public ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<ICHoverkit>,
                                                       IID_ICHoverkit> {
public:
    CHoverkit() : COndModuleObjectWith(kDescriptor) {}
};

ondrelo::com::COndServerModule g_server(
    {{CLSID_CHoverkit, &ondrelo::com::CreateObjectInstance<CHoverkit>, kCHoverkitScript}},
    kHoverkitTypeLib);

// While the library is loaded: Common, the button library and the adapter
// library are initialised, and calls into it look up its resources first.
struct SLibraryLifetime {
    SLibraryLifetime() {
        InitCommonDLL();
        InitUIDLL();
        InitBridgel();
        g_server.SetCallContext(ondrelo::ResourceContext(&HoverkitLibraryResources()));
    }
    ~SLibraryLifetime() { TermCommonDLL(); }
} g_lifetime;

}  // namespace
}  // namespace hoverkit

ONDRELO_COM_SERVER_ENTRY_POINTS(hoverkit::g_server)
