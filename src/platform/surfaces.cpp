// Surfaces: the primary surface with its back buffer, and the off-screen sheets. Every surface
// is an array of RGB565 pixels held here; blits and fills work on those arrays (blitter.cpp),
// and a flip hands the back buffer's pixels to the back end, which shows them.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/blitter.h"
#include "platform/objects.h"

namespace plat {

namespace {

// No surface is larger than this on either side (the largest sheet is 3200 pixels wide).
constexpr int kMaxSurfaceSide = 16384;

bool sizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide;
}

detail::SurfaceObject makeSurface(int width, int height, std::uint32_t colourKey) {
    detail::SurfaceObject surface;
    surface.width = width;
    surface.height = height;
    surface.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    surface.colourKey = detail::toRgb565(colourKey);
    return surface;
}

detail::Span spanOf(const Rect* rect, int width, int height) {
    if (rect == nullptr) {
        return {0, 0, width, height};
    }
    return {rect->left, rect->top, rect->right, rect->bottom};
}

bool emptyOrInverted(const detail::Span& span) {
    return span.right <= span.left || span.bottom <= span.top;
}

}  // namespace

Handle createPrimarySurface(Handle display, int backBufferCount, std::uint32_t colourKey) {
    if (detail::injected(Op::CreatePrimarySurface)) {
        return kNoHandle;
    }
    const detail::DisplayObject* object = detail::find<detail::DisplayObject>(display);
    if (object == nullptr || backBufferCount < 1) {
        return kNoHandle;
    }
    // Before a mode is set the display shows the game's own 800 x 600.
    const int width = object->width > 0 ? object->width : 800;
    const int height = object->height > 0 ? object->height : 600;
    detail::SurfaceObject primary = makeSurface(width, height, colourKey);
    primary.primary = true;
    const Handle primaryHandle = detail::addObject(std::move(primary));
    detail::SurfaceObject back = makeSurface(width, height, colourKey);
    back.owner = primaryHandle;
    const Handle backHandle = detail::addObject(std::move(back));
    detail::find<detail::SurfaceObject>(primaryHandle)->backBuffer = backHandle;
    return primaryHandle;
}

Handle getBackBuffer(Handle primary) {
    if (detail::injected(Op::GetBackBuffer)) {
        return kNoHandle;
    }
    const detail::SurfaceObject* surface = detail::find<detail::SurfaceObject>(primary);
    return surface == nullptr ? kNoHandle : surface->backBuffer;
}

Handle createSurface(Handle display, int width, int height, std::uint32_t colourKey) {
    if (detail::injected(Op::CreateSurface)) {
        return kNoHandle;
    }
    if (detail::find<detail::DisplayObject>(display) == nullptr || !sizeAllowed(width, height)) {
        return kNoHandle;
    }
    return detail::addObject(makeSurface(width, height, colourKey));
}

bool getSurfaceDesc(Handle surface, SurfaceDesc& desc) {
    const bool failed = detail::injected(Op::GetSurfaceDesc);
    const bool palettised = detail::injected(Op::PixelFormatPalettised);
    const bool extraFlag = detail::injected(Op::PixelFormatExtraFlag);
    const detail::SurfaceObject* object = detail::find<detail::SurfaceObject>(surface);
    if (failed || object == nullptr) {
        return false;
    }
    desc.width = object->width;
    desc.height = object->height;
    desc.pixelFormat = PixelFormat{};
    if (palettised) {
        desc.pixelFormat.flags = kPixelFormatPalettised;
        desc.pixelFormat.bitCount = 8;
    } else if (extraFlag) {
        desc.pixelFormat.flags = kPixelFormatRgb | 0x1;  // with an alpha channel
    }
    return true;
}

bool blit(Handle destination, const Rect* destinationRect, Handle source, const Rect* sourceRect,
          bool sourceKey) {
    if (detail::injected(Op::Blit)) {
        return false;
    }
    detail::SurfaceObject* target = detail::find<detail::SurfaceObject>(destination);
    const detail::SurfaceObject* origin = detail::find<detail::SurfaceObject>(source);
    if (target == nullptr || origin == nullptr || backend().surfacesLost()) {
        return false;
    }
    const detail::Span to = spanOf(destinationRect, target->width, target->height);
    const detail::Span from = spanOf(sourceRect, origin->width, origin->height);
    if (emptyOrInverted(to) || emptyOrInverted(from)) {
        return false;
    }
    // The source rectangle must lie inside its surface: nothing is read from outside it.
    if (from.left < 0 || from.top < 0 || from.right > origin->width ||
        from.bottom > origin->height) {
        return false;
    }
    const detail::PixelTarget pixelsOut{target->pixels.data(), target->width, target->height};
    if (target == origin) {
        // A surface copied onto itself reads from a copy, so that nothing is read after it
        // was overwritten.
        const std::vector<std::uint16_t> copy = origin->pixels;
        detail::stretchCopy(pixelsOut, to, {copy.data(), origin->width}, from, sourceKey,
                            origin->colourKey);
    } else {
        detail::stretchCopy(pixelsOut, to, {origin->pixels.data(), origin->width}, from, sourceKey,
                            origin->colourKey);
    }
    return true;
}

bool colourFill(Handle destination, std::uint32_t colour) {
    if (detail::injected(Op::ColourFill)) {
        return false;
    }
    detail::SurfaceObject* target = detail::find<detail::SurfaceObject>(destination);
    if (target == nullptr || backend().surfacesLost()) {
        return false;
    }
    const std::uint16_t value = detail::toRgb565(colour);
    if ((value & 0xFF) == (value >> 8)) {
        // Both bytes alike (black, the fill of every frame): one memset.
        std::memset(target->pixels.data(), value & 0xFF, target->pixels.size() * sizeof value);
    } else {
        std::fill(target->pixels.begin(), target->pixels.end(), value);
    }
    return true;
}

bool flip(Handle primary) {
    if (detail::injected(Op::Flip)) {
        return false;
    }
    const detail::SurfaceObject* front = detail::find<detail::SurfaceObject>(primary);
    if (front == nullptr || !front->primary || backend().surfacesLost()) {
        return false;
    }
    const detail::SurfaceObject* back = detail::find<detail::SurfaceObject>(front->backBuffer);
    if (back == nullptr) {
        return false;
    }
    return backend().present(back->pixels.data(), back->width, back->height);
}

bool getSurfaceDc(Handle surface) {
    if (detail::injected(Op::GetSurfaceDc)) {
        return false;
    }
    detail::SurfaceObject* object = detail::find<detail::SurfaceObject>(surface);
    if (object == nullptr || object->dcHeld) {
        return false;
    }
    object->dcHeld = true;
    return true;
}

void releaseSurfaceDc(Handle surface) {
    if (detail::SurfaceObject* object = detail::find<detail::SurfaceObject>(surface)) {
        object->dcHeld = false;
    }
}

}  // namespace plat
