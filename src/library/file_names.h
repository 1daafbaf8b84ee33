// File-name routines of the main window.
#pragma once

#include <string>

namespace vollo {

// The part after the last "/"; the text itself without one; "" for a text ending in "/".
std::string TrimPath(const std::string& asPath);

// True for an existing ordinary file that is not hidden (its name does not
// begin with "."). Letter case counts: the name must match the file's exactly.
bool FileExist(const std::string& asPath);

}  // namespace vollo
