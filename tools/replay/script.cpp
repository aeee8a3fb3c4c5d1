#include "replay/script.h"

#include <limits>

namespace replay {
namespace {

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

// A decimal integer with an optional sign that fits in 32 bits.
bool parseNumber(std::string_view word, std::int32_t& value) {
    if (word.empty()) {
        return false;
    }
    bool negative = false;
    std::size_t i = 0;
    if (word[0] == '+' || word[0] == '-') {
        negative = word[0] == '-';
        i = 1;
    }
    if (i == word.size()) {
        return false;
    }
    std::int64_t magnitude = 0;
    for (; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (word[i] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return false;
        }
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max() ||
        signedValue < std::numeric_limits<std::int32_t>::min()) {
        return false;
    }
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

bool fail(ScriptError& error, int line, std::string message) {
    error.line = line;
    error.message = std::move(message);
    return false;
}

bool parseLine(std::string_view line, int number, std::vector<Command>& commands,
               ScriptError& error) {
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty() || words[0][0] == '#') {
        return true;
    }
    const std::string_view name = words[0];
    const std::size_t arguments = words.size() - 1;
    Command command;
    command.line = number;
    auto expectArguments = [&](std::size_t count) {
        if (arguments < count) {
            return fail(error, number, std::string(name) + ": missing argument");
        }
        if (arguments > count) {
            return fail(error, number, std::string(name) + ": extra argument");
        }
        return true;
    };
    auto simple = [&](CommandKind kind) {
        if (!expectArguments(0)) {
            return false;
        }
        command.kind = kind;
        commands.push_back(command);
        return true;
    };
    auto pair = [&](std::string_view first, CommandKind firstKind, std::string_view second,
                    CommandKind secondKind) {
        if (!expectArguments(1)) {
            return false;
        }
        if (words[1] == first) {
            command.kind = firstKind;
        } else if (words[1] == second) {
            command.kind = secondKind;
        } else {
            return fail(error, number,
                        std::string(name) + ": expected " + std::string(first) + " or " +
                            std::string(second) + ", not '" + std::string(words[1]) + "'");
        }
        commands.push_back(command);
        return true;
    };
    auto pathCommand = [&](CommandKind kind) {
        if (!expectArguments(1)) {
            return false;
        }
        command.kind = kind;
        command.path = std::string(words[1]);
        commands.push_back(command);
        return true;
    };

    if (name == "move") {
        if (!expectArguments(2)) {
            return false;
        }
        if (!parseNumber(words[1], command.a) || !parseNumber(words[2], command.b)) {
            return fail(error, number, "move: DX and DY must be 32-bit integers");
        }
        command.kind = CommandKind::Move;
        commands.push_back(command);
        return true;
    }
    if (name == "press") {
        return simple(CommandKind::Press);
    }
    if (name == "release") {
        return simple(CommandKind::Release);
    }
    if (name == "rpress") {
        return simple(CommandKind::RightPress);
    }
    if (name == "rrelease") {
        return simple(CommandKind::RightRelease);
    }
    if (name == "escape") {
        return pair("down", CommandKind::EscapeDown, "up", CommandKind::EscapeUp);
    }
    if (name == "focus") {
        return pair("out", CommandKind::FocusOut, "in", CommandKind::FocusIn);
    }
    if (name == "frame") {
        if (arguments > 1) {
            return fail(error, number, "frame: extra argument");
        }
        command.kind = CommandKind::Frame;
        command.a = 1;
        if (arguments == 1 && (!parseNumber(words[1], command.a) || command.a < 0)) {
            return fail(error, number, "frame: N must be an integer of 0 or more");
        }
        commands.push_back(command);
        return true;
    }
    if (name == "close") {
        return simple(CommandKind::Close);
    }
    if (name == "lose-surfaces") {
        return simple(CommandKind::LoseSurfaces);
    }
    if (name == "dump") {
        return pathCommand(CommandKind::Dump);
    }
    if (name == "shot") {
        return pathCommand(CommandKind::Shot);
    }
    return fail(error, number, "unknown command '" + std::string(name) + "'");
}

}  // namespace

bool parseScript(std::string_view text, std::vector<Command>& commands, ScriptError& error) {
    commands.clear();
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number;
        if (!parseLine(line, number, commands, error)) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace replay
