// Everything a module library repeats around its server object, in one
// place: the server with its classes and type library, the library's start
// and end while it is loaded, every call running in the library's resource
// context, and the four entry points. A module library then declares only
// its classes, display names, resources and sheet classes:
//
//     const ondrelo::SModuleDescriptor kDescriptor{
//         "Popup Wizard", &PopkinResources(), &ondrelo::MakeQtModuleSheet<CPopkinSheet>};
//     ondrelo::CModuleLibrary g_library(
//         PopkinResources(),
//         {ondrelo::ModuleClassEntry<ondrelo::CModuleClass<kDescriptor>>(CLSID_Popkinard,
//                                                                        kPopkinardScript)},
//         kPopkinTypeLib, ondrelo::QtModuleLibraryHooks());
//     ONDRELO_MODULE_LIBRARY(g_library)
#pragma once

#include <functional>
#include <vector>

#include "ondrelo/ModuleObject.h"
#include "ondrelo/comserver.h"
#include "ondrelo/ondmodule_export.h"

namespace ondrelo {

// What a library does when it is loaded and unloaded, beyond the resource
// context: start and end the libraries it uses, and report objects of a
// window toolkit still alive so that the library stays loaded meanwhile.
struct SModuleLibraryHooks {
    std::function<void()> start;
    std::function<void()> end;
    std::function<bool()> outstandingObjects;
};

// The class table entry of a module (or component) class.
template <class TObject>
com::SClassEntry ModuleClassEntry(const CLSID& clsid, const char* registrationScript) {
    return {clsid, &com::CreateObjectInstance<TObject>, registrationScript};
}

// One per module library, a global object: constructed when the library is
// loaded, destroyed when it is unloaded.
class ONDMODULE_EXPORT CModuleLibrary {
public:
    CModuleLibrary(const SModuleResources& resources, std::vector<com::SClassEntry> classes,
                   com::STypeLibInfo typeLib, SModuleLibraryHooks hooks = {});
    ~CModuleLibrary();
    CModuleLibrary(const CModuleLibrary&) = delete;
    CModuleLibrary& operator=(const CModuleLibrary&) = delete;

    com::COndServerModule& Server() { return m_server; }
    const SModuleResources& Resources() const { return m_resources; }

private:
    const SModuleResources& m_resources;
    com::COndServerModule m_server;
    std::function<void()> m_end;
};

}  // namespace ondrelo

// The four entry points of a module library, served by its CModuleLibrary.
#define ONDRELO_MODULE_LIBRARY(library) ONDRELO_COM_SERVER_ENTRY_POINTS((library).Server())
