// The window's messages and the headless pump (frames only while active, the end of a script,
// the end of the process), the mouse buffer and the keyboard, releasing objects and the
// debugger output.
#include <functional>

#include "platform/backend.h"
#include "platform_fixture.h"

namespace {

using plat::Handle;
using plat::Message;
using plat::MessageKind;
namespace headless = plat::headless;

class MessagePump : public PlatformTest {
  protected:
    // The game's loop: a waiting message first; otherwise a frame while active; otherwise
    // sleep. Returns the quit message's exit code.
    int runLoop() {
        for (;;) {
            if (plat::peekMessage()) {
                Message message;
                if (!plat::getMessage(message)) {
                    return message.param;
                }
                if (message.kind == MessageKind::ActivateApp) {
                    active = message.param != 0;
                }
                plat::dispatchMessage(message);
            } else if (active) {
                frames.push_back(headless::frameNumber());
            } else {
                plat::waitMessage();
            }
        }
    }

    // Runs the loop until the driver runs dry; false when it ended otherwise.
    bool runUntilScriptEnds() {
        try {
            runLoop();
        } catch (const headless::RunEnded&) {
            return true;
        }
        return false;
    }

    // A driver that runs these steps one per call, then has nothing more.
    void script(std::vector<std::function<void()>> steps) {
        auto remaining = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
        auto next = std::make_shared<std::size_t>(0);
        headless::setDriver([remaining, next] {
            if (*next >= remaining->size()) {
                return false;
            }
            (*remaining)[(*next)++]();
            return true;
        });
    }

    std::vector<MessageKind> kindsReceived() {
        std::vector<MessageKind> kinds;
        for (const Message& message : received()) {
            kinds.push_back(message.kind);
        }
        return kinds;
    }

    bool active = false;
    std::vector<int> frames;  // the frame number seen by each frame run
};

TEST_F(MessagePump, ShownWindowIsActiveAndRunsTheFramesOwed) {
    plat::showWindow(window);
    headless::addFrames(3);
    EXPECT_TRUE(runUntilScriptEnds());
    EXPECT_EQ(kindsReceived(), (std::vector{MessageKind::ActivateApp, MessageKind::SetCursor}));
    EXPECT_EQ(received()[0].param, 1);
    EXPECT_EQ(frames, (std::vector{1, 2, 3}));
    EXPECT_EQ(headless::frameNumber(), 3);
    EXPECT_EQ(headless::framesOwed(), 0);
}

TEST_F(MessagePump, NoFrameRunsWhileInactive) {
    plat::showWindow(window);
    script({
        [] { headless::addFrames(1); },
        [] { headless::setFocus(false); },
        [] { headless::addFrames(5); },  // dropped: the program is in the background
        [] { headless::setFocus(true); },
        [] { headless::addFrames(2); },
    });
    EXPECT_TRUE(runUntilScriptEnds());
    EXPECT_EQ(frames, (std::vector{1, 2, 3}));
    ASSERT_EQ(received().size(), 4u);
    EXPECT_EQ(received()[2].kind, MessageKind::ActivateApp);
    EXPECT_EQ(received()[2].param, 0);
    EXPECT_EQ(received()[3].kind, MessageKind::ActivateApp);
    EXPECT_EQ(received()[3].param, 1);
}

TEST_F(MessagePump, FramesOwedWhenFocusIsLostAreDropped) {
    plat::showWindow(window);
    headless::addFrames(4);
    headless::setFocus(false);
    EXPECT_EQ(headless::framesOwed(), 0);
    EXPECT_FALSE(headless::active());
    EXPECT_TRUE(runUntilScriptEnds());
    EXPECT_TRUE(frames.empty());
}

TEST_F(MessagePump, CloseDestroysTheWindowAndEndsTheLoop) {
    plat::showWindow(window);
    script({[] { headless::addFrames(2); }, [] { headless::closeWindow(); }});
    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(frames.size(), 2u);
    EXPECT_EQ(kindsReceived(), (std::vector{MessageKind::ActivateApp, MessageKind::SetCursor,
                                            MessageKind::Close, MessageKind::Destroy}));
    // The window is gone: a second destroy does nothing, messages go nowhere.
    plat::destroyWindow(window);
    plat::dispatchMessage(Message{MessageKind::Close, 0});
    EXPECT_EQ(received().size(), 4u);
}

TEST_F(MessagePump, QuitMessageCarriesItsExitCode) {
    plat::postQuitMessage(7);
    EXPECT_TRUE(plat::peekMessage());
    Message message;
    EXPECT_FALSE(plat::getMessage(message));
    EXPECT_EQ(message.kind, MessageKind::Quit);
    EXPECT_EQ(message.param, 7);
}

TEST_F(MessagePump, ExitProcessUnwindsToTheCaller) {
    try {
        plat::exitProcess(3);
    } catch (const headless::ProcessExit& exit) {
        EXPECT_EQ(exit.code, 3);
    }
}

TEST_F(MessagePump, WaitingWithNothingMoreToComeEndsTheRun) {
    plat::showWindow(window);
    headless::setFocus(false);
    // The two activation changes are handled, then the inactive loop waits: the driver has
    // nothing, so the run ends instead of sleeping for ever.
    EXPECT_TRUE(runUntilScriptEnds());
    EXPECT_TRUE(frames.empty());
    EXPECT_THROW(plat::waitMessage(), headless::RunEnded);
}

TEST_F(PlatformTest, MouseBufferKeepsThirtyTwoRecordsBetweenReads) {
    const Handle input = plat::createInput();
    const Handle mouse = plat::createMouseDevice(input);
    ASSERT_TRUE(plat::setMouseBufferSize(mouse, 32));
    ASSERT_TRUE(plat::acquireDevice(mouse));
    for (int i = 0; i < 40; ++i) {
        headless::addMouseRecord(plat::kMouseOffsetX, i);
    }
    plat::MouseRecord record;
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Record);
        EXPECT_EQ(record.offset, plat::kMouseOffsetX);
        EXPECT_EQ(record.data, i);  // the first 32, in order; the last 8 were lost
    }
    EXPECT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Empty);
    // Room again after the read.
    headless::addMouseRecord(plat::kMouseOffsetButton0, 0x80);
    ASSERT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Record);
    EXPECT_EQ(record.offset, plat::kMouseOffsetButton0);
    EXPECT_EQ(record.data, 0x80);
}

TEST_F(PlatformTest, MouseInputLostAndFailedAcquisition) {
    const Handle input = plat::createInput();
    const Handle mouse = plat::createMouseDevice(input);
    ASSERT_TRUE(plat::setMouseBufferSize(mouse, 32));
    plat::MouseRecord record;
    headless::addMouseRecord(plat::kMouseOffsetY, 5);
    // Not yet acquired: nothing is delivered, the record waits.
    EXPECT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Failed);
    ASSERT_TRUE(plat::acquireDevice(mouse));
    // Input lost once: the device must be acquired again, then reads go on.
    headless::failOperation(plat::Op::MouseInputLost);
    EXPECT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::InputLost);
    EXPECT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Failed);
    ASSERT_TRUE(plat::acquireDevice(mouse));
    ASSERT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Record);
    EXPECT_EQ(record.data, 5);
    // A failed acquisition leaves the device delivering nothing until the next one.
    headless::addMouseRecord(plat::kMouseOffsetY, 6);
    headless::failOperation(plat::Op::AcquireDevice);
    EXPECT_FALSE(plat::acquireDevice(mouse));
    EXPECT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Failed);
    ASSERT_TRUE(plat::acquireDevice(mouse));
    ASSERT_EQ(plat::readMouseRecord(mouse, record), plat::ReadResult::Record);
    EXPECT_EQ(record.data, 6);
}

TEST_F(PlatformTest, KeyboardSnapshotShowsEscape) {
    const Handle input = plat::createInput();
    const Handle keyboard = plat::createKeyboardDevice(input);
    ASSERT_TRUE(plat::acquireDevice(keyboard));
    std::uint8_t keys[256];
    std::fill(std::begin(keys), std::end(keys), 0xAA);
    ASSERT_TRUE(plat::readKeyboard(keyboard, keys));
    EXPECT_EQ(std::count(std::begin(keys), std::end(keys), 0), 256);
    headless::setEscape(true);
    ASSERT_TRUE(plat::readKeyboard(keyboard, keys));
    EXPECT_EQ(keys[plat::kScanCodeEscape], plat::kKeyDown);
    EXPECT_EQ(std::count(std::begin(keys), std::end(keys), 0), 255);
    headless::failOperation(plat::Op::ReadKeyboard);
    EXPECT_FALSE(plat::readKeyboard(keyboard, keys));
    // The mouse is not a keyboard, nor the keyboard a mouse.
    plat::MouseRecord record;
    EXPECT_EQ(plat::readMouseRecord(keyboard, record), plat::ReadResult::Failed);
    const Handle mouse = plat::createMouseDevice(input);
    plat::acquireDevice(mouse);
    EXPECT_FALSE(plat::readKeyboard(mouse, keys));
}

TEST_F(PlatformTest, ReleasingObjectsTakesWhatTheyOwn) {
    EXPECT_EQ(plat::liveObjectCount(), 1);  // the display (the window is not counted)
    const Handle input = plat::createInput();
    const Handle mouse = plat::createMouseDevice(input);
    const Handle keyboard = plat::createKeyboardDevice(input);
    const Handle primary = plat::createPrimarySurface(display, 1, 0);
    const Handle back = plat::getBackBuffer(primary);
    const Handle sheet = plat::createSurface(display, 20, 20, 0);
    const Handle sound = plat::createSoundDevice();
    EXPECT_EQ(plat::liveObjectCount(), 8);

    // The back buffer goes only with its primary surface.
    plat::release(back);
    EXPECT_TRUE(plat::colourFill(back, 0));
    plat::release(primary);
    EXPECT_FALSE(plat::colourFill(back, 0));
    EXPECT_FALSE(plat::blit(sheet, nullptr, back, nullptr, false));
    EXPECT_EQ(plat::liveObjectCount(), 6);

    // The devices go with the input object.
    plat::release(input);
    EXPECT_FALSE(plat::acquireDevice(mouse));
    EXPECT_FALSE(plat::acquireDevice(keyboard));
    EXPECT_EQ(plat::liveObjectCount(), 3);

    plat::release(sheet);
    plat::release(sound);
    plat::release(display);
    EXPECT_EQ(plat::liveObjectCount(), 0);
    // Releasing again, or releasing nothing, is harmless; handles are not given twice.
    plat::release(sheet);
    plat::release(plat::kNoHandle);
    plat::release(0xFFFFFFFFu);
    const Handle newDisplay = plat::createDisplay();
    for (const Handle old : {input, mouse, keyboard, primary, back, sheet, sound, display}) {
        EXPECT_NE(newDisplay, old);
    }
    EXPECT_EQ(plat::createSurface(display, 20, 20, 0), plat::kNoHandle);
}

TEST_F(PlatformTest, WrongKindsOfHandleAreRefused) {
    const Handle input = plat::createInput();
    const Handle sheet = plat::createSurface(display, 4, 4, 0);
    EXPECT_EQ(plat::createMouseDevice(sheet), plat::kNoHandle);
    EXPECT_EQ(plat::createSurface(input, 4, 4, 0), plat::kNoHandle);
    EXPECT_EQ(plat::createPrimarySurface(sheet, 1, 0), plat::kNoHandle);
    EXPECT_EQ(plat::getBackBuffer(sheet), plat::kNoHandle);
    EXPECT_FALSE(plat::colourFill(input, 0));
    EXPECT_FALSE(plat::blit(sheet, nullptr, input, nullptr, true));
    EXPECT_FALSE(plat::setMouseBufferSize(input, 32));
    EXPECT_FALSE(plat::acquireDevice(sheet));
    EXPECT_FALSE(plat::getSurfaceDc(input));
    EXPECT_FALSE(plat::setSoundCooperativeLevel(sheet, window));
    plat::WaveFormat format{plat::kWaveFormatPcm, 1, 22050, 22050, 1, 8, 0};
    EXPECT_EQ(plat::createSoundBuffer(sheet, format, 100), plat::kNoHandle);
    EXPECT_FALSE(plat::playSoundBuffer(sheet, false));
}

TEST_F(PlatformTest, StartUpFailuresOnDemand) {
    struct Case {
        plat::Op op;
        std::function<bool()> call;  // true when the operation succeeded
    };
    const std::vector<Case> cases = {
        {plat::Op::CreateWindow, [] { return plat::createWindow("x", procedure) != 0; }},
        {plat::Op::CreateInput, [] { return plat::createInput() != 0; }},
        {plat::Op::CreateDisplay, [] { return plat::createDisplay() != 0; }},
        {plat::Op::SetDisplayCooperativeLevel,
         [this] { return plat::setDisplayCooperativeLevel(display, window); }},
        {plat::Op::SetDisplayMode, [this] { return plat::setDisplayMode(display, 800, 600, 16); }},
        {plat::Op::CreateSoundDevice, [] { return plat::createSoundDevice() != 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.op));
        headless::failOperation(c.op);
        EXPECT_FALSE(c.call());
        EXPECT_TRUE(c.call());
    }
}

// Decodes one UTF-8 character; -1 when the text is not exactly one well-formed character.
long decodeOne(const std::string& text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1 && byte(0) < 0x80) {
        return byte(0);
    }
    if (text.size() == 2 && (byte(0) & 0xE0) == 0xC0 && (byte(1) & 0xC0) == 0x80) {
        const long code = ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        return code >= 0x80 ? code : -1;
    }
    if (text.size() == 3 && (byte(0) & 0xF0) == 0xE0 && (byte(1) & 0xC0) == 0x80 &&
        (byte(2) & 0xC0) == 0x80) {
        const long code = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        return code >= 0x800 ? code : -1;
    }
    return -1;
}

TEST_F(PlatformTest, EveryWindows1252ByteBecomesItsCharacter) {
    // The bytes 0x80 to 0x9F, where the code page differs from Latin-1; the five it leaves
    // unassigned keep their value.
    const long high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                           0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    for (int value = 1; value < 256; ++value) {
        if (value == '\n') {
            continue;  // a final line feed is dropped
        }
        const char text[2] = {static_cast<char>(value), 0};
        plat::debugOutput(text);
        const long expected = value >= 0x80 && value < 0xA0 ? high[value - 0x80] : value;
        EXPECT_EQ(decodeOne(headless::debugLines().back()), expected) << value;
    }
}

TEST_F(PlatformTest, DebugOutputIsUtf8OneLinePerCall) {
    std::vector<std::string> heard;
    headless::setDebugListener([&heard](const std::string& line) { heard.push_back(line); });
    plat::debugOutput(
        "Impossible de cr\xE9"
        "er l'objet DirectDraw.");
    plat::debugOutput(
        "Impossible d'ex\xE9"
        "cuter Blt.\n");
    plat::debugOutput("\x80 \x85 \x9F \xFF");
    plat::debugOutput("\n");
    const std::vector<std::string> expected = {
        "Impossible de cr\u00E9er l'objet DirectDraw.",
        "Impossible d'ex\u00E9cuter Blt.",
        "\u20AC \u2026 \u0178 \u00FF",
        "",
    };
    EXPECT_EQ(headless::debugLines(), expected);
    EXPECT_EQ(heard, expected);
}

}  // namespace
