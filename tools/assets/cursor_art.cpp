// The arrow cursor, 20 x 20, drawn pixel by pixel so that it stays crisp over any background:
// a white arrow, shaded a little towards its lower edge, inside a dark outline. Its tip is
// the top-left pixel, the point every click acts on. Everything else is transparent.
#include <string_view>

#include "artwork.h"

namespace art {

namespace {

// '#' outline, 'o' white, '+' shaded white, '.' transparent.
constexpr std::string_view kArrow[20] = {
    "#...................",  //
    "##..................",  //
    "#o#.................",  //
    "#oo#................",  //
    "#ooo#...............",  //
    "#oooo#..............",  //
    "#ooooo#.............",  //
    "#oooooo#............",  //
    "#ooooooo#...........",  //
    "#oooooooo#..........",  //
    "#ooooooooo#.........",  //
    "#oooooo#####........",  //
    "#ooo#o+#............",  //
    "#oo##o+#............",  //
    "#o#..#o+#...........",  //
    "##...#o+#...........",  //
    "#.....#o+#..........",  //
    "......#o+#..........",  //
    ".......##...........",  //
    "....................",  //
};

}  // namespace

Image makeCursorSheet() {
    Canvas canvas(20, 20, palette::kNight);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            switch (kArrow[y][x]) {
                case '#':
                    canvas.set(x, y, rgb(26, 22, 30));
                    break;
                case 'o':
                    canvas.set(x, y, rgb(252, 250, 244));
                    break;
                case '+':
                    canvas.set(x, y, rgb(198, 194, 186));
                    break;
                default:
                    break;
            }
        }
    }
    return finish(canvas);
}

}  // namespace art
