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

// Eight pixels of `in` put over `out`, except those equal to the key.
void keyedCopy8(std::uint16_t* out, const std::uint16_t* in, Pixels8 keys) {
    const Pixels8 pixels = load8(in);
    // All ones in the lanes that hold the key: those keep the destination's pixel.
    const auto transparent = reinterpret_cast<Pixels8>(static_cast<Mask8>(pixels == keys));
    store8(out, (load8(out) & transparent) | (pixels & ~transparent));
}

// A row of `count` pixels put over `out`, except those equal to the key. `in` and `out` do not
// overlap.
void keyedCopy(std::uint16_t* out, const std::uint16_t* in, std::size_t count, std::uint16_t key) {
    if (count < 8) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = in[i] == key ? out[i] : in[i];
        }
        return;
    }
    const Pixels8 keys = splat8(key);
    // The last eight pixels overlap those before them when count is not a multiple of eight.
    // Their destination is read before anything is written, so that no read waits on a write
    // it half overlaps; the result is the same, since the pixels written before in the overlap
    // are either the destination's own (key) or the source's, exactly as the last step puts.
    const std::size_t last = count - 8;
    const Pixels8 lastIn = load8(in + last);
    const Pixels8 lastOut = load8(out + last);
    for (std::size_t i = 0; i < last; i += 8) {
        keyedCopy8(out + i, in + i, keys);
    }
    const auto transparent = reinterpret_cast<Pixels8>(static_cast<Mask8>(lastIn == keys));
    store8(out + last, (lastOut & transparent) | (lastIn & ~transparent));
}

// A row of `count` pixels copied; short rows without a call.
void copyPixels(std::uint16_t* out, const std::uint16_t* in, std::size_t count) {
    if (count >= 64) {
        std::memcpy(out, in, count * sizeof(std::uint16_t));
    } else if (count >= 8) {
        const std::size_t last = count - 8;
        const Pixels8 lastIn = load8(in + last);
        for (std::size_t i = 0; i < last; i += 8) {
            store8(out + i, load8(in + i));
        }
        store8(out + last, lastIn);
    } else if (count >= 4) {
        std::uint64_t first;
        std::uint64_t second;
        std::memcpy(&first, in, sizeof first);
        std::memcpy(&second, in + count - 4, sizeof second);
        std::memcpy(out, &first, sizeof first);
        std::memcpy(out + count - 4, &second, sizeof second);
    } else if (count >= 2) {
        std::uint32_t first;
        std::uint32_t second;
        std::memcpy(&first, in, sizeof first);
        std::memcpy(&second, in + count - 2, sizeof second);
        std::memcpy(out, &first, sizeof first);
        std::memcpy(out + count - 2, &second, sizeof second);
    } else if (count == 1) {
        out[0] = in[0];
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

// One pass over a row: each destination pixel from its source column.
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

// A source row resized to the visible destination row; true when it holds the key.
bool expandMapped(std::uint16_t* out, const std::uint16_t* row, const std::uint32_t* columns,
                  std::size_t count, std::uint16_t key) {
    bool holdsKey = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t pixel = row[columns[i]];
        holdsKey |= pixel == key;
        out[i] = pixel;
    }
    return holdsKey;
}

bool expandRuns(std::uint16_t* out, const std::uint16_t* row, const Run* runs, std::size_t count,
                std::uint16_t key) {
    bool holdsKey = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t pixel = row[runs[i].column];
        holdsKey |= pixel == key;
        fillPixels(out, runs[i].count, pixel);
        out += runs[i].count;
    }
    return holdsKey;
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
    const auto rowAt = [&](std::int64_t y) { return target.pixels + y * target.width + left; };
    const auto nextSourceRow = [&] {
        const std::int64_t row = sourceRect.top + static_cast<std::int64_t>(rows.position >> 16);
        rows.position += rows.step;
        return row * source.pitch;
    };

    if (straight) {
        // The same width: each source row straight onto its destination row.
        const std::uint16_t* from = source.pixels + sourceRect.left + (left - destination.left);
        std::uint16_t* out = rowAt(top);
        if (keyed) {
            for (std::int64_t y = top; y < bottom; ++y, out += target.width) {
                keyedCopy(out, from + nextSourceRow(), visibleWidth, key);
            }
        } else {
            for (std::int64_t y = top; y < bottom; ++y, out += target.width) {
                copyPixels(out, from + nextSourceRow(), visibleWidth);
            }
        }
        return;
    }
    if (!useRuns && destinationHeight <= sourceHeight) {
        // Narrowed or slightly widened, each source row shown at most once: one pass per row.
        for (std::int64_t y = top; y < bottom; ++y) {
            copyRowMapped(rowAt(y), source.pixels + nextSourceRow(), columns.data(), visibleWidth,
                          keyed, key);
        }
        return;
    }

    // Widened: each resized source row is built once, then put down on every destination row
    // that shows it (30 rows each when the 20-pixel background fills the screen), copied whole
    // when it holds no key pixel, otherwise eight pixels at a time around the key.
    thread_local std::vector<std::uint16_t> resized;
    resized.resize(visibleWidth);
    std::int64_t y = top;
    std::int64_t rowStart = nextSourceRow();
    while (y < bottom) {
        const bool holdsKey = useRuns ? expandRuns(resized.data(), source.pixels + rowStart,
                                                   runs.data(), runs.size(), key)
                                      : expandMapped(resized.data(), source.pixels + rowStart,
                                                     columns.data(), visibleWidth, key);
        const std::int64_t shown = rowStart;
        for (; y < bottom && rowStart == shown; ++y) {
            if (keyed && holdsKey) {
                keyedCopy(rowAt(y), resized.data(), visibleWidth, key);
            } else {
                copyPixels(rowAt(y), resized.data(), visibleWidth);
            }
            rowStart = nextSourceRow();
        }
    }
}

}  // namespace plat::detail
