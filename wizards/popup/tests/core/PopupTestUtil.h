// Helpers of the popup core tests: a generator with the random names fixed,
// and the code split into lines.
#pragma once

#include <string>
#include <vector>

#include "ondrelo/CodeGen.h"
#include "popkin/PopupCodeGen.h"

namespace popuptest {

// Fixes the two names of each generation to popup1 and window2.
struct FixedNames {
    FixedNames() { CCodeGen::SetFixedRandomNumbers({1, 2}); }
    ~FixedNames() { CCodeGen::SetFixedRandomNumbers({}); }
};

// Lines of a text whose lines end in CR LF (the last one need not).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    lines.push_back(text.substr(from));
    return lines;
}

// The generator of the first worked example: centred 300 x 200, no
// features, the URL a.html, opened on page entry.
inline void CentredExample(popkin::CPopupCodeGen& gen) {
    gen.SetPosition(1, 0, 0, 300, 200);
    gen.SetContent(1, "a.html", "");
    gen.SetInvocation(popkin::kInvokePageEntry, "");
}

struct Code {
    std::string script, calling, instruction, warnings;
};

inline Code Generate(popkin::CPopupCodeGen& gen) {
    CCodeGen::SetFixedRandomNumbers({1, 2});
    Code c;
    gen.SetModified(true);
    gen.GetCode(c.script, c.calling, c.instruction, c.warnings);
    return c;
}

}  // namespace popuptest
