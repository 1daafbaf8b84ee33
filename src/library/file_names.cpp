#include "library/file_names.h"

#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

std::string TrimPath(const std::string& asPath) {
    const size_t slash = asPath.rfind('/');
    return slash == std::string::npos ? asPath : asPath.substr(slash + 1);
}

bool FileExist(const std::string& asPath) {
    const std::string name = TrimPath(asPath);
    if (name.empty() || name[0] == '.') {
        return false;
    }
    return isRegularFile(asPath);
}

}  // namespace vollo
