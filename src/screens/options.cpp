// The options file "options.inf": a word, the blink period of the selected piece, a word, read
// as the format "%s\n%d\n%s" reads them. The words mean nothing to the game; they land in the
// text buffer, where the next text formatted there replaces them. A word of any length is taken
// whole, its first 255 characters kept, and the number after it is still read.
#include "screens/options.h"

#include <cstdio>

#include "board/board.h"
#include "platform/platform.h"
#include "screens/text_reader.h"

void readOptionsFile() {
    std::FILE* file = plat::openFile("options.inf", "r");
    if (file == nullptr) {
        return;  // no options file: the built-in blink period stays
    }
    TextReader reader(file);
    int period = 0;
    if (reader.readWord(textBuffer, sizeof textBuffer) && reader.readInt(period)) {
        gameState.blinkPeriod = period;
        reader.readWord(textBuffer, sizeof textBuffer);
    }
    std::fclose(file);
}
