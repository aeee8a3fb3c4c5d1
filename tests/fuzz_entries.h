// What the fuzzers (fuzz/) and the regression test of their findings
// (tests/fuzz_regression_test.cpp) do with one input: every file the game reads, given
// arbitrary bytes, read through the game's own code, and the promises that reading keeps checked
// afterwards.
//
// Each entry returns an empty string when all is well, otherwise what went wrong (the fuzzer
// then stops on it; the regression test reports it). Crashes and reads or writes out of bounds
// are the sanitizers' to catch.
//
// The caller has installed the headless back end (plat::headless::install) and stands in a
// scratch working folder holding a `sauv` folder: the entries write their input there under the
// game's own file names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz_entries {

// The input as a BMP file loaded into a sheet (which sheet depends on the input's length),
// as start-up loads the seven pictures.
std::string picture(const std::uint8_t* data, std::size_t size);
// The input as a wave file: loaded into a WaveImage, its format, data size and data read into a
// small block, a large block and a block of its own.
std::string wave(const std::uint8_t* data, std::size_t size);
// The input as sauv\ABCDE.SAV loaded over a game in progress; the loaded game must be one the
// rules can play, and must come back the same through a save and a load.
std::string savedGame(const std::uint8_t* data, std::size_t size);
// The input as options.inf, read as the first frame reads it, compared with the format's own
// reading of the items.
std::string options(const std::uint8_t* data, std::size_t size);
// The input as a script of gorvendal-replay: checked whole; a script that passes must say the
// same when written back out and parsed again.
std::string script(const std::uint8_t* data, std::size_t size);

// Makes a scratch working folder with a `sauv` folder and stands in it (for the fuzzers, once
// per process). False when it cannot.
bool enterScratchFolder();

}  // namespace fuzz_entries
