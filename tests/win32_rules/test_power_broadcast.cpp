#include <gtest/gtest.h>

#include "host/win32/power_broadcast.h"

static uint8_t s_currentStatus = 1;
static int s_reads = 0;

static uint8_t ReadStatus() {
    ++s_reads;
    return s_currentStatus;
}

class PowerBroadcast : public testing::Test {
protected:
    void SetUp() override {
        s_currentStatus = 1;
        s_reads = 0;
    }
    uint8_t stored = 1;
};

TEST_F(PowerBroadcast, ResumesEndTheSaverUnlessBitZeroIsSet) {
    for (uintptr_t event : {POWER_RESUME_CRITICAL, POWER_RESUME_SUSPEND, POWER_RESUME_STANDBY, POWER_RESUME_AUTOMATIC}) {
        EXPECT_TRUE(PowerBroadcastEndsSaver(event, 0, ReadStatus, &stored)) << event;
        EXPECT_TRUE(PowerBroadcastEndsSaver(event, 2, ReadStatus, &stored)) << event;
        EXPECT_FALSE(PowerBroadcastEndsSaver(event, 1, ReadStatus, &stored)) << event;
        EXPECT_FALSE(PowerBroadcastEndsSaver(event, 3, ReadStatus, &stored)) << event;
    }
    EXPECT_EQ(s_reads, 0);
}

TEST_F(PowerBroadcast, StatusChangeEndsItOnlyWhenTheAcLineChanged) {
    EXPECT_FALSE(PowerBroadcastEndsSaver(POWER_STATUS_CHANGE, 0, ReadStatus, &stored));
    s_currentStatus = 0;  // unplugged
    EXPECT_TRUE(PowerBroadcastEndsSaver(POWER_STATUS_CHANGE, 0, ReadStatus, &stored));
    EXPECT_EQ(stored, 0);
    EXPECT_FALSE(PowerBroadcastEndsSaver(POWER_STATUS_CHANGE, 0, ReadStatus, &stored));
    s_currentStatus = POWER_AC_UNKNOWN;  // the query failed
    EXPECT_TRUE(PowerBroadcastEndsSaver(POWER_STATUS_CHANGE, 0, ReadStatus, &stored));
    EXPECT_EQ(stored, POWER_AC_UNKNOWN);
    EXPECT_EQ(s_reads, 4);
}

TEST_F(PowerBroadcast, OtherEventsAlwaysEndIt) {
    EXPECT_TRUE(PowerBroadcastEndsSaver(9, 0, ReadStatus, &stored));   // battery low
    EXPECT_TRUE(PowerBroadcastEndsSaver(0, 1, ReadStatus, &stored));   // query suspend
    EXPECT_EQ(s_reads, 0);
}
