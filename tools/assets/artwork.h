// The game's seven pictures, each built as one finished sheet at its surface size, and the
// palette they share: an oak board with walnut lines, ivory and ebony pieces, walnut plates
// trimmed with gold.
#pragma once

#include "canvas.h"
#include "lettering.h"

namespace art {

namespace palette {
inline const Colour kOak = {200, 154, 98};        // the board, on average
inline const Colour kWalnutLine = {104, 64, 36};  // the grid lines
inline const Colour kWalnutDark = {46, 26, 16};
inline const Colour kWalnut = {92, 54, 32};
inline const Colour kGold = {222, 184, 104};
inline const Colour kGoldDark = {140, 100, 46};
inline const Colour kGoldLight = {255, 232, 160};
inline const Colour kCream = {246, 234, 206};
inline const Colour kNight = {10, 10, 14};  // the darkest colour a picture shows
}  // namespace palette

enum class PieceKind { Ivory, Ebony };

// Paints a round piece centred on (cx, cy): a bevelled rim lit from the top left, a shallow
// dished face with a fine groove, and, with `castShadow`, a soft shadow to the bottom right.
void paintPiece(Canvas& canvas, float cx, float cy, float radius, PieceKind kind, bool castShadow);

// A button's plate: a gold frame `frameWidth` wide around a walnut panel, inside the box
// [left, right) x [top, bottom) with rounded corners, optionally with a soft shadow beneath.
struct PlateBox {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float radius = 8;
    float frameWidth = 3;
    bool shadow = true;
    std::uint32_t seed = 1;  // the panel's grain
};
void paintPlate(Canvas& canvas, const PlateBox& box, bool lit);

Image makeCursorSheet();              // cur.bmp, 20 x 20
Image makeGridSheet();                // grille.bmp, 40 x 20
Image makePieceSheet();               // pion.bmp, 76 x 38
Image makeScreenSheet(Fonts& fonts);  // win.bmp, 3200 x 600
Image makeMenuSheet(Fonts& fonts);    // menu.bmp, 2100 x 75
Image makeOkButton(Fonts& fonts);     // ok.bmp, 80 x 40
Image makeLetterStrip(Fonts& fonts);  // abcd.bmp, 100 x 20

}  // namespace art
