// The Smallset component library: its two module classes around their
// wizard sheets, and what the library does when it is loaded and unloaded.
#include "SmallsetPages.h"
#include "bridgel/CIWImpl.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtModuleLibrary.h"
#include "ondrelo/QtModuleSheet.h"
#include "ondrelo/com.h"
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

bool g_comInitialised = false;

// On load: the component library for the loading thread, then Common's Qt
// layer, the control library and the adapter library. On unload the
// thread's component count is given back as the library found it.
ondrelo::SModuleLibraryHooks SmallsetHooks() {
    ondrelo::SModuleLibraryHooks qt =
        ondrelo::QtModuleLibraryHooks([] { return LiveSheetCount() > 0; });
    ondrelo::SModuleLibraryHooks hooks;
    hooks.start = [start = qt.start] {
        g_comInitialised = SUCCEEDED(::CoInitialize(nullptr));
        if (start) {
            start();
        }
        InitBridgel();
    };
    hooks.end = [end = qt.end] {
        if (end) {
            end();
        }
        if (g_comInitialised) {
            ::CoUninitialize();
        }
    };
    hooks.outstandingObjects = qt.outstandingObjects;
    return hooks;
}

ondrelo::CModuleLibrary g_library(
    SmallsetResources(),
    {ondrelo::ModuleClassEntry<CRoridaZiroZover>(CLSID_RoridaZiroZover, kRoridaZiroZoverScript),
     ondrelo::ModuleClassEntry<CDudIzuvIzurido>(CLSID_DudIzuvIzurido, kDudIzuvIzuridoScript)},
    kSmallsetTypeLib, SmallsetHooks());

}  // namespace
}  // namespace smallset

ONDRELO_MODULE_LIBRARY(smallset::g_library)
