// The player panel's time texts: "M:SS" for a number of seconds.
#pragma once

#include <string>

namespace vollo {

// M is floor((x + 0.5) / 60) without leading zeros; SS is x rounded to the
// nearest whole second (halves to the even neighbour), modulo 60, two digits.
// The two roundings differ on purpose: 59.5 gives 1:00, 58.5 gives 0:58.
std::string timeText(double seconds);

// What lblSongTime shows: the position's time text, " / ", the length's, " ".
std::string songTimeText(double position, double duration);

}  // namespace vollo
