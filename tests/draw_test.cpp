// The drawing primitives and the sprite sheets, checked on the pixels of the back buffer.
#include "display/draw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "board/board.h"
#include "display/sprites.h"
#include "picture_fixture.h"
#include "platform/headless.h"
#include "shell/app.h"

namespace {

class DrawTest : public PictureGame {
  protected:
    void SetUp() override {
        PictureGame::SetUp();
        ASSERT_TRUE(start());
        ASSERT_TRUE(clearBackBuffer());
    }

    // Every pixel of [left, right) x [top, bottom) has this value.
    void expectRect(int left, int top, int right, int bottom, std::uint16_t value) {
        int wrong = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (back(x, y) != value && ++wrong <= 3) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << back(x, y)
                                  << ", expected " << value;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    // A letters-sheet slice (20 x 20) drawn at (x, y), size w x h.
    static bool slice(int x, int y, int w, int h, int frame) {
        return blitSprite(x, y, w, h, 20, 20, frame, SPRITE_LETTERS);
    }
};

TEST_F(DrawTest, FrameNIsTheNthSliceOfTheStripCopiedToItsExactRectangle) {
    ASSERT_TRUE(slice(0, 0, 20, 20, 1));
    ASSERT_TRUE(slice(100, 100, 20, 20, 4));
    ASSERT_TRUE(slice(200, 100, 20, 20, 5));
    expectRect(0, 0, 20, 20, rgb565(kSliceRed));
    expectRect(100, 100, 120, 120, rgb565(kSliceBlue));
    expectRect(200, 100, 220, 120, rgb565(kSliceWhite));
    // Right and bottom edges are exclusive: nothing around the rectangles.
    expectRect(20, 0, 21, 21, 0);
    expectRect(0, 20, 21, 21, 0);
    expectRect(99, 99, 121, 100, 0);
    expectRect(99, 120, 121, 121, 0);
    expectRect(99, 100, 100, 120, 0);
    expectRect(120, 100, 121, 120, 0);
}

TEST_F(DrawTest, ADifferentDestinationSizeStretchesOrShrinksTheFrame) {
    // The four 10 x 10 quadrants of the cursor become 100 x 50 blocks.
    ASSERT_TRUE(blitSprite(200, 100, 200, 100, 20, 20, 1, SPRITE_CURSOR));
    expectRect(200, 100, 300, 150, rgb565(kCursorTopLeft));
    expectRect(300, 100, 400, 150, rgb565(kCursorTopRight));
    expectRect(200, 150, 300, 200, rgb565(kCursorBottomLeft));
    expectRect(300, 150, 400, 200, rgb565(kCursorBottomRight));
    expectRect(400, 100, 401, 200, 0);
    // A 38 x 38 piece shrunk to 20 x 20, and a 20 x 20 frame made a 2-pixel line.
    ASSERT_TRUE(blitSprite(500, 300, 20, 20, 38, 38, 2, SPRITE_PAWN));
    expectRect(500, 300, 520, 320, rgb565(kBlackPiece));
    expectRect(520, 300, 521, 320, 0);
    ASSERT_TRUE(blitSprite(600, 0, 2, 600, 20, 20, 1, SPRITE_GRID));
    expectRect(600, 0, 602, 600, rgb565(kGridLine));
    expectRect(602, 0, 603, 600, 0);
}

TEST_F(DrawTest, BlackPixelsOfAFrameAreTransparent) {
    ASSERT_TRUE(slice(0, 0, 100, 100, 4));  // a blue ground
    ASSERT_TRUE(slice(0, 0, 100, 100, 2));  // all black: draws nothing
    expectRect(0, 0, 100, 100, rgb565(kSliceBlue));
    ASSERT_TRUE(slice(40, 40, 20, 20, 3));  // green inside a black border
    expectRect(42, 42, 58, 58, rgb565(kSliceGreen));
    expectRect(40, 40, 60, 42, rgb565(kSliceBlue));
    expectRect(40, 58, 60, 60, rgb565(kSliceBlue));
    expectRect(40, 42, 42, 58, rgb565(kSliceBlue));
    expectRect(58, 42, 60, 58, rgb565(kSliceBlue));
}

TEST_F(DrawTest, ClearBackBufferLeavesEveryPixelBlack) {
    ASSERT_TRUE(blitSprite(0, 0, 800, 600, 20, 20, 2, SPRITE_GRID));
    ASSERT_TRUE(clearBackBuffer());
    expectRect(0, 0, 800, 600, 0);
}

TEST_F(DrawTest, AFailedBlitIsFatalAndLaterDrawingDoesNothing) {
    plat::headless::failOperation(plat::Op::Blit);
    EXPECT_FALSE(slice(0, 0, 20, 20, 1));
    ASSERT_FALSE(plat::headless::debugLines().empty());
    EXPECT_EQ(plat::headless::debugLines().back(),
              "Impossible d'ex\xC3\xA9"
              "cuter Blt.");
    EXPECT_EQ(backBuffer, plat::kNoHandle);
    EXPECT_FALSE(slice(0, 0, 20, 20, 1));
    EXPECT_FALSE(clearBackBuffer());
    drawText(0, 0, backBuffer, "x", 0xFFFFFF, 0);  // nothing to draw on: no crash
}

TEST_F(DrawTest, AFailedFillIsFatal) {
    plat::headless::failOperation(plat::Op::ColourFill);
    EXPECT_FALSE(clearBackBuffer());
    ASSERT_FALSE(plat::headless::debugLines().empty());
    EXPECT_EQ(plat::headless::debugLines().back(),
              "Impossible d'ex\xC3\xA9"
              "cuter Blt.");
    EXPECT_EQ(primarySurface, plat::kNoHandle);
}

TEST_F(DrawTest, TextIsDrawnOnAnOpaqueBackground) {
    ASSERT_TRUE(slice(0, 0, 200, 40, 4));  // blue ground
    drawText(10, 10, backBuffer, "Joueur", 0xFFFFFF, 0x7F7F7F);
    // The character cell starts at (10, 10), grey where no stroke is, never the blue below.
    EXPECT_EQ(back(10, 10), kGreyBox);
    EXPECT_EQ(back(9, 10), rgb565(kSliceBlue));
    EXPECT_EQ(back(10, 9), rgb565(kSliceBlue));
    int strokes = 0;
    int blue = 0;
    for (int x = 10; x < 40; ++x) {
        for (int y = 10; y < 22; ++y) {
            strokes += back(x, y) != kGreyBox && back(x, y) != rgb565(kSliceBlue);
            blue += back(x, y) == rgb565(kSliceBlue);
        }
    }
    EXPECT_GT(strokes, 0);
    EXPECT_EQ(blue, 0);
}

TEST_F(DrawTest, DrawNumberWritesTheFormattedText) {
    drawNumber(-3, 0, 0, backBuffer, "button? =", "", 0xFF, 0x7F7F7F, true);
    drawText(0, 100, backBuffer, "button? = 0000-3", 0xFF, 0x7F7F7F);
    int differences = 0;
    int strokes = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 300; ++x) {
            differences += back(x, y) != back(x, y + 100);
            strokes += back(x, y) != 0 && back(x, y) != kGreyBox;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(strokes, 0);
}

TEST_F(DrawTest, ABitmapOfAnotherSizeIsStretchedToItsSheet) {
    // ok.bmp is written 40 x 20; its sheet is 80 x 40.
    int width = 0;
    int height = 0;
    const std::vector<std::uint16_t>* pixels =
        plat::headless::surfacePixels(sheets[SPRITE_OK], &width, &height);
    ASSERT_NE(pixels, nullptr);
    ASSERT_EQ(width, 80);
    ASSERT_EQ(height, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x : {0, 20, 38, 42, 60, 79}) {
            EXPECT_EQ((*pixels)[y * 80 + x], rgb565(x < 40 ? kOkLeft : kOkRight)) << x << ", " << y;
        }
    }
}

struct FormatCase {
    int value;
    const char* prefix;
    const char* suffix;
    bool pad;
    const char* text;
};

TEST(FormatNumber, ComposesPrefixNumberAndSuffixWithLeadingZeros) {
    const FormatCase cases[] = {
        {3, "", "", false, "3"},
        {-3, "", "", false, "-3"},
        {5, "", "", true, "00005"},
        {9, "", "", true, "00009"},
        {10, "", "", true, "00010"},
        {99, "", "", true, "00099"},
        {100, "", "", true, "00100"},
        {999, "", "", true, "00999"},
        {1000, "", "", true, "01000"},
        {9999, "", "", true, "09999"},
        {10000, "", "", true, "10000"},
        {123456, "", "", true, "123456"},
        // Negative values fall in the first column: four zeros before the minus sign.
        {-3, "", "", true, "0000-3"},
        {-12345, "", "", true, "0000-12345"},
        {1, "button? =", "", true, "button? = 00001"},
        {1, "button? =", "", false, "button? = 1"},
        {42, "", "pions", false, "42 pions"},
        {42, "", "pions", true, "00042 pions"},
        {7, "il reste", "pions", false, "il reste 7 pions"},
        {7, "il reste", "pions", true, "il reste 00007 pions"},
        {-7, "a", "b", true, "a 0000-7 b"},
        {2147483647, "", "", true, "2147483647"},
        {-2147483647 - 1, "", "", false, "-2147483648"},
    };
    static char out[10000];
    for (const FormatCase& c : cases) {
        formatNumber(out, c.value, c.prefix, c.suffix, c.pad);
        EXPECT_STREQ(out, c.text) << c.value << " '" << c.prefix << "' '" << c.suffix << "' "
                                  << c.pad;
    }
}

TEST(FormatNumber, ALongPrefixIsCutAtTheBufferNeverPastIt) {
    static char out[10000];
    const std::string prefix(20000, 'p');
    formatNumber(out, 1, prefix.c_str(), "", false);
    EXPECT_EQ(std::string(out).size(), 9999u);
}

class SheetLoadingTest : public PictureGame {};

TEST_F(SheetLoadingTest, AMissingBitmapLeavesItsSheetEmptyWithoutAMessage) {
    std::filesystem::remove(workDir / "bitmaps" / "cur.bmp");
    ASSERT_TRUE(start());
    EXPECT_TRUE(plat::headless::debugLines().empty());
    int width = 0;
    int height = 0;
    const std::vector<std::uint16_t>* pixels =
        plat::headless::surfacePixels(sheets[SPRITE_CURSOR], &width, &height);
    ASSERT_NE(pixels, nullptr);
    for (std::uint16_t pixel : *pixels) {
        ASSERT_EQ(pixel, 0);
    }
    // The other sheets are loaded all the same.
    pixels = plat::headless::surfacePixels(sheets[SPRITE_PAWN], &width, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ((*pixels)[0], rgb565(kWhitePiece));
}

}  // namespace
