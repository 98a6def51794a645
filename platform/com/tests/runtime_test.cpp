#include <dlfcn.h>

#include <fstream>
#include <thread>

#include "ComFixture.h"
#include "servers/TestInterfaces.h"

namespace comtest {
namespace {

using ondrelo::com::GuidToString;
using ondrelo::registry::WriteString;

// Points CLSID\{clsid}\InprocServer32 at path.
void RegisterServerPath(REFCLSID clsid, const std::string& path) {
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(clsid) + "\\InprocServer32",
                            "", path));
}

long LockCount() {
    void* handle = dlopen(COMTEST_SERVER_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return -1;
    }
    auto count = reinterpret_cast<long (*)()>(dlsym(handle, "ComTestLockCount"));
    const long value = count ? count() : -1;
    dlclose(handle);
    return value;
}

TEST(Apartment, InitialisationIsCountedPerThread) {
    EXPECT_FALSE(ondrelo::com::IsThreadInitialized());
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    std::thread other([] { EXPECT_FALSE(ondrelo::com::IsThreadInitialized()); });
    other.join();
    CoUninitialize();
    EXPECT_TRUE(ondrelo::com::IsThreadInitialized());
    CoUninitialize();
    EXPECT_FALSE(ondrelo::com::IsThreadInitialized());
    CoUninitialize();  // one too many does no harm
    EXPECT_FALSE(ondrelo::com::IsThreadInitialized());
}

class Creation : public ApartmentTest {};

TEST_F(Creation, AThreadThatDidNotInitialiseCannotCreate) {
    RegisterServerPath(CLSID_Counter, COMTEST_SERVER_PATH);
    HRESULT hr = S_OK;
    void* object = &hr;
    std::thread other([&] {
        hr = CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_INPROC_SERVER, IID_ICounter, &object);
    });
    other.join();
    EXPECT_EQ(hr, CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
}

TEST_F(Creation, EveryFailureIsAStatusAndATrace) {
    const std::string notALibrary = m_dir + "/not-a-library.so";
    std::ofstream(notALibrary) << "plain text, no ELF header\n";

    struct Case {
        const char* name;
        std::string path;  // empty: no entry at all
        CLSID clsid;
        IID iid;
        DWORD context;
        HRESULT expected;
        const char* traced;
    };
    const Case cases[] = {
        {"unregistered class", "", CLSID_NotServed, IID_ICounter, CLSCTX_INPROC_SERVER,
         REGDB_E_CLASSNOTREG, "class not registered"},
        {"empty library path", "<empty>", CLSID_NotServed, IID_ICounter, CLSCTX_INPROC_SERVER,
         REGDB_E_CLASSNOTREG, "names no library"},
        {"missing library", m_dir + "/gone.so", CLSID_NotServed, IID_ICounter, CLSCTX_INPROC_SERVER,
         CO_E_DLLNOTFOUND, "does not exist"},
        {"not a shared library", notALibrary, CLSID_NotServed, IID_ICounter, CLSCTX_INPROC_SERVER,
         CO_E_ERRORINDLL, "cannot load"},
        {"no DllGetClassObject", COMTEST_NOENTRY_PATH, CLSID_NotServed, IID_ICounter,
         CLSCTX_INPROC_SERVER, CO_E_ERRORINDLL, "does not export DllGetClassObject"},
        {"class not in the library", COMTEST_SERVER_PATH, CLSID_NotServed, IID_ICounter,
         CLSCTX_INPROC_SERVER, CLASS_E_CLASSNOTAVAILABLE, "DllGetClassObject"},
        {"interface not given", COMTEST_SERVER_PATH, CLSID_Counter, IID_INeverGiven,
         CLSCTX_INPROC_SERVER, E_NOINTERFACE, "factory refused"},
        {"constructor throws", COMTEST_SERVER_PATH, CLSID_Throwing, IID_ICounter,
         CLSCTX_INPROC_SERVER, E_UNEXPECTED, "factory refused"},
        {"no in-process context", COMTEST_SERVER_PATH, CLSID_Counter, IID_ICounter,
         CLSCTX_LOCAL_SERVER, REGDB_E_CLASSNOTREG, "only in-process"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY ignored = nullptr;
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID");
        (void)ignored;
        if (c.path == "<empty>") {
            RegisterServerPath(c.clsid, "");
        } else if (!c.path.empty()) {
            RegisterServerPath(c.clsid, c.path);
        }
        ondrelo::utils::ClearTraceRecords();
        void* object = &ignored;
        EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, c.context, c.iid, &object), c.expected);
        EXPECT_EQ(object, nullptr);
        EXPECT_TRUE(Traced(c.traced)) << "no trace mentions: " << c.traced;
    }
    EXPECT_EQ(CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_ALL, IID_ICounter, nullptr),
              E_POINTER);
}

TEST_F(Creation, LoadsALibraryOnceAndUnloadsItWhenUnused) {
    RegisterServerPath(CLSID_Counter, COMTEST_SERVER_PATH);
    CoFreeUnusedLibraries();
    const std::size_t before = ondrelo::com::LoadedLibraryCount();

    ICounter* first = nullptr;
    ICounter* second = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_ALL, IID_ICounter,
                               reinterpret_cast<void**>(&first)),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_ALL, IID_ICounter,
                               reinterpret_cast<void**>(&second)),
              S_OK);
    EXPECT_EQ(ondrelo::com::LoadedLibraryCount(), before + 1);
    EXPECT_EQ(LockCount(), 2);  // the factories are gone, the two objects live

    // Two objects, two counts.
    long value = 0;
    first->Increment(&value);
    first->Increment(&value);
    EXPECT_EQ(value, 2);
    second->Increment(&value);
    EXPECT_EQ(value, 1);

    first->Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(ondrelo::com::LoadedLibraryCount(), before + 1);  // second still alive
    second->Release();
    EXPECT_EQ(LockCount(), 0);
    CoFreeUnusedLibraries();
    EXPECT_EQ(ondrelo::com::LoadedLibraryCount(), before);
}

TEST_F(Creation, ALockedServerStaysLoaded) {
    RegisterServerPath(CLSID_Counter, COMTEST_SERVER_PATH);
    CoFreeUnusedLibraries();
    const std::size_t before = ondrelo::com::LoadedLibraryCount();
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_Counter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(ondrelo::com::LoadedLibraryCount(), before + 1);
    EXPECT_EQ(LockCount(), 1);

    ASSERT_EQ(CoGetClassObject(CLSID_Counter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(ondrelo::com::LoadedLibraryCount(), before);
}

// An outer object that counts its references; it hands out nothing itself.
class COuter final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        // Delegation to the inner object, as an aggregating object does.
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST_F(Creation, AggregationHandsOutTheInnerUnknownOnly) {
    RegisterServerPath(CLSID_Counter, COMTEST_SERVER_PATH);
    COuter outer;
    void* object = &outer;
    EXPECT_EQ(CoCreateInstance(CLSID_Counter, &outer, CLSCTX_ALL, IID_ICounter, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);

    IUnknown* inner = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Counter, &outer, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              S_OK);
    outer.inner = inner;
    EXPECT_EQ(outer.refs, 1u);  // the inner unknown keeps its own count

    // The inner unknown answers to IID_IUnknown with itself.
    IUnknown* again = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, inner);
    again->Release();

    // Other interfaces come from the class's table and count on the outer object.
    ICounter* counter = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_ICounter, reinterpret_cast<void**>(&counter)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    long value = 0;
    EXPECT_EQ(counter->Increment(&value), S_OK);
    EXPECT_EQ(value, 1);
    // Its QueryInterface for the base interface reaches the outer object.
    IUnknown* viaCounter = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaCounter)), S_OK);
    EXPECT_EQ(viaCounter, &outer);
    viaCounter->Release();
    counter->Release();
    EXPECT_EQ(outer.refs, 1u);
    EXPECT_EQ(inner->QueryInterface(IID_INeverGiven, reinterpret_cast<void**>(&counter)),
              E_NOINTERFACE);

    EXPECT_EQ(LockCount(), 1);
    inner->Release();
    EXPECT_EQ(LockCount(), 0);
}

}  // namespace
}  // namespace comtest
