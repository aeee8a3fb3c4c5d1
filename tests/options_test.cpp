// The options file: which contents set the blink period and which leave the built-in one, and
// that no word, however long, overruns the text buffer.
#include "screens/options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "board/board.h"
#include "test_support.h"

namespace {

class OptionsTest : public HeadlessGame {};

TEST_F(OptionsTest, TheFileSetsTheBlinkPeriodOnlyWhenItHoldsAWordAndANumber) {
    const std::string longWord(10000, 'w');
    struct Case {
        const char* name;
        std::optional<std::string> contents;  // no file at all when empty
        int blinkPeriod;
    };
    const Case cases[] = {
        {"no file", std::nullopt, 25},
        {"an empty file", "", 25},
        {"one line, a word", "blink\n", 25},
        {"three lines", "blink\n10\nend\n", 10},
        {"three items on one line", "blink 10 end", 10},
        {"spaces, tabs and CR LF", " \t blink\r\n\r\n  10\t\r\nend", 10},
        {"two items only", "blink\n10", 10},
        {"a number that is not one", "blink\nten\nend\n", 25},
        {"a number with a sign", "blink\n+12\nend\n", 12},
        {"zero", "blink\n0\nend\n", 0},
        {"a negative number", "blink\n-3\nend\n", -3},
        {"a number beyond the range of int", "blink\n99999999999\nend\n", 25},
        {"a 10,000-character first word", longWord + "\n10\nend\n", 10},
        {"a 10,000-character last word", "blink\n10\n" + longWord, 10},
        {"nothing after the number is read", "blink\n10\nend\n20\n", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetProcessState();
        std::filesystem::remove(workDir / "options.inf");
        if (c.contents) {
            writeFile("options.inf", *c.contents);
        }
        readOptionsFile();
        EXPECT_EQ(gameState.blinkPeriod, c.blinkPeriod);
    }
}

TEST_F(OptionsTest, LongWordsKeepTheirFirst255CharactersInTheTextBuffer) {
    std::string word(10000, 'a');
    word[254] = 'b';
    word[255] = 'c';
    writeFile("options.inf", "first\n7\n" + word + "\n");
    readOptionsFile();
    EXPECT_EQ(gameState.blinkPeriod, 7);
    EXPECT_EQ(std::strlen(textBuffer), 255u);
    EXPECT_EQ(textBuffer[254], 'b');
}

TEST_F(OptionsTest, TheFirstFrameReadsTheFileOnce) {
    writeFile("options.inf", "blink\n10\nend\n");
    ASSERT_TRUE(start());
    runFrames(1);
    EXPECT_EQ(gameState.blinkPeriod, 10);
    // Editing the file while the program runs changes nothing.
    writeFile("options.inf", "blink\n40\nend\n");
    runFrames(3);
    EXPECT_EQ(gameState.blinkPeriod, 10);
}

TEST_F(OptionsTest, WithoutTheFileTheFirstFrameKeepsTheBuiltInPeriod) {
    ASSERT_TRUE(start());
    runFrames(1);
    EXPECT_EQ(gameState.firstFrameDone, 1);
    EXPECT_EQ(gameState.blinkPeriod, 25);
}

}  // namespace
