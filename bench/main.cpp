// The benchmarks' entry point: every benchmark runs in one working folder of its own (the
// game reads its pictures and sounds relative to it).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_support.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    WorkFolder folder;
    if (!folder.ready()) {
        std::fprintf(stderr, "No working folder with the game's pictures (%s)\n",
                     GORVENDAL_GAME_DIR);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
