#include "display/sprites.h"

#include "shell/app.h"

const SpriteSheet spriteSheets[8] = {
    {nullptr, 0, 0},
    {"bitmaps\\cur.bmp", 20, 20},
    {"bitmaps\\grille.bmp", 40, 20},
    {"bitmaps\\pion.bmp", 76, 38},
    {"bitmaps\\win.bmp", 3200, 600},
    {"bitmaps\\menu.bmp", 2100, 75},
    {"bitmaps\\ok.bmp", 80, 40},
    {"bitmaps\\abcd.bmp", 100, 20},
};

bool setUpDisplayMode() {
    displayObject = plat::createDisplay();
    if (displayObject == plat::kNoHandle) {
        return fatalError(mainWindow, "Impossible de cr\xE9" "er l'objet DirectDraw.");
    }
    if (!plat::setDisplayCooperativeLevel(displayObject, mainWindow)) {
        return fatalError(mainWindow, "Impossible de d\xE9" "finir le niveau coop\xE9" "ratif.");
    }
    if (!plat::setDisplayMode(displayObject, 800, 600, 16)) {
        return fatalError(mainWindow, "Impossible de d\xE9" "finir le mode vid\xE9" "o.");
    }
    return true;
}

bool setUpSurfaces() {
    primarySurface = plat::createPrimarySurface(displayObject, 1, colourKey);
    if (primarySurface == plat::kNoHandle) {
        return fatalError(mainWindow, "Impossible de cr\xE9" "er la surface primaire.");
    }
    backBuffer = plat::getBackBuffer(primarySurface);
    if (backBuffer == plat::kNoHandle) {
        return fatalError(mainWindow, "Impossible de trouver le back buffer.\n");
    }
    for (int sheet = SPRITE_CURSOR; sheet <= SPRITE_LETTERS; ++sheet) {
        sheets[sheet] = plat::createSurface(displayObject, spriteSheets[sheet].width,
                                            spriteSheets[sheet].height, colourKey);
        if (sheets[sheet] == plat::kNoHandle) {
            return fatalError(mainWindow, "surf offscreen non cr\xE9" "\xE9" "e...");
        }
    }
    // A picture that cannot be loaded leaves its sheet as it was created; start-up goes on.
    for (int sheet = SPRITE_CURSOR; sheet <= SPRITE_LETTERS; ++sheet) {
        loadBitmapIntoSurface(sheets[sheet], spriteSheets[sheet].file);
    }
    return true;
}

bool loadBitmapIntoSurface(plat::Handle surface, const char* path) {
    plat::SurfaceDesc desc;
    if (!plat::getSurfaceDesc(surface, desc)) {
        return false;
    }
    if (!plat::getSurfaceDc(surface)) {
        plat::debugOutput("Impossible d'obtenir DC de la surface.\n");
        return false;
    }
    if (desc.pixelFormat.flags != plat::kPixelFormatRgb || desc.pixelFormat.bitCount < 16) {
        plat::debugOutput("Mode RGB non palettis\xE9" " obligatoire.\n");
        plat::releaseSurfaceDc(surface);
        return false;
    }
    const plat::Handle picture = plat::loadPicture(path, desc.width, desc.height);
    if (picture == plat::kNoHandle) {
        plat::releaseSurfaceDc(surface);
        return false;
    }
    const bool copied = plat::copyPictureToSurface(picture, surface);
    if (!copied) {
        plat::debugOutput("BLT a \xE9" "chou\xE9" ".\n");
    }
    plat::releaseSurfaceDc(surface);
    plat::release(picture);
    return copied;
}

bool presentFrame(plat::Handle window) {
    // After a fatal error during the frame the surfaces are gone: no flip is attempted.
    if (primarySurface == plat::kNoHandle) {
        return false;
    }
    if (!plat::flip(primarySurface)) {
        return fatalError(window, "Impossible de faire le basculement (flip).");
    }
    return true;
}
