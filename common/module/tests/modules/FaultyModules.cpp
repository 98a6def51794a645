// Module classes that misbehave in the ways the host must survive. Their
// scripts register the classes only; tests write the module list entries.
#include "TestProbe.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleLibrary.h"

namespace {

using ondrelo::COndModuleObject;
using ondrelo::SModuleDescriptor;

const ondrelo::SModuleResources kResources{"Faulty", nullptr, nullptr};

std::unique_ptr<ondrelo::IModuleSheet> MakeSheet() {
    return std::unique_ptr<ondrelo::IModuleSheet>(new testprobe::CFakeSheet("Faulty"));
}

const SModuleDescriptor kNameless{"Nameless", &kResources, &MakeSheet};
const SModuleDescriptor kGreedy{"Greedy", &kResources, &MakeSheet};
const SModuleDescriptor kGreedyFailing{"Greedy Failing", &kResources, &MakeSheet};

// GetProperties fails.
class CNameless : public COndModuleObject {
public:
    CNameless() : COndModuleObject(kNameless) { testprobe::Log("new:Nameless"); }
    ~CNameless() override { testprobe::Log("delete:Nameless"); }
    HRESULT GetProperties(LPCOLESTR* pstrName) override {
        *pstrName = nullptr;
        return E_FAIL;
    }
};

// Claims every message, with success or with a failure status.
template <const SModuleDescriptor& D, HRESULT Status>
class CGreedy : public COndModuleObject {
public:
    CGreedy() : COndModuleObject(D) {}
    HRESULT IsDialogMessage(BOOL* pbDMsg, MSG*) override {
        *pbDMsg = 1;
        return Status;
    }
};

// Answers only to the base interface: no IOndModule.
class CNotAModule : public IUnknown {
public:
    void* GetInterface(REFIID riid) {
        return IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
    }
};

#define FAULTY_SCRIPT(guid)                     \
    "HKCR { NoRemove CLSID { ForceRemove " guid \
    " = s 'Faulty' { InprocServer32 "           \
    "= s '%MODULE%' } } }"

using CGreedyOk = CGreedy<kGreedy, S_OK>;
using CGreedyFailing = CGreedy<kGreedyFailing, E_FAIL>;

#define FAULTY_CLASS(type, guid) \
    ondrelo::ModuleClassEntry<type>(ondrelo::com::MakeGuid(guid), FAULTY_SCRIPT(guid))

ondrelo::CModuleLibrary g_library(
    kResources,
    {
        FAULTY_CLASS(CNameless, "{0D5E7A10-0000-4000-8000-000000000001}"),
        FAULTY_CLASS(CGreedyOk, "{0D5E7A10-0000-4000-8000-000000000002}"),
        FAULTY_CLASS(CGreedyFailing, "{0D5E7A10-0000-4000-8000-000000000003}"),
        FAULTY_CLASS(CNotAModule, "{0D5E7A10-0000-4000-8000-000000000004}"),
    },
    {});

}  // namespace

ONDRELO_MODULE_LIBRARY(g_library)

extern "C" __attribute__((visibility("default"))) long TestModuleLockCount() {
    return g_library.Server().GetLockCount();
}
