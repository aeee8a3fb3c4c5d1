// The headless back end: the game without a screen, a mouse, a keyboard or a sound card, for
// the tests and gorvendal-replay. Frames go to memory, input comes from the caller, sounds go to
// a log, and any platform operation can be made to fail.
//
// How the message loop is driven: when the game's loop finds no message waiting, the back end
// lets a frame run if frames are owed (addFrames) and the program is active; otherwise it calls
// the driver, which may queue input, messages or frames. A driver that returns false has nothing
// more to give: the back end then unwinds the loop with RunEnded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"

namespace plat::headless {

// Thrown by exitProcess, caught by whoever drove the game: the process would have ended here.
struct ProcessExit {
    int code;
};
// Thrown when the driver has nothing more to give (the end of a script).
struct RunEnded {};

// Selects the headless back end and forgets everything: objects, messages, input, logs,
// failures, frames. The program will start active, no button held, no key down.
void install();

// Called when the loop waits for something; see above.
void setDriver(std::function<bool()> driver);
// Lets the message loop run `count` more frames (dropped while the program is inactive).
void addFrames(int count);
int framesOwed();
// Frames run so far (numbered from 1: the first frame the program runs is frame 1).
int frameNumber();

// Input, as a player would give it.
void addMouseRecord(std::uint32_t offset, std::int32_t data);
void setEscape(bool down);
// The program loses (false) or regains (true) the foreground: an ActivateApp message.
void setFocus(bool active);
bool active();
// The system's close command on the window.
void closeWindow();
// Another program takes the display: every later drawing operation and flip fails.
void loseSurfaces();

// Failures on demand: the next `times` calls of `op` fail after `skip` calls have succeeded.
void failOperation(Op op, int times = 1, int skip = 0);
void clearFailures();

// What the game showed and did.
struct SoundEvent {
    int frame;
    std::uint32_t bufferHandle;  // the game's buffer handle (plat::Handle)
};
// Called at every play request on a live buffer, in order (for the runner's `sound` lines).
void setSoundListener(std::function<void(const SoundEvent&)> listener);
const std::vector<SoundEvent>& soundLog();
// Called with every debugger line (UTF-8, no line end), in order; also kept in debugLines().
void setDebugListener(std::function<void(const std::string&)> listener);
const std::vector<std::string>& debugLines();
// The picture shown by the last flip, 800 x 600 RGB565, all 0 before any flip.
const std::vector<std::uint16_t>& shownPicture();
// The pixels of any live surface (the back buffer, a sheet), or nullptr.
const std::vector<std::uint16_t>* surfacePixels(Handle surface, int* width, int* height);
// Replaces the pixels of a live surface (tests draw their pictures this way). False when the
// handle is not a surface or `pixels` does not hold exactly its width x height pixels.
bool setSurfacePixels(Handle surface, const std::vector<std::uint16_t>& pixels);
// The whole-run counters for checks: flips made.
int flipCount();

// Writes an 800 x 600 RGB565 picture as an uncompressed 24-bit BMP. False when it cannot.
bool writeBmp24(const char* path, const std::vector<std::uint16_t>& pixels, int width, int height);

}  // namespace plat::headless
