// The runner's script: parsed and checked whole before anything runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

enum class CommandKind {
    Move,
    Press,
    Release,
    RightPress,
    RightRelease,
    EscapeDown,
    EscapeUp,
    Frame,
    FocusOut,
    FocusIn,
    Close,
    LoseSurfaces,
    Dump,
    Shot,
};

struct Command {
    CommandKind kind = CommandKind::Frame;
    int line = 0;
    std::int32_t a = 0;  // move DX, frame N
    std::int32_t b = 0;  // move DY
    std::string path;    // dump, shot
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses a whole script. False with the first error (its line and message) when any line is
// not a valid command.
bool parseScript(std::string_view text, std::vector<Command>& commands, ScriptError& error);

}  // namespace replay
