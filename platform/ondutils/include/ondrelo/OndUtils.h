// Diagnostics for developers. TraceLastError records why something failed
// (the calling thread's last error code and, where given, a reason text)
// without showing anything to the user. Records are kept in memory for tests
// and debuggers; with ONDRELO_TRACE=1 in the environment each record is also
// printed to standard error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ondrelo/ondutils_export.h"

// The calling thread's last error code, as the platform services leave it
// (a settings-store status, a component status or an errno value).
ONDUTILS_EXPORT void SetLastError(std::uint32_t code);
ONDUTILS_EXPORT std::uint32_t GetLastError();

// Records the calling thread's last error.
ONDUTILS_EXPORT void TraceLastError();
// Records the calling thread's last error together with what was being done.
ONDUTILS_EXPORT void TraceLastError(const std::string& reason);

namespace ondrelo::utils {

struct STraceRecord {
    std::uint32_t error = 0;  // last error code at the time of the call
    std::string reason;       // what the caller said, may be empty
    std::string text;         // the full line as printed
};

// The most recent records, oldest first (at most kMaxTraceRecords are kept).
inline constexpr std::size_t kMaxTraceRecords = 512;
ONDUTILS_EXPORT std::vector<STraceRecord> TraceRecords();
ONDUTILS_EXPORT void ClearTraceRecords();
// A short description of an error code: the settings-store and component
// codes the platform layer uses, else the C library's text for errno values.
ONDUTILS_EXPORT std::string DescribeError(std::uint32_t code);

}  // namespace ondrelo::utils
