// The command-line file rule, through start-up as the program runs it: any
// argument gives no playlist entry or one whose path is the argument made
// absolute and whose title is its name without the last four bytes.
#include "app/main_window.h"
#include "fuzz_support.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace vollo;
    // An argument holds no NUL: it ends at the first.
    const std::string argument(fuzz::bytesOf(data, size).substr(0, fuzz::bytesOf(data, size).find('\0')));
    fuzz::StartedApp started({argument});
    const FrmMain& main = started.app->frmMain();
    FUZZ_CHECK(main.playList.listCount() == main.playListInfo.listCount());
    FUZZ_CHECK(main.playList.listCount() <= 1);
    if (main.playList.listCount() == 1) {
        const std::string& path = main.playListInfo.list(0);
        const std::string& title = main.playList.list(0);
        FUZZ_CHECK(path == absolutePath(argument));
        FUZZ_CHECK(path.size() >= title.size() + 4 && path[path.size() - 4] == '.');
        FUZZ_CHECK(path.compare(path.size() - 4 - title.size(), title.size(), title) == 0);
        FUZZ_CHECK(path[path.size() - 5 - title.size()] == '/');
    }
    return 0;
}
