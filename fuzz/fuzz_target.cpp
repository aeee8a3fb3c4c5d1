// One libFuzzer target: FUZZ_ENTRY names the function of tests/fuzz_entries.h that takes each
// input (fuzz/CMakeLists.txt builds this file once per entry). A broken promise stops the
// fuzzer like a crash, with what was broken on standard error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_entries.h"
#include "platform/headless.h"

namespace {

std::filesystem::path scratchFolder;

void removeScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::headless::install();
    if (!fuzz_entries::enterScratchFolder()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        std::abort();
    }
    scratchFolder = std::filesystem::current_path();
    std::atexit(removeScratchFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = fuzz_entries::FUZZ_ENTRY(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "broken promise: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
