// Pictures: BMP files loaded, converted to RGB565 and stretched to the size asked for; damaged
// files refused without harm; the runner's 24-bit shots; the game's paths with backslashes.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/backend.h"
#include "platform_fixture.h"

namespace {

using plat::Handle;
namespace fs = std::filesystem;

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A 24-bit bottom-up BMP; colour(x, y) gives 0x00RRGGBB.
template <class Colour>
std::vector<std::uint8_t> bmp24(int width, int height, Colour colour) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> bytes(54 + static_cast<std::size_t>(rowBytes) * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, 54);
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    put16(bytes, 26, 1);
    put16(bytes, 28, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = colour(x, y);
            const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes + 3 * x;
            bytes[at] = static_cast<std::uint8_t>(rgb);
            bytes[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
            bytes[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
        }
    }
    return bytes;
}

class PictureTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        char pattern[] = "/tmp/gorvendal-pictures-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        PlatformTest::TearDown();
    }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    // Loads a picture into a new surface of its size; the surface's pixels, or nothing.
    std::vector<std::uint16_t> loadInto(const std::string& path, int width, int height) {
        const Handle picture = plat::loadPicture(path.c_str(), width, height);
        if (picture == plat::kNoHandle) {
            return {};
        }
        const Handle surface = plat::createSurface(display, width, height, 0);
        EXPECT_TRUE(plat::getSurfaceDc(surface));
        EXPECT_TRUE(plat::copyPictureToSurface(picture, surface));
        plat::releaseSurfaceDc(surface);
        plat::release(picture);
        return pixelsOf(surface);
    }

    fs::path folder;
};

TEST_F(PictureTest, LoadsConvertsAndStretches) {
    // Four columns: red, green, blue, and a grey too dark for RGB565 (black after loading).
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x030303};
    const std::string path =
        write("strip.bmp", bmp24(4, 2, [&](int x, int) { return colours[x]; }));
    EXPECT_EQ(loadInto(path, 4, 2),
              (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, 0, 0xF800, 0x07E0, 0x001F, 0}));
    // Stretched to 8 x 1: each column twice, as the sheets' frames are.
    EXPECT_EQ(loadInto(path, 8, 1),
              (std::vector<std::uint16_t>{0xF800, 0xF800, 0x07E0, 0x07E0, 0x001F, 0x001F, 0, 0}));
    // The game's paths use a backslash before the file name.
    const std::string gamePath = folder.string() + "\\strip.bmp";
    // Shrunk to 2 x 1: the pixels at the centres of the two halves.
    EXPECT_EQ(loadInto(gamePath, 2, 1), (std::vector<std::uint16_t>{0x07E0, 0}));
}

TEST_F(PictureTest, CopyNeedsTheDeviceContextAndCanBeMadeToFail) {
    const std::string path = write("one.bmp", bmp24(1, 1, [](int, int) { return 0xFFFFFFu; }));
    const Handle picture = plat::loadPicture(path.c_str(), 2, 2);
    ASSERT_NE(picture, plat::kNoHandle);
    const Handle surface = plat::createSurface(display, 2, 2, 0);
    EXPECT_FALSE(plat::copyPictureToSurface(picture, surface));
    ASSERT_TRUE(plat::getSurfaceDc(surface));
    EXPECT_FALSE(plat::getSurfaceDc(surface));  // held already
    plat::headless::failOperation(plat::Op::CopyPicture);
    EXPECT_FALSE(plat::copyPictureToSurface(picture, surface));
    EXPECT_EQ(pixelsOf(surface), std::vector<std::uint16_t>(4, 0));
    EXPECT_TRUE(plat::copyPictureToSurface(picture, surface));
    EXPECT_EQ(pixelsOf(surface), std::vector<std::uint16_t>(4, 0xFFFF));
    plat::releaseSurfaceDc(surface);
    plat::headless::failOperation(plat::Op::GetSurfaceDc);
    EXPECT_FALSE(plat::getSurfaceDc(surface));
    plat::headless::failOperation(plat::Op::LoadPicture);
    EXPECT_EQ(plat::loadPicture(path.c_str(), 2, 2), plat::kNoHandle);
    EXPECT_NE(plat::loadPicture(path.c_str(), 2, 2), plat::kNoHandle);
}

TEST_F(PictureTest, DamagedFilesAreRefused) {
    const std::vector<std::uint8_t> good =
        bmp24(5, 3, [](int x, int y) { return static_cast<std::uint32_t>(x * 40 + y * 9000); });
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto damaged = [&](const char* name, auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        cases.push_back({name, bytes});
    };
    cases.push_back({"empty", {}});
    cases.push_back({"only the signature", {'B', 'M'}});
    cases.push_back({"not a BMP", std::vector<std::uint8_t>(200, 'x')});
    damaged("header cut", [](auto& b) { b.resize(30); });
    damaged("pixels cut", [](auto& b) { b.resize(b.size() - 7); });
    damaged("width 0", [](auto& b) { put32(b, 18, 0); });
    damaged("negative width", [](auto& b) { put32(b, 18, static_cast<std::uint32_t>(-5)); });
    damaged("height 0", [](auto& b) { put32(b, 22, 0); });
    damaged("huge width", [](auto& b) { put32(b, 18, 0x7FFFFFFF); });
    damaged("huge height", [](auto& b) { put32(b, 22, 0x7FFFFFFF); });
    damaged("most negative height", [](auto& b) { put32(b, 22, 0x80000000u); });
    damaged("a million by a million", [](auto& b) {
        put32(b, 18, 1000000);
        put32(b, 22, 1000000);
    });
    damaged("0 bits per pixel", [](auto& b) { put16(b, 28, 0); });
    damaged("7 bits per pixel", [](auto& b) { put16(b, 28, 7); });
    damaged("pixels beyond the end", [](auto& b) { put32(b, 10, 0x7FFFFFF0); });
    damaged("info header of 4 GB", [](auto& b) { put32(b, 14, 0xFFFFFFFF); });
    damaged("unknown compression", [](auto& b) { put32(b, 30, 77); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write("damaged.bmp", c.bytes);
        EXPECT_EQ(plat::loadPicture(path.c_str(), 20, 20), plat::kNoHandle);
    }
    // A palettised picture with 2 colours, then claiming 4 billion: only the 256 an 8-bit
    // picture can use are taken, and the two it has are found where they are.
    std::vector<std::uint8_t> palettised(54 + 8 + 4, 0);
    palettised[0] = 'B';
    palettised[1] = 'M';
    put32(palettised, 10, 62);
    put32(palettised, 14, 40);
    put32(palettised, 18, 2);
    put32(palettised, 22, 1);
    put16(palettised, 26, 1);
    put16(palettised, 28, 8);
    put32(palettised, 46, 2);
    put32(palettised, 54, 0x0000FF);  // blue
    put32(palettised, 58, 0xFF0000);  // red
    palettised[62] = 1;
    palettised[63] = 0;
    EXPECT_EQ(loadInto(write("palette.bmp", palettised), 2, 1),
              (std::vector<std::uint16_t>{0xF800, 0x001F}));
    put32(palettised, 46, 0xFFFFFFFF);
    put32(palettised, 10, 54 + 1024);
    palettised.resize(54 + 1024 + 4, 0);
    put32(palettised, 54 + 1024, 0x0001);
    EXPECT_EQ(loadInto(write("palette.bmp", palettised), 2, 1),
              (std::vector<std::uint16_t>{0xF800, 0x001F}));
    // Missing files and impossible sizes.
    EXPECT_EQ(plat::loadPicture((folder / "missing.bmp").c_str(), 20, 20), plat::kNoHandle);
    const std::string path = write("good.bmp", good);
    EXPECT_EQ(plat::loadPicture(path.c_str(), 0, 20), plat::kNoHandle);
    EXPECT_EQ(plat::loadPicture(path.c_str(), 20, -1), plat::kNoHandle);
    EXPECT_EQ(plat::loadPicture(path.c_str(), INT_MAX, INT_MAX), plat::kNoHandle);
    EXPECT_NE(plat::loadPicture(path.c_str(), 20, 20), plat::kNoHandle);
}

TEST_F(PictureTest, ShotsAreTwentyFourBitBmpsThatLoadBack) {
    std::vector<std::uint16_t> picture(800 * 600);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
    }
    const std::string path = (folder / "shot.bmp").string();
    ASSERT_TRUE(plat::headless::writeBmp24(path.c_str(), picture, 800, 600));
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 800u * 600u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);
    // RGB565 widened to 8 bits per channel and read back by the picture loader: the same
    // pixels, top row first.
    EXPECT_EQ(loadInto(path, 800, 600), picture);
    // Rows of an odd width are padded to four bytes.
    const std::vector<std::uint16_t> small = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0x1234};
    ASSERT_TRUE(plat::headless::writeBmp24(path.c_str(), small, 3, 2));
    EXPECT_EQ(fs::file_size(path), 54u + 2u * 12u);
    EXPECT_EQ(loadInto(path, 3, 2), small);
    EXPECT_FALSE(plat::headless::writeBmp24(path.c_str(), small, 4, 2));
    EXPECT_FALSE(plat::headless::writeBmp24((folder / "no" / "shot.bmp").c_str(), small, 3, 2));
}

}  // namespace
