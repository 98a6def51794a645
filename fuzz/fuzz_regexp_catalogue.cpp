// Fuzz target: the expression catalogue reader and the chooser's list
// logic on what it read.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "formwarden/RegExpCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    formwarden::CRegExpCatalogue catalogue;
    catalogue.Read(in);
    for (const auto& entry : catalogue.Entries()) {
        // An entry is added only once all three parts are there.
        if (entry.m_strName.empty() || entry.m_strExpression.empty() ||
            entry.m_strDescription.empty()) {
            __builtin_trap();
        }
    }
    if (catalogue.SortedIndices().size() != catalogue.Entries().size()) {
        __builtin_trap();
    }
    formwarden::CRegExpChooser chooser(catalogue);
    chooser.Open(catalogue.Entries().empty() ? std::string() :
                                               catalogue.Entries().back().m_strExpression);
    for (int row = 0; row < chooser.GetRowCount(); ++row) {
        chooser.SelectRow(row);
        (void)chooser.GetRowName(row);
        std::string chosen;
        // With a row selected OK always has an expression (no prompt).
        if (!chooser.Ok(chosen) || chosen.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
