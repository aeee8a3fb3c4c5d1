#include "replay/runner.h"

#include <memory>
#include <string>

#include "board/board.h"
#include "platform/headless.h"
#include "replay/dump.h"
#include "shell/app.h"
#include "shell/timers.h"

namespace replay {
namespace {

const char* const kSoundNames[4] = {"click", "move", "attack", "win"};

// A dump or a shot that could not be written ends the run.
struct OutputFailed {
    int line;
    std::string path;
};

// Carries out commands until one gives the message loop something to do: frames to run or a
// message to handle. Returns false when the script is over.
class ScriptDriver {
  public:
    explicit ScriptDriver(const std::vector<Command>& commands) : commands_(commands) {}

    bool operator()() {
        namespace hl = plat::headless;
        while (next_ < commands_.size()) {
            const Command& command = commands_[next_++];
            if (applyInputCommand(command)) {
                continue;
            }
            switch (command.kind) {
                case CommandKind::Frame:
                    hl::addFrames(command.a);
                    if (hl::framesOwed() > 0) {
                        return true;
                    }
                    break;
                case CommandKind::FocusOut:
                    hl::setFocus(false);
                    return true;
                case CommandKind::FocusIn:
                    hl::setFocus(true);
                    return true;
                case CommandKind::Close:
                    hl::closeWindow();
                    return true;
                case CommandKind::LoseSurfaces:
                    hl::loseSurfaces();
                    break;
                case CommandKind::Dump:
                    if (!writeStateDump(command.path.c_str(), hl::frameNumber())) {
                        throw OutputFailed{command.line, command.path};
                    }
                    break;
                case CommandKind::Shot:
                    if (!hl::writeBmp24(command.path.c_str(), hl::shownPicture(), 800, 600)) {
                        throw OutputFailed{command.line, command.path};
                    }
                    break;
                default:
                    break;  // the input commands, carried out above
            }
        }
        return false;
    }

  private:
    const std::vector<Command>& commands_;
    std::size_t next_ = 0;
};

}  // namespace

bool applyInputCommand(const Command& command) {
    namespace hl = plat::headless;
    switch (command.kind) {
        case CommandKind::Move:
            if (command.a != 0) {
                hl::addMouseRecord(plat::kMouseOffsetX, command.a);
            }
            if (command.b != 0) {
                hl::addMouseRecord(plat::kMouseOffsetY, command.b);
            }
            return true;
        case CommandKind::Press:
            hl::addMouseRecord(plat::kMouseOffsetButton0, 0x80);
            return true;
        case CommandKind::Release:
            hl::addMouseRecord(plat::kMouseOffsetButton0, 0);
            return true;
        case CommandKind::RightPress:
            hl::addMouseRecord(plat::kMouseOffsetButton1, 0x80);
            return true;
        case CommandKind::RightRelease:
            hl::addMouseRecord(plat::kMouseOffsetButton1, 0);
            return true;
        case CommandKind::EscapeDown:
            hl::setEscape(true);
            return true;
        case CommandKind::EscapeUp:
            hl::setEscape(false);
            return true;
        default:
            return false;
    }
}

int runScript(const std::vector<Command>& commands, std::FILE* out, std::FILE* err) {
    namespace hl = plat::headless;
    hl::install();
    resetToProcessStart();
    // The back end may copy the driver: every copy shares the one script position.
    auto driver = std::make_shared<ScriptDriver>(commands);
    hl::setDriver([driver] { return (*driver)(); });
    hl::setSoundListener([out](const hl::SoundEvent& event) {
        for (int id = 0; id < 4; ++id) {
            if (soundBuffers[id] != plat::kNoHandle && soundBuffers[id] == event.bufferHandle) {
                std::fprintf(out, "sound %d %s\n", event.frame, kSoundNames[id]);
            }
        }
    });
    hl::setDebugListener(
        [err](const std::string& line) { std::fprintf(err, "debug: %s\n", line.c_str()); });

    int status = 0;
    try {
        const int code = gameMain();
        std::fprintf(out, "exit %d %d\n", hl::frameNumber(), code);
    } catch (const hl::ProcessExit& exit) {
        std::fprintf(out, "exit %d %d\n", hl::frameNumber(), exit.code);
    } catch (const hl::RunEnded&) {
        // The script is over without an exit: nothing more to write.
    } catch (const OutputFailed& failure) {
        std::fprintf(err, "error %d: cannot write %s\n", failure.line, failure.path.c_str());
        status = 1;
    }
    hl::setSoundListener(nullptr);
    hl::setDebugListener(nullptr);
    std::fflush(out);
    std::fflush(err);
    return status;
}

}  // namespace replay

namespace {

bool readScriptFile(const char* path, std::string& text) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, count);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace

int replayMain(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "error 0: usage: gorvendal-replay SCRIPT\n");
        return 2;
    }
    std::string text;
    if (!readScriptFile(argv[1], text)) {
        std::fprintf(stderr, "error 0: cannot read the script %s\n", argv[1]);
        return 2;
    }
    std::vector<replay::Command> commands;
    replay::ScriptError error;
    if (!replay::parseScript(text, commands, error)) {
        std::fprintf(stderr, "error %d: %s\n", error.line, error.message.c_str());
        return 2;
    }
    return replay::runScript(commands, stdout, stderr);
}
