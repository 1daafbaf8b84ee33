// "options.ini" as any bytes: start-up reads it without undefined behaviour,
// and what the exit writes reads back as the same file (a second start-up on
// the written file writes it again byte for byte).
#include "fuzz_support.h"
#include "platform/files.h"
#include "settings/window_state.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace vollo;
    const std::string path = fuzz::sandbox() + "/" + kWindowStateFileName;
    FUZZ_CHECK(writeFileAtomic(path, std::string(fuzz::bytesOf(data, size))));
    std::string first;
    {
        fuzz::StartedApp started;
        FUZZ_CHECK(saveWindowState(*started.app));
        first = readFileBytes(path).value();
    }
    fuzz::StartedApp again;
    FUZZ_CHECK(saveWindowState(*again.app));
    FUZZ_CHECK(readFileBytes(path).value() == first);
    return 0;
}
