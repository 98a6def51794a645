#include "ondrelo/ModuleLibrary.h"

#include <utility>

namespace ondrelo {

CModuleLibrary::CModuleLibrary(const SModuleResources& resources,
                               std::vector<com::SClassEntry> classes, com::STypeLibInfo typeLib,
                               SModuleLibraryHooks hooks)
    : m_resources(resources), m_server(std::move(classes), typeLib), m_end(std::move(hooks.end)) {
    if (hooks.start) {
        hooks.start();
    }
    m_server.SetCallContext(ResourceContext(&m_resources));
    if (hooks.outstandingObjects) {
        m_server.SetOutstandingObjectsProbe(std::move(hooks.outstandingObjects));
    }
}

CModuleLibrary::~CModuleLibrary() {
    if (m_end) {
        m_end();
    }
}

}  // namespace ondrelo
