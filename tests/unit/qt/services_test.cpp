// The Qt services' own rules: the file dialog's filter text, the random
// source's range, and the design's units and colours off 96 DPI.
#include <gtest/gtest.h>

#include "platform/qt/qt_services.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {
namespace {

TEST(QtServices, FileDialogFiltersBecomeQtNameFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Playlists|*.m3u", "Playlists (*.m3u)"},
        {"Playlists|*.m3u|All files|*.*", "Playlists (*.m3u);;All files (*.*)"},
        {"Media|*.mp3;*.wav", "Media (*.mp3 *.wav)"},
        {"", ""},
    };
    for (const auto& [filter, want] : cases) {
        EXPECT_EQ(nameFilter(filter), QString::fromUtf8(want)) << filter;
    }
}

TEST(QtServices, RandomNumbersSpreadOverTheHalfOpenUnitRange) {
    TimeSeededRandom random;
    random.seedFromTime();
    double low = 1.0, high = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double value = random.next();
        ASSERT_TRUE(value >= 0.0 && value < 1.0) << value;
        low = std::min(low, value), high = std::max(high, value);
    }
    EXPECT_LT(low, 0.01);
    EXPECT_GT(high, 0.99);
}

// At 96 DPI the layout test shows the units; here another DPI and &H00BBGGRR.
TEST(QtStyle, TwipsAt144DpiAndDesignColours) {
    const Units at144(144.0);
    EXPECT_EQ(at144.pixels(1440), 144);
    EXPECT_DOUBLE_EQ(at144.twips(10), 100.0);
    EXPECT_EQ(designColor(0x00400000), QColor(0, 0, 0x40));
    EXPECT_EQ(designColor(0x00E0C0A0), QColor(0xA0, 0xC0, 0xE0));
    EXPECT_FALSE(fontFor({"Tahoma", 8.25f, true}).fixedPitch());
    EXPECT_DOUBLE_EQ(fontFor({"Verdana", 9.75f, true}).pointSizeF(), 9.75);
}

}  // namespace
}  // namespace vollo::qt
