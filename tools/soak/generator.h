// Random but meaningful play, as gorvendal-replay scripts: the cursor is sent toward what the
// screen offers at that moment (menu buttons, squares holding the side's pieces and the squares
// they can reach, the letters and OK boxes of the save and load screens, the demonstration's OK
// button), pressed for one to three frames and released; now and then Escape, a loss of the
// foreground, a right click, a wander off the screen's edge, a pause or the window's close
// command.
//
// The same seed and the same game give the same script: the generator draws from its own
// random sequence and looks only at the game's state, which the headless game makes
// deterministic.
#pragma once

#include <cstdint>
#include <string>

struct GameState;
struct Board;

namespace soak {

class ScriptGenerator {
  public:
    explicit ScriptGenerator(std::uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ull) {}

    // The script lines of the next action (each ending with a line end), for a game standing
    // as `game` and `board` show it. Every action lets at least one frame run.
    std::string nextAction(const GameState& game, const Board& board);

  private:
    std::uint64_t next();
    int below(int n);                // 0 .. n-1
    int between(int low, int high);  // low .. high
    bool chance(int percent);

    // Moves from where the cursor is to (x, y), then presses for a few frames.
    std::string clickAt(const GameState& game, int x, int y);
    std::string clickSquare(const GameState& game, int column, int row);
    std::string menuAction(const GameState& game);
    std::string fileScreenAction(const GameState& game);
    std::string demonstrationAction(const GameState& game);
    std::string placementAction(const GameState& game, const Board& board);
    std::string playAction(const GameState& game, const Board& board);
    std::string disturbance(const GameState& game);

    std::uint64_t state_;
};

}  // namespace soak
