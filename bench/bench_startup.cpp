// Start-up cost of the module catalogue with the five test modules
// registered in a temporary settings store:
//   BM_CatalogueLoad          Load + ReleaseAll, libraries already loaded
//   BM_CatalogueLoadCold      the same, unloading the libraries each time
//   BM_ProcessToCatalogue     a fresh process that initialises the component
//                             library, loads the catalogue and exits
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dlfcn.h>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>

#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/com.h"

namespace {

class CTree : public IModuleTree {
public:
    HTREEITEM InsertItem(HTREEITEM, const std::string&, std::uintptr_t) override {
        m_items.emplace_back();
        return reinterpret_cast<HTREEITEM>(&m_items.back());
    }
    void ExpandRoot() override {}

private:
    std::deque<int> m_items;
};

std::string g_store;

// Registers the four test module libraries (five modules) once per store.
bool PrepareStore() {
    char pattern[] = "/tmp/ondbench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    g_store = std::string(pattern) + "/store.db";
    setenv("ONDRELO_REGISTRY", g_store.c_str(), 1);
    for (const char* library : {TESTMOD_POPKIN_PATH, TESTMOD_HOVERKIT_PATH, TESTMOD_FORMWARDEN_PATH,
                                TESTMOD_SMALLSET_PATH}) {
        void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
        auto reg =
            handle ? reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllRegisterServer")) : nullptr;
        if (reg == nullptr || FAILED(reg())) {
            return false;
        }
        dlclose(handle);
    }
    return true;
}

std::size_t LoadOnce() {
    CTree tree;
    CModuleCatalogue catalogue(&tree, nullptr);
    if (!catalogue.Load()) {
        return 0;
    }
    const std::size_t count = catalogue.Entries().size();
    catalogue.ReleaseAll();
    return count;
}

void BM_CatalogueLoad(benchmark::State& state) {
    CoInitialize(nullptr);
    for (auto _ : state) {
        if (LoadOnce() != 5) {
            state.SkipWithError("the five modules did not load");
            break;
        }
    }
    CoUninitialize();
}
BENCHMARK(BM_CatalogueLoad)->Unit(benchmark::kMicrosecond);

void BM_CatalogueLoadCold(benchmark::State& state) {
    CoInitialize(nullptr);
    for (auto _ : state) {
        if (LoadOnce() != 5) {
            state.SkipWithError("the five modules did not load");
            break;
        }
        CoFreeUnusedLibraries();
    }
    CoUninitialize();
}
BENCHMARK(BM_CatalogueLoadCold)->Unit(benchmark::kMicrosecond);

std::string g_self;

void BM_ProcessToCatalogue(benchmark::State& state) {
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            execl(g_self.c_str(), g_self.c_str(), "--load-once", static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child process did not load the five modules");
            break;
        }
    }
}
BENCHMARK(BM_ProcessToCatalogue)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--load-once") == 0) {
        CoInitialize(nullptr);
        const bool ok = LoadOnce() == 5;
        CoUninitialize();
        return ok ? 0 : 1;
    }
    g_self = std::filesystem::canonical("/proc/self/exe").string();
    if (!PrepareStore()) {
        std::fprintf(stderr, "bench_startup: cannot register the test modules\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::path(g_store).parent_path());
    return 0;
}
