#include "replay/dump.h"

#include <cstdio>

#include "board/board.h"
#include "shell/timers.h"

namespace replay {
namespace {

class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    void number(const char* name, long long value) {
        key(name);
        out_ += std::to_string(value);
    }
    void array(const char* name, const long long* values, int count) {
        key(name);
        out_ += '[';
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                out_ += ", ";
            }
            out_ += std::to_string(values[i]);
        }
        out_ += ']';
    }
    void close() { out_ += '}'; }

private:
    void key(const char* name) {
        if (!first_) {
            out_ += ", ";
        }
        first_ = false;
        out_ += '"';
        out_ += name;
        out_ += "\": ";
    }
    std::string& out_;
    bool first_ = true;
};

void writeState(std::string& out) {
    const GameState& s = gameState;
    JsonObject o(out);
    o.number("cursorX", s.cursorX);
    o.number("cursorY", s.cursorY);
    o.number("leftButton", s.leftButton);
    o.number("rightButton", s.rightButton);
    o.number("cursorUserControlled", s.cursorUserControlled);
    o.number("piecesPerPlayer", s.piecesPerPlayer);
    o.number("blinkPeriod", s.blinkPeriod);
    o.number("blinkCounter", s.blinkCounter);
    o.number("blinkHidden", s.blinkHidden);
    o.number("selectionActive", s.selectionActive);
    o.number("selectedX", s.selectedX);
    o.number("selectedY", s.selectedY);
    o.number("currentPlayer", s.currentPlayer);
    o.number("placementPhase", s.placementPhase);
    o.number("reinforcementPhase", s.reinforcementPhase);
    o.number("playPhase", s.playPhase);
    o.number("gameOver", s.gameOver);
    o.number("victorySoundPlayed", s.victorySoundPlayed);
    const long long reserve[2] = {s.reserve[0], s.reserve[1]};
    o.array("reserve", reserve, 2);
    const long long onBoard[2] = {s.onBoard[0], s.onBoard[1]};
    o.array("onBoard", onBoard, 2);
    o.number("capturesThisTurn", s.capturesThisTurn);
    o.number("pieceCount", s.pieceCount);
    o.number("firstFrameDone", s.firstFrameDone);
    o.number("menuVisible", s.menuVisible);
    o.number("saveScreenActive", s.saveScreenActive);
    o.number("loadScreenActive", s.loadScreenActive);
    long long fileName[5];
    for (int i = 0; i < 5; ++i) {
        fileName[i] = static_cast<unsigned char>(s.fileName[i]);
    }
    o.array("fileName", fileName, 5);
    o.number("fileNameLength", s.fileNameLength);
    o.number("currentLetter", static_cast<unsigned char>(s.currentLetter));
    o.number("clickLatch", s.clickLatch);
    o.number("demoMode", s.demoMode);
    o.number("demoOkPromptVisible", s.demoOkPromptVisible);
    o.number("demoState", s.demoState);
    o.number("demoStep", s.demoStep);
    o.number("demoTargetX", s.demoTargetX);
    o.number("demoTargetY", s.demoTargetY);
    o.number("demoReturnX", s.demoReturnX);
    o.number("demoReturnY", s.demoReturnY);
    o.number("demoStepArmed", s.demoStepArmed);
    o.number("demoClickDone", s.demoClickDone);
    o.close();
}

void writeCells(std::string& out) {
    out += '[';
    for (int i = 0; i < BOARD_CELLS; ++i) {
        const Cell& c = board.cells[i];
        out += i == 0 ? "\n  " : ",\n  ";
        JsonObject o(out);
        o.number("owner", c.owner);
        o.number("pieceId", c.pieceId);
        o.number("occupied", c.occupied);
        o.number("kills", c.kills);
        o.number("level", c.level);
        o.number("movesLeft", c.movesLeft);
        o.number("movesPerTurn", c.movesPerTurn);
        o.number("highlighted", c.highlighted);
        o.close();
    }
    out += "\n]";
}

void writeTimers(std::string& out) {
    long long counters[TIMER_COUNT];
    long long running[TIMER_COUNT];
    for (int i = 0; i < TIMER_COUNT; ++i) {
        counters[i] = timerBank.counters[i];
        running[i] = timerBank.running[i];
    }
    JsonObject o(out);
    o.array("counters", counters, TIMER_COUNT);
    o.array("running", running, TIMER_COUNT);
    o.close();
}

}  // namespace

std::string stateDumpJson(int frame) {
    std::string out = "{\n\"frame\": " + std::to_string(frame) + ",\n\"state\": ";
    writeState(out);
    out += ",\n\"cells\": ";
    writeCells(out);
    out += ",\n\"timers\": ";
    writeTimers(out);
    out += "\n}\n";
    return out;
}

bool writeStateDump(const char* path, int frame) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const std::string json = stateDumpJson(frame);
    const bool written = std::fwrite(json.data(), 1, json.size(), file) == json.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace replay
