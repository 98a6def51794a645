// Module classes that misbehave in the ways the host must survive. Their
// scripts register the classes only; tests write the module list entries.
#include "TestProbe.h"
#include "ondrelo/ModuleClasses.h"

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

ondrelo::com::COndServerModule g_server(
    {
        {ondrelo::com::MakeGuid("{0D5E7A10-0000-4000-8000-000000000001}"),
         &ondrelo::com::CreateObjectInstance<CNameless>,
         FAULTY_SCRIPT("{0D5E7A10-0000-4000-8000-000000000001}")},
        {ondrelo::com::MakeGuid("{0D5E7A10-0000-4000-8000-000000000002}"),
         &ondrelo::com::CreateObjectInstance<CGreedy<kGreedy, S_OK>>,
         FAULTY_SCRIPT("{0D5E7A10-0000-4000-8000-000000000002}")},
        {ondrelo::com::MakeGuid("{0D5E7A10-0000-4000-8000-000000000003}"),
         &ondrelo::com::CreateObjectInstance<CGreedy<kGreedyFailing, E_FAIL>>,
         FAULTY_SCRIPT("{0D5E7A10-0000-4000-8000-000000000003}")},
        {ondrelo::com::MakeGuid("{0D5E7A10-0000-4000-8000-000000000004}"),
         &ondrelo::com::CreateObjectInstance<CNotAModule>,
         FAULTY_SCRIPT("{0D5E7A10-0000-4000-8000-000000000004}")},
    },
    {});

}  // namespace

ONDRELO_COM_SERVER_ENTRY_POINTS(g_server)

extern "C" __attribute__((visibility("default"))) long TestModuleLockCount() {
    return g_server.GetLockCount();
}
