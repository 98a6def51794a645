// Safe "%s" formatting of message texts with user-supplied values: the
// values are never interpreted as format directives.
#pragma once

#include <initializer_list>
#include <string>

#include "ondrelo/commoncore_export.h"

namespace ondrelo {

// Replaces each "%s" (and "%d") of the format, in order, by the next value;
// "%%" gives "%". Directives without a value left are kept as they stand.
ONDCORE_EXPORT std::string FormatText(const std::string& format,
                                      std::initializer_list<std::string> values);

}  // namespace ondrelo
