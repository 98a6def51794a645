// A test server library: one counter class (aggregatable, as every class
// of the factory is) and one class whose constructor throws.
#include <stdexcept>

#include "TestInterfaces.h"
#include "ondrelo/comserver.h"

namespace {

using namespace comtest;

class CCounter : public ICounter {
public:
    HRESULT Increment(long* value) override {
        if (value == nullptr) {
            return E_POINTER;
        }
        *value = ++m_value;
        return S_OK;
    }
    void* GetInterface(REFIID riid) {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ICounter)) {
            return static_cast<ICounter*>(this);
        }
        return nullptr;
    }

private:
    long m_value = 0;
};

class CThrowing : public ICounter {
public:
    CThrowing() { throw std::runtime_error("construction failed"); }
    HRESULT Increment(long*) override { return E_FAIL; }
    void* GetInterface(REFIID) { return nullptr; }
};

const char kCounterScript[] = R"(HKCR
{
    ComTest.Counter.1 = s 'Counter Class'
    {
        CLSID = s '{6F1B0C2A-8E11-4A5B-9C3D-5A0000000001}'
    }
    NoRemove CLSID
    {
        ForceRemove {6F1B0C2A-8E11-4A5B-9C3D-5A0000000001} = s 'Counter Class'
        {
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
    }
}
)";

const char kThrowingScript[] = R"(HKCR
{
    NoRemove CLSID
    {
        ForceRemove {6F1B0C2A-8E11-4A5B-9C3D-5A0000000002} = s 'Throwing Class'
        {
            InprocServer32 = s '%MODULE%'
        }
    }
}
)";

ondrelo::com::COndServerModule g_server(
    {
        {CLSID_Counter, &ondrelo::com::CreateObjectInstance<CCounter>, kCounterScript},
        {CLSID_Throwing, &ondrelo::com::CreateObjectInstance<CThrowing>, kThrowingScript},
    },
    {LIBID_TestServer, 1, 0, "ComTest 1.0 Type Library"});

}  // namespace

ONDRELO_COM_SERVER_ENTRY_POINTS(g_server)

// Lets tests see the library's count of objects and locks.
extern "C" __attribute__((visibility("default"))) long ComTestLockCount() {
    return g_server.GetLockCount();
}
