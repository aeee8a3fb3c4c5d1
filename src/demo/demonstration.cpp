// The guided demonstration. The menu's button sets up a fixed position; then, each time the
// user clicks the OK button in the top-right corner, the program plays one lesson: it moves the
// cursor itself to a piece, clicks it, moves on to a landing square and clicks there, and the
// ordinary play rules make the capture. Four lessons show one capture per level; a last OK
// clears the board and brings the main menu back.
//
// The script never looks at the board. It only drives cursorX, cursorY and leftButton, which the
// play section acts on in the next frame, and it is paced by two countdown timers that it loads
// and starts but never stops: once started they run for the rest of the process, so the first
// run since start-up is slower than the later ones.
#include "demo/demonstration.h"

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "shell/app.h"
#include "shell/timers.h"

namespace {

constexpr int kLessonCount = 4;
constexpr int kOkLeft = 720;
constexpr int kOkTop = 0;
constexpr int kOkWidth = 80;
constexpr int kOkHeight = 40;
constexpr int kCursorSize = 20;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0;

enum DemoStep : int { STEP_APPROACH = 0, STEP_SELECT = 1, STEP_MOVE = 2 };

struct Lesson {
    int selectX, selectY;  // centre of the square of the piece to select
    int moveX, moveY;      // centre of the landing square
    int moveDelay;         // frames before the moving click (once the timers run)
    int nextPlayer;        // the side whose piece the next lesson selects
};

// Square (c, r) has its centre at (40c + 20, 40r + 20).
constexpr Lesson kLessons[kLessonCount] = {
    {220, 260, 300, 260, 100, PLAYER_BLACK},  // white level 1 jumps one black piece
    {500, 420, 420, 340, 50, PLAYER_BLACK},   // black level 2 jumps diagonally
    {60, 60, 180, 60, 50, PLAYER_WHITE},      // black level 3 jumps two white pieces
    {620, 340, 740, 460, 50, PLAYER_WHITE},   // white level 4 jumps two black pieces diagonally
};

struct Placement {
    int x, y, owner, kills;
};

// Two of these name squares already filled (12, 4 and 7, 5): placePiece refuses them, and the
// position holds 28 pieces, 14 a side.
constexpr Placement kPosition[] = {
    {5, 6, 0, 0},   {6, 6, 1, 0},  {12, 10, 1, 3}, {11, 9, 0, 0},  {1, 1, 1, 5},   {2, 1, 0, 0},
    {3, 1, 0, 0},   {15, 8, 0, 7}, {16, 9, 1, 0},  {17, 10, 1, 0}, {3, 12, 1, 0},  {10, 11, 1, 0},
    {17, 7, 1, 0},  {12, 1, 1, 0}, {5, 13, 1, 0},  {1, 8, 1, 0},   {7, 4, 1, 0},   {18, 14, 1, 0},
    {12, 4, 1, 0},  {7, 5, 0, 0},  {18, 4, 0, 0},  {12, 4, 0, 0},  {10, 10, 0, 0}, {14, 12, 0, 0},
    {17, 14, 0, 0}, {4, 10, 0, 0}, {7, 5, 0, 0},   {16, 14, 0, 0}, {12, 7, 0, 0},  {8, 9, 0, 0},
};

bool cursorAtTarget() {
    const GameState& g = gameState;
    return g.cursorX == g.demoTargetX && g.cursorY == g.demoTargetY;
}

void setTarget(int x, int y) {
    gameState.demoTargetX = x;
    gameState.demoTargetY = y;
}

// Returns true once, when the step is entered: its entry actions are then due.
bool enterStep() {
    if (gameState.demoStepArmed) {
        return false;
    }
    gameState.demoStepArmed = 1;
    return true;
}

void nextStep(int step) {
    gameState.demoStep = step;
    gameState.demoStepArmed = 0;
}

// Step 0: head for the piece to select, remembering where OK was clicked.
void approachStep(const Lesson& lesson) {
    GameState& g = gameState;
    if (enterStep()) {
        g.demoReturnX = g.cursorX;
        g.demoReturnY = g.cursorY;
        setTarget(lesson.selectX, lesson.selectY);
    }
    if (cursorAtTarget()) {
        nextStep(STEP_SELECT);
    }
}

// Step 1: click the piece when timer B runs out, leave for the landing square when A does.
void selectStep(const Lesson& lesson) {
    GameState& g = gameState;
    if (enterStep()) {
        setTimer(TIMER_DEMO_A, 100);
        setTimer(TIMER_DEMO_B, 100);
        g.demoClickDone = 0;
    }
    startTimer(TIMER_DEMO_B);
    if (!g.demoClickDone && timerExpired(TIMER_DEMO_B)) {
        g.leftButton = 1;
        startTimer(TIMER_DEMO_A);
        g.demoClickDone = 1;
    } else if (timerExpired(TIMER_DEMO_B)) {
        g.leftButton = 0;  // the click lasts one frame
    }
    if (timerExpired(TIMER_DEMO_A)) {
        setTarget(lesson.moveX, lesson.moveY);
        if (cursorAtTarget()) {
            nextStep(STEP_MOVE);
        }
    }
}

// Step 2: click the landing square when timer A runs out, go back when B does; back at the
// point where OK was clicked, the lesson is over and the OK prompt comes back.
void moveStep(const Lesson& lesson) {
    GameState& g = gameState;
    if (enterStep()) {
        setTimer(TIMER_DEMO_A, lesson.moveDelay);
        setTimer(TIMER_DEMO_B, 100);
        g.demoClickDone = 0;
    }
    startTimer(TIMER_DEMO_A);
    if (!g.demoClickDone && timerExpired(TIMER_DEMO_A)) {
        g.leftButton = 1;
        startTimer(TIMER_DEMO_B);
        g.demoClickDone = 1;
    } else if (timerExpired(TIMER_DEMO_A)) {
        g.leftButton = 0;
    }
    if (timerExpired(TIMER_DEMO_B)) {
        setTarget(g.demoReturnX, g.demoReturnY);
        if (cursorAtTarget()) {
            g.demoStep = STEP_APPROACH;
            g.demoState += 1;
            g.playPhase = 0;
            g.cursorUserControlled = 1;
            g.clickLatch = 0;
            g.demoOkPromptVisible = 1;
            g.demoStepArmed = 0;
            g.leftButton = 0;
            g.currentPlayer = static_cast<std::uint8_t>(lesson.nextPlayer);
        }
    }
}

// The steps follow on within one call: arriving at the piece starts the select step at once,
// and reaching the landing square starts the move step at once. The end of a lesson waits for
// the next OK.
void runLesson() {
    const Lesson& lesson = kLessons[gameState.demoState];
    if (gameState.demoStep == STEP_APPROACH) {
        approachStep(lesson);
    }
    if (gameState.demoStep == STEP_SELECT) {
        selectStep(lesson);
    }
    if (gameState.demoStep == STEP_MOVE) {
        moveStep(lesson);
    }
}

void finish() {
    resetGame();
    gameState.menuVisible = 1;
    gameState.cursorUserControlled = 1;
}

// One pixel per axis per frame toward the target, while the script has the cursor.
void approachTarget() {
    GameState& g = gameState;
    if (cursorAtTarget() || g.cursorUserControlled) {
        return;
    }
    if (g.cursorX < g.demoTargetX) {
        ++g.cursorX;
    } else if (g.cursorX > g.demoTargetX) {
        --g.cursorX;
    }
    if (g.cursorY < g.demoTargetY) {
        ++g.cursorY;
    } else if (g.cursorY > g.demoTargetY) {
        --g.cursorY;
    }
}

bool okUnderCursor() {
    const GameState& g = gameState;
    return g.cursorX >= kOkLeft && g.cursorX < kOkLeft + kOkWidth && g.cursorY >= kOkTop &&
           g.cursorY < kOkTop + kOkHeight;
}

}  // namespace

void startDemonstration() {
    resetGame();
    gameState.demoMode = 1;
    for (const Placement& p : kPosition) {
        placePiece(p.x, p.y, p.owner, p.kills);
    }
}

void updateDemonstration() {
    GameState& g = gameState;
    if (g.demoOkPromptVisible && !g.clickLatch) {
        blitSprite(kOkLeft, kOkTop, kOkWidth, kOkHeight, kOkWidth, kOkHeight, 1, SPRITE_OK);
        drawText(0, 0, backBuffer, "Cliquez ok pour continuer", kWhite, kBlack);
    }
    drawNumber(g.leftButton, 0, 15, backBuffer, "button? =", "", kWhite, kBlack, true);

    if (g.leftButton != 0 && okUnderCursor()) {
        // The click on OK starts the lesson and is used up: the board never sees it.
        g.clickLatch = 1;
        g.demoOkPromptVisible = 0;
        g.leftButton = 0;
    } else if (!g.clickLatch) {
        approachTarget();
        return;
    }

    // During a lesson the script draws the only cursor; the regular one needs user control.
    blitSprite(g.cursorX, g.cursorY, kCursorSize, kCursorSize, kCursorSize, kCursorSize, 1,
               SPRITE_CURSOR);
    g.cursorUserControlled = 0;
    g.playPhase = 1;
    if (g.demoState >= 0 && g.demoState < kLessonCount) {
        runLesson();
    } else {
        finish();
    }
    approachTarget();
}
