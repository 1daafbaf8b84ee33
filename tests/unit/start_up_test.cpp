// Where the settings live: a menu start (first argument) moves them to the configuration
// folder, a terminal start keeps the current directory; the song arguments pass unchanged.
#include <gtest/gtest.h>

#include "settings/start_up.h"

namespace vollo {
namespace {

using Args = std::vector<std::string>;

TEST(StartUp, MenuStartsUseTheConfigurationFolder) {
    struct Case {
        Args arguments;
        std::string configHome, home, settingsDirectory;
        Args remaining;
    };
    const Case cases[] = {
        {{}, "/c", "/h", "/cwd", {}},
        {{"song.mp3"}, "/c", "/h", "/cwd", {"song.mp3"}},
        {{"song.mp3", "--from-menu"}, "/c", "/h", "/cwd", {"song.mp3", "--from-menu"}},
        {{"./--from-menu"}, "/c", "/h", "/cwd", {"./--from-menu"}},
        {{"--from-menu"}, "/c", "/h", "/c/vollo", {}},
        {{"--from-menu", "a b.mp3"}, "/c//", "/h", "/c/vollo", {"a b.mp3"}},
        {{"--from-menu", "/m/x.mid", "more"}, "", "/h/", "/h/.config/vollo", {"/m/x.mid", "more"}},
        {{"--from-menu"}, "relative", "/h", "/h/.config/vollo", {}},
        {{"--from-menu"}, "/", "/h", "/vollo", {}},
        {{"--from-menu"}, "", "/", "/.config/vollo", {}},
        {{"--from-menu", "s.wav"}, "", "", "/cwd", {"s.wav"}},
        {{"--from-menu"}, "c", "h", "/cwd", {}},
    };
    for (const Case& c : cases) {
        const StartUp got = decideStartUp(c.arguments, "/cwd", c.configHome, c.home);
        EXPECT_EQ(got.settingsDirectory, c.settingsDirectory) << c.configHome << " " << c.home;
        EXPECT_EQ(got.arguments, c.remaining) << c.configHome << " " << c.home;
    }
}

}  // namespace
}  // namespace vollo
