#include "shell/timers.h"

TimerBank timerBank;

void setTimer(int index, int frames) {
    timerBank.counters[index] = frames;
}

void startTimer(int index) {
    timerBank.running[index] = 1;
}

void stopTimer(int index) {
    timerBank.running[index] = 0;
}

bool timerExpired(int index) {
    return timerBank.counters[index] == 0 && timerBank.running[index] != 0;
}

void tickTimers() {
    for (int i = 0; i < TIMER_COUNT; ++i) {
        // A running timer stops at 0; a negative counter is never touched.
        if (timerBank.counters[i] > 0 && timerBank.running[i] != 0) {
            --timerBank.counters[i];
        }
    }
}

void resetTimers() {
    timerBank = TimerBank{};
}
