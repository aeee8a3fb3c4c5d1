// Text on surfaces (opaque, Windows-1252, clipped) and the sound buffers (lock, unlock, play,
// the formats the device takes, failures on demand).
#include <climits>

#include "platform/backend.h"
#include "platform_fixture.h"

namespace {

using plat::Handle;
namespace headless = plat::headless;

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kGrey = (15 << 11) | (31 << 5) | 15;  // 0x7F7F7F
constexpr std::uint16_t kWhite = 0xFFFF;

class TextTest : public PlatformTest {
  protected:
    // Writes a text at (x, y) on a 200 x 40 surface filled with red; returns its pixels.
    std::vector<std::uint16_t> draw(const char* text, int x = 10, int y = 10,
                                    std::uint32_t textColour = 0xFFFFFF,
                                    std::uint32_t background = 0x7F7F7F) {
        const Handle surface = surfaceWith(200, 40, std::vector<std::uint16_t>(200 * 40, kRed));
        EXPECT_TRUE(plat::getSurfaceDc(surface));
        plat::textOut(surface, x, y, text, textColour, background);
        plat::releaseSurfaceDc(surface);
        const auto pixels = pixelsOf(surface);
        plat::release(surface);
        return pixels;
    }

    // The box of pixels that are not red.
    struct Box {
        int left = INT_MAX;
        int top = INT_MAX;
        int right = -1;
        int bottom = -1;
    };
    static Box boxOf(const std::vector<std::uint16_t>& pixels) {
        Box box;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (pixels[y * 200 + x] != kRed) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
            }
        }
        return box;
    }
};

TEST_F(TextTest, TextIsOpaqueOnItsBackgroundColour) {
    const auto pixels = draw("Joueur1 (blanc)");
    const Box box = boxOf(pixels);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_GT(box.right, 60);
    // Lines are placed 15 pixels apart by the game: a line's box is no taller.
    EXPECT_GE(box.bottom - box.top, 12);
    EXPECT_LE(box.bottom - box.top, 15);
    int background = 0;
    int glyph = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const std::uint16_t pixel = pixels[y * 200 + x];
            ASSERT_NE(pixel, kRed) << "the picture under the text shows at " << x << "," << y;
            background += pixel == kGrey;
            glyph += pixel == kWhite;
        }
    }
    EXPECT_GT(background, 0);
    EXPECT_GT(glyph, 0);
}

TEST_F(TextTest, WindowsLatinCharactersAreDrawn) {
    // é, the euro sign and the ellipsis of Windows-1252 are glyphs, each unlike the others
    // and unlike a plain e.
    const auto e = draw("e");
    const auto eAcute = draw("\xE9");
    const auto euro = draw("\x80");
    const auto ellipsis = draw("\x85");
    for (const auto* pixels : {&eAcute, &euro, &ellipsis}) {
        const Box box = boxOf(*pixels);
        EXPECT_GT(box.right - box.left, 3);
        const auto inked = std::count_if(pixels->begin(), pixels->end(),
                                         [](std::uint16_t p) { return p != kRed && p != kGrey; });
        EXPECT_GT(inked, 3);
    }
    EXPECT_NE(eAcute, e);
    EXPECT_NE(eAcute, euro);
    EXPECT_NE(euro, ellipsis);
    // The same text twice (the second from the cache) draws the same pixels.
    EXPECT_EQ(draw("\xE9"), eAcute);
    // The colours are part of what is kept: red on black is not white on grey.
    const auto redOnBlack = draw("\xE9", 10, 10, 0x0000FF, 0x000000);
    EXPECT_EQ(std::count(redOnBlack.begin(), redOnBlack.end(), kGrey), 0);
    EXPECT_GT(std::count(redOnBlack.begin(), redOnBlack.end(), 0), 0);
}

TEST_F(TextTest, TextNeedsTheDeviceContextAndIsClipped) {
    const Handle surface = surfaceWith(200, 40, std::vector<std::uint16_t>(200 * 40, kRed));
    plat::textOut(surface, 10, 10, "3", 0xFFFFFF, 0x7F7F7F);
    EXPECT_EQ(pixelsOf(surface), std::vector<std::uint16_t>(200 * 40, kRed));
    // Partly and wholly off the surface, at extreme positions: only what lies on it is drawn.
    const auto left = draw("12345", -20, -5);
    const Box box = boxOf(left);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(boxOf(draw("12345", 195, 35)).left, 195);
    for (const auto& [x, y] : {std::pair{INT_MIN, INT_MIN}, std::pair{INT_MAX, INT_MAX},
                               std::pair{INT_MAX - 3, 0}, std::pair{0, INT_MIN + 1}}) {
        EXPECT_EQ(draw("12345", x, y), std::vector<std::uint16_t>(200 * 40, kRed));
    }
    EXPECT_EQ(draw(""), std::vector<std::uint16_t>(200 * 40, kRed));
}

class SoundTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        device = plat::createSoundDevice();
        ASSERT_NE(device, plat::kNoHandle);
        ASSERT_TRUE(plat::setSoundCooperativeLevel(device, window));
    }
    plat::WaveFormat pcm(std::uint16_t channels, std::uint16_t bits) {
        const auto align = static_cast<std::uint16_t>(channels * bits / 8);
        return {plat::kWaveFormatPcm, channels, 22050, 22050u * align, align, bits, 0};
    }
    Handle device = plat::kNoHandle;
};

TEST_F(SoundTest, FormatsAndSizesTheDeviceTakes) {
    struct Case {
        const char* name;
        plat::WaveFormat format;
        std::uint32_t bytes;
        bool created;
    };
    plat::WaveFormat compressed = pcm(1, 8);
    compressed.formatTag = 2;
    const std::vector<Case> cases = {
        {"8-bit mono", pcm(1, 8), 100, true},   {"16-bit stereo", pcm(2, 16), 400, true},
        {"no bytes", pcm(1, 8), 0, false},      {"4 GB", pcm(1, 8), 0xFFFFFFFF, false},
        {"24-bit", pcm(1, 24), 300, false},     {"three channels", pcm(3, 16), 600, false},
        {"no channel", pcm(0, 16), 600, false}, {"not PCM", compressed, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Handle buffer = plat::createSoundBuffer(device, c.format, c.bytes);
        EXPECT_EQ(buffer != plat::kNoHandle, c.created);
        plat::release(buffer);
    }
    headless::failOperation(plat::Op::CreateSoundBuffer);
    EXPECT_EQ(plat::createSoundBuffer(device, pcm(1, 8), 100), plat::kNoHandle);
}

TEST_F(SoundTest, LockUnlockAndPlay) {
    const Handle buffer = plat::createSoundBuffer(device, pcm(1, 8), 100);
    ASSERT_NE(buffer, plat::kNoHandle);
    std::uint8_t* region = nullptr;
    std::uint32_t regionBytes = 0;
    EXPECT_FALSE(plat::lockSoundBuffer(buffer, 0, 101, region, regionBytes));
    EXPECT_FALSE(plat::lockSoundBuffer(buffer, 0xFFFFFFF0u, 0x20, region, regionBytes));
    headless::failOperation(plat::Op::LockSoundBuffer);
    EXPECT_FALSE(plat::lockSoundBuffer(buffer, 0, 100, region, regionBytes));
    ASSERT_TRUE(plat::lockSoundBuffer(buffer, 0, 100, region, regionBytes));
    ASSERT_EQ(regionBytes, 100u);
    std::fill(region, region + 100, 0x80);
    EXPECT_FALSE(plat::lockSoundBuffer(buffer, 0, 100, region, regionBytes));  // locked
    EXPECT_FALSE(plat::unlockSoundBuffer(buffer, region + 1, 10));
    EXPECT_FALSE(plat::unlockSoundBuffer(buffer, region, 101));
    headless::failOperation(plat::Op::UnlockSoundBuffer);
    EXPECT_FALSE(plat::unlockSoundBuffer(buffer, region, 100));
    ASSERT_TRUE(plat::unlockSoundBuffer(buffer, region, 100));
    EXPECT_FALSE(plat::unlockSoundBuffer(buffer, region, 100));  // no longer locked

    std::vector<headless::SoundEvent> heard;
    headless::setSoundListener([&heard](const headless::SoundEvent& e) { heard.push_back(e); });
    EXPECT_TRUE(plat::playSoundBuffer(buffer, false));
    EXPECT_TRUE(plat::playSoundBuffer(buffer, false));
    ASSERT_EQ(headless::soundLog().size(), 2u);
    EXPECT_EQ(headless::soundLog()[0].bufferHandle, buffer);
    EXPECT_EQ(headless::soundLog()[0].frame, 0);
    EXPECT_EQ(heard.size(), 2u);
    // A released buffer plays nothing and logs nothing.
    plat::release(buffer);
    EXPECT_FALSE(plat::playSoundBuffer(buffer, false));
    EXPECT_EQ(headless::soundLog().size(), 2u);
}

// What the back end is given at the unlock: the bytes written, in the buffer's format.
class RecordingBackend : public plat::Backend {
  public:
    std::vector<std::pair<std::uint32_t, plat::SoundData>> sounds;
    bool openWindow(const char*) override { return true; }
    void showWindow() override {}
    void closeWindow() override {}
    void hideSystemPointer() override {}
    bool pollSystemMessage(plat::Message&) override { return false; }
    void waitSystemMessage() override {}
    void writeDebugLine(const std::string&) override {}
    [[noreturn]] void exitProcess(int code) override { throw headless::ProcessExit{code}; }
    bool openDisplay() override { return true; }
    bool setMode(int, int, int) override { return true; }
    bool present(const std::uint16_t*, int, int) override { return true; }
    void closeDisplay() override {}
    bool surfacesLost() const override { return false; }
    bool escapeDown() override { return false; }
    bool openSoundDevice() override { return true; }
    void closeSoundDevice() override {}
    bool acceptsFormat(const plat::WaveFormat&) override { return true; }
    void setSound(std::uint32_t id, const plat::SoundData& sound) override {
        sounds.emplace_back(id, sound);
    }
    void playSound(std::uint32_t, bool) override {}
    void dropSound(std::uint32_t) override {}
};

TEST(SoundBufferBackendTest, UnlockHandsTheWrittenBytesToTheBackEnd) {
    auto owned = std::make_unique<RecordingBackend>();
    RecordingBackend& recording = *owned;
    plat::setBackend(std::move(owned));
    plat::resetPlatformState();
    const Handle device = plat::createSoundDevice();
    const plat::WaveFormat format{plat::kWaveFormatPcm, 1, 11025, 11025, 1, 8, 0};
    const Handle buffer = plat::createSoundBuffer(device, format, 10);
    std::uint8_t* region = nullptr;
    std::uint32_t regionBytes = 0;
    ASSERT_TRUE(plat::lockSoundBuffer(buffer, 0, 10, region, regionBytes));
    for (std::uint8_t i = 0; i < 10; ++i) {
        region[i] = static_cast<std::uint8_t>(i + 1);
    }
    // Only 6 bytes hold sound (a wave file cut short): the sound is those 6.
    ASSERT_TRUE(plat::unlockSoundBuffer(buffer, region, 6));
    ASSERT_EQ(recording.sounds.size(), 1u);
    EXPECT_EQ(recording.sounds[0].first, buffer);
    EXPECT_EQ(recording.sounds[0].second.format.samplesPerSecond, 11025u);
    EXPECT_EQ(recording.sounds[0].second.bytes, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    headless::install();
}

}  // namespace
