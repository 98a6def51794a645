#include "ondrelo/QtModuleLibrary.h"

#include <utility>

#include "ondrelo/CommonUI.h"
#include "ondrelo/HyperLink.h"

namespace ondrelo {

SModuleLibraryHooks QtModuleLibraryHooks(std::function<bool()> outstandingObjects) {
    SModuleLibraryHooks hooks;
    hooks.start = [] {
        InitCommonDLL();
        InitUIDLL();
    };
    hooks.end = [] { TermCommonDLL(); };
    hooks.outstandingObjects = std::move(outstandingObjects);
    return hooks;
}

}  // namespace ondrelo
