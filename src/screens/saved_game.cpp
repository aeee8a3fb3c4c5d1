// The saved-game file "sauv\NAME.SAV": a text file of decimal numbers.
//
// Layout, every record three lines ("%d %d" position, then four and four cell fields):
//   - 266 records, columns 0 to 18, rows 0 to 13, column by column;
//   - the trailer: "blinkHidden selectedX selectedY selectionActive", "currentPlayer
//     menuVisible", and the constant 0.1 written as "0.100000";
//   - after a line end, 34 more records for the cells the first part leaves out: column 19
//     rows 0 to 14, then row 14 columns 0 to 18. Every line ends with a line end except the
//     constant's, so that the file begins exactly as the older 801-line files did and older
//     files still load (with column 19 and row 14 empty).
//
// A file on disk can hold anything, so the reader trusts nothing: numbers that cannot be read
// stop it, positions off the board stop it, and every stored cell is made playable.
#include "screens/saved_game.h"

#include <cstdio>

#include "board/board.h"
#include "platform/platform.h"
#include "screens/text_reader.h"

namespace {

constexpr int kStoredColumns = 19;  // columns 0 to 18 in the first part of the file
constexpr int kStoredRows = 14;     // rows 0 to 13 in the first part of the file
constexpr int kExtraRecords = BOARD_ROWS + (BOARD_COLUMNS - 1);  // 34
constexpr const char* kSaveFailed = "Impossible d'enregistrer la partie.";

// "sauv\NAME.SAV" (plus `suffix`) into `out`; false when it does not fit.
bool buildPath(char* out, std::size_t size, const char* name, const char* suffix) {
    const int length = std::snprintf(out, size, "sauv\\%s.SAV%s", name, suffix);
    return length >= 0 && static_cast<std::size_t>(length) < size;
}

bool onBoard(int x, int y) {
    return x >= 0 && x < BOARD_COLUMNS && y >= 0 && y < BOARD_ROWS;
}

// The cells that the first part of the file leaves out, in the order the file stores them.
Square extraCell(int index) {
    if (index < BOARD_ROWS) {
        return Square{BOARD_COLUMNS - 1, index};
    }
    return Square{index - BOARD_ROWS, BOARD_ROWS - 1};
}

bool writeRecord(std::FILE* file, int x, int y) {
    const Cell& cell = cellAt(x, y);
    return std::fprintf(file, "%d %d\n%d %d %d %d\n%d %d %d %d\n", x, y, cell.owner, cell.pieceId,
                        cell.occupied, cell.kills, cell.level, cell.movesLeft, cell.movesPerTurn,
                        static_cast<int>(cell.highlighted)) >= 0;
}

bool writeWholeFile(std::FILE* file) {
    for (int x = 0; x < kStoredColumns; ++x) {
        for (int y = 0; y < kStoredRows; ++y) {
            if (!writeRecord(file, x, y)) {
                return false;
            }
        }
    }
    const GameState& g = gameState;
    // The constant is written as the %f form of 0.1 would be in any locale.
    if (std::fprintf(file, "%d %d %d %d\n%d %d\n0.100000", static_cast<int>(g.blinkHidden),
                     g.selectedX, g.selectedY, static_cast<int>(g.selectionActive),
                     static_cast<int>(g.currentPlayer), static_cast<int>(g.menuVisible)) < 0) {
        return false;
    }
    if (std::fputc('\n', file) == EOF) {
        return false;
    }
    for (int i = 0; i < kExtraRecords; ++i) {
        const Square square = extraCell(i);
        if (!writeRecord(file, square.x, square.y)) {
            return false;
        }
    }
    return std::fflush(file) == 0 && !std::ferror(file);
}

// Reads the ten numbers of one record into its cell and gives its square. The position comes
// first and must lie on the board and satisfy `allowed`, or the reading of the whole file ends
// there; a record that breaks off part way keeps the fields it stored. False when the record's
// position could not be taken (nothing is stored from it on).
template <typename Allowed>
bool readRecord(TextReader& reader, Square& square, Allowed allowed) {
    int x = 0;
    int y = 0;
    if (!reader.readInt(x) || !reader.readInt(y)) {
        return false;
    }
    if (!onBoard(x, y) || !allowed(x, y)) {
        reader.stop();
        return false;
    }
    square = Square{x, y};
    Cell& cell = cellAt(x, y);
    int highlighted = 0;
    // Each field is stored as soon as it is read, so a record cut short keeps its first fields.
    if (reader.readInt(cell.owner) && reader.readInt(cell.pieceId) &&
        reader.readInt(cell.occupied) && reader.readInt(cell.kills) && reader.readInt(cell.level) &&
        reader.readInt(cell.movesLeft) && reader.readInt(cell.movesPerTurn) &&
        reader.readInt(highlighted)) {
        cell.highlighted = static_cast<std::uint8_t>(highlighted);
    }
    // Whatever the file said, the cell must be one the game can play with: a piece belongs to
    // white or black, and a cell always has at least one move.
    if (cell.occupied != -1 && cell.owner != PLAYER_WHITE && cell.owner != PLAYER_BLACK) {
        cell.occupied = -1;
    }
    if (cell.movesLeft < 1) {
        cell.movesLeft = 1;
    }
    if (cell.movesPerTurn < 1) {
        cell.movesPerTurn = 1;
    }
    return true;
}

void emptyCell(int x, int y) {
    Cell& cell = cellAt(x, y);
    cell.occupied = -1;
    cell.movesLeft = 1;
    cell.movesPerTurn = 1;
}

// The first part of the file: the loop goes on from the position that each record gives.
void readMainRecords(TextReader& reader) {
    const auto anywhere = [](int, int) { return true; };
    for (int x = 0; x < kStoredColumns; ++x) {
        for (int y = 0; y < kStoredRows; ++y) {
            Square square{};
            if (!readRecord(reader, square, anywhere)) {
                return;
            }
            x = square.x;
            y = square.y;
        }
    }
}

void readTrailer(TextReader& reader) {
    GameState& g = gameState;
    // Once a value cannot be read the reader has stopped, so no later value is stored.
    int value = 0;
    if (reader.readInt(value)) {
        g.blinkHidden = static_cast<std::uint8_t>(value);
    }
    if (reader.readInt(value)) {
        g.selectedX = value;
    }
    if (reader.readInt(value)) {
        g.selectedY = value;
    }
    if (reader.readInt(value)) {
        g.selectionActive = static_cast<std::uint8_t>(value);
    }
    if (!onBoard(g.selectedX, g.selectedY)) {
        g.selectedX = 0;
        g.selectedY = 0;
        g.selectionActive = 0;
    }
    if (reader.readInt(value)) {
        g.currentPlayer = static_cast<std::uint8_t>(value);
    }
    reader.readInt(value);  // the menu flag at the time of saving: not restored
    reader.skipReal();      // the constant 0.1
}

void readExtraRecords(TextReader& reader) {
    const auto leftOut = [](int x, int y) { return x == BOARD_COLUMNS - 1 || y == BOARD_ROWS - 1; };
    for (int i = 0; i < kExtraRecords; ++i) {
        Square square{};
        if (!readRecord(reader, square, leftOut)) {
            return;
        }
    }
}

// A loaded game is in its play phase, with nothing pending and its counters matching its board.
void settleLoadedGame() {
    GameState& g = gameState;
    g.onBoard[PLAYER_WHITE] = 0;
    g.onBoard[PLAYER_BLACK] = 0;
    for (const Cell& cell : board.cells) {
        if (cell.occupied != -1 && (cell.owner == PLAYER_WHITE || cell.owner == PLAYER_BLACK)) {
            ++g.onBoard[cell.owner];
        }
    }
    g.reserve[PLAYER_WHITE] = 0;
    g.reserve[PLAYER_BLACK] = 0;
    g.placementPhase = 0;
    g.reinforcementPhase = 0;
    g.capturesThisTurn = 0;
    g.gameOver = 0;
    g.demoMode = 0;
    g.victorySoundPlayed = 0;
    g.playPhase = 1;
}

}  // namespace

void writeSavedGame(const char* name) {
    // The new file is written beside the old one and renamed into place, so that an existing
    // save is replaced whole or not at all.
    char temporaryPath[TEXT_BUFFER_SIZE];
    if (!buildPath(textBuffer, sizeof textBuffer, name, "") ||
        !buildPath(temporaryPath, sizeof temporaryPath, name, ".new")) {
        plat::debugOutput(kSaveFailed);
        return;
    }
    plat::makeDirectory("sauv");
    std::FILE* file = plat::openFile(temporaryPath, "w");
    if (file == nullptr) {
        plat::debugOutput(kSaveFailed);
        return;
    }
    const bool written = writeWholeFile(file);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !plat::replaceFile(temporaryPath, textBuffer)) {
        plat::removeFile(temporaryPath);
        plat::debugOutput(kSaveFailed);
    }
}

bool readSavedGame(const char* name) {
    if (!buildPath(textBuffer, sizeof textBuffer, name, "")) {
        return false;
    }
    std::FILE* file = plat::openFile(textBuffer, "r");
    if (file == nullptr) {
        return false;
    }
    // A name that can be opened but not read (a folder of that name) is no saved game either.
    const int first = std::getc(file);
    if (first == EOF && std::ferror(file)) {
        std::fclose(file);
        return false;
    }
    std::ungetc(first, file);
    // Column 19 and row 14 come last in the file, and older files lack them: no piece of the
    // game played before the load may stay there.
    for (int i = 0; i < kExtraRecords; ++i) {
        const Square square = extraCell(i);
        emptyCell(square.x, square.y);
    }
    TextReader reader(file);
    readMainRecords(reader);
    readTrailer(reader);
    readExtraRecords(reader);
    std::fclose(file);
    settleLoadedGame();
    return true;
}
