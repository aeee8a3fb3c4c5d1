// What the fuzzers found, kept: every input under tests/data/fuzz-regressions/TARGET/ (and the
// fuzzers' own text seeds under fuzz/seeds/TARGET/) goes through the same entry as in the
// fuzzer (fuzz_entries.h), under the sanitizers when the tests are built with them.
//
// Inputs are stored as they are, or, when they are binary, as hex text in a file ending in
// .hex (pairs of hex digits; white space and lines starting with # are ignored).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_entries.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using Entry = std::string (*)(const std::uint8_t*, std::size_t);

struct Target {
    const char* name;
    Entry entry;
};

const Target kTargets[] = {
    {"picture", fuzz_entries::picture},      {"wave", fuzz_entries::wave},
    {"saved_game", fuzz_entries::savedGame}, {"options", fuzz_entries::options},
    {"script", fuzz_entries::script},
};

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// False when the text is not pairs of hex digits.
bool decodeHex(const std::string& text, std::string& bytes) {
    std::istringstream lines(text);
    std::string line;
    std::string digits;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '#') {
            continue;
        }
        for (char c : line) {
            if (hexDigit(c) >= 0) {
                digits.push_back(c);
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return false;
            }
        }
    }
    if (digits.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<char>(hexDigit(digits[i]) * 16 + hexDigit(digits[i + 1])));
    }
    return true;
}

std::vector<fs::path> inputsOf(const char* target) {
    const fs::path source = GORVENDAL_SOURCE_DIR;
    std::vector<fs::path> inputs;
    for (const fs::path& dir : {source / "tests" / "data" / "fuzz-regressions" / target,
                                source / "fuzz" / "seeds" / target}) {
        if (!fs::is_directory(dir)) {
            continue;
        }
        for (const fs::directory_entry& file : fs::directory_iterator(dir)) {
            if (file.is_regular_file()) {
                inputs.push_back(file.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

class FuzzRegression : public HeadlessGame {};

TEST_F(FuzzRegression, EveryKeptInputKeepsItsPromises) {
    int count = 0;
    for (const Target& target : kTargets) {
        for (const fs::path& path : inputsOf(target.name)) {
            SCOPED_TRACE(path.string());
            std::string bytes = readWhole(path);
            if (path.extension() == ".hex") {
                std::string decoded;
                ASSERT_TRUE(decodeHex(bytes, decoded)) << "not hex text";
                bytes = decoded;
            }
            const std::string problem =
                target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            EXPECT_EQ(problem, "");
            ++count;
        }
    }
    // The seeds are in the tree, so an empty list means the folders were not found.
    EXPECT_GT(count, 0);
}

}  // namespace
