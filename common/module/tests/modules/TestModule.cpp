// Test module libraries with the product's identifiers, display names and
// registration scripts around fake wizard sheets. Built once per library:
// TESTMOD_LIBRARY 1 = Popkin, 2 = Hoverkit, 3 = Formwarden, 4 = Smallset.
#include "TestProbe.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"

namespace {

using namespace ondrelo::modules;
using ondrelo::COndModuleObject;
using ondrelo::SModuleDescriptor;
using ondrelo::SModuleResources;

#if TESTMOD_LIBRARY == 1
const SModuleResources kResources{"Popkin", nullptr, nullptr};
#elif TESTMOD_LIBRARY == 2
const SModuleResources kResources{"Hoverkit", nullptr, nullptr};
#elif TESTMOD_LIBRARY == 3
const SModuleResources kResources{"Formwarden", nullptr, nullptr};
#else
const SModuleResources kResources{"Smallset", nullptr, nullptr};
#endif

// Every module logs its construction and destruction by display name.
template <const char* Name, class Base>
class CLogged : public Base {
public:
    CLogged() : Base(Describe()) { testprobe::Log(std::string("new:") + Name); }
    ~CLogged() override { testprobe::Log(std::string("delete:") + Name); }

private:
    static const SModuleDescriptor& Describe() {
        static const SModuleDescriptor descriptor{
            Name, &kResources,
            [] { return std::unique_ptr<ondrelo::IModuleSheet>(new testprobe::CFakeSheet(Name)); }};
        return descriptor;
    }
};

#if TESTMOD_LIBRARY == 1
constexpr char kName[] = "Popup Wizard";
class CPopkinard
    : public CLogged<kName, ondrelo::COndModuleObjectWith<IPopkinard, IID_IPopkinard>> {
public:
    HRESULT GetWizard(IUnknown** punknown) override {
        if (punknown == nullptr) {
            return E_POINTER;
        }
        *punknown = nullptr;
        return S_OK;
    }
};
ondrelo::CModuleLibrary g_library(
    kResources, {ondrelo::ModuleClassEntry<CPopkinard>(CLSID_Popkinard, kPopkinardScript)},
    kPopkinTypeLib);
#elif TESTMOD_LIBRARY == 2
constexpr char kName[] = "VozizEvev Uduved Ududor";
using CHoverkitModule =
    CLogged<kName,
            ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<ICHoverkit>, IID_ICHoverkit>>;
ondrelo::CModuleLibrary g_library(
    kResources, {ondrelo::ModuleClassEntry<CHoverkitModule>(CLSID_CHoverkit, kCHoverkitScript)},
    kHoverkitTypeLib);
#elif TESTMOD_LIBRARY == 3
constexpr char kName[] = "HTML Form Wizard";
using CFormwardenModule =
    CLogged<kName, ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<IFormwardenWizard>,
                                                 IID_IFormwardenWizard>>;
ondrelo::CModuleLibrary g_library(
    kResources,
    {ondrelo::ModuleClassEntry<CFormwardenModule>(CLSID_FormwardenWizard, kFormwardenWizardScript)},
    kFormwardenTypeLib);
#else
constexpr char kRoridaName[] = "Rorida Ziro Zover";
constexpr char kDudName[] = "Rarededeva Razo Revizav";
using CRoridaModule =
    CLogged<kRoridaName, ondrelo::COndModuleObjectWith<IRoridaZiroZover, IID_IRoridaZiroZover>>;
using CDudModule =
    CLogged<kDudName, ondrelo::COndModuleObjectWith<ondrelo::CDispatchStub<IDudIzuvIzurido>,
                                                    IID_IDudIzuvIzurido>>;
ondrelo::CModuleLibrary g_library(
    kResources,
    {ondrelo::ModuleClassEntry<CRoridaModule>(CLSID_RoridaZiroZover, kRoridaZiroZoverScript),
     ondrelo::ModuleClassEntry<CDudModule>(CLSID_DudIzuvIzurido, kDudIzuvIzuridoScript)},
    kSmallsetTypeLib);
#endif

}  // namespace

ONDRELO_MODULE_LIBRARY(g_library)

extern "C" __attribute__((visibility("default"))) long TestModuleLockCount() {
    return g_library.Server().GetLockCount();
}
