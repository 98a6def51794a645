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
// over, and a new file gets the usual mode under the umask.
//
// An existing target that the user may not write (mode 444, say) is refused
// with the access error before anything is made: the rename would otherwise
// replace it behind its protection. Root is refused such a file as well when
// none of its write bits is set, as an editor refuses it.
//
// The new file has no name while it is written (where the file system can
// make unnamed files) and gets one only just before the rename, so a save
// that dies leaves nothing behind. Where a name has to be used, it is one of
// our own (".<name>.ond-<12 hex digits>.tmp", locked while in use), and
// unlocked ones, left by saves that died, are removed by the next save in
// that folder.
//
// mayReplace, when given, is asked once the temporary file exists and before
// anything is written: false leaves the target alone and gives false. Any
// failure removes the temporary file, leaves the target as it was, and raises
// ondrelo::CFileException.
ONDCORE_EXPORT bool ReplaceFileAtomically(const std::string& path, const std::string& bytes,
                                          const std::function<bool()>& mayReplace = {});

// Whether ReplaceFileAtomically may use unnamed temporary files (the
// default); turning it off makes every save use a named temporary file, as on
// file systems without them. For tests and for trouble-shooting.
ONDCORE_EXPORT void UseUnnamedTempFiles(bool use);

// Whether the file name is one of the temporary names ReplaceFileAtomically
// makes.
ONDCORE_EXPORT bool IsReplaceTempName(const std::string& name);

}  // namespace ondrelo
