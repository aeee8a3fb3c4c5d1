// The generated pictures and sounds, read back from the playable folder: the formats and sizes
// the game loads, the transparency it relies on (pure black, RGB565 value 0, is see-through),
// and sounds that neither clip nor pop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> readAll(const std::string& relative) {
    std::ifstream in(std::string(GORVENDAL_GAME_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

// A 24-bit picture as the game's loader sees it, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
    // The pixel once converted to the game's RGB565 surfaces; 0 is transparent.
    std::uint16_t rgb565(int x, int y) const {
        const std::uint8_t* p = at(x, y);
        return static_cast<std::uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
    }
    bool shown(int x, int y) const { return rgb565(x, y) != 0; }
    float luminance(int x, int y) const {
        const std::uint8_t* p = at(x, y);
        return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    }
};

// Reads a BMP file, failing the test unless it is a plain 24-bit uncompressed bottom-up BMP.
Picture readBmp(const std::string& name) {
    Picture picture;
    const std::vector<std::uint8_t> b = readAll("bitmaps/" + name);
    EXPECT_GE(b.size(), 54u) << name;
    if (b.size() < 54) {
        return picture;
    }
    EXPECT_EQ(b[0], 'B') << name;
    EXPECT_EQ(b[1], 'M') << name;
    EXPECT_EQ(le32(b, 2), b.size()) << name << ": file size field";
    const std::uint32_t offset = le32(b, 10);
    EXPECT_EQ(le32(b, 14), 40u) << name << ": BITMAPINFOHEADER";
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    EXPECT_EQ(le16(b, 26), 1u) << name << ": planes";
    EXPECT_EQ(le16(b, 28), 24u) << name << ": bits per pixel";
    EXPECT_EQ(le32(b, 30), 0u) << name << ": compression";
    EXPECT_GT(width, 0) << name;
    EXPECT_GT(height, 0) << name << ": bottom-up rows";
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    EXPECT_EQ(b.size(), offset + rowBytes * height) << name << ": pixel data size";
    if (width <= 0 || height <= 0 || b.size() < offset + rowBytes * height) {
        return picture;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + rowBytes * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* out = &picture.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = b[row + x * 3 + 2];
            out[1] = b[row + x * 3 + 1];
            out[2] = b[row + x * 3];
        }
    }
    return picture;
}

// Mean luminance of the shown pixels of a box.
float meanLuminance(const Picture& p, int left, int top, int right, int bottom) {
    float sum = 0;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (p.shown(x, y)) {
                sum += p.luminance(x, y);
                ++count;
            }
        }
    }
    return count == 0 ? 0.0f : sum / count;
}

TEST(GeneratedPictures, EverySheetIsA24BitBmpAtItsSurfaceSize) {
    struct Sheet {
        const char* file;
        int width;
        int height;
    };
    const Sheet sheets[] = {{"cur.bmp", 20, 20},    {"grille.bmp", 40, 20}, {"pion.bmp", 76, 38},
                            {"win.bmp", 3200, 600}, {"menu.bmp", 2100, 75}, {"ok.bmp", 80, 40},
                            {"abcd.bmp", 100, 20}};
    for (const Sheet& sheet : sheets) {
        const Picture p = readBmp(sheet.file);
        EXPECT_EQ(p.width, sheet.width) << sheet.file;
        EXPECT_EQ(p.height, sheet.height) << sheet.file;
    }
}

TEST(GeneratedPictures, PiecesAreSolidInsideAndTransparentAround) {
    const Picture p = readBmp("pion.bmp");
    ASSERT_EQ(p.width, 76);
    for (int frame = 0; frame < 2; ++frame) {
        const int x0 = frame * 38;
        // The body, the ebony one included, never turns into the transparent value.
        for (int y = 0; y < 38; ++y) {
            for (int x = 0; x < 38; ++x) {
                const float dx = x + 0.5f - 18.5f;
                const float dy = y + 0.5f - 18.5f;
                if (dx * dx + dy * dy <= 14.0f * 14.0f) {
                    EXPECT_TRUE(p.shown(x0 + x, y))
                        << "frame " << frame + 1 << " at " << x << "," << y;
                }
            }
        }
        // The corners around the round piece let the board show through.
        EXPECT_FALSE(p.shown(x0, 0)) << "frame " << frame + 1;
        EXPECT_FALSE(p.shown(x0 + 37, 0)) << "frame " << frame + 1;
        EXPECT_FALSE(p.shown(x0, 37)) << "frame " << frame + 1;
    }
    // Ivory is light and ebony dark, where the level is written (the middle of the piece).
    EXPECT_GT(meanLuminance(p, 14, 10, 24, 27), 170.0f);
    EXPECT_LT(meanLuminance(p, 38 + 14, 10, 38 + 24, 27), 90.0f);
}

TEST(GeneratedPictures, CursorHasItsTipAtTheTopLeftPixel) {
    const Picture p = readBmp("cur.bmp");
    ASSERT_EQ(p.width, 20);
    EXPECT_TRUE(p.shown(0, 0));
    EXPECT_FALSE(p.shown(19, 0));
    EXPECT_FALSE(p.shown(19, 19));
    EXPECT_FALSE(p.shown(0, 19));
    // A white arrow inside a dark outline.
    EXPECT_GT(p.luminance(2, 5), 200.0f);
    EXPECT_LT(p.luminance(0, 5), 60.0f);
}

TEST(GeneratedPictures, BoardIsOpaqueAndItsLinesStandOut) {
    const Picture p = readBmp("grille.bmp");
    ASSERT_EQ(p.width, 40);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            EXPECT_TRUE(p.shown(x, y)) << x << "," << y;
        }
    }
    // The line frame is one colour: the game stretches it into 2-pixel lines.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(p.rgb565(x, y), p.rgb565(0, 0)) << x << "," << y;
        }
    }
    EXPECT_GT(meanLuminance(p, 20, 0, 40, 20) - meanLuminance(p, 0, 0, 20, 20), 40.0f);
}

TEST(GeneratedPictures, ScreensHideTheBoardAndKeepTheTextAreaDark) {
    const Picture p = readBmp("win.bmp");
    ASSERT_EQ(p.width, 3200);
    int transparent = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            transparent += p.shown(x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(transparent, 0);
    // Save (frame 3) and load (frame 4) screens: red lines from (200, 300), the letters at
    // (350, 400) and OK at (360, 430) lie on a dark, calm area.
    for (int frame = 2; frame < 4; ++frame) {
        const int x0 = frame * 800;
        EXPECT_LT(meanLuminance(p, x0 + 200, 300, x0 + 480, 346), 40.0f) << frame + 1;
        EXPECT_LT(meanLuminance(p, x0 + 340, 395, x0 + 460, 475), 40.0f) << frame + 1;
    }
}

TEST(GeneratedPictures, MenuButtonsLightUpUnderTheCursor) {
    const Picture p = readBmp("menu.bmp");
    ASSERT_EQ(p.width, 2100);
    for (int button = 0; button < 7; ++button) {
        const int normal = button * 150;
        const int lit = (button + 7) * 150;
        EXPECT_TRUE(p.shown(normal + 75, 37)) << "button " << button + 1;
        EXPECT_TRUE(p.shown(lit + 75, 37)) << "button " << button + 1;
        EXPECT_GT(meanLuminance(p, lit, 0, lit + 150, 75),
                  meanLuminance(p, normal, 0, normal + 150, 75) + 10.0f)
            << "button " << button + 1;
    }
}

TEST(GeneratedPictures, OkButtonAndLetterCellsAreSeparateShapes) {
    const Picture ok = readBmp("ok.bmp");
    ASSERT_EQ(ok.width, 80);
    EXPECT_TRUE(ok.shown(40, 20));
    const Picture letters = readBmp("abcd.bmp");
    ASSERT_EQ(letters.width, 100);
    for (int cell = 0; cell < 5; ++cell) {
        EXPECT_TRUE(letters.shown(cell * 20 + 4, 10)) << "cell " << cell;
        // Dark letter on a light tile.
        float darkest = 255;
        for (int y = 3; y < 17; ++y) {
            for (int x = cell * 20 + 3; x < cell * 20 + 17; ++x) {
                darkest = std::min(darkest, letters.luminance(x, y));
            }
        }
        EXPECT_LT(darkest, 110.0f) << "cell " << cell;
        // A gap between neighbouring cells.
        for (int y = 0; y < 20; ++y) {
            EXPECT_FALSE(letters.shown(cell * 20, y)) << "cell " << cell << " row " << y;
        }
    }
}

TEST(GeneratedSounds, AreShortClean16BitPcmWaves) {
    struct Sound {
        const char* file;
        double shortest;
        double longest;
    };
    const Sound sounds[] = {{"clic.wav", 0.02, 0.08},
                            {"depl.wav", 0.10, 0.25},
                            {"att.wav", 0.25, 0.50},
                            {"win.wav", 1.0, 2.0}};
    for (const Sound& sound : sounds) {
        SCOPED_TRACE(sound.file);
        const std::vector<std::uint8_t> b = readAll(std::string("waves/") + sound.file);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        EXPECT_EQ(le32(b, 4), b.size() - 8);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
        EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
        EXPECT_EQ(le32(b, 16), 16u);
        EXPECT_EQ(le16(b, 20), 1u) << "PCM";
        const std::uint32_t channels = le16(b, 22);
        const std::uint32_t rate = le32(b, 24);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_TRUE(rate == 22050 || rate == 44100);
        EXPECT_EQ(le32(b, 28), rate * channels * 2) << "byte rate";
        EXPECT_EQ(le16(b, 32), channels * 2) << "block align";
        EXPECT_EQ(le16(b, 34), 16u) << "bits";
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        const std::uint32_t bytes = le32(b, 40);
        ASSERT_EQ(bytes, b.size() - 44);
        const std::size_t samples = bytes / 2;
        const double seconds = static_cast<double>(samples) / channels / rate;
        EXPECT_GE(seconds, sound.shortest);
        EXPECT_LE(seconds, sound.longest);

        int peak = 0;
        for (std::size_t i = 0; i < samples; ++i) {
            const auto value = static_cast<std::int16_t>(le16(b, 44 + 2 * i));
            peak = std::max(peak, std::abs(static_cast<int>(value)));
        }
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_GT(peak, 4000) << "too quiet to hear";
        // Silent ends: no click when the sound starts or stops.
        const auto first = static_cast<std::int16_t>(le16(b, 44));
        const auto last = static_cast<std::int16_t>(le16(b, 44 + bytes - 2));
        EXPECT_LT(std::abs(static_cast<int>(first)), 300);
        EXPECT_LT(std::abs(static_cast<int>(last)), 300);
    }
}

}  // namespace
