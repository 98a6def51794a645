// The Formwarden library: the module class FormwardenWizard around the form
// wizard's sheet, declared to the shared module-library helper.
#include "FormwardenPages.h"
#include "bridgel/CIWImpl.h"
#include "formwarden/FormResources.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtModuleLibrary.h"
#include "ondrelo/QtModuleSheet.h"

namespace formwarden {
namespace {

using namespace ondrelo::modules;

const ondrelo::SModuleDescriptor kDescriptor{kFormwardenDisplayName, &FormwardenResources(),
                                             &ondrelo::MakeQtModuleSheet<CFormwardenSheet>};

// The module object; its automation interface has no members.
class CFormwardenWizard
    : public ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<IFormwardenWizard>,
                                           IID_IFormwardenWizard> {
public:
    CFormwardenWizard() : COndModuleObjectWith(kDescriptor) {}
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
    FormwardenResources(),
    {ondrelo::ModuleClassEntry<CFormwardenWizard>(CLSID_FormwardenWizard,
                                                  kFormwardenWizardScript)},
    kFormwardenTypeLib, Hooks());

}  // namespace
}  // namespace formwarden

ONDRELO_MODULE_LIBRARY(formwarden::g_library)
