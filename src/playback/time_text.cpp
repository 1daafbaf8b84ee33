#include "playback/time_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text.h"

namespace vollo {

namespace {

// Beyond this a length is no length at all (and would overflow the integers).
constexpr double kLongest = 1e12;

}  // namespace

std::string timeText(double seconds) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > kLongest) {
        seconds = 0;
    }
    const auto minutes = static_cast<long long>(std::floor((seconds + 0.5) / 60));
    const long long rest = static_cast<long long>(roundHalfEven(seconds)) % 60;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld:%s%02lld", minutes, rest < 0 ? "-" : "", std::llabs(rest));
    return buffer;
}

std::string songTimeText(double position, double duration) {
    return timeText(position) + " / " + timeText(duration) + " ";
}

}  // namespace vollo
