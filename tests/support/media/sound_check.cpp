// Helper of the sound test (tests/sound): writes the files it plays, and plays
// files to their end through the player as the program would, to the desktop's
// sound server unless VOLLO_AUDIO_SINK says otherwise.
//
//   sound_check write DIR     tone.wav (440 Hz, RMS 0.35; steady.wav the same for
//                             20 s), chord.mid, dense.mid
//   sound_check play FILE...  exit status 1 if a file does not play to its end
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/gst/gst_media_player.h"
#include "test_media.h"

int main(int argc, char** argv) {
    using namespace std::chrono_literals;
    namespace media = vollo::testmedia;
    const std::string command = argc > 2 ? argv[1] : "";
    if (command == "write") {
        const std::string dir = argv[2];
        media::writeWav(dir + "/tone.wav", 4.0, 44100, 2, 0.5);
        media::writeWav(dir + "/steady.wav", 20.0, 44100, 2, 0.5);
        media::writeMidiChords(dir + "/chord.mid", 1, 3.0);
        media::writeMidiChords(dir + "/dense.mid", 16, 4.0);
        return 0;
    }
    if (command != "play") {
        std::fprintf(stderr, "usage: sound_check write DIR | play FILE...\n");
        return 2;
    }
    vollo::GstMediaPlayer player;
    for (int i = 2; i < argc; ++i) {
        player.setFileName(argv[i]);
        player.play();
        bool moved = false;
        const auto bound = std::chrono::steady_clock::now() + 30s;
        while (player.playState() == vollo::MediaPlayer::Playing &&
               std::chrono::steady_clock::now() < bound) {
            moved = moved || player.currentPositionSeconds() > 0.0;
            std::this_thread::sleep_for(20ms);
        }
        if (!moved || player.playState() != vollo::MediaPlayer::Stopped) {
            std::fprintf(stderr, "sound_check: %s did not play: %s\n", argv[i], player.lastError().c_str());
            return 1;
        }
    }
    return 0;
}
