// The platform contract: every operation the game asks of the window system, the display,
// the input devices, the sound device and the files. The game includes this header and
// nothing below it; it never sees SDL.
//
// Two back ends fulfil the contract: the SDL one (the real game, sdl_backend.cpp) and the
// headless one (tests and gorvendal-replay, headless_backend.cpp). One of them is chosen at
// start-up with selectSdlBackend() or headless::install() (headless.h), before any other call.
//
// Objects (the window, the display, surfaces, pictures, the input object and its devices,
// the sound device and its buffers) are named by handles. kNoHandle is the empty handle;
// every operation given an empty, released or wrong-kind handle fails (or does nothing when it
// has no result). Operations report failure with a false result or kNoHandle, never by throwing.
// The one exception to that rule is the headless back end's exitProcess, which unwinds to the
// runner as the real process would have ended there.
#pragma once

#include <cstdint>
#include <cstdio>

namespace plat {

using Handle = std::uint32_t;
inline constexpr Handle kNoHandle = 0;

// ---------------------------------------------------------------------------------------------
// Window and messages
// ---------------------------------------------------------------------------------------------

enum class MessageKind {
    ActivateApp,  // param 1: the program becomes the active application; 0: another one does
    Close,        // the system's close command; the default handling destroys the window
    Destroy,      // sent by destroyWindow to the window procedure, before the window is gone
    SetCursor,    // the pointer is over the window: the procedure hides the system pointer
    Quit,         // posted by postQuitMessage; param is the exit code
};

struct Message {
    MessageKind kind = MessageKind::Quit;
    std::int32_t param = 0;
};

using WindowProcedure = void (*)(Handle window, const Message& message);

// Creates the program's one window, covering the screen, not yet shown. kNoHandle on failure.
Handle createWindow(const char* title, WindowProcedure procedure);
// Shows the window and gives it the focus: ActivateApp(1) and SetCursor are queued.
void showWindow(Handle window);
// True when a message is waiting; nothing is removed.
bool peekMessage();
// Removes the next message, waiting for one if none is there. False for the quit message
// (its exit code in message.param), true for any other.
bool getMessage(Message& message);
// Hands a message taken with getMessage to the window procedure.
void dispatchMessage(const Message& message);
// Sleeps until a message is waiting.
void waitMessage();
// What the system does with a message the window procedure does not handle itself:
// Close destroys the window; everything else is ignored.
void defaultWindowProcedure(Handle window, const Message& message);
// Calls the window procedure with Destroy at once, then forgets the window.
void destroyWindow(Handle window);
// Queues the quit message with its exit code.
void postQuitMessage(int exitCode);
// Hides the system's pointer over the window (the game draws its own cursor).
void hideSystemPointer();
// The debugger output: one line per call, the text in Windows-1252, a final line feed dropped.
void debugOutput(const char* text);
// Ends the process at once with this exit status, releasing nothing.
[[noreturn]] void exitProcess(int code);

// ---------------------------------------------------------------------------------------------
// Display: surfaces of 16-bit RGB565 pixels, keyed stretching blits, fills, flips, text
// ---------------------------------------------------------------------------------------------

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;  // exclusive
};

inline constexpr std::uint32_t kPixelFormatRgb = 0x40;  // the only flag of a non-palettised mode
inline constexpr std::uint32_t kPixelFormatPalettised = 0x20;

struct PixelFormat {
    std::uint32_t flags = kPixelFormatRgb;
    int bitCount = 16;
};

struct SurfaceDesc {
    int width = 0;
    int height = 0;
    PixelFormat pixelFormat;
};

// Takes the display (the DirectDraw object). kNoHandle on failure.
Handle createDisplay();
// Exclusive full-screen use of the display by the window.
bool setDisplayCooperativeLevel(Handle display, Handle window);
// The display mode; the game asks for 800 x 600 x 16.
bool setDisplayMode(Handle display, int width, int height, int bitsPerPixel);
// The visible surface with its back buffers (the game asks for one), with a source colour key.
Handle createPrimarySurface(Handle display, int backBufferCount, std::uint32_t colourKey);
// The back buffer attached to a primary surface. It belongs to the primary surface and goes
// with it when that is released.
Handle getBackBuffer(Handle primary);
// An off-screen surface of width x height pixels with a source colour key (a colour value
// 0x00BBGGRR, converted to the surface's pixel format).
Handle createSurface(Handle display, int width, int height, std::uint32_t colourKey);
bool getSurfaceDesc(Handle surface, SurfaceDesc& desc);
// Copies sourceRect of source into destinationRect of destination, stretching or shrinking
// (nearest neighbour) when the sizes differ; with sourceKey, pixels equal to the source's
// colour key are left out. A null rectangle means the whole surface. False when either
// surface is lost or released, or a rectangle is empty or inverted.
bool blit(Handle destination, const Rect* destinationRect, Handle source, const Rect* sourceRect,
          bool sourceKey);
// Fills the whole surface with a colour value 0x00BBGGRR.
bool colourFill(Handle destination, std::uint32_t colour);
// Shows the back buffer of a primary surface, waiting for the display's retrace or its pace.
bool flip(Handle primary);

// The device context of a surface, for text and picture copies. False when it cannot be had.
bool getSurfaceDc(Handle surface);
void releaseSurfaceDc(Handle surface);
// Writes a Windows-1252 text with its top-left corner at (x, y) on a surface whose device
// context is held, in the default font (lines about 15 pixels high), every character cell
// filled with the background colour. Colours are 0x00BBGGRR.
void textOut(Handle surface, int x, int y, const char* text, std::uint32_t textColour,
             std::uint32_t backgroundColour);

// Loads a BMP file stretched to width x height, as a picture ready to be copied into a
// surface. kNoHandle when the file is missing or not a picture.
Handle loadPicture(const char* path, int width, int height);
// Copies a loaded picture whole into a surface whose device context is held, from (0, 0).
bool copyPictureToSurface(Handle picture, Handle surface);

// ---------------------------------------------------------------------------------------------
// Input: the mouse as buffered records, the keyboard as a snapshot
// ---------------------------------------------------------------------------------------------

inline constexpr std::uint32_t kMouseOffsetX = 0;
inline constexpr std::uint32_t kMouseOffsetY = 4;
inline constexpr std::uint32_t kMouseOffsetButton0 = 12;
inline constexpr std::uint32_t kMouseOffsetButton1 = 13;
inline constexpr std::uint8_t kKeyDown = 0x80;
inline constexpr int kScanCodeEscape = 1;

struct MouseRecord {
    std::uint32_t offset = 0;
    std::int32_t data = 0;
};

enum class ReadResult {
    Record,     // one record was taken from the buffer
    Empty,      // the buffer is empty
    InputLost,  // the device was taken away; acquire it again before reading
    Failed,     // any other failure
};

// The input object (DirectInput). kNoHandle on failure.
Handle createInput();
Handle createMouseDevice(Handle input);
Handle createKeyboardDevice(Handle input);
// Exclusive, foreground use of a device by the window.
bool setDeviceCooperativeLevel(Handle device, Handle window);
// How many records the mouse keeps between two reads; records beyond that are lost.
bool setMouseBufferSize(Handle mouse, int records);
// True when the device is acquired (the result 0 of the platform).
bool acquireDevice(Handle device);
ReadResult readMouseRecord(Handle mouse, MouseRecord& record);
// The 256-byte key snapshot, a key down when bit 0x80 of its scan code's byte is set.
bool readKeyboard(Handle keyboard, std::uint8_t keys[256]);

// ---------------------------------------------------------------------------------------------
// Sound: a device and static buffers that hold a whole sound each
// ---------------------------------------------------------------------------------------------

// The 18 bytes at the start of a wave file's format chunk, in file order.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};
inline constexpr std::uint16_t kWaveFormatPcm = 1;

// The default sound device; where the system has none, a silent one. kNoHandle on failure.
Handle createSoundDevice();
bool setSoundCooperativeLevel(Handle device, Handle window);
// A static buffer of `bytes` bytes for sound in `format` (8- or 16-bit PCM, 1 or 2 channels).
// kNoHandle for 0 bytes or a format the device cannot play.
Handle createSoundBuffer(Handle device, const WaveFormat& format, std::uint32_t bytes);
// Locks `bytes` bytes from `offset`: region and regionBytes receive the writable memory.
bool lockSoundBuffer(Handle buffer, std::uint32_t offset, std::uint32_t bytes,
                     std::uint8_t*& region, std::uint32_t& regionBytes);
// Unlocks a locked region of which `written` bytes hold sound; the sound is made ready for
// the device then.
bool unlockSoundBuffer(Handle buffer, std::uint8_t* region, std::uint32_t written);
// Starts the buffer: from its beginning when it is not playing; a buffer that is playing
// carries on. With loop it plays until stopped.
bool playSoundBuffer(Handle buffer, bool loop);

// ---------------------------------------------------------------------------------------------
// Releasing objects
// ---------------------------------------------------------------------------------------------

// Releases any object named by a handle: a surface (a primary surface takes its back buffer
// with it), the display, a picture, the input object (its devices with it), the sound device,
// a sound buffer. Unknown handles are ignored.
void release(Handle object);
// How many objects exist now: zero once everything has been released. The window is not
// counted: it is not released but destroyed (destroyWindow).
int liveObjectCount();

// ---------------------------------------------------------------------------------------------
// Memory: locked global blocks, and a RIFF reader over a block
// ---------------------------------------------------------------------------------------------

// A new block of `bytes` bytes, locked, zero-filled. Null for 0 bytes or on failure.
std::uint8_t* globalAllocLocked(std::uint32_t bytes);
// Unlocks and frees a block made by globalAllocLocked. False when the address is not a block.
bool globalFree(std::uint8_t* block);
int liveBlockCount();

// A chunk found by MemoryFile: its identifier, the size its header gives, its form type (for
// RIFF chunks) and where its data starts in the image.
struct ChunkInfo {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    std::uint32_t formType = 0;
    std::uint32_t dataOffset = 0;
};

constexpr std::uint32_t fourCc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

// A read-only file over a block of memory in RIFF form. Nothing it does reads outside the
// block: a chunk whose header claims more bytes than the block holds is cut at its end.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::uint32_t size) : data_(data), size_(size) {}
    // Finds the RIFF chunk with this form type at the top of the file, and stands at the start
    // of its data (after the form type).
    bool descendRiff(std::uint32_t formType, ChunkInfo& chunk);
    // Finds the chunk with this identifier among the children of `parent` (or at the top of the
    // file with no parent), from the current position, and stands at the start of its data.
    bool descendChunk(std::uint32_t id, const ChunkInfo* parent, ChunkInfo& chunk);
    // Stands at the end of a chunk (after its pad byte).
    bool ascend(const ChunkInfo& chunk);
    // Copies up to `bytes` bytes from the current position, never past the end of the block.
    // Returns the number copied.
    std::uint32_t read(void* destination, std::uint32_t bytes);
    std::uint32_t position() const { return position_; }

private:
    const std::uint8_t* data_;
    std::uint32_t size_;
    std::uint32_t position_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Files, named as the game names them ("sauv\ABCDE.SAV"): a backslash is a folder separator
// ---------------------------------------------------------------------------------------------

std::FILE* openFile(const char* gamePath, const char* mode);
// Creates a folder; true when it exists afterwards.
bool makeDirectory(const char* gamePath);
// Puts `fromPath` in the place of `toPath` in one step, replacing any file there.
bool replaceFile(const char* fromPath, const char* toPath);
bool removeFile(const char* gamePath);

// ---------------------------------------------------------------------------------------------
// Choosing the back end
// ---------------------------------------------------------------------------------------------

// The real back end: SDL window, screen, mouse, keyboard and audio. Must be called before any
// other operation; headless::install() (headless.h) is its peer.
void selectSdlBackend();

}  // namespace plat
