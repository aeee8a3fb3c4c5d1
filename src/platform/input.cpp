// Input: the input object and its two devices, the mouse's buffer of records (filled by the back
// end, emptied by the game one record at a time) and the keyboard's snapshot.
#include <deque>

#include "platform/objects.h"

namespace plat {

namespace {

struct MouseBuffer {
    std::deque<MouseRecord> records;
    // Until the game sets it, the mouse keeps nothing.
    std::size_t capacity = 0;
};

MouseBuffer& mouseBuffer() {
    static MouseBuffer instance;
    return instance;
}

Handle createDevice(Handle input, bool mouse) {
    detail::InputObject* owner = detail::find<detail::InputObject>(input);
    if (owner == nullptr) {
        return kNoHandle;
    }
    const Handle device = detail::addObject(detail::DeviceObject{input, mouse, false});
    owner->devices.push_back(device);
    return device;
}

detail::DeviceObject* findDevice(Handle handle, bool mouse) {
    detail::DeviceObject* device = detail::find<detail::DeviceObject>(handle);
    return device != nullptr && device->mouse == mouse ? device : nullptr;
}

}  // namespace

namespace detail {

void resetMouseBuffer() {
    mouseBuffer() = MouseBuffer{};
}

}  // namespace detail

void pushMouseRecord(std::uint32_t offset, std::int32_t data) {
    MouseBuffer& buffer = mouseBuffer();
    if (buffer.records.size() < buffer.capacity) {
        buffer.records.push_back(MouseRecord{offset, data});
    }
}

Handle createInput() {
    if (detail::injected(Op::CreateInput)) {
        return kNoHandle;
    }
    return detail::addObject(detail::InputObject{});
}

Handle createMouseDevice(Handle input) {
    return createDevice(input, true);
}

Handle createKeyboardDevice(Handle input) {
    return createDevice(input, false);
}

bool setDeviceCooperativeLevel(Handle device, Handle window) {
    return detail::find<detail::DeviceObject>(device) != nullptr &&
           detail::find<detail::WindowObject>(window) != nullptr;
}

bool setMouseBufferSize(Handle mouse, int records) {
    if (findDevice(mouse, true) == nullptr || records < 0) {
        return false;
    }
    MouseBuffer& buffer = mouseBuffer();
    buffer.capacity = static_cast<std::size_t>(records);
    while (buffer.records.size() > buffer.capacity) {
        buffer.records.pop_back();
    }
    return true;
}

bool acquireDevice(Handle device) {
    const bool failed = detail::injected(Op::AcquireDevice);
    detail::DeviceObject* object = detail::find<detail::DeviceObject>(device);
    if (object == nullptr) {
        return false;
    }
    // A device that cannot be acquired delivers nothing until it is acquired again.
    object->acquired = !failed;
    return !failed;
}

ReadResult readMouseRecord(Handle mouse, MouseRecord& record) {
    detail::DeviceObject* device = findDevice(mouse, true);
    if (device == nullptr) {
        return ReadResult::Failed;
    }
    if (detail::injected(Op::MouseInputLost)) {
        // The device was taken away: it must be acquired again before it reads.
        device->acquired = false;
        return ReadResult::InputLost;
    }
    if (!device->acquired) {
        return ReadResult::Failed;
    }
    MouseBuffer& buffer = mouseBuffer();
    if (buffer.records.empty()) {
        return ReadResult::Empty;
    }
    record = buffer.records.front();
    buffer.records.pop_front();
    return ReadResult::Record;
}

bool readKeyboard(Handle keyboard, std::uint8_t keys[256]) {
    if (detail::injected(Op::ReadKeyboard)) {
        return false;
    }
    const detail::DeviceObject* device = findDevice(keyboard, false);
    if (device == nullptr || !device->acquired || keys == nullptr) {
        return false;
    }
    for (int code = 0; code < 256; ++code) {
        keys[code] = 0;
    }
    if (backend().escapeDown()) {
        keys[kScanCodeEscape] = kKeyDown;
    }
    return true;
}

}  // namespace plat
