// Fuzz target: the form template reader. A template it accepts must write
// back to bytes that read again to the same form.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formwarden/FormTemplate.h"
#include "ondrelo/OndException.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    formwarden::CHtmlForm form;
    try {
        if (formwarden::ReadFormTemplate(bytes, form, "fuzz.ft") != formwarden::ETemplateRead::ok) {
            return 0;
        }
    } catch (const ondrelo::CArchiveException&) {
        return 0;  // a malformed or truncated body
    }
    const std::string written = formwarden::WriteFormTemplate(form);
    formwarden::CHtmlForm again;
    try {
        if (formwarden::ReadFormTemplate(written, again, "again.ft") !=
                formwarden::ETemplateRead::ok ||
            formwarden::WriteFormTemplate(again) != written) {
            __builtin_trap();
        }
    } catch (const ondrelo::CArchiveException&) {
        __builtin_trap();  // the writer's own output must read
    }
    return 0;
}
