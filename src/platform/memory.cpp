// Memory: locked global blocks (the wave files are held whole in them), and the RIFF reader over
// a block. The reader walks chunk headers that come from a file on disk, so every size and
// offset is computed in 64 bits and checked against the block before anything is read: a header
// may claim any size at all.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/objects.h"

namespace plat {

namespace {

struct FreeDeleter {
    void operator()(std::uint8_t* block) const { std::free(block); }
};

std::unordered_map<std::uint8_t*, std::unique_ptr<std::uint8_t, FreeDeleter>>& blocks() {
    static std::unordered_map<std::uint8_t*, std::unique_ptr<std::uint8_t, FreeDeleter>> live;
    return live;
}

constexpr std::uint32_t kRiff = fourCc('R', 'I', 'F', 'F');
constexpr std::uint32_t kList = fourCc('L', 'I', 'S', 'T');

// The 32-bit little-endian value at `at`; the caller has checked that 4 bytes are there.
std::uint32_t readLe32(const std::uint8_t* data, std::uint64_t at) {
    return static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

// Where the chunk whose header is at `at` ends, its pad byte included (may lie past the block).
std::uint64_t chunkEnd(std::uint64_t at, std::uint32_t size) {
    return at + 8 + static_cast<std::uint64_t>(size) + (size & 1u);
}

}  // namespace

namespace detail {

void resetBlocks() {
    blocks().clear();
}

}  // namespace detail

std::uint8_t* globalAllocLocked(std::uint32_t bytes) {
    if (bytes == 0) {
        return nullptr;
    }
    auto* block = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (block == nullptr) {
        return nullptr;
    }
    blocks().emplace(block, std::unique_ptr<std::uint8_t, FreeDeleter>(block));
    return block;
}

bool globalFree(std::uint8_t* block) {
    return block != nullptr && blocks().erase(block) == 1;
}

int liveBlockCount() {
    return static_cast<int>(blocks().size());
}

bool MemoryFile::descendRiff(std::uint32_t formType, ChunkInfo& chunk) {
    if (data_ == nullptr) {
        return false;
    }
    std::uint64_t at = position_;
    while (at + 8 <= size_) {
        const std::uint32_t id = readLe32(data_, at);
        const std::uint32_t size = readLe32(data_, at + 4);
        if (id == kRiff && at + 12 <= size_ && readLe32(data_, at + 8) == formType) {
            chunk.id = id;
            chunk.size = size;
            chunk.formType = formType;
            chunk.dataOffset = static_cast<std::uint32_t>(at + 8);
            position_ = static_cast<std::uint32_t>(at + 12);
            return true;
        }
        at = chunkEnd(at, size);
    }
    return false;
}

bool MemoryFile::descendChunk(std::uint32_t id, const ChunkInfo* parent, ChunkInfo& chunk) {
    if (data_ == nullptr) {
        return false;
    }
    std::uint64_t at = position_;
    std::uint64_t end = size_;
    if (parent != nullptr) {
        // The children of a RIFF or LIST chunk start after its form type.
        const std::uint64_t first = static_cast<std::uint64_t>(parent->dataOffset) +
                                    ((parent->id == kRiff || parent->id == kList) ? 4 : 0);
        end = std::min<std::uint64_t>(
            end, static_cast<std::uint64_t>(parent->dataOffset) + parent->size);
        at = std::max(at, first);
    }
    while (at + 8 <= end) {
        const std::uint32_t foundId = readLe32(data_, at);
        const std::uint32_t size = readLe32(data_, at + 4);
        if (foundId == id) {
            chunk.id = id;
            chunk.size = size;
            chunk.formType = 0;
            chunk.dataOffset = static_cast<std::uint32_t>(at + 8);
            std::uint64_t start = at + 8;
            if ((id == kRiff || id == kList) && at + 12 <= size_) {
                chunk.formType = readLe32(data_, at + 8);
                start += 4;
            }
            position_ = static_cast<std::uint32_t>(start);
            return true;
        }
        at = chunkEnd(at, size);
    }
    return false;
}

bool MemoryFile::ascend(const ChunkInfo& chunk) {
    const std::uint64_t end =
        static_cast<std::uint64_t>(chunk.dataOffset) + chunk.size + (chunk.size & 1u);
    position_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(end, size_));
    return true;
}

std::uint32_t MemoryFile::read(void* destination, std::uint32_t bytes) {
    if (data_ == nullptr || destination == nullptr || position_ >= size_) {
        return 0;
    }
    const std::uint32_t count = std::min(bytes, size_ - position_);
    std::memcpy(destination, data_ + position_, count);
    position_ += count;
    return count;
}

}  // namespace plat
