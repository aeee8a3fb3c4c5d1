#include "picture_fixture.h"

#include <cstddef>
#include <fstream>

#include "board/board.h"
#include "platform/headless.h"
#include "shell/app.h"

namespace fs = std::filesystem;

namespace {

void put16(std::ofstream& out, std::uint32_t value) {
    out.put(static_cast<char>(value & 0xFF));
    out.put(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::ofstream& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A short silent 8-bit mono sound.
void writeTestWave(const std::string& path) {
    constexpr std::uint32_t kSamples = 64;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + kSamples);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);      // PCM
    put16(out, 1);      // mono
    put32(out, 11025);  // samples per second
    put32(out, 11025);  // bytes per second
    put16(out, 1);      // block align
    put16(out, 8);      // bits per sample
    out.write("data", 4);
    put32(out, kSamples);
    for (std::uint32_t i = 0; i < kSamples; ++i) {
        out.put(static_cast<char>(0x80));
    }
}

bool inSliceBorder(int x, int y) {
    const int sx = x % 20;
    return sx < 2 || sx >= 18 || y < 2 || y >= 18;
}

}  // namespace

void writeTestBmpPixels(const std::string& path, int width, int height,
                        const std::vector<Rgb>& pixels) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes) * height;
    std::ofstream out(path, std::ios::binary);
    out.write("BM", 2);
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));  // bottom-up rows
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // no compression
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& c = pixels[static_cast<std::size_t>(y) * width + x];
            out.put(static_cast<char>(c.b));
            out.put(static_cast<char>(c.g));
            out.put(static_cast<char>(c.r));
        }
        for (int pad = width * 3; pad < rowBytes; ++pad) {
            out.put(0);
        }
    }
}

void PictureGame::SetUp() {
    HeadlessGame::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    for (const char* folder : {"bitmaps", "waves"}) {
        fs::remove(workDir / folder);  // the links to the game's own files
        fs::create_directory(workDir / folder);
    }
    const std::string bitmaps = (workDir / "bitmaps").string() + "/";
    writeTestBmp(bitmaps + "cur.bmp", 20, 20, [](int x, int y) {
        if (y < 10) {
            return x < 10 ? kCursorTopLeft : kCursorTopRight;
        }
        return x < 10 ? kCursorBottomLeft : kCursorBottomRight;
    });
    writeTestBmp(bitmaps + "grille.bmp", 40, 20,
                 [](int x, int) { return x < 20 ? kGridLine : kBoardBackground; });
    writeTestBmp(bitmaps + "pion.bmp", 76, 38,
                 [](int x, int) { return x < 38 ? kWhitePiece : kBlackPiece; });
    writeTestBmp(bitmaps + "win.bmp", 400, 75, [](int x, int) {
        return Rgb{static_cast<std::uint8_t>(40 * (x / 100 + 1)), 40, 40};
    });
    writeTestBmp(bitmaps + "menu.bmp", 2100, 75,
                 [](int x, int) { return menuFrameColour(x / 150 + 1); });
    writeTestBmp(bitmaps + "ok.bmp", 40, 20,
                 [](int x, int) { return x < 20 ? kOkLeft : kOkRight; });
    writeTestBmp(bitmaps + "abcd.bmp", 100, 20, [](int x, int y) {
        switch (x / 20) {
            case 0:
                return kSliceRed;
            case 1:
                return Rgb{0, 0, 0};
            case 2:
                return inSliceBorder(x, y) ? Rgb{0, 0, 0} : kSliceGreen;
            case 3:
                return kSliceBlue;
            default:
                return kSliceWhite;
        }
    });
    for (const char* wave : {"clic", "depl", "att", "win"}) {
        writeTestWave((workDir / "waves" / (std::string(wave) + ".wav")).string());
    }
}

std::uint16_t PictureGame::shown(int x, int y) const {
    return plat::headless::shownPicture()[static_cast<std::size_t>(y) * 800 + x];
}

std::uint16_t PictureGame::back(int x, int y) const {
    int width = 0;
    int height = 0;
    const std::vector<std::uint16_t>* pixels =
        plat::headless::surfacePixels(backBuffer, &width, &height);
    if (pixels == nullptr || x < 0 || y < 0 || x >= width || y >= height) {
        ADD_FAILURE() << "no back-buffer pixel at (" << x << ", " << y << ")";
        return 0xDEAD;
    }
    return (*pixels)[static_cast<std::size_t>(y) * width + x];
}

void PictureGame::startOnBareBoard() {
    ASSERT_TRUE(start());
    runFrames(1);
    gameState.menuVisible = 0;
    gameState.cursorUserControlled = 0;
}
