#include "fuzz_entries.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "display/sprites.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "replay/script.h"
#include "screens/options.h"
#include "screens/saved_game.h"
#include "sound/wave_image.h"

namespace fuzz_entries {
namespace {

bool writeInput(const char* path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

std::string cellText(int x, int y) {
    return "cell (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// ---------------------------------------------------------------------------------------------
// Saved games
// ---------------------------------------------------------------------------------------------

// A game in progress, with pieces everywhere the file might or might not reach (column 19 and
// row 14 included) and a selection, so that what a load leaves behind is seen.
void setUpGameInProgress() {
    resetProcessState();
    resetGame();
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            if ((x + 2 * y) % 3 == 0) {
                placePiece(x, y, (x + y) % 2, x % 8);
            }
        }
    }
    updateLevels();
    gameState.placementPhase = 0;
    gameState.playPhase = 1;
    gameState.selectionActive = 1;
    gameState.selectedX = 19;
    gameState.selectedY = 14;
    gameState.currentPlayer = PLAYER_BLACK;
    gameState.capturesThisTurn = 1;
    gameState.reserve[PLAYER_WHITE] = 3;
}

// What decisions 3 to 5 of the game's design promise of any loaded game.
std::string checkLoadedGame() {
    const GameState& g = gameState;
    int held[2] = {0, 0};
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            const Cell& cell = cellAt(x, y);
            if (cell.occupied != -1) {
                if (cell.owner != PLAYER_WHITE && cell.owner != PLAYER_BLACK) {
                    return cellText(x, y) + " holds a piece of owner " + std::to_string(cell.owner);
                }
                ++held[cell.owner];
            }
            if (cell.movesLeft < 1 || cell.movesPerTurn < 1) {
                return cellText(x, y) + " has moves " + std::to_string(cell.movesLeft) + "/" +
                       std::to_string(cell.movesPerTurn);
            }
        }
    }
    if (g.selectedX < 0 || g.selectedX >= BOARD_COLUMNS || g.selectedY < 0 ||
        g.selectedY >= BOARD_ROWS) {
        return "the selection (" + std::to_string(g.selectedX) + ", " +
               std::to_string(g.selectedY) + ") is off the board";
    }
    for (int side = 0; side < 2; ++side) {
        if (g.onBoard[side] != held[side]) {
            return "side " + std::to_string(side) + " counts " + std::to_string(g.onBoard[side]) +
                   " pieces but holds " + std::to_string(held[side]);
        }
        if (g.reserve[side] != 0) {
            return "a reserve is left after the load";
        }
    }
    if (g.playPhase != 1 || g.placementPhase != 0 || g.reinforcementPhase != 0 ||
        g.capturesThisTurn != 0 || g.gameOver != 0 || g.demoMode != 0 ||
        g.victorySoundPlayed != 0) {
        return "the loaded game is not simply in its play phase";
    }
    return {};
}

struct SavedPart {
    Board board;
    std::uint8_t blinkHidden;
    std::int32_t selectedX;
    std::int32_t selectedY;
    std::uint8_t selectionActive;
    std::uint8_t currentPlayer;
};

SavedPart savedPart() {
    const GameState& g = gameState;
    return SavedPart{board,       g.blinkHidden,     g.selectedX,
                     g.selectedY, g.selectionActive, g.currentPlayer};
}

std::string compareSavedPart(const SavedPart& a, const SavedPart& b) {
    for (int i = 0; i < BOARD_CELLS; ++i) {
        const Cell& p = a.board.cells[i];
        const Cell& q = b.board.cells[i];
        if (p.owner != q.owner || p.pieceId != q.pieceId || p.occupied != q.occupied ||
            p.kills != q.kills || p.level != q.level || p.movesLeft != q.movesLeft ||
            p.movesPerTurn != q.movesPerTurn || p.highlighted != q.highlighted) {
            return cellText(i / BOARD_ROWS, i % BOARD_ROWS) + " differs after a save and a load";
        }
    }
    if (a.blinkHidden != b.blinkHidden || a.selectedX != b.selectedX ||
        a.selectedY != b.selectedY || a.selectionActive != b.selectionActive ||
        a.currentPlayer != b.currentPlayer) {
        return "the selection or the player to move differs after a save and a load";
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The options file, read the way the format "%s\n%d\n%s" reads it, from memory
// ---------------------------------------------------------------------------------------------

bool isSpaceByte(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

struct Scan {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    void skipSpace() {
        while (at < size && isSpaceByte(data[at])) {
            ++at;
        }
    }
    bool word(std::string& out) {
        skipSpace();
        if (at == size) {
            return false;
        }
        out.clear();
        while (at < size && !isSpaceByte(data[at])) {
            out.push_back(static_cast<char>(data[at++]));
        }
        return true;
    }
    bool number(int& value) {
        skipSpace();
        bool negative = false;
        if (at < size && (data[at] == '+' || data[at] == '-')) {
            negative = data[at] == '-';
            ++at;
        }
        if (at == size || data[at] < '0' || data[at] > '9') {
            return false;
        }
        long long magnitude = 0;
        bool tooLarge = false;
        while (at < size && data[at] >= '0' && data[at] <= '9') {
            magnitude = tooLarge ? magnitude : magnitude * 10 + (data[at] - '0');
            tooLarge = tooLarge || magnitude > 2147483648LL;
            ++at;
        }
        if (tooLarge || (!negative && magnitude > INT_MAX)) {
            return false;
        }
        value = static_cast<int>(negative ? -magnitude : magnitude);
        return true;
    }
};

// ---------------------------------------------------------------------------------------------
// Scripts, written back out
// ---------------------------------------------------------------------------------------------

std::string commandText(const replay::Command& c) {
    using replay::CommandKind;
    switch (c.kind) {
        case CommandKind::Move:
            return "move " + std::to_string(c.a) + " " + std::to_string(c.b);
        case CommandKind::Press:
            return "press";
        case CommandKind::Release:
            return "release";
        case CommandKind::RightPress:
            return "rpress";
        case CommandKind::RightRelease:
            return "rrelease";
        case CommandKind::EscapeDown:
            return "escape down";
        case CommandKind::EscapeUp:
            return "escape up";
        case CommandKind::Frame:
            return "frame " + std::to_string(c.a);
        case CommandKind::FocusOut:
            return "focus out";
        case CommandKind::FocusIn:
            return "focus in";
        case CommandKind::Close:
            return "close";
        case CommandKind::LoseSurfaces:
            return "lose-surfaces";
        case CommandKind::Dump:
            return "dump " + c.path;
        case CommandKind::Shot:
            return "shot " + c.path;
    }
    return {};
}

}  // namespace

std::string picture(const std::uint8_t* data, std::size_t size) {
    if (!writeInput("fuzz.bmp", data, size)) {
        return {};  // nothing to test when the scratch folder cannot be written
    }
    // The sheet of the result pictures (3200 x 600) takes a hundred times longer to fill than
    // the others: it gets one input in 43, the six others share the rest.
    constexpr int kSmallerSheets[6] = {SPRITE_CURSOR, SPRITE_GRID, SPRITE_PAWN,
                                       SPRITE_MENU,   SPRITE_OK,   SPRITE_LETTERS};
    const int pick = static_cast<int>(size % 43);
    const int sheet = pick == 0 ? SPRITE_SCREENS : kSmallerSheets[pick % 6];
    const int width = spriteSheets[sheet].width;
    const int height = spriteSheets[sheet].height;
    const int objectsBefore = plat::liveObjectCount();
    const plat::Handle display = plat::createDisplay();
    const plat::Handle surface = plat::createSurface(display, width, height, colourKey);
    if (display == plat::kNoHandle || surface == plat::kNoHandle) {
        return "the display or the sheet could not be made";
    }
    // A recognisable sheet, so that a failed load is seen to leave it alone.
    std::vector<std::uint16_t> before(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < before.size(); ++i) {
        before[i] = static_cast<std::uint16_t>(i * 2654435761u >> 16);
    }
    plat::headless::setSurfacePixels(surface, before);

    const bool loaded = loadBitmapIntoSurface(surface, "fuzz.bmp");

    std::string problem;
    int w = 0;
    int h = 0;
    const std::vector<std::uint16_t>* after = plat::headless::surfacePixels(surface, &w, &h);
    if (after == nullptr || w != width || h != height || after->size() != before.size()) {
        problem = "the sheet changed its size";
    } else if (!loaded && *after != before) {
        problem = "a picture that did not load changed the sheet";
    } else if (plat::liveObjectCount() != objectsBefore + 2) {
        problem = "loading a picture left an object behind";
    } else if (!plat::getSurfaceDc(surface)) {
        problem = "the sheet's device context was not given back";
    }
    plat::releaseSurfaceDc(surface);
    plat::release(surface);
    plat::release(display);
    if (problem.empty() && plat::liveObjectCount() != objectsBefore) {
        problem = "releasing the sheet and the display left objects behind";
    }
    return problem;
}

std::string wave(const std::uint8_t* data, std::size_t size) {
    if (!writeInput("fuzz.wav", data, size)) {
        return {};
    }
    const int blocksBefore = plat::liveBlockCount();
    std::string problem;
    {
        WaveImage image;
        const bool loaded = image.loadFile("fuzz.wav");
        if (loaded != (size > 0)) {
            return loaded ? "an empty file loaded" : "a file that is there did not load";
        }
        if (loaded && (image.size != size || std::memcmp(image.data, data, size) != 0)) {
            return "the image is not the file byte for byte";
        }
        plat::WaveFormat format;
        const bool hasFormat = image.readFormat(format);
        const std::uint32_t count = image.dataSize();
        if (count > size) {
            return "the data size " + std::to_string(count) + " is more than the file holds";
        }
        if (count > 0 && !hasFormat) {
            return "sound data without a format";
        }

        // Blocks of exactly the size given, so that any write past them is caught.
        constexpr std::uint32_t kSmall = 16;
        auto small = std::make_unique<std::uint8_t[]>(kSmall);
        std::uint8_t* block = small.get();
        std::uint32_t copied = image.readData(&block, kSmall);
        if (block != small.get() || copied > kSmall || copied > count ||
            copied != (count < kSmall ? count : kSmall)) {
            return "reading into a small block copied " + std::to_string(copied);
        }
        const std::uint32_t largeSize = count + 64;
        auto large = std::make_unique<std::uint8_t[]>(largeSize);
        block = large.get();
        copied = image.readData(&block, largeSize);
        if (block != large.get() || copied != count) {
            return "reading into a large block copied " + std::to_string(copied) + " of " +
                   std::to_string(count);
        }
        if (copied >= kSmall && std::memcmp(small.get(), large.get(), kSmall) != 0) {
            return "the small and the large block do not begin alike";
        }
        block = nullptr;
        copied = image.readData(&block, 0);
        if (copied != count || (count > 0) != (block != nullptr)) {
            return "reading into a new block copied " + std::to_string(copied) + " of " +
                   std::to_string(count);
        }
        if (block != nullptr) {
            if (std::memcmp(block, large.get(), count) != 0) {
                problem = "the new block differs from the large one";
            }
            if (!plat::globalFree(block)) {
                problem = "the new block is not a block";
            }
        }
        if (image.readData(nullptr, 100) != 0) {
            problem = "reading through no pointer copied something";
        }
    }
    if (problem.empty() && plat::liveBlockCount() != blocksBefore) {
        problem = "the image's block was not given back";
    }
    return problem;
}

std::string savedGame(const std::uint8_t* data, std::size_t size) {
    if (!writeInput("sauv/ABCDE.SAV", data, size)) {
        return {};
    }
    setUpGameInProgress();
    if (!readSavedGame("ABCDE")) {
        return "a saved game that is there did not load";
    }
    std::string problem = checkLoadedGame();
    if (!problem.empty()) {
        return problem;
    }
    // The loaded game saves and loads again as it stands.
    const SavedPart loaded = savedPart();
    const std::size_t linesBefore = plat::headless::debugLines().size();
    writeSavedGame("BBBBB");
    if (plat::headless::debugLines().size() != linesBefore) {
        return "saving the loaded game failed";
    }
    setUpGameInProgress();
    if (!readSavedGame("BBBBB")) {
        return "the game just saved did not load";
    }
    problem = compareSavedPart(loaded, savedPart());
    return problem.empty() ? checkLoadedGame() : problem;
}

std::string options(const std::uint8_t* data, std::size_t size) {
    if (!writeInput("options.inf", data, size)) {
        return {};
    }
    resetProcessState();
    readOptionsFile();

    // The same items read from memory: what the period and the text buffer must hold.
    Scan scan{data, size};
    std::string word;
    std::string lastWord;
    int period = 25;
    int number = 0;
    if (scan.word(word)) {
        lastWord = word;
        if (scan.number(number)) {
            period = number;
            if (scan.word(word)) {
                lastWord = word;
            }
        }
    }
    if (gameState.blinkPeriod != period) {
        return "blink period " + std::to_string(gameState.blinkPeriod) + ", expected " +
               std::to_string(period);
    }
    const std::size_t kept =
        lastWord.size() < TEXT_BUFFER_SIZE - 1 ? lastWord.size() : TEXT_BUFFER_SIZE - 1;
    if (std::memcmp(textBuffer, lastWord.data(), kept) != 0 || textBuffer[kept] != '\0') {
        return "the text buffer does not hold the last word read";
    }
    return {};
}

std::string script(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int lines = 0;
    for (std::size_t start = 0; start < text.size(); ++lines) {
        const std::size_t end = text.find('\n', start);
        start = end == std::string_view::npos ? text.size() : end + 1;
    }
    std::vector<replay::Command> commands;
    replay::ScriptError error;
    if (!replay::parseScript(text, commands, error)) {
        if (error.line < 1 || error.line > lines || error.message.empty()) {
            return "error on line " + std::to_string(error.line) + " of " + std::to_string(lines) +
                   ": '" + error.message + "'";
        }
        return {};
    }
    std::string again;
    int previousLine = 0;
    for (const replay::Command& command : commands) {
        if (command.line <= previousLine || command.line > lines) {
            return "a command on line " + std::to_string(command.line);
        }
        previousLine = command.line;
        if (command.kind == replay::CommandKind::Frame && command.a < 0) {
            return "a negative frame count";
        }
        if ((command.kind == replay::CommandKind::Dump ||
             command.kind == replay::CommandKind::Shot) &&
            (command.path.empty() || command.path.find_first_of(" \t\n") != std::string::npos)) {
            return "a path that is not one word";
        }
        // A carriage return before each line end: the parser drops exactly one.
        again += commandText(command) + "\r\n";
    }
    std::vector<replay::Command> reparsed;
    if (!replay::parseScript(again, reparsed, error)) {
        return "the script written back out fails on line " + std::to_string(error.line) + ": " +
               error.message;
    }
    if (reparsed.size() != commands.size()) {
        return "the script written back out has another number of commands";
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const replay::Command& a = commands[i];
        const replay::Command& b = reparsed[i];
        if (a.kind != b.kind || a.a != b.a || a.b != b.b || a.path != b.path) {
            return "command " + std::to_string(i + 1) + " reads otherwise written back out";
        }
    }
    return {};
}

bool enterScratchFolder() {
    char pattern[] = "/tmp/gorvendal-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    const std::string folder = pattern;
    return chdir(folder.c_str()) == 0 && plat::makeDirectory("sauv");
}

}  // namespace fuzz_entries
