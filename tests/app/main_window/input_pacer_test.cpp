#include "app/input_pacer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(InputPacer, HandlesInputFirstThenOncePerIntervalAndWhenCatchingUp)
{
    std::chrono::steady_clock::time_point now{};
    app::InputPacer pacer(16ms, [&now] { return now; });

    EXPECT_TRUE(pacer.Due()) << "input waiting when the run begins is handled at once";
    now += 15ms;
    EXPECT_FALSE(pacer.Due());
    now += 1ms;
    EXPECT_TRUE(pacer.Due()) << "16 ms after the last time";
    now += 10ms;
    EXPECT_FALSE(pacer.Due());
    EXPECT_TRUE(pacer.Due(true)) << "catching up does not wait";
    now += 15ms;
    EXPECT_FALSE(pacer.Due()) << "the interval runs anew from the catch-up";
    now += 1ms;
    EXPECT_TRUE(pacer.Due());

    // Rows slower than the interval: every one of them lets input in.
    for (int row = 0; row < 3; ++row) {
        now += 40ms;
        EXPECT_TRUE(pacer.Due()) << "row " << row;
    }
}
