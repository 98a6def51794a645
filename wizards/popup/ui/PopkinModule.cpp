// The Popkin library: the module class Popkinard around the popup wizard's
// sheet, declared to the shared module-library helper.
#include "PopkinPages.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtModuleLibrary.h"
#include "ondrelo/QtModuleSheet.h"

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
        if (punknown == nullptr) {
            return E_POINTER;
        }
        *punknown = nullptr;
        return S_OK;
    }
};

// Common's Qt layer and the control library, and the adapter library the
// code page creates the insertion component through.
ondrelo::SModuleLibraryHooks Hooks() {
    ondrelo::SModuleLibraryHooks hooks = ondrelo::QtModuleLibraryHooks();
    hooks.start = [start = hooks.start] {
        if (start) {
            start();
        }
        InitBridgel();
    };
    return hooks;
}

ondrelo::CModuleLibrary g_library(
    PopkinResources(),
    {ondrelo::ModuleClassEntry<CPopkinard>(CLSID_Popkinard, kPopkinardScript)}, kPopkinTypeLib,
    Hooks());

}  // namespace
}  // namespace popkin

ONDRELO_MODULE_LIBRARY(popkin::g_library)
