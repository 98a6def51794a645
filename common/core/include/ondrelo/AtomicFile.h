// Replacing a file on disk so that it is always either the old file or the
// complete new one, never a part: pages, templates and copied scripts are
// written this way.
#pragma once

#include <functional>
#include <string>

#include "ondrelo/commoncore_export.h"

namespace ondrelo {

// Writes the bytes to a new file beside the target, flushes it to disk and
// renames it over the target. A symbolic link is followed, so the link stays
// a link; the replaced file's permissions (and owner, where allowed) carry
// over, and a new file gets the usual mode under the umask. mayReplace, when
// given, is asked once the temporary file exists and before anything is
// written: false leaves the target alone and gives false. Any failure
// removes the temporary file, leaves the target as it was, and raises
// ondrelo::CFileException.
ONDCORE_EXPORT bool ReplaceFileAtomically(const std::string& path, const std::string& bytes,
                                          const std::function<bool()>& mayReplace = {});

}  // namespace ondrelo
