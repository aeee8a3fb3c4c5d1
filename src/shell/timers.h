// A bank of 255 frame-counting countdown timers, polled by their owners.
#pragma once

#include <cstdint>

inline constexpr int TIMER_COUNT = 255;
inline constexpr int TIMER_GAME_END = 0;
inline constexpr int TIMER_DEMO_A = 10;
inline constexpr int TIMER_DEMO_B = 11;

struct TimerBank {
    std::int32_t counters[TIMER_COUNT];
    std::uint8_t running[TIMER_COUNT];
};

extern TimerBank timerBank;

void setTimer(int index, int frames);
void startTimer(int index);
void stopTimer(int index);
bool timerExpired(int index);
void tickTimers();
// Every counter 0, every timer stopped (the start of the process).
void resetTimers();
