// The board, its pieces with their level numbers, the blinking selection and the cursor, checked
// on the pixels drawn with known test pictures.
#include "display/board_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "picture_fixture.h"
#include "platform/headless.h"
#include "shell/app.h"

namespace {

class BoardRenderTest : public PictureGame {
  protected:
    // A fresh back buffer with this frame's board on it.
    void drawBoardAlone() {
        ASSERT_TRUE(clearBackBuffer());
        drawBoard();
    }
};

bool onGridLine(int x, int y) {
    return (x >= 40 && x % 40 < 2) || (y >= 40 && y % 40 < 2);
}

TEST_F(BoardRenderTest, AnEmptyBoardIsTheBackgroundWith19And14LinesAndNoneAlongTheEdges) {
    startOnBareBoard();
    runFrames(1);
    int wrong = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const std::uint16_t expected =
                onGridLine(x, y) ? rgb565(kGridLine) : rgb565(kBoardBackground);
            if (shown(x, y) != expected && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

class PieceDrawingTest : public BoardRenderTest {
  protected:
    // The leftmost and topmost grey pixel of the level number's box on square (c, r) of the
    // picture shown.
    std::pair<int, int> levelBoxCorner(int c, int r) const {
        int left = 1000;
        int top = 1000;
        for (int y = 40 * r + 2; y < 40 * r + 40; ++y) {
            for (int x = 40 * c + 2; x < 40 * c + 40; ++x) {
                if (shown(x, y) == kGreyBox) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        }
        return {left, top};
    }
};

TEST_F(PieceDrawingTest, APieceFillsItsSquareInsideTheLinesWithItsLevelInAGreyBox) {
    startOnBareBoard();
    ASSERT_TRUE(placePiece(3, 2, PLAYER_WHITE, 0));
    ASSERT_TRUE(placePiece(5, 2, PLAYER_BLACK, 7));
    runFrames(1);

    // The piece covers (40c + 2, 40r + 2) to (40c + 39, 40r + 39); the lines keep the rest.
    for (auto [c, colour] : {std::pair{3, rgb565(kWhitePiece)}, {5, rgb565(kBlackPiece)}}) {
        const int x0 = 40 * c;
        const int y0 = 80;
        EXPECT_EQ(shown(x0 + 1, y0 + 5), rgb565(kGridLine)) << c;
        EXPECT_EQ(shown(x0 + 2, y0 + 5), colour) << c;
        EXPECT_EQ(shown(x0 + 5, y0 + 1), rgb565(kGridLine)) << c;
        EXPECT_EQ(shown(x0 + 5, y0 + 2), colour) << c;
        EXPECT_EQ(shown(x0 + 39, y0 + 39), colour) << c;
        EXPECT_EQ(shown(x0 + 40, y0 + 39), rgb565(kGridLine)) << c;
        EXPECT_EQ(shown(x0 + 39, y0 + 40), rgb565(kGridLine)) << c;
    }

    // The grey box of the number: from (40c + 17, 40r + 13) on a white piece, one pixel
    // further left on a black one.
    EXPECT_EQ(levelBoxCorner(3, 2), std::make_pair(120 + 17, 80 + 13));
    EXPECT_EQ(levelBoxCorner(5, 2), std::make_pair(200 + 16, 80 + 13));
    EXPECT_EQ(shown(120 + 16, 80 + 20), rgb565(kWhitePiece));

    // The levels were brought up to date in the drawing pass of this very frame.
    EXPECT_EQ(cellAt(3, 2).level, 1);
    EXPECT_EQ(cellAt(5, 2).level, 4);
    EXPECT_EQ(cellAt(5, 2).movesPerTurn, 3);
}

TEST_F(PieceDrawingTest, TheNumberDrawnIsTheLevelJustComputed) {
    startOnBareBoard();
    ASSERT_TRUE(placePiece(5, 2, PLAYER_BLACK, 7));  // level 0 until the board is drawn
    runFrames(1);
    const std::vector<std::uint16_t> picture = plat::headless::shownPicture();

    // The same square drawn by hand with a "4", and with a "0".
    auto differencesWith = [&](int level) {
        clearBackBuffer();
        blitSprite(202, 82, 38, 38, 38, 38, 2, SPRITE_PAWN);
        drawNumber(level, 216, 93, backBuffer, "", "", 0xFF, 0x7F7F7F, false);
        int differences = 0;
        for (int y = 82; y < 120; ++y) {
            for (int x = 202; x < 240; ++x) {
                differences += picture[y * 800 + x] != back(x, y);
            }
        }
        return differences;
    };
    EXPECT_EQ(differencesWith(4), 0);
    EXPECT_GT(differencesWith(0), 0);
}

TEST_F(PieceDrawingTest, AnEmptySquareDrawsNothingWhateverItsCellStillHolds) {
    startOnBareBoard();
    ASSERT_TRUE(placePiece(4, 4, PLAYER_BLACK, 7));
    runFrames(1);
    Cell& cell = cellAt(4, 4);
    cell.occupied = -1;  // as a capture leaves it: owner, kills and level stay
    const int levelBefore = cell.level;
    cell.kills = 0;
    runFrames(1);
    for (int y = 162; y < 200; ++y) {
        for (int x = 162; x < 200; ++x) {
            ASSERT_EQ(shown(x, y), rgb565(kBoardBackground)) << x << ", " << y;
        }
    }
    EXPECT_EQ(cell.level, levelBefore);  // not brought up to date either
}

struct BlinkCase {
    const char* name;
    int period;
    int counter;
    bool hidden;
    // Runs of frames, shown ('V') or hidden ('H'), e.g. "V25 H26".
    std::vector<std::pair<char, int>> runs;
};

TEST_F(BoardRenderTest, TheSelectedPieceBlinksWithPhasesOfPeriodPlusOneFrames) {
    const BlinkCase cases[] = {
        {"period 25", 25, 25, false, {{'V', 25}, {'H', 26}, {'V', 26}, {'H', 3}}},
        {"period 25, selected while hidden",
         25,
         25,
         true,
         {{'H', 25}, {'V', 26}, {'H', 26}, {'V', 3}}},
        {"period 0 alternates every frame",
         0,
         0,
         false,
         {{'H', 1}, {'V', 1}, {'H', 1}, {'V', 1}, {'H', 1}, {'V', 1}}},
        {"period -1 stops in the phase it toggles into", -1, 0, false, {{'H', 80}}},
        {"period -1, counter still running down first", -1, 3, false, {{'V', 3}, {'H', 77}}},
        {"period -1 loaded while shown stays shown", -1, 0, true, {{'V', 80}}},
    };
    startOnBareBoard();
    ASSERT_TRUE(placePiece(6, 7, PLAYER_WHITE, 0));
    const int x0 = 240;
    const int y0 = 280;
    for (const BlinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        gameState.blinkPeriod = c.period;
        gameState.blinkCounter = c.counter;
        gameState.blinkHidden = c.hidden ? 1 : 0;
        gameState.selectionActive = 1;
        gameState.selectedX = 6;
        gameState.selectedY = 7;
        std::string expected;
        std::string seen;
        for (auto [phase, frames] : c.runs) {
            expected.append(static_cast<std::size_t>(frames), phase);
        }
        for (std::size_t frame = 0; frame < expected.size(); ++frame) {
            drawBoardAlone();
            const bool pieceShown = back(x0 + 5, y0 + 5) == rgb565(kWhitePiece);
            seen.push_back(pieceShown ? 'V' : 'H');
            if (!pieceShown) {
                // Hidden means nothing at all: no piece and no grey number box.
                for (int y = y0 + 2; y < y0 + 40; ++y) {
                    for (int x = x0 + 2; x < x0 + 40; ++x) {
                        ASSERT_EQ(back(x, y), rgb565(kBoardBackground)) << x << ", " << y;
                    }
                }
            }
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST_F(BoardRenderTest, TheBlinkStepsOnTheSelectedSquareEvenWhenItIsEmpty) {
    startOnBareBoard();
    gameState.selectionActive = 1;
    gameState.selectedX = 2;
    gameState.selectedY = 2;
    gameState.blinkCounter = 25;
    for (int i = 0; i < 3; ++i) {
        drawBoardAlone();
    }
    EXPECT_EQ(gameState.blinkCounter, 22);
    gameState.selectionActive = 0;
    drawBoardAlone();
    EXPECT_EQ(gameState.blinkCounter, 22);
}

TEST_F(BoardRenderTest, TheBlinkGoesOnUnderTheMenuButStopsUnderTheResultPicture) {
    startOnBareBoard();
    ASSERT_TRUE(placePiece(6, 7, PLAYER_WHITE, 0));
    gameState.selectionActive = 1;
    gameState.selectedX = 6;
    gameState.selectedY = 7;
    gameState.blinkCounter = 25;
    gameState.menuVisible = 1;
    runFrames(3);
    EXPECT_EQ(gameState.blinkCounter, 22);
    gameState.gameOver = 1;
    runFrames(3);
    EXPECT_EQ(gameState.blinkCounter, 22);
}

struct CursorCase {
    const char* name;
    bool placement;
    bool reinforcement;
    int currentPlayer;
    bool menu;
    char shape;  // 'A' arrow, 'W' small white piece, 'B' small black piece, '-' nothing
};

TEST_F(BoardRenderTest, TheCursorIsTheArrowOrDuringPlacementTheSmallPieceOfTheSideThatPlaces) {
    const CursorCase cases[] = {
        {"no game", false, false, 0, true, 'A'},
        {"play", false, false, 1, false, 'A'},
        {"placement, white", true, false, 0, false, 'W'},
        {"placement, black", true, false, 1, false, 'B'},
        {"placement, any side but 0 is black", true, false, 7, false, 'B'},
        {"reinforcement after white's turn", true, true, 1, false, 'W'},
        {"reinforcement after black's turn", true, true, 0, false, 'B'},
        {"placement under the menu", true, false, 1, true, 'A'},
    };
    ASSERT_TRUE(start());
    for (const CursorCase& c : cases) {
        SCOPED_TRACE(c.name);
        gameState.placementPhase = c.placement ? 1 : 0;
        gameState.reinforcementPhase = c.reinforcement ? 1 : 0;
        gameState.currentPlayer = static_cast<std::uint8_t>(c.currentPlayer);
        gameState.menuVisible = c.menu ? 1 : 0;
        gameState.cursorX = 600;
        gameState.cursorY = 300;
        ASSERT_TRUE(clearBackBuffer());
        drawCursor();
        // The hot spot is the top-left pixel; the cursor is 20 x 20.
        if (c.shape == 'A') {
            EXPECT_EQ(back(600, 300), rgb565(kCursorTopLeft));
            EXPECT_EQ(back(619, 300), rgb565(kCursorTopRight));
            EXPECT_EQ(back(600, 319), rgb565(kCursorBottomLeft));
            EXPECT_EQ(back(619, 319), rgb565(kCursorBottomRight));
        } else {
            const std::uint16_t piece = rgb565(c.shape == 'W' ? kWhitePiece : kBlackPiece);
            EXPECT_EQ(back(600, 300), piece);
            EXPECT_EQ(back(619, 319), piece);
        }
        EXPECT_EQ(back(620, 300), 0);
        EXPECT_EQ(back(600, 320), 0);
        EXPECT_EQ(back(599, 300), 0);
        EXPECT_EQ(back(600, 299), 0);
    }
}

TEST_F(BoardRenderTest, NoCursorIsDrawnOnTheResultPictureOrWhileTheDemonstrationHasIt) {
    ASSERT_TRUE(start());
    for (int variant = 0; variant < 2; ++variant) {
        gameState.gameOver = variant == 0 ? 1 : 0;
        gameState.cursorUserControlled = variant == 0 ? 1 : 0;
        ASSERT_TRUE(clearBackBuffer());
        drawCursor();
        for (int y = 290; y < 310; ++y) {
            for (int x = 390; x < 410; ++x) {
                ASSERT_EQ(back(x, y), 0) << variant;
            }
        }
    }
}

TEST_F(BoardRenderTest, TheCursorReachesTheBottomRightCorner) {
    ASSERT_TRUE(start());
    gameState.cursorX = 779;
    gameState.cursorY = 579;
    ASSERT_TRUE(clearBackBuffer());
    drawCursor();
    EXPECT_EQ(back(779, 579), rgb565(kCursorTopLeft));
    EXPECT_EQ(back(798, 598), rgb565(kCursorBottomRight));
}

}  // namespace
