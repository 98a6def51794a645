// Where the pages opened by the Help menu live: the folder named by the
// setting "helppath", holding the contents page and the tutorials page.
#pragma once

#include <string>

namespace ondrelo::host {

inline constexpr const char* kHelpPathSetting = "helppath";
inline constexpr const char* kHelpContentsPage = "index.html";
inline constexpr const char* kHelpTutorialsPage = "index-t.html";

// The page inside the folder, joined with the platform separator; a folder
// that already ends in a separator gets no second one. An empty folder gives
// an empty path (nothing to open).
std::string HelpPagePath(const std::string& folder, const std::string& page);

}  // namespace ondrelo::host
