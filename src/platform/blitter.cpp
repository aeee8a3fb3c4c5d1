#include "platform/blitter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat::detail {

namespace {

// Eight pixels at once (the compilers' vector extension: SSE2 on x86-64, NEON on ARM, plain
// code elsewhere), so that the loops below run at memory speed without needing -O3.
typedef std::uint16_t Pixels8 __attribute__((vector_size(16)));
typedef std::int16_t Mask8 __attribute__((vector_size(16)));

Pixels8 load8(const std::uint16_t* from) {
    Pixels8 pixels;
    std::memcpy(&pixels, from, sizeof pixels);
    return pixels;
}

void store8(std::uint16_t* to, Pixels8 pixels) {
    std::memcpy(to, &pixels, sizeof pixels);
}

Pixels8 splat8(std::uint16_t value) {
    return Pixels8{value, value, value, value, value, value, value, value};
}

// `count` copies of one pixel.
void fillPixels(std::uint16_t* out, std::size_t count, std::uint16_t pixel) {
    std::size_t i = 0;
    if (count >= 8) {
        const Pixels8 all = splat8(pixel);
        for (; i + 8 <= count; i += 8) {
            store8(out + i, all);
        }
    }
    for (; i < count; ++i) {
        out[i] = pixel;
    }
}

// One source column repeated over `count` destination columns.
struct Run {
    std::uint32_t column;
    std::uint32_t count;
};

// The fixed-point step and starting position of a nearest-neighbour walk of `destination`
// pixels over `source` pixels, advanced by `skipped` destination pixels (those clipped away).
struct Walk {
    std::uint64_t step;
    std::uint64_t position;
};

Walk walkFor(std::int64_t sourceLength, std::int64_t destinationLength, std::int64_t skipped) {
    const std::uint64_t step = (static_cast<std::uint64_t>(sourceLength) << 16) /
                               static_cast<std::uint64_t>(destinationLength);
    // skipped < destinationLength, so skipped * step < sourceLength << 16: no overflow.
    return {step, step / 2 + static_cast<std::uint64_t>(skipped) * step};
}

void copyRowMapped(std::uint16_t* out, const std::uint16_t* row, const std::uint32_t* columns,
                   std::size_t count, bool keyed, std::uint16_t key) {
    if (keyed) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t pixel = row[columns[i]];
            out[i] = pixel == key ? out[i] : pixel;
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = row[columns[i]];
        }
    }
}

void copyRowRuns(std::uint16_t* out, const std::uint16_t* row, const Run* runs, std::size_t count,
                 bool keyed, std::uint16_t key) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t pixel = row[runs[i].column];
        if (!keyed || pixel != key) {
            fillPixels(out, runs[i].count, pixel);
        }
        out += runs[i].count;
    }
}

void copyRowStraight(std::uint16_t* out, const std::uint16_t* row, std::size_t count, bool keyed,
                     std::uint16_t key) {
    if (keyed) {
        std::size_t i = 0;
        const Pixels8 keys = splat8(key);
        for (; i + 8 <= count; i += 8) {
            const Pixels8 in = load8(row + i);
            // All ones in the lanes that hold the key: those keep the destination's pixel.
            const auto transparent = reinterpret_cast<Pixels8>(static_cast<Mask8>(in == keys));
            store8(out + i, (load8(out + i) & transparent) | (in & ~transparent));
        }
        for (; i < count; ++i) {
            if (row[i] != key) {
                out[i] = row[i];
            }
        }
    } else {
        std::memcpy(out, row, count * sizeof(std::uint16_t));
    }
}

}  // namespace

void stretchCopy(const PixelTarget& target, const Span& destination, const PixelSource& source,
                 const Span& sourceRect, bool keyed, std::uint16_t key) {
    const std::int64_t destinationWidth = destination.right - destination.left;
    const std::int64_t destinationHeight = destination.bottom - destination.top;
    const std::int64_t sourceWidth = sourceRect.right - sourceRect.left;
    const std::int64_t sourceHeight = sourceRect.bottom - sourceRect.top;
    if (destinationWidth <= 0 || destinationHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    // The visible part of the destination rectangle.
    const std::int64_t left = std::max<std::int64_t>(destination.left, 0);
    const std::int64_t top = std::max<std::int64_t>(destination.top, 0);
    const std::int64_t right = std::min<std::int64_t>(destination.right, target.width);
    const std::int64_t bottom = std::min<std::int64_t>(destination.bottom, target.height);
    if (left >= right || top >= bottom) {
        return;
    }
    const auto visibleWidth = static_cast<std::size_t>(right - left);

    // Which source column each visible destination column shows: as a list of runs when the
    // picture is widened a lot (each source pixel then fills a stretch of the row at once),
    // otherwise as one source column per destination column.
    thread_local std::vector<std::uint32_t> columns;
    thread_local std::vector<Run> runs;
    const bool straight = sourceWidth == destinationWidth;
    const bool useRuns = !straight && destinationWidth >= 4 * sourceWidth;
    if (!straight) {
        Walk walk = walkFor(sourceWidth, destinationWidth, left - destination.left);
        const auto sourceLeft = static_cast<std::uint32_t>(sourceRect.left);
        if (useRuns) {
            runs.clear();
            for (std::size_t i = 0; i < visibleWidth; ++i) {
                const auto column = sourceLeft + static_cast<std::uint32_t>(walk.position >> 16);
                if (!runs.empty() && runs.back().column == column) {
                    ++runs.back().count;
                } else {
                    runs.push_back({column, 1});
                }
                walk.position += walk.step;
            }
        } else {
            columns.resize(visibleWidth);
            for (std::size_t i = 0; i < visibleWidth; ++i) {
                columns[i] = sourceLeft + static_cast<std::uint32_t>(walk.position >> 16);
                walk.position += walk.step;
            }
        }
    }

    Walk rows = walkFor(sourceHeight, destinationHeight, top - destination.top);
    const std::uint16_t* straightOffset =
        source.pixels + sourceRect.left + (left - destination.left);
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::int64_t sourceRow =
            sourceRect.top + static_cast<std::int64_t>(rows.position >> 16);
        rows.position += rows.step;
        std::uint16_t* out = target.pixels + y * target.width + left;
        const std::int64_t rowStart = sourceRow * source.pitch;
        if (straight) {
            copyRowStraight(out, straightOffset + rowStart, visibleWidth, keyed, key);
        } else if (useRuns) {
            copyRowRuns(out, source.pixels + rowStart, runs.data(), runs.size(), keyed, key);
        } else {
            copyRowMapped(out, source.pixels + rowStart, columns.data(), visibleWidth, keyed, key);
        }
    }
}

}  // namespace plat::detail
