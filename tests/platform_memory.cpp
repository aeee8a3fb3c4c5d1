// Global blocks and the RIFF reader over a block: chunks found among their parent's children,
// pad bytes of odd sizes, and no read outside the block whatever the headers claim.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

using plat::ChunkInfo;
using plat::fourCc;
using plat::MemoryFile;

constexpr std::uint32_t kWave = fourCc('W', 'A', 'V', 'E');
constexpr std::uint32_t kFmt = fourCc('f', 'm', 't', ' ');
constexpr std::uint32_t kData = fourCc('d', 'a', 't', 'a');

// Builds RIFF images byte by byte.
struct Image {
    std::vector<std::uint8_t> bytes;

    Image& text(const char* four) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(four[i]));
        }
        return *this;
    }
    Image& u32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
        return *this;
    }
    Image& fill(std::size_t count, std::uint8_t value) {
        bytes.resize(bytes.size() + count, value);
        return *this;
    }
    // A chunk with `count` bytes of `value`, and its pad byte when the count is odd.
    Image& chunk(const char* id, std::size_t count, std::uint8_t value) {
        text(id).u32(static_cast<std::uint32_t>(count)).fill(count, value);
        if (count % 2 == 1) {
            bytes.push_back(0xEE);
        }
        return *this;
    }
    MemoryFile file() const {
        return MemoryFile(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
};

// RIFF, its size (what follows the size field), WAVE.
Image waveHeader(std::uint32_t riffSize) {
    Image image;
    image.text("RIFF").u32(riffSize).text("WAVE");
    return image;
}

Image wave(const std::vector<std::pair<const char*, std::size_t>>& chunks) {
    Image body;
    for (const auto& [id, count] : chunks) {
        body.chunk(id, count, static_cast<std::uint8_t>(count));
    }
    Image image = waveHeader(static_cast<std::uint32_t>(4 + body.bytes.size()));
    for (const std::uint8_t byte : body.bytes) {
        image.bytes.push_back(byte);
    }
    return image;
}

TEST(MemoryFileTest, FindsTheChunksOfAWaveForm) {
    struct Case {
        const char* name;
        Image image;
        std::uint32_t dataSize;
        std::uint32_t dataOffset;
    };
    const std::vector<Case> cases = {
        {"fmt then data", wave({{"fmt ", 16}, {"data", 40}}), 40, 44},
        {"a fact chunk between", wave({{"fmt ", 16}, {"fact", 4}, {"data", 40}}), 40, 56},
        {"an odd chunk with its pad byte", wave({{"fmt ", 16}, {"LIST", 7}, {"data", 3}}), 3, 60},
        {"data before fmt", wave({{"data", 10}, {"fmt ", 16}}), 10, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFile file = c.image.file();
        ChunkInfo form;
        ASSERT_TRUE(file.descendRiff(kWave, form));
        EXPECT_EQ(form.formType, kWave);
        EXPECT_EQ(file.position(), 12u);
        ChunkInfo data;
        ASSERT_TRUE(file.descendChunk(kData, &form, data));
        EXPECT_EQ(data.size, c.dataSize);
        EXPECT_EQ(data.dataOffset, c.dataOffset);
        EXPECT_EQ(file.position(), c.dataOffset);
        std::vector<std::uint8_t> samples(data.size);
        EXPECT_EQ(file.read(samples.data(), data.size), data.size);
        EXPECT_EQ(samples,
                  std::vector<std::uint8_t>(data.size, static_cast<std::uint8_t>(data.size)));
    }
}

TEST(MemoryFileTest, EighteenBytesFromASixteenByteFormatChunk) {
    // The two bytes after a plain PCM format chunk are the next chunk's first two.
    const Image image = wave({{"fmt ", 16}, {"data", 4}});
    MemoryFile file = image.file();
    ChunkInfo form;
    ChunkInfo format;
    ASSERT_TRUE(file.descendRiff(kWave, form));
    ASSERT_TRUE(file.descendChunk(kFmt, &form, format));
    std::uint8_t bytes[18] = {};
    ASSERT_EQ(file.read(bytes, 18), 18u);
    EXPECT_EQ(bytes[15], 16);
    EXPECT_EQ(bytes[16], 'd');
    EXPECT_EQ(bytes[17], 'a');
    ASSERT_TRUE(file.ascend(format));
    EXPECT_EQ(file.position(), 36u);
}

TEST(MemoryFileTest, ChunksPastTheEndAreCutAtTheEndOfTheBlock) {
    // The data chunk claims 1000 bytes; the block holds 6 of them.
    Image image = waveHeader(1000);
    image.chunk("fmt ", 16, 1).text("data").u32(1000).fill(6, 0x55);
    MemoryFile file = image.file();
    ChunkInfo form;
    ChunkInfo data;
    ASSERT_TRUE(file.descendRiff(kWave, form));
    ASSERT_TRUE(file.descendChunk(kData, &form, data));
    EXPECT_EQ(data.size, 1000u);  // what the header says
    std::vector<std::uint8_t> samples(1000, 0);
    EXPECT_EQ(file.read(samples.data(), 1000), 6u);
    EXPECT_EQ(std::count(samples.begin(), samples.end(), 0x55), 6);
    EXPECT_EQ(file.read(samples.data(), 1000), 0u);
    ASSERT_TRUE(file.ascend(data));
    EXPECT_EQ(file.position(), image.bytes.size());
}

TEST(MemoryFileTest, DamagedImagesFindNothingAndReadNothingOutside) {
    Image hugeChunk = waveHeader(0xFFFFFFFF);
    hugeChunk.text("fmt ").u32(0xFFFFFFFF).fill(8, 0).text("data").u32(4).fill(4, 0);
    Image hugeOddChunk = waveHeader(0xFFFFFFFF);
    hugeOddChunk.text("junk").u32(0xFFFFFFFE).text("data").u32(4).fill(4, 0);
    Image childPastParent = waveHeader(4 + 24);  // the form ends before its data chunk
    childPastParent.chunk("fmt ", 16, 1).chunk("data", 8, 2);
    Image otherForm;
    otherForm.text("RIFF").u32(12).text("AVI ").chunk("data", 4, 0);
    Image notRiff;
    notRiff.text("RIFX").u32(12).text("WAVE").chunk("data", 4, 0);
    Image headerCut;
    headerCut.text("RIFF").u32(100).fill(1, 'W').fill(1, 'A');
    Image chunkHeaderCut = waveHeader(100);
    chunkHeaderCut.text("data").fill(3, 0);
    struct Case {
        const char* name;
        Image image;
        bool form;
    };
    const std::vector<Case> cases = {
        {"a chunk of 4 GB hides the data", hugeChunk, true},
        {"an odd size near 4 GB", hugeOddChunk, true},
        {"a child beyond its form's end", childPastParent, true},
        {"another form type", otherForm, false},
        {"not RIFF", notRiff, false},
        {"the form type cut", headerCut, false},
        {"the data chunk's header cut", chunkHeaderCut, true},
        {"empty", Image{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFile file = c.image.file();
        ChunkInfo form;
        ASSERT_EQ(file.descendRiff(kWave, form), c.form);
        ChunkInfo data;
        EXPECT_FALSE(file.descendChunk(kData, c.form ? &form : nullptr, data));
        EXPECT_LE(file.position(), c.image.bytes.size());
    }
}

TEST(MemoryFileTest, RandomBytesNeverLeadOutsideTheBlock) {
    std::mt19937 random(99);
    for (int round = 0; round < 2000; ++round) {
        // Real headers with random sizes, then random bytes.
        Image image = waveHeader(static_cast<std::uint32_t>(random()));
        const int chunks = static_cast<int>(random() % 4);
        for (int i = 0; i < chunks; ++i) {
            image.text(random() % 2 == 0 ? "fmt " : "LIST")
                .u32(random() % 3 == 0 ? static_cast<std::uint32_t>(random()) : random() % 40);
            image.fill(random() % 20, static_cast<std::uint8_t>(random()));
        }
        image.text("data").u32(static_cast<std::uint32_t>(random()));
        image.fill(random() % 10, 1);
        image.bytes.resize(random() % (image.bytes.size() + 1));
        // The reader gets a block of exactly that size, so that any read past it is caught
        // by the sanitizer builds.
        std::vector<std::uint8_t> block(image.bytes);
        MemoryFile file(block.data(), static_cast<std::uint32_t>(block.size()));
        ChunkInfo form;
        ChunkInfo chunk;
        std::uint8_t buffer[64];
        if (file.descendRiff(kWave, form)) {
            if (file.descendChunk(kFmt, &form, chunk)) {
                file.read(buffer, sizeof buffer);
                file.ascend(chunk);
            }
            file.descendChunk(kData, &form, chunk);
            EXPECT_LE(file.read(buffer, sizeof buffer), sizeof buffer);
        }
        ASSERT_LE(file.position(), block.size());
    }
}

TEST(GlobalBlockTest, BlocksAreZeroedAndFreedOnce) {
    const int before = plat::liveBlockCount();
    EXPECT_EQ(plat::globalAllocLocked(0), nullptr);
    std::uint8_t* block = plat::globalAllocLocked(1000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::count(block, block + 1000, 0), 1000);
    EXPECT_EQ(plat::liveBlockCount(), before + 1);
    std::uint8_t local = 0;
    EXPECT_FALSE(plat::globalFree(&local));
    EXPECT_FALSE(plat::globalFree(block + 1));
    EXPECT_FALSE(plat::globalFree(nullptr));
    EXPECT_TRUE(plat::globalFree(block));
    EXPECT_FALSE(plat::globalFree(block));
    EXPECT_EQ(plat::liveBlockCount(), before);
}

}  // namespace
