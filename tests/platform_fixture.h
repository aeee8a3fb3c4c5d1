// A fixture for the platform layer's own tests: the headless back end freshly installed, a
// window whose procedure records what it receives, and a display in the game's mode.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::headless::install();
        received().clear();
        window = plat::createWindow("Gorvendal", &PlatformTest::procedure);
        ASSERT_NE(window, plat::kNoHandle);
        display = plat::createDisplay();
        ASSERT_NE(display, plat::kNoHandle);
        ASSERT_TRUE(plat::setDisplayMode(display, 800, 600, 16));
    }

    void TearDown() override { plat::headless::install(); }

    // The messages the window procedure was given, in order.
    static std::vector<plat::Message>& received() {
        static std::vector<plat::Message> messages;
        return messages;
    }

    // Records the message, then acts as the game's procedure does: Destroy posts the quit
    // message, everything else goes to the default handling.
    static void procedure(plat::Handle window, const plat::Message& message) {
        received().push_back(message);
        if (message.kind == plat::MessageKind::Destroy) {
            plat::postQuitMessage(0);
        }
        plat::defaultWindowProcedure(window, message);
    }

    // A surface holding these pixels (row by row).
    plat::Handle surfaceWith(int width, int height, const std::vector<std::uint16_t>& pixels,
                             std::uint32_t colourKey = 0) {
        const plat::Handle surface = plat::createSurface(display, width, height, colourKey);
        EXPECT_NE(surface, plat::kNoHandle);
        EXPECT_TRUE(plat::headless::setSurfacePixels(surface, pixels));
        return surface;
    }

    std::vector<std::uint16_t> pixelsOf(plat::Handle surface) {
        const std::vector<std::uint16_t>* pixels =
            plat::headless::surfacePixels(surface, nullptr, nullptr);
        return pixels == nullptr ? std::vector<std::uint16_t>{} : *pixels;
    }

    plat::Handle window = plat::kNoHandle;
    plat::Handle display = plat::kNoHandle;
};
