// The runner's script: what it accepts and the errors it reports before running anything.
#include <gtest/gtest.h>

#include "replay/script.h"

using replay::Command;
using replay::CommandKind;
using replay::parseScript;
using replay::ScriptError;

TEST(ReplayScript, AcceptsEveryCommandWithBlankLinesCommentsAndCarriageReturns) {
    const char* text =
        "# a comment\r\n"
        "\n"
        "   \t  \n"
        "move 3 -4\r\n"
        "press\nrelease\nrpress\nrrelease\n"
        "escape down\nescape up\n"
        "frame\nframe 0\n\tframe\t12  \n"
        "focus out\nfocus in\nclose\nlose-surfaces\n"
        "dump out/s.json\nshot s.bmp";
    std::vector<Command> commands;
    ScriptError error;
    ASSERT_TRUE(parseScript(text, commands, error)) << error.line << ": " << error.message;
    ASSERT_EQ(commands.size(), 16u);
    EXPECT_EQ(commands[0].kind, CommandKind::Move);
    EXPECT_EQ(commands[0].a, 3);
    EXPECT_EQ(commands[0].b, -4);
    EXPECT_EQ(commands[0].line, 4);
    EXPECT_EQ(commands[7].kind, CommandKind::Frame);
    EXPECT_EQ(commands[7].a, 1);
    EXPECT_EQ(commands[8].a, 0);
    EXPECT_EQ(commands[9].a, 12);
    EXPECT_EQ(commands[14].path, "out/s.json");
    EXPECT_EQ(commands[15].kind, CommandKind::Shot);
}

TEST(ReplayScript, NumbersAreSigned32BitIntegers) {
    std::vector<Command> commands;
    ScriptError error;
    ASSERT_TRUE(parseScript("move 2147483647 -2147483648\nmove +5 -0\n", commands, error));
    EXPECT_EQ(commands[0].a, 2147483647);
    EXPECT_EQ(commands[0].b, -2147483647 - 1);
    EXPECT_EQ(commands[1].a, 5);
}

TEST(ReplayScript, ReportsTheFirstBadLine) {
    struct Case {
        const char* text;
        int line;
        const char* messagePart;
    };
    const Case cases[] = {
        {"frame\njump 3\n", 2, "unknown command"},
        {"move 1\n", 1, "missing"},
        {"move 1 2 3\n", 1, "extra"},
        {"move 1 x\n", 1, "integers"},
        {"move 2147483648 0\n", 1, "integers"},
        {"move -2147483649 0\n", 1, "integers"},
        {"move 1.5 0\n", 1, "integers"},
        {"move - 0\n", 1, "integers"},
        {"frame -1\n", 1, "0 or more"},
        {"frame 2 3\n", 1, "extra"},
        {"press now\n", 1, "extra"},
        {"escape\n", 1, "missing"},
        {"escape sideways\n", 1, "expected down or up"},
        {"focus\tlost\n", 1, "expected out or in"},
        {"dump\n", 1, "missing"},
        {"shot a b\n", 1, "extra"},
        {"# fine\n\nFRAME\n", 3, "unknown command"},
    };
    for (const Case& c : cases) {
        std::vector<Command> commands;
        ScriptError error;
        EXPECT_FALSE(parseScript(c.text, commands, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.messagePart), std::string::npos)
            << c.text << " gave: " << error.message;
    }
}
