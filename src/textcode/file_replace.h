// Replacing a file's contents so that a failure never leaves it half
// written: the bytes go to a temporary file beside it, are flushed to disk,
// and the temporary file is renamed over the target.
#pragma once

#include <string>
#include <string_view>

namespace rd {

// Writes `bytes` as the new contents of `path`. The temporary file is named
// `path` + `tempSuffix` + six random characters; an existing target keeps its
// permission bits, a new one gets 0644 less the umask. Returns an empty text
// on success, else the system's reason; the old file is then untouched.
std::string ReplaceFileContents(const std::string& path, std::string_view bytes,
                                std::string_view tempSuffix = ".tmp");

}  // namespace rd
