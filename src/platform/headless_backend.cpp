// The headless back end: no window, no screen, no devices. System events come from the caller
// (focus, close) and wait in a queue of their own; frames are let through one at a time while the
// program is active; presented pictures are kept in memory, played sounds and debugger lines in
// logs; and any operation the game handles a failure of can be made to fail on demand.
#include <array>
#include <cstdio>
#include <deque>
#include <memory>
#include <utility>

#include "platform/headless.h"
#include "platform/objects.h"

namespace plat::headless {

namespace {

struct Fault {
    int skip = 0;
    int times = 0;
};

struct HeadlessState {
    std::deque<Message> events;
    // Shared, so that a driver replacing itself keeps running to its end; never copied, so
    // that a driver keeping its own position sees one position.
    std::shared_ptr<std::function<bool()>> driver;
    int framesOwed = 0;
    int frameNumber = 0;
    bool active = false;
    bool escape = false;
    bool surfacesLost = false;
    std::array<Fault, static_cast<std::size_t>(Op::Count)> faults{};
    std::function<void(const SoundEvent&)> soundListener;
    std::vector<SoundEvent> soundLog;
    std::function<void(const std::string&)> debugListener;
    std::vector<std::string> debugLines;
    std::vector<std::uint16_t> shownPicture = std::vector<std::uint16_t>(800 * 600, 0);
    int flipCount = 0;
};

HeadlessState& state() {
    static HeadlessState instance;
    return instance;
}

bool callDriver() {
    const std::shared_ptr<std::function<bool()>> driver = state().driver;
    return driver && *driver && (*driver)();
}

class HeadlessBackend final : public Backend {
  public:
    bool injectedFailure(Op op) override {
        const auto index = static_cast<std::size_t>(op);
        if (index >= state().faults.size()) {
            return false;
        }
        Fault& fault = state().faults[index];
        if (fault.times <= 0) {
            return false;
        }
        if (fault.skip > 0) {
            --fault.skip;
            return false;
        }
        --fault.times;
        return true;
    }

    bool openWindow(const char*) override { return true; }

    void showWindow() override {
        HeadlessState& s = state();
        s.active = true;
        s.events.push_back(Message{MessageKind::ActivateApp, 1});
        s.events.push_back(Message{MessageKind::SetCursor, 0});
    }

    void closeWindow() override {}
    void hideSystemPointer() override {}

    bool pollSystemMessage(Message& message) override {
        HeadlessState& s = state();
        for (;;) {
            if (!s.events.empty()) {
                message = s.events.front();
                s.events.pop_front();
                return true;
            }
            if (s.framesOwed > 0 && s.active) {
                --s.framesOwed;
                ++s.frameNumber;
                return false;
            }
            if (!callDriver()) {
                throw RunEnded{};
            }
        }
    }

    void waitSystemMessage() override {
        HeadlessState& s = state();
        while (s.events.empty()) {
            if (!callDriver()) {
                throw RunEnded{};
            }
            if (!s.active) {
                s.framesOwed = 0;
            }
        }
    }

    void writeDebugLine(const std::string& utf8Line) override {
        HeadlessState& s = state();
        s.debugLines.push_back(utf8Line);
        if (s.debugListener) {
            s.debugListener(utf8Line);
        }
    }

    [[noreturn]] void exitProcess(int code) override { throw ProcessExit{code}; }

    bool openDisplay() override { return true; }
    bool setMode(int, int, int) override { return true; }

    bool present(const std::uint16_t* pixels, int width, int height) override {
        HeadlessState& s = state();
        s.shownPicture.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
        ++s.flipCount;
        return true;
    }

    void closeDisplay() override {}
    bool surfacesLost() const override { return state().surfacesLost; }
    bool escapeDown() override { return state().escape; }

    bool openSoundDevice() override { return true; }
    void closeSoundDevice() override {}

    bool acceptsFormat(const WaveFormat& format) override {
        return format.formatTag == kWaveFormatPcm &&
               (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
               (format.channels == 1 || format.channels == 2);
    }

    void setSound(std::uint32_t, const SoundData&) override {}

    void playSound(std::uint32_t id, bool) override {
        HeadlessState& s = state();
        const SoundEvent event{s.frameNumber, id};
        s.soundLog.push_back(event);
        if (s.soundListener) {
            s.soundListener(event);
        }
    }

    void dropSound(std::uint32_t) override {}
};

}  // namespace

void install() {
    state() = HeadlessState{};
    setBackend(std::make_unique<HeadlessBackend>());
    resetPlatformState();
}

void setDriver(std::function<bool()> driver) {
    state().driver = std::make_shared<std::function<bool()>>(std::move(driver));
}

void addFrames(int count) {
    HeadlessState& s = state();
    if (count > 0 && s.active) {
        s.framesOwed += count;
    }
}

int framesOwed() {
    return state().framesOwed;
}

int frameNumber() {
    return state().frameNumber;
}

void addMouseRecord(std::uint32_t offset, std::int32_t data) {
    pushMouseRecord(offset, data);
}

void setEscape(bool down) {
    state().escape = down;
}

void setFocus(bool active) {
    HeadlessState& s = state();
    s.active = active;
    if (!active) {
        s.framesOwed = 0;
    }
    s.events.push_back(Message{MessageKind::ActivateApp, active ? 1 : 0});
}

bool active() {
    return state().active;
}

void closeWindow() {
    state().events.push_back(Message{MessageKind::Close, 0});
}

void loseSurfaces() {
    state().surfacesLost = true;
}

void failOperation(Op op, int times, int skip) {
    const auto index = static_cast<std::size_t>(op);
    if (index < state().faults.size()) {
        state().faults[index] = Fault{skip < 0 ? 0 : skip, times < 0 ? 0 : times};
    }
}

void clearFailures() {
    state().faults = {};
}

void setSoundListener(std::function<void(const SoundEvent&)> listener) {
    state().soundListener = std::move(listener);
}

const std::vector<SoundEvent>& soundLog() {
    return state().soundLog;
}

void setDebugListener(std::function<void(const std::string&)> listener) {
    state().debugListener = std::move(listener);
}

const std::vector<std::string>& debugLines() {
    return state().debugLines;
}

const std::vector<std::uint16_t>& shownPicture() {
    return state().shownPicture;
}

const std::vector<std::uint16_t>* surfacePixels(Handle surface, int* width, int* height) {
    const detail::SurfaceObject* object = detail::find<detail::SurfaceObject>(surface);
    if (object == nullptr) {
        return nullptr;
    }
    if (width != nullptr) {
        *width = object->width;
    }
    if (height != nullptr) {
        *height = object->height;
    }
    return &object->pixels;
}

bool setSurfacePixels(Handle surface, const std::vector<std::uint16_t>& pixels) {
    detail::SurfaceObject* object = detail::find<detail::SurfaceObject>(surface);
    if (object == nullptr || pixels.size() != object->pixels.size()) {
        return false;
    }
    object->pixels = pixels;
    return true;
}

int flipCount() {
    return state().flipCount;
}

bool writeBmp24(const char* path, const std::vector<std::uint16_t>& pixels, int width, int height) {
    if (path == nullptr || width <= 0 || height <= 0 || width > 65536 || height > 65536 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    const std::size_t fileBytes = 54 + imageBytes;
    if (fileBytes > 0xFFFFFFFFu) {
        return false;
    }
    std::vector<std::uint8_t> out(fileBytes, 0);
    auto put16 = [&out](std::size_t at, std::uint32_t value) {
        out[at] = static_cast<std::uint8_t>(value);
        out[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    auto put32 = [&out](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(fileBytes));
    put32(10, 54);  // where the pixels start
    put32(14, 40);  // BITMAPINFOHEADER
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    put16(26, 1);                                   // planes
    put16(28, 24);                                  // bits per pixel
    put32(34, static_cast<std::uint32_t>(imageBytes));
    put32(38, 2835);  // 72 dots per inch
    put32(42, 2835);
    for (int row = 0; row < height; ++row) {
        const std::uint16_t* in =
            pixels.data() + static_cast<std::size_t>(height - 1 - row) * width;
        std::uint8_t* line = out.data() + 54 + static_cast<std::size_t>(row) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::uint16_t pixel = in[x];
            const unsigned red = (pixel >> 11) & 0x1F;
            const unsigned green = (pixel >> 5) & 0x3F;
            const unsigned blue = pixel & 0x1F;
            line[3 * x] = static_cast<std::uint8_t>((blue << 3) | (blue >> 2));
            line[3 * x + 1] = static_cast<std::uint8_t>((green << 2) | (green >> 4));
            line[3 * x + 2] = static_cast<std::uint8_t>((red << 3) | (red >> 2));
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace plat::headless
