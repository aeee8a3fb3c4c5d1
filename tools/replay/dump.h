// The state dump: every field of the game state, the 300 cells and the timer bank, as JSON.
#pragma once

#include <string>

namespace replay {

std::string stateDumpJson(int frame);
bool writeStateDump(const char* path, int frame);

}  // namespace replay
