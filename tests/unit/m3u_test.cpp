// The M3U reader and writer on bytes, beside the playlist scenarios: line
// ends, the byte-order mark, file URIs, lines that cannot name a file, round trips.
#include "playlist/m3u.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vollo {
namespace {

using Strings = std::vector<std::string>;

TEST(M3uRead, EntriesTitlesAndPathsOfEachKindOfLine) {
    const std::string longName(PATH_MAX, 'x');
    const Strings five{"a", "b", "c", "d", "e"},
        paths5{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3", "/d/d.mp3", "/d/e.mp3"};
    const struct {
        const char* what;
        std::string bytes;
        Strings titles, paths;
        std::string list = "/d/l";
    } cases[] = {
        {"backslashes are no separator; a four-character name has an empty title",
         "\\odd\\name.mp3\nab/cd.e\n",
         {"\\odd\\name", ""},
         {"/home/u/\\odd\\name.mp3", "/home/u/ab/cd.e"},
         "/home/u/list.m3u"},
        {"a playlist in the root joins with one /", "a.mp3", {"a"}, {"/a.mp3"}, "/list.m3u"},
        {"CR LF, CR and LF end lines, the last needs no end", "a.mp3\r\nb.mp3\rc.mp3\nd.mp3\n\re.mp3", five,
         paths5},
        {"CR alone", "a.mp3\rb.mp3\rc.mp3\rd.mp3\re.mp3\r", five, paths5},
        {"empty", "", {}, {}},
        {"a leading BOM is ignored", "\xEF\xBB\xBF#EXTM3U\r\nsong.mp3\r\n", {"song"}, {"/d/song.mp3"}},
        {"a BOM later on is part of the name",
         "#EXTM3U\r\n\xEF\xBB\xBFsong.mp3\r\n",
         {"\xEF\xBB\xBFsong"},
         {"/d/\xEF\xBB\xBFsong.mp3"}},
        {"bytes that are not UTF-8 pass through",
         "Caf\xE9/Ol\xE9.mp3\r\n",
         {"Ol\xE9"},
         {"/d\xFF/Caf\xE9/Ol\xE9.mp3"},
         "/d\xFF/l.m3u"},
        {"a name too long", longName + ".mp3\nok.mp3\n", {"ok"}, {"/d/ok.mp3"}},
        {"a NUL byte", std::string("a\0b.mp3\nok.mp3\n", 15), {"ok"}, {"/d/ok.mp3"}},
        {"file URIs are decoded",
         "#EXTINF:1,x\r\nfile:///m/Caf%C3%a9%20%2301.mp3\r\nfile://localhost/m/%2561.wav\r\n",
         {"Café #01", "%61"},
         {"/m/Café #01.mp3", "/m/%61.wav"}},
        {"URIs that cannot name a local file",
         "FILE:///m/bad%zz%4.mp3\nfile:///m/nul%00.mp3\nfile://host/m/a.mp3\nhttp://h/a.mp3\n"
         "https://h/b.mp3\nfile:///m/%2F%2F%2F\n",
         {"bad%zz%4"},
         {"/m/bad%zz%4.mp3"}},
        {"no scheme without //", "c:/x.mp3\nhttp:/x.mp3\n", {"x", "x"}, {"/d/c:/x.mp3", "/d/http:/x.mp3"}},
    };
    for (const auto& c : cases) {
        const M3uEntries e = readM3u(c.bytes, c.list);
        EXPECT_EQ(e.titles, c.titles) << c.what;
        EXPECT_EQ(e.paths, c.paths) << c.what;
    }
}

TEST(M3uWrite, RelativeLinesEntriesNoLineCanNameAndRoundTrips) {
    // A playlist in the root writes paths relative to it; relative lines that
    // would read as something else get a "./".
    EXPECT_EQ(writeM3u({"/a.mp3", "/x/b.mp3"}, "/list.m3u"), "#EXTM3U\r\na.mp3\r\nx/b.mp3\r\n");
    EXPECT_EQ(writeM3u({"/m/#EXTINF.mp3", "/m/sub/#EXT.mp3", "/m/#extra.mp3", "/#EXTabs.mp3", "/m//x.mp3"},
                       "/m/list.m3u"),
              "#EXTM3U\r\n./#EXTINF.mp3\r\nsub/#EXT.mp3\r\n#extra.mp3\r\n/#EXTabs.mp3\r\n.//x.mp3\r\n");
    // Entries no line can name are left out and the rest reads back.
    const Strings paths{"/m/a\rb.mp3",
                        "/m/ok.mp3",
                        "/m/c\nd.mp3",
                        "/m/http://x.mp3",
                        "/m/file:/y.mp3",
                        "/m/ab",
                        "/m/" + std::string(PATH_MAX, 'z') + ".mp3",
                        "/m/#EXTz.mp3"};
    std::vector<size_t> leftOut;
    const std::string bytes = writeM3u(paths, "/m/list.m3u", &leftOut);
    EXPECT_EQ(leftOut, (std::vector<size_t>{0, 2, 5, 6}));
    EXPECT_EQ(bytes, "#EXTM3U\r\nok.mp3\r\n./http://x.mp3\r\nfile:/y.mp3\r\n./#EXTz.mp3\r\n");
    EXPECT_EQ(readM3u(bytes, "/m/list.m3u").titles, (Strings{"ok", "x", "y", "#EXTz"}));

    // Writing then reading gives the same titles and files.
    const Strings kept{"/m/a.mp3",         "/m/Rock/Bé b.mp3", "/elsewhere/c.wav",
                       "/m/#EXTINF x.mp3", "/m/# hash.mid",    "/m/\xFF\xFE.mp3",
                       "/m/sub/#EXTy.mp3", "/m//z.mp3",        "/m/Rock/Live.avi"};
    const M3uEntries back = readM3u(writeM3u(kept, "/m/list.m3u"), "/m/list.m3u");
    EXPECT_EQ(back.titles,
              (Strings{"a", "Bé b", "c", "#EXTINF x", "# hash", "\xFF\xFE", "#EXTy", "z", "Live"}));
    // The same files: "./" and doubled "/" name the same place.
    EXPECT_EQ(back.paths, (Strings{"/m/a.mp3", "/m/Rock/Bé b.mp3", "/elsewhere/c.wav", "/m/./#EXTINF x.mp3",
                                   "/m/# hash.mid", "/m/\xFF\xFE.mp3", "/m/sub/#EXTy.mp3", "/m/.//z.mp3",
                                   "/m/Rock/Live.avi"}));
    // Saving what was read writes the same bytes again.
    EXPECT_EQ(writeM3u(back.paths, "/m/list.m3u"), writeM3u(kept, "/m/list.m3u"));
}

}  // namespace
}  // namespace vollo
