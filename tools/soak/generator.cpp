#include "soak/generator.h"

#include <algorithm>
#include <vector>

#include "board/board.h"
#include "board/play.h"

namespace soak {
namespace {

// The screen's boxes, as the menu, the save and load screens and the demonstration lay them out.
constexpr int kMenuLeft = 325;
constexpr int kMenuTop = 50;
constexpr int kMenuWidth = 150;
constexpr int kMenuHeight = 75;
constexpr int kLettersLeft = 350;
constexpr int kLettersTop = 400;
constexpr int kLetterWidth = 20;
constexpr int kFileOkLeft = 360;
constexpr int kFileOkTop = 430;
constexpr int kDemoOkLeft = 720;
// The cursor's range.
constexpr int kMaxX = 779;
constexpr int kMaxY = 579;

std::string line(const std::string& text) {
    return text + "\n";
}

std::string frames(int count) {
    return count == 1 ? "frame\n" : "frame " + std::to_string(count) + "\n";
}

int sideToMove(const GameState& game) {
    return game.currentPlayer != 0 ? PLAYER_BLACK : PLAYER_WHITE;
}

bool onBoard(int x, int y) {
    return x >= 0 && x < BOARD_COLUMNS && y >= 0 && y < BOARD_ROWS;
}

const Cell& cellOf(const Board& board, int x, int y) {
    return board.cells[x * BOARD_ROWS + y];
}

struct Target {
    int x;
    int y;
};

}  // namespace

std::uint64_t ScriptGenerator::next() {
    // splitmix64: the same sequence on every system.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int ScriptGenerator::below(int n) {
    return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

int ScriptGenerator::between(int low, int high) {
    return low + below(high - low + 1);
}

bool ScriptGenerator::chance(int percent) {
    return below(100) < percent;
}

std::string ScriptGenerator::clickAt(const GameState& game, int x, int y) {
    x = std::clamp(x, 1, kMaxX);
    y = std::clamp(y, 1, kMaxY);
    const int dx = x - game.cursorX;
    const int dy = y - game.cursorY;
    std::string out;
    if (chance(30)) {
        // On the way in two strokes, a frame apart.
        out += line("move " + std::to_string(dx / 2) + " " + std::to_string(dy / 2));
        out += frames(1);
        out += line("move " + std::to_string(dx - dx / 2) + " " + std::to_string(dy - dy / 2));
    } else {
        out += line("move " + std::to_string(dx) + " " + std::to_string(dy));
    }
    if (chance(30)) {
        out += frames(between(1, 3));  // a pause over the target before pressing
    }
    out += line("press");
    out += frames(between(1, 3));
    out += line("release");
    out += frames(between(1, 3));
    return out;
}

std::string ScriptGenerator::clickSquare(const GameState& game, int column, int row) {
    return clickAt(game, column * SQUARE_SIZE + between(2, SQUARE_SIZE - 3),
                   row * SQUARE_SIZE + between(2, SQUARE_SIZE - 3));
}

std::string ScriptGenerator::menuAction(const GameState& game) {
    const bool resumeShown = game.playPhase || game.placementPhase;
    // Weights of buttons 1 to 7: quitting is rare, so that runs last, and a game under way is
    // mostly resumed, so that games get to their end.
    const int weights[8] = {0, resumeShown ? 4 : 20, resumeShown ? 2 : 8, 18, 14, 3,
                            1, resumeShown ? 45 : 0};
    int total = 0;
    for (int weight : weights) {
        total += weight;
    }
    int pick = below(total);
    int button = 1;
    while (pick >= weights[button]) {
        pick -= weights[button];
        ++button;
    }
    const int top = kMenuTop + kMenuHeight * (button - 1);
    return clickAt(game, between(kMenuLeft + 1, kMenuLeft + kMenuWidth - 2),
                   between(top + 1, top + kMenuHeight - 2));
}

std::string ScriptGenerator::fileScreenAction(const GameState& game) {
    const bool letter =
        game.clickLatch ? chance(90) : (game.fileNameLength == 5 ? chance(80) : chance(50));
    if (letter) {
        const int i = below(5);
        return clickAt(
            game,
            between(kLettersLeft + kLetterWidth * i + 1, kLettersLeft + kLetterWidth * (i + 1) - 2),
            between(kLettersTop + 1, kLettersTop + 18));
    }
    return clickAt(game, between(kFileOkLeft + 1, kFileOkLeft + 78),
                   between(kFileOkTop + 1, kFileOkTop + 38));
}

std::string ScriptGenerator::demonstrationAction(const GameState& game) {
    if (game.clickLatch) {
        return frames(between(10, 60));  // a lesson plays on its own
    }
    if (chance(15)) {
        return "escape down\n" + frames(1) + "escape up\n" + frames(1);
    }
    return clickAt(game, between(kDemoOkLeft + 1, kMaxX), between(1, 38));
}

std::string ScriptGenerator::placementAction(const GameState& game, const Board& board) {
    std::vector<Target> empty;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            if (cellOf(board, x, y).occupied == -1) {
                empty.push_back({x, y});
            }
        }
    }
    if (empty.empty() || chance(10)) {
        return clickSquare(game, below(BOARD_COLUMNS), below(BOARD_ROWS));
    }
    const Target t = empty[static_cast<std::size_t>(below(static_cast<int>(empty.size())))];
    return clickSquare(game, t.x, t.y);
}

// The landing squares of the captures that the piece on (x, y) can make now.
std::vector<Target> capturesFrom(const Board& board, int x, int y, int side) {
    std::vector<Target> out;
    const Cell& piece = cellOf(board, x, y);
    for (const CapturePattern& p : capturePatterns) {
        const int tx = x + p.landingDx;
        const int ty = y + p.landingDy;
        if (piece.level < p.level || !onBoard(tx, ty) || cellOf(board, tx, ty).occupied != -1) {
            continue;
        }
        bool enemies = true;
        for (int i = 0; i < p.enemyCount; ++i) {
            const Cell& jumped = cellOf(board, x + p.enemyDx[i], y + p.enemyDy[i]);
            enemies = enemies && jumped.occupied != -1 && jumped.owner != side;
        }
        if (enemies) {
            out.push_back({tx, ty});
        }
    }
    return out;
}

// How many enemies stand within two squares of (x, y).
int enemiesNear(const Board& board, int x, int y, int side) {
    int count = 0;
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            if (onBoard(x + dx, y + dy)) {
                const Cell& c = cellOf(board, x + dx, y + dy);
                count += c.occupied != -1 && c.owner != side ? 1 : 0;
            }
        }
    }
    return count;
}

std::string ScriptGenerator::playAction(const GameState& game, const Board& board) {
    const int side = sideToMove(game);
    std::vector<Target> own;
    std::vector<Target> canCapture;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            const Cell& cell = cellOf(board, x, y);
            if (cell.occupied != -1 && cell.owner == side) {
                own.push_back({x, y});
                if (!capturesFrom(board, x, y, side).empty()) {
                    canCapture.push_back({x, y});
                }
            }
        }
    }
    if (own.empty() || chance(5)) {
        return clickSquare(game, below(BOARD_COLUMNS), below(BOARD_ROWS));
    }
    const auto pick = [this](const std::vector<Target>& pool) {
        return pool[static_cast<std::size_t>(below(static_cast<int>(pool.size())))];
    };
    const bool selected = game.selectionActive && onBoard(game.selectedX, game.selectedY) &&
                          cellOf(board, game.selectedX, game.selectedY).occupied != -1 &&
                          cellOf(board, game.selectedX, game.selectedY).owner == side;
    if (selected) {
        const int fx = game.selectedX;
        const int fy = game.selectedY;
        const std::vector<Target> captures = capturesFrom(board, fx, fy, side);
        if (!captures.empty() && chance(85)) {
            const Target t = pick(captures);
            return clickSquare(game, t.x, t.y);
        }
        if (captures.empty() && !canCapture.empty() && chance(80)) {
            const Target t = pick(canCapture);  // another piece can capture: take that one
            return clickSquare(game, t.x, t.y);
        }
        std::vector<Target> steps;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if ((dx != 0 || dy != 0) && onBoard(fx + dx, fy + dy) &&
                    cellOf(board, fx + dx, fy + dy).occupied == -1) {
                    steps.push_back({fx + dx, fy + dy});
                }
            }
        }
        if (!steps.empty() && chance(85)) {
            Target t = pick(steps);
            if (chance(70)) {
                // Toward the enemy: the step with the most enemies around it.
                int best = -1;
                for (const Target& step : steps) {
                    const int near = enemiesNear(board, step.x, step.y, side);
                    if (near > best) {
                        best = near;
                        t = step;
                    }
                }
            }
            return clickSquare(game, t.x, t.y);
        }
    }
    const Target t = !canCapture.empty() && chance(85) ? pick(canCapture) : pick(own);
    return clickSquare(game, t.x, t.y);
}

std::string ScriptGenerator::disturbance(const GameState& game) {
    switch (below(9)) {
        case 0:
            return "escape down\n" + frames(between(1, 3)) + "escape up\n" + frames(1);
        case 1:
            return "focus out\n" + frames(between(0, 5)) + "focus in\n" + frames(between(1, 2));
        case 2:
            return "rpress\n" + frames(between(1, 2)) + "rrelease\n" + frames(1);
        case 3: {
            // Toward or beyond an edge: a motion that would leave the screen is dropped.
            const int x = chance(50) ? between(-20, 20) : between(760, 820);
            const int y = chance(50) ? between(-20, 20) : between(560, 620);
            return line("move " + std::to_string(x - game.cursorX) + " " +
                        std::to_string(y - game.cursorY)) +
                   frames(1);
        }
        case 4:
            return frames(between(1, 40));
        case 5:
            return clickAt(game, between(1, kMaxX), between(1, kMaxY));
        case 6:
            // A long press, or many records in one frame (the buffer keeps 32).
            if (chance(50)) {
                return "press\n" + frames(between(5, 30)) + "release\n" + frames(1);
            } else {
                std::string out;
                for (int i = between(20, 45); i > 0; --i) {
                    out += line("move " + std::to_string(between(-3, 3)) + " " +
                                std::to_string(between(-3, 3)));
                }
                return out + frames(1);
            }
        case 7:
            if (chance(10)) {
                return "close\n" + frames(1);
            }
            return frames(1);
        default:
            return "press\nframe\nrelease\nframe\n";
    }
}

std::string ScriptGenerator::nextAction(const GameState& game, const Board& board) {
    if (chance(8)) {
        return disturbance(game);
    }
    if (game.gameOver) {
        // The result picture: look at it a while, then Escape (which ends the program).
        return chance(70) ? frames(between(5, 30)) : "escape down\n" + frames(1) + "escape up\n";
    }
    if (game.saveScreenActive || game.loadScreenActive) {
        return fileScreenAction(game);
    }
    if (game.menuVisible) {
        return menuAction(game);
    }
    if (game.demoMode) {
        return demonstrationAction(game);
    }
    if (game.placementPhase) {
        return placementAction(game, board);
    }
    if (game.playPhase) {
        if (chance(2)) {
            return "escape down\n" + frames(1) + "escape up\n" + frames(1);  // to the menu
        }
        return playAction(game, board);
    }
    // Nothing on screen but the board: back to the menu.
    return "escape down\n" + frames(1) + "escape up\n" + frames(1);
}

}  // namespace soak
