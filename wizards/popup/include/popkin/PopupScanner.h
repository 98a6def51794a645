// The popup wizard's page scanner: a plain HTML scanner whose insertion
// markers carry the popup module's signature.
#pragma once

#include <string>

#include "ondrelo/HTMLScanner.h"

namespace popkin {

inline constexpr const char* kPopupSignature = "Popkinard";

class CPopupScanner : public CHTMLScanner {
public:
    std::string GetModuleSignature() const override { return kPopupSignature; }
};

}  // namespace popkin
