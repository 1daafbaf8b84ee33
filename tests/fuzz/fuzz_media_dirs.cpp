// "vollo.ini" as any bytes: the start-up reader takes at most 101 lines; the
// options dialog's boxes made from them write lines ending in "/" that name
// the same folder at every later OK (a run of "/" at the end loses one "/" an
// OK), and the written lines read back as written.
#include "fuzz_support.h"
#include "platform/files.h"
#include "settings/media_dirs.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace vollo;
    const std::string path = fuzz::sandbox() + "/" + kSettingsFileName;
    FUZZ_CHECK(writeFileAtomic(path, std::string(fuzz::bytesOf(data, size))));
    const auto lines = readMediaDirLines(path, 101);
    FUZZ_CHECK(lines.size() <= 101);
    FUZZ_CHECK(leadingDirectories(lines).size() <= lines.size());
    std::vector<std::string> written;
    for (size_t i = 0; i < lines.size() && i < 30; ++i) {
        const std::string line = directoryLine(directoryBoxText(lines[i]));
        const std::string next = directoryLine(directoryBoxText(line));
        FUZZ_CHECK(line.empty() ? next.empty() : next.back() == '/' && next.size() <= line.size());
        FUZZ_CHECK(line.substr(0, line.find_last_not_of('/') + 1) ==
                   next.substr(0, next.find_last_not_of('/') + 1));
        if (!line.empty()) {
            written.push_back(line);
        }
    }
    FUZZ_CHECK(writeTextLinesAtomic(path, written));
    FUZZ_CHECK(readMediaDirLines(path, 30) == written);
    return 0;
}
