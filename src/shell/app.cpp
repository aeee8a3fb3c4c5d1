#include "shell/app.h"

#include "board/board.h"
#include "display/sprites.h"
#include "input/input.h"
#include "shell/frame.h"
#include "shell/timers.h"
#include "sound/sound_effects.h"

plat::Handle mainWindow = plat::kNoHandle;
plat::Handle inputObject = plat::kNoHandle;
plat::Handle mouseDevice = plat::kNoHandle;
plat::Handle keyboardDevice = plat::kNoHandle;
plat::Handle displayObject = plat::kNoHandle;
plat::Handle primarySurface = plat::kNoHandle;
plat::Handle backBuffer = plat::kNoHandle;
plat::Handle sheets[8] = {};
plat::Handle soundDevice = plat::kNoHandle;
plat::Handle soundBuffers[4] = {};
bool appActive = false;

void resetPlatformSlots() {
    mainWindow = inputObject = mouseDevice = keyboardDevice = plat::kNoHandle;
    displayObject = primarySurface = backBuffer = soundDevice = plat::kNoHandle;
    for (plat::Handle& sheet : sheets) {
        sheet = plat::kNoHandle;
    }
    for (plat::Handle& buffer : soundBuffers) {
        buffer = plat::kNoHandle;
    }
    appActive = false;
}

void resetToProcessStart() {
    resetProcessState();
    resetTimers();
    resetPlatformSlots();
}

int gameMain() {
    if (!initialise()) {
        return 0;
    }
    return runMessageLoop();
}

int runMessageLoop() {
    for (;;) {
        if (plat::peekMessage()) {
            plat::Message message;
            if (!plat::getMessage(message)) {
                return message.param;
            }
            plat::dispatchMessage(message);
        } else if (appActive) {
            runFrame(mainWindow);
        } else {
            plat::waitMessage();
        }
    }
}

bool initialise() {
    // Steps 1 and 2: the window class and the window, covering the screen.
    mainWindow = plat::createWindow("Gorvendal", windowProcedure);
    if (mainWindow == plat::kNoHandle) {
        return false;
    }
    // Step 3: show it.
    plat::showWindow(mainWindow);
    // Step 4: the input object.
    inputObject = plat::createInput();
    if (inputObject == plat::kNoHandle) {
        return false;
    }
    // Step 5: the display mode (fatal on failure, with its message).
    if (!setUpDisplayMode()) {
        return false;
    }
    // Steps 6 to 8: the sound device, its cooperative level and the four sounds (silent).
    soundDevice = plat::createSoundDevice();
    if (soundDevice == plat::kNoHandle) {
        return false;
    }
    if (!plat::setSoundCooperativeLevel(soundDevice, mainWindow)) {
        return false;
    }
    if (!loadSounds()) {
        return false;
    }
    // Step 9: the surfaces and their pictures (fatal on failure, with its message).
    if (!setUpSurfaces()) {
        return false;
    }
    // Step 10: the mouse and the keyboard.
    setUpInputDevices();
    return true;
}

void windowProcedure(plat::Handle window, const plat::Message& message) {
    switch (message.kind) {
        case plat::MessageKind::Destroy:
            releaseAll();
            plat::postQuitMessage(0);
            plat::defaultWindowProcedure(window, message);
            break;
        case plat::MessageKind::ActivateApp:
            appActive = message.param != 0;
            plat::defaultWindowProcedure(window, message);
            break;
        case plat::MessageKind::SetCursor:
            plat::hideSystemPointer();
            break;
        default:
            plat::defaultWindowProcedure(window, message);
            break;
    }
}

void releaseAll() {
    if (displayObject != plat::kNoHandle) {
        if (primarySurface != plat::kNoHandle) {
            for (int sheet = 1; sheet <= 7; ++sheet) {
                if (sheets[sheet] != plat::kNoHandle) {
                    plat::release(sheets[sheet]);
                    sheets[sheet] = plat::kNoHandle;
                }
            }
            // The back buffer belongs to the primary surface and goes with it.
            plat::release(primarySurface);
            primarySurface = plat::kNoHandle;
            backBuffer = plat::kNoHandle;
        }
        plat::release(displayObject);
        displayObject = plat::kNoHandle;
    }
    for (plat::Handle& buffer : soundBuffers) {
        if (buffer != plat::kNoHandle) {
            plat::release(buffer);
            buffer = plat::kNoHandle;
        }
    }
    if (soundDevice != plat::kNoHandle) {
        plat::release(soundDevice);
        soundDevice = plat::kNoHandle;
    }
    if (inputObject != plat::kNoHandle) {
        // The devices belong to the input object and go with it.
        plat::release(inputObject);
        inputObject = plat::kNoHandle;
        mouseDevice = plat::kNoHandle;
        keyboardDevice = plat::kNoHandle;
    }
}

bool fatalError(plat::Handle window, const char* message) {
    releaseAll();
    plat::debugOutput(message);
    plat::destroyWindow(window);
    return false;
}
