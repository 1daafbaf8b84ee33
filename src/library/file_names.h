// File-name routines of the main window.
#pragma once

#include <string>

namespace vollo {

// The part after the last "/"; the text itself without one; "" for a text ending in "/".
std::string TrimPath(const std::string& asPath);

// True for an existing ordinary file that is not hidden (its name does not
// begin with "."), compared without regard to letter case as the listing gives it.
bool FileExist(const std::string& asPath);

}  // namespace vollo
