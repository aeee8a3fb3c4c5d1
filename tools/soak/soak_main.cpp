// gorvendal-soak GAME_DIR [FRAMES] [SEED]: plays the game headless for FRAMES frames (100000
// when not given) with random input from SEED (1 when not given), checking it after every frame
// (soak.h). Prints what was played; on a failure prints it, writes the failing run's script to
// soak-failure.txt (gorvendal-replay plays it again) and exits with status 1.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "soak/soak.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: gorvendal-soak GAME_DIR [FRAMES] [SEED]\n");
        return 2;
    }
    soak::Options options;
    options.gameDir = argv[1];
    char* end = nullptr;
    if (argc > 2) {
        options.frames = std::strtoll(argv[2], &end, 10);
        if (*end != '\0' || options.frames < 1) {
            std::fprintf(stderr, "gorvendal-soak: FRAMES must be a number of 1 or more\n");
            return 2;
        }
    }
    if (argc > 3) {
        options.seed = std::strtoull(argv[3], &end, 10);
        if (*end != '\0') {
            std::fprintf(stderr, "gorvendal-soak: SEED must be a number\n");
            return 2;
        }
    }
    soak::Report report;
    const bool held = soak::run(options, report);
    std::printf(
        "soak: seed %llu, %lld frames in %d runs (quit button %d, Escape on the result %d, "
        "close command %d); %d games finished, %d reinforcements, %d saves, %d loads, "
        "%d lessons; sounds: %d clicks, %d moves, %d attacks, %d wins\n",
        static_cast<unsigned long long>(options.seed), report.frames, report.runs,
        report.quitButton, report.escapeOnResult, report.closeCommand, report.gamesFinished,
        report.reinforcements, report.saves, report.loads, report.lessons, report.sounds[0],
        report.sounds[1], report.sounds[2], report.sounds[3]);
    if (!held) {
        std::printf("soak: FAILED: %s\n", report.failure.c_str());
        std::printf("soak: the failing run's script is in %s\n", options.failureScript.c_str());
        return 1;
    }
    std::printf("soak: every check held\n");
    return 0;
}
