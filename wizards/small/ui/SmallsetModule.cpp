// The Smallset component library: its two module classes around their
// wizard sheets, and what the library does when it is loaded and unloaded.
#include "SmallsetPages.h"
#include "bridgel/CIWImpl.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/HyperLink.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleObject.h"
#include "ondrelo/QtModuleSheet.h"
#include "ondrelo/com.h"
#include "ondrelo/comserver.h"
#include "smallset/SmallsetText.h"

namespace smallset {
namespace {

using namespace ondrelo::modules;

const ondrelo::SModuleDescriptor kDLinkDescriptor{
    "Rorida Ziro Zover", &SmallsetResources(), &ondrelo::MakeQtModuleSheet<CDLinkSheet>};
const ondrelo::SModuleDescriptor kAffLinkDescriptor{
    "Rarededeva Razo Revizav", &SmallsetResources(), &ondrelo::MakeQtModuleSheet<CAffLinkSheet>};

class CRoridaZiroZover
    : public ondrelo::COndModuleObjectWith<IRoridaZiroZover, IID_IRoridaZiroZover> {
public:
    CRoridaZiroZover() : COndModuleObjectWith(kDLinkDescriptor) {}
};

class CDudIzuvIzurido
    : public ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<IDudIzuvIzurido>,
                                           IID_IDudIzuvIzurido> {
public:
    CDudIzuvIzurido() : COndModuleObjectWith(kAffLinkDescriptor) {}
};

ondrelo::com::COndServerModule g_server(
    {{CLSID_RoridaZiroZover, &ondrelo::com::CreateObjectInstance<CRoridaZiroZover>,
      kRoridaZiroZoverScript},
     {CLSID_DudIzuvIzurido, &ondrelo::com::CreateObjectInstance<CDudIzuvIzurido>,
      kDudIzuvIzuridoScript}},
    kSmallsetTypeLib);

// Library start and end: the component library for the loading thread, the
// Common library, the button library and the adapter library; calls into
// the library look up its own strings and pages first.
struct SLibraryLifetime {
    SLibraryLifetime() {
        m_comInitialised = SUCCEEDED(::CoInitialize(nullptr));
        InitCommonDLL();
        InitUIDLL();
        InitBridgel();
        g_server.SetCallContext(ondrelo::ResourceContext(&SmallsetResources()));
        g_server.SetOutstandingObjectsProbe([] { return LiveSheetCount() > 0; });
    }
    ~SLibraryLifetime() {
        TermCommonDLL();
        // Each successful initialisation is balanced, so that the thread's
        // own count is as the library found it.
        if (m_comInitialised)
            ::CoUninitialize();
    }
    bool m_comInitialised = false;
} g_lifetime;

}  // namespace
}  // namespace smallset

ONDRELO_COM_SERVER_ENTRY_POINTS(smallset::g_server)
