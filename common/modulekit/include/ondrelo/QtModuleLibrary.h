// The start and end of a module library whose wizard is built on Common's
// Qt layer: while the library is loaded, Common's Qt layer and the control
// library are initialised for it.
#pragma once

#include <functional>

#include "ondrelo/ModuleLibrary.h"

namespace ondrelo {

// Hooks for CModuleLibrary: InitCommonDLL and InitUIDLL on load,
// TermCommonDLL on unload; outstandingObjects (may be empty) reports
// windows of the library still alive, which keep it loaded.
SModuleLibraryHooks QtModuleLibraryHooks(std::function<bool()> outstandingObjects = {});

}  // namespace ondrelo
