// Wave files held in memory: loading, the format and data queries, the copies' limits, and files
// that are damaged or not wave files at all.
#include "sound/wave_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_support.h"
#include "wave_builder.h"

using namespace wave_builder;

namespace {

class WaveImageTest : public HeadlessGame {
  protected:
    // Writes `bytes` as a file of the working folder and loads it into `image`.
    bool load(WaveImage& image, const std::string& bytes, const char* name = "test.wav") {
        writeFile(name, bytes);
        return image.loadFile(name);
    }
};

TEST_F(WaveImageTest, AFileIsLoadedWholeAndUnchanged) {
    // Line ends and the old end-of-file byte among the samples.
    const std::string sampleBytes = std::string("\r\n\x1A\n\r\x1A", 6) + samples(50, 3);
    const std::string file = pcmWave(sampleBytes);
    WaveImage image;
    ASSERT_TRUE(load(image, file));
    ASSERT_EQ(image.size, file.size());
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(std::memcmp(image.data, file.data(), file.size()), 0);
    EXPECT_EQ(image.fromResource, 0u);
    EXPECT_EQ(plat::liveBlockCount(), 1);

    EXPECT_EQ(image.dataSize(), sampleBytes.size());
    std::uint8_t* block = nullptr;
    ASSERT_EQ(image.readData(&block, 0), sampleBytes.size()) << "a new block takes it all";
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block, sampleBytes.data(), sampleBytes.size()), 0);
    EXPECT_EQ(plat::liveBlockCount(), 2) << "the new block is the caller's";
    EXPECT_TRUE(plat::globalFree(block));
}

TEST_F(WaveImageTest, TheFormatIsTheFirstEighteenBytesOfItsChunk) {
    WaveImage image;
    // A 16-byte chunk: the last two bytes are the first two of the next chunk ("da").
    ASSERT_TRUE(load(image, pcmWave(samples(8, 0))));
    plat::WaveFormat format;
    ASSERT_TRUE(image.readFormat(format));
    EXPECT_EQ(format.formatTag, plat::kWaveFormatPcm);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.samplesPerSecond, 11025u);
    EXPECT_EQ(format.averageBytesPerSecond, 11025u);
    EXPECT_EQ(format.blockAlign, 1);
    EXPECT_EQ(format.bitsPerSample, 8);
    EXPECT_EQ(format.extraSize, 'd' | ('a' << 8));

    // An 18-byte chunk carries its own extra size.
    const std::string stereo = pcmFormat(2, 44100, 16) + le16(0x0102);
    ASSERT_TRUE(load(image, riff("WAVE", {chunk("fmt ", stereo), chunk("data", samples(8, 0))})));
    ASSERT_TRUE(image.readFormat(format));
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSecond, 44100u);
    EXPECT_EQ(format.averageBytesPerSecond, 176400u);
    EXPECT_EQ(format.blockAlign, 4);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(format.extraSize, 0x0102);

    // A 16-byte chunk at the very end of the file: what lies beyond the file reads as 0.
    ASSERT_TRUE(load(
        image, riff("WAVE", {chunk("data", samples(8, 0)), chunk("fmt ", pcmFormat(1, 8000, 8))})));
    format.extraSize = 0xBEEF;
    ASSERT_TRUE(image.readFormat(format));
    EXPECT_EQ(format.samplesPerSecond, 8000u);
    EXPECT_EQ(format.extraSize, 0);
    EXPECT_EQ(image.dataSize(), 8u);
}

TEST_F(WaveImageTest, TheDataChunkIsFoundBehindOtherChunks) {
    const std::string sampleBytes = samples(33, 9);
    WaveImage image;
    ASSERT_TRUE(
        load(image, riff("WAVE", {chunk("fmt ", pcmFormat(1, 22050, 8)), chunk("fact", le32(33)),
                                  chunk("LIST", "INFOICMT" + le32(3) + "odd" + '\0'),
                                  chunk("junk", "x"),  // odd: a pad byte follows
                                  chunk("data", sampleBytes)})));
    EXPECT_EQ(image.dataSize(), 33u);
    std::uint8_t* block = nullptr;
    ASSERT_EQ(image.readData(&block, 0), 33u);
    EXPECT_EQ(std::memcmp(block, sampleBytes.data(), 33), 0);
    plat::globalFree(block);
}

TEST_F(WaveImageTest, CopiesIntoTheCallersBlockStopAtItsSize) {
    const std::string sampleBytes = samples(400, 5);
    WaveImage image;
    ASSERT_TRUE(load(image, pcmWave(sampleBytes)));
    struct Case {
        std::uint32_t blockSize;
        std::uint32_t copied;
    };
    for (const Case c : {Case{100, 100}, Case{800, 400}, Case{400, 400}, Case{0, 0}}) {
        SCOPED_TRACE(c.blockSize);
        std::string buffer(c.blockSize + 16, '\xEE');
        auto* block = reinterpret_cast<std::uint8_t*>(buffer.data());
        std::uint8_t* given = block;
        EXPECT_EQ(image.readData(&given, c.blockSize), c.copied);
        EXPECT_EQ(given, block) << "the caller's block stays the caller's";
        EXPECT_EQ(buffer.compare(0, c.copied, sampleBytes, 0, c.copied), 0);
        EXPECT_EQ(buffer.find_first_not_of('\xEE', c.copied), std::string::npos)
            << "nothing written past the copy";
    }
    EXPECT_EQ(plat::liveBlockCount(), 1);
}

TEST_F(WaveImageTest, AnEmptyImageAnswersNothing) {
    WaveImage image;
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.size, 0u);
    plat::WaveFormat format;
    format.channels = 7;
    EXPECT_FALSE(image.readFormat(format));
    EXPECT_EQ(format.channels, 7) << "the caller's format is left alone";
    EXPECT_EQ(image.dataSize(), 0u);
    std::uint8_t* block = nullptr;
    EXPECT_EQ(image.readData(&block, 100), 0u);
    EXPECT_EQ(block, nullptr);
    EXPECT_FALSE(image.release());
    EXPECT_EQ(plat::liveBlockCount(), 0);
}

TEST_F(WaveImageTest, BlocksAreGivenBackOnReleaseReloadAndDestruction) {
    {
        WaveImage image;
        ASSERT_TRUE(load(image, pcmWave(samples(10, 0)), "a.wav"));
        ASSERT_TRUE(load(image, pcmWave(samples(20, 0)), "b.wav"));
        EXPECT_EQ(plat::liveBlockCount(), 1) << "the first block went back";
        EXPECT_EQ(image.dataSize(), 20u);
        EXPECT_TRUE(image.release());
        EXPECT_EQ(image.data, nullptr);
        EXPECT_EQ(image.size, 0u);
        EXPECT_EQ(plat::liveBlockCount(), 0);
        EXPECT_FALSE(image.release());

        ASSERT_TRUE(load(image, pcmWave(samples(10, 0)), "a.wav"));
        EXPECT_FALSE(image.loadFile("missing.wav"));
        EXPECT_EQ(image.data, nullptr) << "a failed load leaves the image empty";
        EXPECT_EQ(plat::liveBlockCount(), 0);

        ASSERT_TRUE(load(image, pcmWave(samples(10, 0)), "a.wav"));
    }
    EXPECT_EQ(plat::liveBlockCount(), 0) << "the destructor gives the block back";
}

TEST_F(WaveImageTest, AnEmptyFileDoesNotLoad) {
    WaveImage image;
    EXPECT_FALSE(load(image, ""));
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(plat::liveBlockCount(), 0);
}

TEST_F(WaveImageTest, DamagedFilesNeverLeadOutsideTheirImage) {
    const std::string format = chunk("fmt ", pcmFormat(1, 11025, 8));
    const std::string good = pcmWave(samples(64, 1));
    struct Case {
        const char* what;
        std::string bytes;
        bool hasFormat;
        std::uint32_t dataBytes;
    };
    const Case cases[] = {
        {"not RIFF", "RIFX" + good.substr(4), false, 0},
        {"RIFF but not WAVE", riff("AVI ", {format, chunk("data", samples(64, 1))}), false, 0},
        {"no format chunk", riff("WAVE", {chunk("data", samples(64, 1))}), false, 0},
        {"no data chunk", riff("WAVE", {format}), true, 0},
        {"data claims more than the file holds",
         riff("WAVE", {format, chunkClaiming("data", 1000, samples(10, 1))}), true, 10},
        {"data claims 4 GB", riff("WAVE", {format, chunkClaiming("data", 0xFFFFFFFF, "abcd")}),
         true, 4},
        {"a chunk before the data claims 4 GB",
         riff("WAVE",
              {format, chunkClaiming("junk", 0xFFFFFFF0, "abcd"), chunk("data", samples(64, 1))}),
         true, 0},
        {"cut in the RIFF header", good.substr(0, 6), false, 0},
        {"cut after the form type", good.substr(0, 12), false, 0},
        {"cut inside the format chunk", good.substr(0, 20 + 6), true, 0},
        {"cut inside the data chunk's header", good.substr(0, 36 + 6), true, 0},
        {"cut inside the samples", good.substr(0, 44 + 20), true, 20},
        {"only a header", std::string("RIFF\0\0\0\0WAVE", 12), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveImage image;
        ASSERT_TRUE(load(image, c.bytes));
        plat::WaveFormat wave;
        EXPECT_EQ(image.readFormat(wave), c.hasFormat);
        EXPECT_EQ(image.dataSize(), c.dataBytes);
        std::uint8_t* block = nullptr;
        EXPECT_EQ(image.readData(&block, 0), c.dataBytes);
        if (block != nullptr) {
            plat::globalFree(block);
        }
        std::string into(128, '\xEE');
        std::uint8_t* given = reinterpret_cast<std::uint8_t*>(into.data());
        EXPECT_EQ(image.readData(&given, 128), c.dataBytes);
    }
    EXPECT_EQ(plat::liveBlockCount(), 0);
}

TEST_F(WaveImageTest, AFormatCutShortReadsTheMissingBytesAsZero) {
    WaveImage image;
    const std::string good = pcmWave(samples(8, 0));
    ASSERT_TRUE(load(image, good.substr(0, 20 + 6)));  // tag, channels and half the rate
    plat::WaveFormat format;
    format.bitsPerSample = 99;
    ASSERT_TRUE(image.readFormat(format));
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.samplesPerSecond, 11025u & 0xFFFF);
    EXPECT_EQ(format.averageBytesPerSecond, 0u);
    EXPECT_EQ(format.bitsPerSample, 0);
}

}  // namespace
