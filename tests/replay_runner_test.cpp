// The runner end to end: scripts run through the game's own start-up, loop and frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "replay/dump.h"
#include "replay/runner.h"
#include "test_support.h"

namespace {

struct RunOutput {
    int status = 0;
    std::string out;
    std::string err;
};

std::string readStream(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, count);
    }
    return text;
}

class ReplayRunner : public HeadlessGame {
protected:
    RunOutput run(const char* script) {
        std::vector<replay::Command> commands;
        replay::ScriptError error;
        EXPECT_TRUE(replay::parseScript(script, commands, error)) << error.message;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        RunOutput result;
        result.status = replay::runScript(commands, out, err);
        result.out = readStream(out);
        result.err = readStream(err);
        std::fclose(out);
        std::fclose(err);
        return result;
    }
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST_F(ReplayRunner, DumpAfterThreeFramesShowsTheMenuOverAnEmptyBoard) {
    const RunOutput result = run("frame 3\ndump s.json\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    const std::string dump = readFile("s.json");
    EXPECT_TRUE(contains(dump, "\"frame\": 3,"));
    EXPECT_TRUE(contains(dump, "\"firstFrameDone\": 1,"));
    EXPECT_TRUE(contains(dump, "\"menuVisible\": 1,"));
    EXPECT_TRUE(contains(dump, "\"cursorUserControlled\": 1,"));
    EXPECT_TRUE(contains(dump, "\"cursorX\": 390,"));
    EXPECT_EQ(countOf(dump, "\"occupied\": -1,"), 300);
    EXPECT_EQ(countOf(dump, "\"owner\": "), 300);
    EXPECT_TRUE(contains(dump, "\"counters\": [100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0"));
    EXPECT_TRUE(contains(dump, "\"running\": [0, 0, 0"));
    EXPECT_TRUE(contains(dump, "\"fileName\": [0, 0, 0, 0, 0]"));
}

TEST_F(ReplayRunner, DumpHoldsEveryStateFieldOnce) {
    const char* fields[] = {
        "cursorX", "cursorY", "leftButton", "rightButton", "cursorUserControlled",
        "piecesPerPlayer", "blinkPeriod", "blinkCounter", "blinkHidden", "selectionActive",
        "selectedX", "selectedY", "currentPlayer", "placementPhase", "reinforcementPhase",
        "playPhase", "gameOver", "victorySoundPlayed", "reserve", "onBoard",
        "capturesThisTurn", "pieceCount", "firstFrameDone", "menuVisible", "saveScreenActive",
        "loadScreenActive", "fileName", "fileNameLength", "currentLetter", "clickLatch",
        "demoMode", "demoOkPromptVisible", "demoState", "demoStep", "demoTargetX",
        "demoTargetY", "demoReturnX", "demoReturnY", "demoStepArmed", "demoClickDone"};
    const std::string dump = replay::stateDumpJson(0);
    for (const char* field : fields) {
        EXPECT_EQ(countOf(dump, std::string("\"") + field + "\": "), 1) << field;
    }
    EXPECT_EQ(countOf(dump, "\": "), 3 + 40 + 300 * 8 + 1 + 2);
}

TEST_F(ReplayRunner, CloseEndsTheProgramWithExitCodeZero) {
    const RunOutput result = run("frame 2\nclose\nframe 5\ndump never.json\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "exit 2 0\n");
    EXPECT_FALSE(std::filesystem::exists(workDir / "never.json"));
}

TEST_F(ReplayRunner, NoFrameRunsWhileTheProgramIsInactive) {
    const RunOutput result =
        run("frame 2\nfocus out\nframe 50\ndump a.json\nfocus in\nframe\ndump b.json\n");
    EXPECT_TRUE(contains(readFile("a.json"), "\"frame\": 2,"));
    EXPECT_TRUE(contains(readFile("b.json"), "\"frame\": 3,"));
}

TEST_F(ReplayRunner, LostSurfacesEndTheProgramWithTheBlitMessage) {
    const RunOutput result = run("frame 4\nlose-surfaces\nframe 3\n");
    EXPECT_EQ(result.out, "exit 5 0\n");
    EXPECT_EQ(result.err, "debug: Impossible d'ex\xC3\xA9" "cuter Blt.\n");
}

TEST_F(ReplayRunner, StartUpWithoutASoundEndsAtOnce) {
    std::filesystem::remove(workDir / "waves");
    std::filesystem::create_directory(workDir / "waves");
    const RunOutput result = run("frame 3\n");
    EXPECT_EQ(result.out, "exit 0 0\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(ReplayRunner, ShotIsA24BitBmpOfTheLastFlip) {
    run("shot before.bmp\nframe\nshot after.bmp\n");
    const std::string before = readFile("before.bmp");
    const std::string after = readFile("after.bmp");
    ASSERT_EQ(before.size(), 54u + 800u * 600u * 3u);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(before.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(before[28]), 24);
    EXPECT_EQ(before.find_first_not_of('\0', 54), std::string::npos) << "black before a flip";
    EXPECT_NE(after.find_first_not_of('\0', 54), std::string::npos) << "the menu after one";
}

TEST_F(ReplayRunner, AnUnwritableDumpStopsTheRunWithItsLine) {
    const RunOutput result = run("frame\ndump no-such-folder/s.json\nframe\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error 2: cannot write no-such-folder/s.json\n");
}
