// The M3U reader and writer on bytes: which lines are entries, titles and
// paths, line ends, the byte-order mark, the three written forms and round trips.
#include "playlist/m3u.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vollo {
namespace {

using Strings = std::vector<std::string>;

TEST(M3uRead, InfoLinesAreSkippedCaseSensitivelyAndOtherHashLinesAreEntries) {
    const M3uEntries e = readM3u(
        "#EXTM3U\r\n#EXTINF:123,Artist - Some Title\r\nsong.mp3\r\n#extinf.mp3\r\n# my "
        "comment\r\n#EXT.mp3\r\n",
        "/d/list.m3u");
    EXPECT_EQ(e.titles, (Strings{"song", "#extinf", "# my com"}));
    EXPECT_EQ(e.paths, (Strings{"/d/song.mp3", "/d/#extinf.mp3", "/d/# my comment"}));
}

TEST(M3uRead, AbsoluteAndRelativeLinesAndTitlesFromTheLine) {
    const M3uEntries e =
        readM3u("/music/Rock/Song.mp3\nRock/Song.mp3\n\\odd\\name.mp3\nSong.flac\nab/cd.e\n../up.wav\n",
                "/home/u/list.m3u");
    EXPECT_EQ(e.titles, (Strings{"Song", "Song", "\\odd\\name", "Song.", "", "up"}));
    EXPECT_EQ(e.paths, (Strings{"/music/Rock/Song.mp3", "/home/u/Rock/Song.mp3", "/home/u/\\odd\\name.mp3",
                                "/home/u/Song.flac", "/home/u/ab/cd.e", "/home/u/../up.wav"}));
    // A playlist in the root folder joins with a single "/".
    EXPECT_EQ(readM3u("a.mp3", "/list.m3u").paths, (Strings{"/a.mp3"}));
}

TEST(M3uRead, LinesWithShortFileNamesGiveNoEntry) {
    const M3uEntries e = readM3u("\r\nabc\r\n/music/abc\r\ndir/\r\nx/a.c\r\nabcd\r\n\r\n", "/d/l.m3u");
    EXPECT_EQ(e.titles, (Strings{""}));
    EXPECT_EQ(e.paths, (Strings{"/d/abcd"}));
    EXPECT_EQ(e.titles.size(), e.paths.size());
}

TEST(M3uRead, CrLfCrAndLfEachEndALineAndTheLastNeedsNoEnd) {
    const Strings expected{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3", "/d/d.mp3", "/d/e.mp3"};
    EXPECT_EQ(readM3u("a.mp3\r\nb.mp3\rc.mp3\nd.mp3\n\re.mp3", "/d/l.m3u").paths,
              (Strings{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3", "/d/d.mp3", "/d/e.mp3"}));
    EXPECT_EQ(readM3u("a.mp3\nb.mp3\nc.mp3\nd.mp3\ne.mp3\n", "/d/l.m3u").paths, expected);
    EXPECT_EQ(readM3u("a.mp3\rb.mp3\rc.mp3\rd.mp3\re.mp3\r", "/d/l.m3u").paths, expected);
    EXPECT_TRUE(readM3u("", "/d/l.m3u").paths.empty());
}

TEST(M3uRead, ALeadingByteOrderMarkIsIgnoredAndOtherBytesAreKept) {
    const M3uEntries bom = readM3u("\xEF\xBB\xBF#EXTM3U\r\nsong.mp3\r\n", "/d/l.m3u");
    EXPECT_EQ(bom.paths, (Strings{"/d/song.mp3"}));
    // Only at the very start: elsewhere the bytes belong to the name.
    const M3uEntries inside = readM3u("#EXTM3U\r\n\xEF\xBB\xBFsong.mp3\r\n", "/d/l.m3u");
    EXPECT_EQ(inside.titles, (Strings{"\xEF\xBB\xBFsong"}));
    // Names that are not UTF-8 pass through byte for byte.
    const M3uEntries latin1 = readM3u("Caf\xE9/Ol\xE9.mp3\r\n", "/d\xFF/l.m3u");
    EXPECT_EQ(latin1.titles, (Strings{"Ol\xE9"}));
    EXPECT_EQ(latin1.paths, (Strings{"/d\xFF/Caf\xE9/Ol\xE9.mp3"}));
}

TEST(M3uWrite, BareRelativeAndFullLinesEachEndingInCrLf) {
    EXPECT_EQ(
        writeM3u({"/music/a.mp3", "/music/Rock/b.mp3", "/other/c.mp3", "/music2/d.mp3", "/Music/e.mp3",
                  "/musi/f.mp3"},
                 "/music/list.m3u"),
        "#EXTM3U\r\na.mp3\r\nRock/b.mp3\r\n/other/c.mp3\r\n/music2/d.mp3\r\n/Music/e.mp3\r\n/musi/f.mp3\r\n");
    EXPECT_EQ(writeM3u({}, "/music/list.m3u"), "#EXTM3U\r\n");
    // A playlist in the root folder writes every absolute path relative to it.
    EXPECT_EQ(writeM3u({"/a.mp3", "/x/b.mp3"}, "/list.m3u"), "#EXTM3U\r\na.mp3\r\nx/b.mp3\r\n");
}

TEST(M3uWrite, RelativeLinesThatWouldReadAsSomethingElseGetADotSlash) {
    EXPECT_EQ(writeM3u({"/m/#EXTINF.mp3", "/m/sub/#EXT.mp3", "/m/#extra.mp3", "/#EXTabs.mp3", "/m//x.mp3"},
                       "/m/list.m3u"),
              "#EXTM3U\r\n./#EXTINF.mp3\r\nsub/#EXT.mp3\r\n#extra.mp3\r\n/#EXTabs.mp3\r\n.//x.mp3\r\n");
}

TEST(M3uRoundTrip, WritingThenReadingGivesTheSameTitlesAndFiles) {
    const Strings paths{"/m/a.mp3",         "/m/Rock/Bé b.mp3", "/elsewhere/c.wav",
                        "/m/#EXTINF x.mp3", "/m/# hash.mid",    "/m/\xFF\xFE.mp3",
                        "/m/sub/#EXTy.mp3", "/m//z.mp3",        "/m/Rock/Live.avi"};
    const M3uEntries back = readM3u(writeM3u(paths, "/m/list.m3u"), "/m/list.m3u");
    EXPECT_EQ(back.titles,
              (Strings{"a", "Bé b", "c", "#EXTINF x", "# hash", "\xFF\xFE", "#EXTy", "z", "Live"}));
    // The same files: "./" and doubled "/" name the same place.
    EXPECT_EQ(back.paths, (Strings{"/m/a.mp3", "/m/Rock/Bé b.mp3", "/elsewhere/c.wav", "/m/./#EXTINF x.mp3",
                                   "/m/# hash.mid", "/m/\xFF\xFE.mp3", "/m/sub/#EXTy.mp3", "/m/.//z.mp3",
                                   "/m/Rock/Live.avi"}));
    // Saving what was read writes the same bytes again.
    EXPECT_EQ(writeM3u(back.paths, "/m/list.m3u"), writeM3u(paths, "/m/list.m3u"));
}

}  // namespace
}  // namespace vollo
