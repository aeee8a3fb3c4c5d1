// The countdown timers: loading, starting, stopping, expiry as a level, and the frame on which
// a timer started in a frame is first seen as expired.
#include "shell/timers.h"

#include <gtest/gtest.h>

namespace {

class TimersTest : public ::testing::Test {
  protected:
    void SetUp() override { resetTimers(); }

    // The frame's logic runs first, then the tick, as in the frame driver.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            tickTimers();
        }
    }
};

TEST_F(TimersTest, EveryTimerStartsStoppedAtZero) {
    for (int i = 0; i < TIMER_COUNT; ++i) {
        EXPECT_EQ(timerBank.counters[i], 0);
        EXPECT_EQ(timerBank.running[i], 0);
        EXPECT_FALSE(timerExpired(i)) << "a stopped timer at 0 is not expired";
    }
}

TEST_F(TimersTest, ALoadedTimerThatIsNeverStartedNeverExpires) {
    setTimer(3, 5);
    frames(50);
    EXPECT_EQ(timerBank.counters[3], 5);
    EXPECT_FALSE(timerExpired(3));
}

TEST_F(TimersTest, StartedInFrameZeroItIsFirstExpiredInFrameHundredAndStaysSo) {
    // Frame 0's logic loads and starts it.
    setTimer(TIMER_GAME_END, 100);
    startTimer(TIMER_GAME_END);
    int firstExpired = -1;
    for (int frame = 0; frame < 110; ++frame) {
        if (timerExpired(TIMER_GAME_END) && firstExpired < 0) {
            firstExpired = frame;
        }
        if (firstExpired >= 0) {
            EXPECT_TRUE(timerExpired(TIMER_GAME_END)) << frame;
        }
        tickTimers();
    }
    EXPECT_EQ(firstExpired, 100);
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 0);
}

TEST_F(TimersTest, StartingACountingTimerDoesNotReloadIt) {
    setTimer(TIMER_DEMO_A, 40);
    startTimer(TIMER_DEMO_A);
    frames(3);
    startTimer(TIMER_DEMO_A);
    EXPECT_EQ(timerBank.counters[TIMER_DEMO_A], 37);
    setTimer(TIMER_DEMO_A, 100);
    frames(1);
    EXPECT_EQ(timerBank.counters[TIMER_DEMO_A], 99) << "a loaded running timer counts on";
}

TEST_F(TimersTest, LoadingZeroExpiresOnlyARunningTimer) {
    startTimer(TIMER_DEMO_B);
    setTimer(TIMER_DEMO_B, 0);
    EXPECT_TRUE(timerExpired(TIMER_DEMO_B));
    setTimer(5, 0);
    EXPECT_FALSE(timerExpired(5));
}

TEST_F(TimersTest, StoppingFreezesTheCounterAndStartingResumesIt) {
    setTimer(7, 20);
    startTimer(7);
    frames(8);
    stopTimer(7);
    frames(30);
    EXPECT_EQ(timerBank.counters[7], 12);
    EXPECT_FALSE(timerExpired(7));
    startTimer(7);
    frames(12);
    EXPECT_TRUE(timerExpired(7));
    stopTimer(7);
    EXPECT_FALSE(timerExpired(7)) << "a stopped timer at 0 is not expired";
}

TEST_F(TimersTest, TimersLoadedAlikeExpireTogetherAndTheLastIndexCounts) {
    for (int index : {0, 10, 11, TIMER_COUNT - 1}) {
        setTimer(index, 6);
        startTimer(index);
    }
    frames(5);
    for (int index : {0, 10, 11, TIMER_COUNT - 1}) {
        EXPECT_FALSE(timerExpired(index)) << index;
    }
    frames(1);
    for (int index : {0, 10, 11, TIMER_COUNT - 1}) {
        EXPECT_TRUE(timerExpired(index)) << index;
    }
}

TEST_F(TimersTest, ANegativeCounterNeitherCountsNorExpires) {
    setTimer(2, -3);
    startTimer(2);
    frames(10);
    EXPECT_EQ(timerBank.counters[2], -3);
    EXPECT_FALSE(timerExpired(2));
}

}  // namespace
