// The Hoverkit library: the module class CHoverkit around the button
// wizard's sheet, its registration, and the library's start and end.
#include "MoverButtonPages.h"
#include "bridgel/CIWImpl.h"
#include "hoverkit/HoverkitResources.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtModuleLibrary.h"
#include "ondrelo/QtModuleSheet.h"

namespace hoverkit {
namespace {

using namespace ondrelo::modules;

const ondrelo::SModuleDescriptor kDescriptor{"VozizEvev Uduved Ududor",
                                             &HoverkitResources(),
                                             &ondrelo::MakeQtModuleSheet<CMoverButtonSheet>};

// The module class answers its own (memberless) automation interface too.
class CHoverkit : public ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<ICHoverkit>,
                                                       IID_ICHoverkit> {
public:
    CHoverkit() : COndModuleObjectWith(kDescriptor) {}
};

// Beyond Common's Qt layer and the control library, the code-insert adapter
// library is started while this library is loaded.
ondrelo::SModuleLibraryHooks Hooks() {
    ondrelo::SModuleLibraryHooks hooks = ondrelo::QtModuleLibraryHooks();
    hooks.start = [start = hooks.start] {
        start();
        InitBridgel();
    };
    return hooks;
}

ondrelo::CModuleLibrary g_library(HoverkitResources(),
                                  {ondrelo::ModuleClassEntry<CHoverkit>(CLSID_CHoverkit,
                                                                        kCHoverkitScript)},
                                  kHoverkitTypeLib, Hooks());

}  // namespace
}  // namespace hoverkit

ONDRELO_MODULE_LIBRARY(hoverkit::g_library)
