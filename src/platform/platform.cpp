// The common heart of the platform layer: the back end in use, the registry of objects behind
// the handles, the window and its message queue, releasing objects, the debugger output and the
// end of the process.
//
// Messages: the queue here holds what the program posted (the quit message) and what the back
// end's system events became. peekMessage and getMessage look at the queue first, then ask the
// back end for its next system event; an empty queue with nothing from the back end is idle time,
// in which the game's loop runs a frame (or sleeps in waitMessage while the program is inactive).
#include <cstdlib>
#include <deque>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/headless.h"
#include "platform/objects.h"

namespace plat {

namespace {

std::unique_ptr<Backend>& backendSlot() {
    static std::unique_ptr<Backend> slot;
    return slot;
}

struct Registry {
    std::unordered_map<Handle, detail::Object> objects;
    // Handles are never given twice in a process, not even across resetPlatformState.
    Handle nextHandle = 1;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

struct MessageState {
    std::deque<Message> queue;
    Handle window = kNoHandle;
};

MessageState& messages() {
    static MessageState instance;
    return instance;
}

}  // namespace

Backend& backend() {
    std::unique_ptr<Backend>& slot = backendSlot();
    if (!slot) {
        // Nothing chose a back end: the headless one is the harmless default.
        headless::install();
    }
    return *slot;
}

void setBackend(std::unique_ptr<Backend> newBackend) {
    backendSlot() = std::move(newBackend);
}

namespace detail {

Handle addObject(Object object) {
    Registry& reg = registry();
    const Handle handle = reg.nextHandle++;
    reg.objects.emplace(handle, std::move(object));
    return handle;
}

Object* findObject(Handle handle) {
    if (handle == kNoHandle) {
        return nullptr;
    }
    auto& objects = registry().objects;
    const auto found = objects.find(handle);
    return found == objects.end() ? nullptr : &found->second;
}

void eraseObject(Handle handle) {
    registry().objects.erase(handle);
}

void resetMessages() {
    messages() = MessageState{};
}

}  // namespace detail

void resetPlatformState() {
    registry().objects.clear();
    detail::resetMessages();
    detail::resetMouseBuffer();
    detail::resetBlocks();
    detail::resetTextCache();
}

// ---------------------------------------------------------------------------------------------
// Window and messages
// ---------------------------------------------------------------------------------------------

Handle createWindow(const char* title, WindowProcedure procedure) {
    if (detail::injected(Op::CreateWindow) || procedure == nullptr) {
        return kNoHandle;
    }
    if (!backend().openWindow(title == nullptr ? "" : title)) {
        return kNoHandle;
    }
    const Handle window = detail::addObject(detail::WindowObject{procedure});
    messages().window = window;
    return window;
}

void showWindow(Handle window) {
    if (detail::find<detail::WindowObject>(window) != nullptr) {
        backend().showWindow();
    }
}

bool peekMessage() {
    MessageState& state = messages();
    if (!state.queue.empty()) {
        return true;
    }
    Message message;
    if (backend().pollSystemMessage(message)) {
        state.queue.push_back(message);
        return true;
    }
    return false;
}

bool getMessage(Message& message) {
    MessageState& state = messages();
    while (state.queue.empty()) {
        Message next;
        if (backend().pollSystemMessage(next)) {
            state.queue.push_back(next);
        } else {
            backend().waitSystemMessage();
        }
    }
    message = state.queue.front();
    state.queue.pop_front();
    return message.kind != MessageKind::Quit;
}

void dispatchMessage(const Message& message) {
    const Handle window = messages().window;
    const detail::WindowObject* object = detail::find<detail::WindowObject>(window);
    if (object != nullptr && message.kind != MessageKind::Quit) {
        object->procedure(window, message);
    }
}

void waitMessage() {
    if (messages().queue.empty()) {
        backend().waitSystemMessage();
    }
}

void defaultWindowProcedure(Handle window, const Message& message) {
    if (message.kind == MessageKind::Close) {
        destroyWindow(window);
    }
}

void destroyWindow(Handle window) {
    detail::WindowObject* object = detail::find<detail::WindowObject>(window);
    if (object == nullptr) {
        return;
    }
    const WindowProcedure procedure = object->procedure;
    // Forgotten first, so that a destroyWindow from inside the procedure finds nothing to do.
    detail::eraseObject(window);
    if (messages().window == window) {
        messages().window = kNoHandle;
    }
    procedure(window, Message{MessageKind::Destroy, 0});
    backend().closeWindow();
}

void postQuitMessage(int exitCode) {
    messages().queue.push_back(Message{MessageKind::Quit, exitCode});
}

void hideSystemPointer() {
    backend().hideSystemPointer();
}

void debugOutput(const char* text) {
    if (text == nullptr) {
        return;
    }
    std::string line = detail::windows1252ToUtf8(text);
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    backend().writeDebugLine(line);
}

void exitProcess(int code) {
    backend().exitProcess(code);
    // A back end's exitProcess never returns; should one ever, the process still ends here.
    std::_Exit(code);
}

// ---------------------------------------------------------------------------------------------
// Releasing objects
// ---------------------------------------------------------------------------------------------

void release(Handle handle) {
    detail::Object* object = detail::findObject(handle);
    if (object == nullptr) {
        return;
    }
    if (auto* surface = std::get_if<detail::SurfaceObject>(object)) {
        // A back buffer belongs to its primary surface and goes only with it.
        if (surface->owner != kNoHandle) {
            return;
        }
        const Handle backBuffer = surface->backBuffer;
        detail::eraseObject(handle);
        detail::eraseObject(backBuffer);
    } else if (auto* input = std::get_if<detail::InputObject>(object)) {
        const std::vector<Handle> devices = std::move(input->devices);
        detail::eraseObject(handle);
        for (const Handle device : devices) {
            detail::eraseObject(device);
        }
    } else if (auto* device = std::get_if<detail::DeviceObject>(object)) {
        if (auto* owner = detail::find<detail::InputObject>(device->input)) {
            std::erase(owner->devices, handle);
        }
        detail::eraseObject(handle);
    } else if (std::holds_alternative<detail::DisplayObject>(*object)) {
        detail::eraseObject(handle);
        backend().closeDisplay();
    } else if (std::holds_alternative<detail::SoundDeviceObject>(*object)) {
        detail::eraseObject(handle);
        backend().closeSoundDevice();
    } else if (std::holds_alternative<detail::SoundBufferObject>(*object)) {
        detail::eraseObject(handle);
        backend().dropSound(handle);
    } else if (std::holds_alternative<detail::PictureObject>(*object)) {
        detail::eraseObject(handle);
    }
    // The window is not released this way: destroyWindow ends it.
}

int liveObjectCount() {
    int count = 0;
    for (const auto& [handle, object] : registry().objects) {
        if (!std::holds_alternative<detail::WindowObject>(object)) {
            ++count;
        }
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// The display, input and sound objects themselves (their operations live in their own files)
// ---------------------------------------------------------------------------------------------

Handle createDisplay() {
    if (detail::injected(Op::CreateDisplay) || !backend().openDisplay()) {
        return kNoHandle;
    }
    return detail::addObject(detail::DisplayObject{});
}

bool setDisplayCooperativeLevel(Handle display, Handle window) {
    if (detail::injected(Op::SetDisplayCooperativeLevel)) {
        return false;
    }
    return detail::find<detail::DisplayObject>(display) != nullptr &&
           detail::find<detail::WindowObject>(window) != nullptr;
}

bool setDisplayMode(Handle display, int width, int height, int bitsPerPixel) {
    if (detail::injected(Op::SetDisplayMode)) {
        return false;
    }
    detail::DisplayObject* object = detail::find<detail::DisplayObject>(display);
    if (object == nullptr || width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
        bitsPerPixel != 16) {
        return false;
    }
    if (!backend().setMode(width, height, bitsPerPixel)) {
        return false;
    }
    object->width = width;
    object->height = height;
    object->bitsPerPixel = bitsPerPixel;
    return true;
}

Handle createSoundDevice() {
    if (detail::injected(Op::CreateSoundDevice) || !backend().openSoundDevice()) {
        return kNoHandle;
    }
    return detail::addObject(detail::SoundDeviceObject{});
}

bool setSoundCooperativeLevel(Handle device, Handle window) {
    if (detail::injected(Op::SetSoundCooperativeLevel)) {
        return false;
    }
    return detail::find<detail::SoundDeviceObject>(device) != nullptr &&
           detail::find<detail::WindowObject>(window) != nullptr;
}

}  // namespace plat
