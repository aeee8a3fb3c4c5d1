#include "board/end_of_game.h"

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "shell/timers.h"
#include "sound/sound_effects.h"

namespace {

// Frame 1 of the result pictures: white has won; 2: black has won; 3: neither side has a piece.
// A count at or below 0 is a side without pieces, as for the detection, so that a count
// driven below 0 still shows a result rather than a black screen.
int resultPictureFrame() {
    const bool whiteLeft = gameState.onBoard[PLAYER_WHITE] > 0;
    const bool blackLeft = gameState.onBoard[PLAYER_BLACK] > 0;
    if (whiteLeft && !blackLeft) {
        return 1;
    }
    if (!whiteLeft && blackLeft) {
        return 2;
    }
    if (!whiteLeft && !blackLeft) {
        return 3;
    }
    return 0;
}

}  // namespace

void checkEndOfGame() {
    // A side without pieces: play goes on for the pause, then the game is over. The timer is
    // only started here; once running, the countdown begun in the first such frame runs on.
    if (gameState.playPhase == 1 &&
        (gameState.onBoard[PLAYER_WHITE] <= 0 || gameState.onBoard[PLAYER_BLACK] <= 0)) {
        startTimer(TIMER_GAME_END);
        if (timerExpired(TIMER_GAME_END)) {
            stopTimer(TIMER_GAME_END);
            setTimer(TIMER_GAME_END, 100);
            gameState.gameOver = 1;
            gameState.playPhase = 0;
        }
    }
    if (gameState.gameOver == 1) {
        if (!gameState.victorySoundPlayed) {
            playSound(SOUND_WIN, false);
            gameState.victorySoundPlayed = 1;
        }
        const int frame = resultPictureFrame();
        if (frame != 0) {
            blitSprite(0, 0, 800, 600, 800, 600, frame, SPRITE_SCREENS);
        }
    }
}
