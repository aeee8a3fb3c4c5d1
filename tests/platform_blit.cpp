// The surfaces: keyed stretching blits (the same pixels as SDL_BlitScaled), clipping, fills,
// flips, lost surfaces and the pixel format the game checks.
#include <SDL.h>

#include <climits>
#include <cstring>
#include <random>

#include "platform/backend.h"
#include "platform_fixture.h"

namespace {

using plat::Handle;
using plat::Rect;

std::vector<std::uint16_t> randomPixels(std::mt19937& random, int count, int keyOneIn,
                                        std::uint16_t key) {
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(count));
    for (auto& pixel : pixels) {
        pixel = random() % keyOneIn == 0 ? key : static_cast<std::uint16_t>(random());
    }
    return pixels;
}

// What SDL_BlitScaled makes of the same blit between RGB565 surfaces.
std::vector<std::uint16_t> sdlBlitScaled(const std::vector<std::uint16_t>& sourcePixels,
                                         int sourceWidth, int sourceHeight, SDL_Rect from,
                                         std::vector<std::uint16_t> destinationPixels,
                                         int destinationWidth, int destinationHeight, SDL_Rect to,
                                         bool keyed, std::uint16_t key) {
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormat(0, sourceWidth, sourceHeight, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* destination = SDL_CreateRGBSurfaceWithFormat(
        0, destinationWidth, destinationHeight, 16, SDL_PIXELFORMAT_RGB565);
    for (int y = 0; y < sourceHeight; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(source->pixels) + y * source->pitch,
                    sourcePixels.data() + y * sourceWidth, sourceWidth * 2);
    }
    for (int y = 0; y < destinationHeight; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(destination->pixels) + y * destination->pitch,
                    destinationPixels.data() + y * destinationWidth, destinationWidth * 2);
    }
    if (keyed) {
        SDL_SetColorKey(source, SDL_TRUE, key);
    }
    EXPECT_EQ(SDL_BlitScaled(source, &from, destination, &to), 0);
    for (int y = 0; y < destinationHeight; ++y) {
        std::memcpy(destinationPixels.data() + y * destinationWidth,
                    static_cast<std::uint8_t*>(destination->pixels) + y * destination->pitch,
                    destinationWidth * 2);
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(destination);
    return destinationPixels;
}

TEST_F(PlatformTest, BlitPicksTheSamePixelsAsSdlBlitScaled) {
    std::mt19937 random(20240611);
    // Colour keys as the game gives them (0x00BBGGRR) and as RGB565.
    const std::uint32_t keys[] = {0x000000, 0xFF00FF};
    const std::uint16_t keys565[] = {0x0000, 0xF81F};
    for (int round = 0; round < 400; ++round) {
        const bool keyed = round % 2 == 0;
        const int keyIndex = (round / 2) % 2;
        const int sourceWidth = 1 + static_cast<int>(random() % 48);
        const int sourceHeight = 1 + static_cast<int>(random() % 48);
        // Mostly the game's shapes (small frames widened a lot, pieces shrunk), some anything.
        const int width = 1 + static_cast<int>(random() % (round % 5 == 0 ? 820 : 120));
        const int height = 1 + static_cast<int>(random() % (round % 5 == 0 ? 610 : 120));
        const int sheetWidth = sourceWidth + static_cast<int>(random() % 30);
        const int sheetHeight = sourceHeight + static_cast<int>(random() % 4);
        const int fromX = static_cast<int>(random() % (sheetWidth - sourceWidth + 1));
        const int fromY = static_cast<int>(random() % (sheetHeight - sourceHeight + 1));
        const int targetWidth = width + static_cast<int>(random() % 8);
        const int targetHeight = height + static_cast<int>(random() % 8);
        const int toX = static_cast<int>(random() % (targetWidth - width + 1));
        const int toY = static_cast<int>(random() % (targetHeight - height + 1));
        SCOPED_TRACE(testing::Message() << sourceWidth << "x" << sourceHeight << " -> " << width
                                        << "x" << height << (keyed ? " keyed" : ""));

        const auto sheetPixels =
            randomPixels(random, sheetWidth * sheetHeight, 4, keys565[keyIndex]);
        const auto targetPixels = randomPixels(random, targetWidth * targetHeight, 1000, 0);
        const Handle sheet = surfaceWith(sheetWidth, sheetHeight, sheetPixels, keys[keyIndex]);
        const Handle target = surfaceWith(targetWidth, targetHeight, targetPixels);
        const Rect from{fromX, fromY, fromX + sourceWidth, fromY + sourceHeight};
        const Rect to{toX, toY, toX + width, toY + height};
        ASSERT_TRUE(plat::blit(target, &to, sheet, &from, keyed));

        const auto expected =
            sdlBlitScaled(sheetPixels, sheetWidth, sheetHeight,
                          {fromX, fromY, sourceWidth, sourceHeight}, targetPixels, targetWidth,
                          targetHeight, {toX, toY, width, height}, keyed, keys565[keyIndex]);
        ASSERT_EQ(pixelsOf(target), expected);
        plat::release(sheet);
        plat::release(target);
    }
}

TEST_F(PlatformTest, KeyedBlitLeavesTheKeyColourOut) {
    const std::uint16_t under = 0x1234;
    struct Case {
        const char* name;
        std::vector<std::uint16_t> frame;     // 4 x 4
        std::vector<std::uint16_t> expected;  // the 4 x 4 target after a keyed blit
    };
    const std::uint16_t o = under;
    const std::uint16_t w = 0xFFFF;
    const std::vector<Case> cases = {
        {"all black draws nothing", std::vector<std::uint16_t>(16, 0),
         std::vector<std::uint16_t>(16, under)},
        {"black border draws the inside",
         {0, 0, 0, 0, 0, w, w, 0, 0, w, w, 0, 0, 0, 0, 0},
         {o, o, o, o, o, w, w, o, o, w, w, o, o, o, o, o}},
        {"nothing black draws everything", std::vector<std::uint16_t>(16, 1),
         std::vector<std::uint16_t>(16, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Handle sheet = surfaceWith(4, 4, c.frame, 0);
        const Handle target = surfaceWith(4, 4, std::vector<std::uint16_t>(16, under));
        ASSERT_TRUE(plat::blit(target, nullptr, sheet, nullptr, true));
        EXPECT_EQ(pixelsOf(target), c.expected);
        // Without the key the black pixels are copied like any other.
        ASSERT_TRUE(plat::blit(target, nullptr, sheet, nullptr, false));
        EXPECT_EQ(pixelsOf(target), c.frame);
    }
}

TEST_F(PlatformTest, TheColourKeyIsTheConvertedColour) {
    // Red as the key: only pixels equal to red in RGB565 (0xF800) are left out.
    const Handle sheet = surfaceWith(3, 1, {0xF800, 0xF801, 0x0000}, 0x0000FF);
    const Handle target = surfaceWith(3, 1, {7, 7, 7});
    ASSERT_TRUE(plat::blit(target, nullptr, sheet, nullptr, true));
    EXPECT_EQ(pixelsOf(target), (std::vector<std::uint16_t>{7, 0xF801, 0x0000}));
}

TEST_F(PlatformTest, BlitClipsToTheDestinationWithoutMovingThePicture) {
    std::mt19937 random(7);
    const auto framePixels = randomPixels(random, 20 * 20, 5, 0);
    const Handle sheet = surfaceWith(20, 20, framePixels);
    // The same stretch drawn whole on a large surface, and clipped on a small one placed at
    // (100, 100) of it: the small one shows exactly the matching part.
    const Handle large = surfaceWith(300, 300, std::vector<std::uint16_t>(300 * 300, 9));
    const Rect whole{60, 70, 60 + 113, 70 + 87};
    ASSERT_TRUE(plat::blit(large, &whole, sheet, nullptr, true));
    const auto largePixels = pixelsOf(large);
    const Handle small = surfaceWith(50, 40, std::vector<std::uint16_t>(50 * 40, 9));
    const Rect shifted{60 - 100, 70 - 100, 60 + 113 - 100, 70 + 87 - 100};
    ASSERT_TRUE(plat::blit(small, &shifted, sheet, nullptr, true));
    const auto smallPixels = pixelsOf(small);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x) {
            ASSERT_EQ(smallPixels[y * 50 + x], largePixels[(y + 100) * 300 + x + 100])
                << x << "," << y;
        }
    }
}

TEST_F(PlatformTest, BlitRectanglesOffTheSurfaceOrOutOfRange) {
    const Handle sheet = surfaceWith(4, 4, std::vector<std::uint16_t>(16, 5));
    const Handle target = surfaceWith(8, 8, std::vector<std::uint16_t>(64, 1));
    struct Case {
        const char* name;
        Rect to;
        Rect from;
        bool result;
    };
    const std::vector<Case> cases = {
        {"far left and up", {INT_MIN, INT_MIN, INT_MIN + 4, INT_MIN + 4}, {0, 0, 4, 4}, true},
        {"far right and down", {INT_MAX - 4, INT_MAX - 4, INT_MAX, INT_MAX}, {0, 0, 4, 4}, true},
        {"just past the right edge", {8, 0, 12, 4}, {0, 0, 4, 4}, true},
        {"empty destination", {2, 2, 2, 6}, {0, 0, 4, 4}, false},
        {"inverted destination", {6, 2, 2, 6}, {0, 0, 4, 4}, false},
        {"empty source", {0, 0, 4, 4}, {1, 0, 1, 4}, false},
        {"inverted source", {0, 0, 4, 4}, {0, 4, 4, 0}, false},
        {"source past the sheet's right", {0, 0, 4, 4}, {1, 0, 5, 4}, false},
        {"source above the sheet", {0, 0, 4, 4}, {0, -1, 4, 3}, false},
        {"source far outside", {0, 0, 4, 4}, {INT_MAX - 1, 0, INT_MAX, 4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plat::blit(target, &c.to, sheet, &c.from, true), c.result);
        EXPECT_EQ(plat::blit(target, &c.to, sheet, &c.from, false), c.result);
    }
    // Nothing was drawn by any of them: every rectangle lay off the target or was refused.
    EXPECT_EQ(pixelsOf(target), std::vector<std::uint16_t>(64, 1));
    // The widest one covers the target: drawn whole with the sheet's colour.
    const Rect all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    ASSERT_TRUE(plat::blit(target, &all, sheet, nullptr, false));
    EXPECT_EQ(pixelsOf(target), std::vector<std::uint16_t>(64, 5));
}

TEST_F(PlatformTest, BlitOfASurfaceOntoItselfReadsTheOldPixels) {
    const Handle surface = surfaceWith(4, 1, {1, 2, 3, 4});
    const Rect from{0, 0, 3, 1};
    const Rect to{1, 0, 4, 1};
    ASSERT_TRUE(plat::blit(surface, &to, surface, &from, false));
    EXPECT_EQ(pixelsOf(surface), (std::vector<std::uint16_t>{1, 1, 2, 3}));
}

TEST_F(PlatformTest, FillConvertsTheColourToRgb565) {
    const Handle surface = surfaceWith(2, 2, {1, 2, 3, 4});
    struct Case {
        std::uint32_t colour;
        std::uint16_t pixel;
    };
    const Case cases[] = {
        {0x000000, 0x0000}, {0xFFFFFF, 0xFFFF}, {0x0000FF, 0xF800},
        {0x00FF00, 0x07E0}, {0xFF0000, 0x001F}, {0x7F7F7F, (15 << 11) | (31 << 5) | 15},
        {0x070307, 0x0000},  // too dark for RGB565: black, and so transparent in a sheet
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(plat::colourFill(surface, c.colour));
        EXPECT_EQ(pixelsOf(surface), std::vector<std::uint16_t>(4, c.pixel)) << c.colour;
    }
}

TEST_F(PlatformTest, FlipShowsTheBackBuffer) {
    const Handle primary = plat::createPrimarySurface(display, 1, 0);
    ASSERT_NE(primary, plat::kNoHandle);
    const Handle back = plat::getBackBuffer(primary);
    ASSERT_NE(back, plat::kNoHandle);
    int width = 0;
    int height = 0;
    ASSERT_NE(plat::headless::surfacePixels(back, &width, &height), nullptr);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(plat::headless::shownPicture(), std::vector<std::uint16_t>(800 * 600, 0));

    ASSERT_TRUE(plat::colourFill(back, 0xFFFFFF));
    ASSERT_TRUE(plat::flip(primary));
    EXPECT_EQ(plat::headless::shownPicture(), std::vector<std::uint16_t>(800 * 600, 0xFFFF));
    EXPECT_EQ(plat::headless::flipCount(), 1);
    // Only a primary surface flips.
    EXPECT_FALSE(plat::flip(back));
    EXPECT_EQ(plat::headless::flipCount(), 1);
}

TEST_F(PlatformTest, LostSurfacesRefuseBlitsFillsAndFlips) {
    const Handle primary = plat::createPrimarySurface(display, 1, 0);
    const Handle back = plat::getBackBuffer(primary);
    const Handle sheet = surfaceWith(2, 2, {1, 2, 3, 4});
    ASSERT_TRUE(plat::blit(back, nullptr, sheet, nullptr, true));
    plat::headless::loseSurfaces();
    EXPECT_FALSE(plat::blit(back, nullptr, sheet, nullptr, true));
    EXPECT_FALSE(plat::colourFill(back, 0));
    EXPECT_FALSE(plat::flip(primary));
    EXPECT_EQ(plat::headless::flipCount(), 0);
}

TEST_F(PlatformTest, InjectedFailuresOfDrawing) {
    const Handle primary = plat::createPrimarySurface(display, 1, 0);
    const Handle back = plat::getBackBuffer(primary);
    const Handle sheet = surfaceWith(2, 2, {1, 2, 3, 4});
    // The third blit fails, then blits work again.
    plat::headless::failOperation(plat::Op::Blit, 1, 2);
    EXPECT_TRUE(plat::blit(back, nullptr, sheet, nullptr, true));
    EXPECT_TRUE(plat::blit(back, nullptr, sheet, nullptr, true));
    EXPECT_FALSE(plat::blit(back, nullptr, sheet, nullptr, true));
    EXPECT_TRUE(plat::blit(back, nullptr, sheet, nullptr, true));
    plat::headless::failOperation(plat::Op::ColourFill);
    EXPECT_FALSE(plat::colourFill(back, 0));
    EXPECT_TRUE(plat::colourFill(back, 0));
    plat::headless::failOperation(plat::Op::Flip, 2);
    EXPECT_FALSE(plat::flip(primary));
    EXPECT_FALSE(plat::flip(primary));
    EXPECT_TRUE(plat::flip(primary));
    plat::headless::failOperation(plat::Op::CreateSurface);
    EXPECT_EQ(plat::createSurface(display, 4, 4, 0), plat::kNoHandle);
    plat::headless::failOperation(plat::Op::GetBackBuffer);
    EXPECT_EQ(plat::getBackBuffer(primary), plat::kNoHandle);
    plat::headless::failOperation(plat::Op::CreatePrimarySurface);
    EXPECT_EQ(plat::createPrimarySurface(display, 1, 0), plat::kNoHandle);
}

TEST_F(PlatformTest, SurfaceDescriptionAndItsFaults) {
    const Handle sheet = plat::createSurface(display, 3200, 600, 0);
    plat::SurfaceDesc desc;
    ASSERT_TRUE(plat::getSurfaceDesc(sheet, desc));
    EXPECT_EQ(desc.width, 3200);
    EXPECT_EQ(desc.height, 600);
    EXPECT_EQ(desc.pixelFormat.flags, plat::kPixelFormatRgb);
    EXPECT_EQ(desc.pixelFormat.bitCount, 16);

    plat::headless::failOperation(plat::Op::PixelFormatPalettised);
    ASSERT_TRUE(plat::getSurfaceDesc(sheet, desc));
    EXPECT_NE(desc.pixelFormat.flags & plat::kPixelFormatPalettised, 0u);
    EXPECT_LT(desc.pixelFormat.bitCount, 16);

    plat::headless::failOperation(plat::Op::PixelFormatExtraFlag);
    ASSERT_TRUE(plat::getSurfaceDesc(sheet, desc));
    EXPECT_NE(desc.pixelFormat.flags, plat::kPixelFormatRgb);
    EXPECT_NE(desc.pixelFormat.flags & plat::kPixelFormatRgb, 0u);
    EXPECT_EQ(desc.pixelFormat.bitCount, 16);

    plat::headless::failOperation(plat::Op::GetSurfaceDesc);
    EXPECT_FALSE(plat::getSurfaceDesc(sheet, desc));
    EXPECT_TRUE(plat::getSurfaceDesc(sheet, desc));
}

TEST_F(PlatformTest, SurfacesOfImpossibleSizesAreRefused) {
    EXPECT_EQ(plat::createSurface(display, 0, 10, 0), plat::kNoHandle);
    EXPECT_EQ(plat::createSurface(display, 10, -1, 0), plat::kNoHandle);
    EXPECT_EQ(plat::createSurface(display, INT_MAX, INT_MAX, 0), plat::kNoHandle);
    EXPECT_EQ(plat::createSurface(plat::kNoHandle, 10, 10, 0), plat::kNoHandle);
}

}  // namespace
