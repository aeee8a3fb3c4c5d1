// Sound buffers: each holds one whole sound. The game locks a buffer, writes the wave's samples
// into the locked memory and unlocks it; at the unlock the bytes written so far go to the back
// end, which converts them for its device and keeps them under the buffer's handle. Playing a
// buffer asks the back end to play what it keeps under that handle.
#include <algorithm>
#include <new>

#include "platform/objects.h"

namespace plat {

namespace {

// No sound buffer is larger than this (the game's sounds are a few hundred kilobytes; a wave
// file's header may claim up to 4 GB).
constexpr std::uint32_t kMaxSoundBytes = 256u * 1024 * 1024;

}  // namespace

Handle createSoundBuffer(Handle device, const WaveFormat& format, std::uint32_t bytes) {
    if (detail::injected(Op::CreateSoundBuffer)) {
        return kNoHandle;
    }
    if (detail::find<detail::SoundDeviceObject>(device) == nullptr || bytes == 0 ||
        bytes > kMaxSoundBytes || !backend().acceptsFormat(format)) {
        return kNoHandle;
    }
    detail::SoundBufferObject buffer;
    buffer.format = format;
    try {
        buffer.bytes.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return kNoHandle;
    }
    return detail::addObject(std::move(buffer));
}

bool lockSoundBuffer(Handle buffer, std::uint32_t offset, std::uint32_t bytes,
                     std::uint8_t*& region, std::uint32_t& regionBytes) {
    if (detail::injected(Op::LockSoundBuffer)) {
        return false;
    }
    detail::SoundBufferObject* object = detail::find<detail::SoundBufferObject>(buffer);
    if (object == nullptr || object->locked || bytes == 0) {
        return false;
    }
    const auto size = static_cast<std::uint64_t>(object->bytes.size());
    if (static_cast<std::uint64_t>(offset) + bytes > size) {
        return false;
    }
    object->locked = true;
    object->lockOffset = offset;
    object->lockBytes = bytes;
    region = object->bytes.data() + offset;
    regionBytes = bytes;
    return true;
}

bool unlockSoundBuffer(Handle buffer, std::uint8_t* region, std::uint32_t written) {
    if (detail::injected(Op::UnlockSoundBuffer)) {
        return false;
    }
    detail::SoundBufferObject* object = detail::find<detail::SoundBufferObject>(buffer);
    if (object == nullptr || !object->locked ||
        region != object->bytes.data() + object->lockOffset || written > object->lockBytes) {
        return false;
    }
    object->locked = false;
    object->filled = std::max(object->filled, object->lockOffset + written);
    SoundData sound;
    sound.format = object->format;
    sound.bytes.assign(object->bytes.begin(), object->bytes.begin() + object->filled);
    backend().setSound(buffer, sound);
    return true;
}

bool playSoundBuffer(Handle buffer, bool loop) {
    if (detail::find<detail::SoundBufferObject>(buffer) == nullptr) {
        return false;
    }
    backend().playSound(buffer, loop);
    return true;
}

}  // namespace plat
