#include "input/input.h"

#include <cstdint>

#include "board/board.h"
#include "shell/app.h"

namespace {

constexpr int kMouseBufferRecords = 32;
// The cursor's hot spot stays strictly inside these bounds: 1..779 and 1..579.
constexpr int kCursorLimitX = 780;
constexpr int kCursorLimitY = 580;

// A motion that would take the cursor to the edge or beyond is dropped whole, not clamped.
void moveAxis(std::int32_t& position, std::int32_t motion, int limit) {
    const std::int64_t moved = static_cast<std::int64_t>(position) + motion;
    if (gameState.cursorUserControlled && moved > 0 && moved < limit) {
        position = static_cast<std::int32_t>(moved);
    }
}

void setButton(std::int32_t& button, std::int32_t data) {
    if (gameState.cursorUserControlled) {
        button = (data & 0x80) != 0 ? 1 : 0;
    }
}

void applyRecord(const plat::MouseRecord& record) {
    switch (record.offset) {
        case plat::kMouseOffsetX:
            moveAxis(gameState.cursorX, record.data, kCursorLimitX);
            break;
        case plat::kMouseOffsetY:
            moveAxis(gameState.cursorY, record.data, kCursorLimitY);
            break;
        case plat::kMouseOffsetButton0:
            setButton(gameState.leftButton, record.data);
            break;
        case plat::kMouseOffsetButton1:
            setButton(gameState.rightButton, record.data);
            break;
        default:
            break;  // the wheel and the other buttons
    }
}

}  // namespace

void setUpInputDevices() {
    // None of these results is looked at: a device that is missing simply delivers nothing.
    mouseDevice = plat::createMouseDevice(inputObject);
    keyboardDevice = plat::createKeyboardDevice(inputObject);
    plat::setDeviceCooperativeLevel(mouseDevice, mainWindow);
    plat::setDeviceCooperativeLevel(keyboardDevice, mainWindow);
    plat::setMouseBufferSize(mouseDevice, kMouseBufferRecords);
}

void pollMouse() {
    // Acquiring at the start of every frame takes the devices back after the program has been
    // in the background; a failure only means that nothing is read this frame.
    plat::acquireDevice(mouseDevice);
    plat::acquireDevice(keyboardDevice);
    // Every waiting record is taken out of the buffer, also while the demonstration has the
    // cursor: mouse activity during a lesson is lost, not kept for later.
    for (;;) {
        plat::MouseRecord record;
        plat::ReadResult result = plat::readMouseRecord(mouseDevice, record);
        if (result == plat::ReadResult::InputLost) {
            if (!plat::acquireDevice(mouseDevice)) {
                return;
            }
            result = plat::readMouseRecord(mouseDevice, record);
        }
        if (result != plat::ReadResult::Record) {
            return;
        }
        applyRecord(record);
    }
}

void pollKeyboard() {
    std::uint8_t keys[256] = {};
    if (!plat::readKeyboard(keyboardDevice, keys)) {
        return;  // a failed read: no key counts as down
    }
    if ((keys[plat::kScanCodeEscape] & plat::kKeyDown) == 0) {
        return;
    }
    if (gameState.gameOver) {
        plat::exitProcess(0);
    }
    // The save and load screens keep Escape away: on the load screen the menu would open
    // hidden beneath it, with its quit button under the screen's OK button.
    if (gameState.saveScreenActive || gameState.loadScreenActive) {
        return;
    }
    // A demonstration lesson is playing.
    if (gameState.demoMode && gameState.clickLatch) {
        return;
    }
    gameState.menuVisible = 1;
}
