// The Qt services' own rules: the file dialog's filter text and the random
// source's range.
#include <gtest/gtest.h>

#include "platform/qt/qt_services.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {
namespace {

TEST(QtServices, FileDialogFiltersBecomeQtNameFilters) {
    EXPECT_EQ(nameFilter("Playlists|*.m3u"), QStringLiteral("Playlists (*.m3u)"));
    EXPECT_EQ(nameFilter("Playlists|*.m3u|All files|*.*"),
              QStringLiteral("Playlists (*.m3u);;All files (*.*)"));
    EXPECT_EQ(nameFilter("Media|*.mp3;*.wav"), QStringLiteral("Media (*.mp3 *.wav)"));
    EXPECT_EQ(nameFilter(""), QString());
}

TEST(QtServices, RandomNumbersStayInTheHalfOpenUnitRange) {
    TimeSeededRandom random;
    random.seedFromTime();
    double low = 1.0, high = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double value = random.next();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    // Spread over the range, not stuck.
    EXPECT_LT(low, 0.01);
    EXPECT_GT(high, 0.99);
}

TEST(QtStyle, TwipsAndColoursAndFonts) {
    const Units at96(96.0);
    EXPECT_DOUBLE_EQ(at96.twipsPerPixel(), 15.0);
    EXPECT_EQ(at96.pixels(5055), 337);
    EXPECT_EQ(at96.rect(5325, 1030, 195, 255), QRect(355, 69, 13, 17));
    const Units at144(144.0);
    EXPECT_EQ(at144.pixels(1440), 144);
    EXPECT_DOUBLE_EQ(at144.twips(10), 100.0);
    // &H00BBGGRR
    EXPECT_EQ(designColor(0x00400000), QColor(0, 0, 0x40));
    EXPECT_EQ(designColor(0x00E0C0A0), QColor(0xA0, 0xC0, 0xE0));
    EXPECT_TRUE(fontFor({"Courier New", 12.0f, false}).fixedPitch());
    EXPECT_FALSE(fontFor({"Tahoma", 8.25f, true}).fixedPitch());
    EXPECT_TRUE(fontFor({"Verdana", 9.75f, true}).bold());
    EXPECT_DOUBLE_EQ(fontFor({"Verdana", 9.75f, true}).pointSizeF(), 9.75);
    EXPECT_EQ(shownText(std::string("a\xffz")), QString::fromUtf8("a\xEF\xBF\xBDz"));
}

}  // namespace
}  // namespace vollo::qt
