// Fuzz target: the registration-script interpreter. Every script is checked,
// then run for registration and for removal against a scratch settings
// store (ONDRELO_REGISTRY points into a scratch folder for the whole run).
// A script the check accepts must not be refused as unparsable when run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ondrelo/regscript.h"
#include "ondrelo/testsupport/ScratchDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ondrelo::test::CScratchDir scratch;
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    const ondrelo::com::ReplacementMap variables{{"MODULE", "/opt/ondrelo/lib/libWizard.so"},
                                                 {"Name", "fuzz"}};
    std::string error;
    const HRESULT checked = ondrelo::com::CheckRegistrationScript(script, variables, &error);
    const HRESULT registered =
        ondrelo::com::RunRegistrationScript(script, variables, true, &error);
    const HRESULT removed = ondrelo::com::RunRegistrationScript(script, variables, false, &error);
    if (SUCCEEDED(checked) && (registered == DISP_E_EXCEPTION || removed == DISP_E_EXCEPTION)) {
        __builtin_trap();
    }
    if (FAILED(checked) && (SUCCEEDED(registered) || SUCCEEDED(removed))) {
        __builtin_trap();
    }
    return 0;
}
