#include <gtest/gtest.h>

#include "host/win32/power_broadcast.h"

static uint8_t s_currentStatus = 1;
static int s_reads = 0;

static uint8_t ReadStatus() {
    ++s_reads;
    return s_currentStatus;
}

// Resumes end the saver unless bit 0 of their data is set; other events except a status change
// always end it. None of them reads the power status.
TEST(PowerBroadcast, ResumesUnlessBitZeroIsSetAndOtherEventsEndTheSaver) {
    s_reads = 0;
    uint8_t stored = 1;
    for (uintptr_t event : {POWER_RESUME_CRITICAL, POWER_RESUME_SUSPEND, POWER_RESUME_STANDBY, POWER_RESUME_AUTOMATIC}) {
        for (intptr_t data : {0, 1, 2, 3})
            EXPECT_EQ(data % 2 == 0, PowerBroadcastEndsSaver(event, data, ReadStatus, &stored)) << event << " " << data;
    }
    EXPECT_TRUE(PowerBroadcastEndsSaver(9, 0, ReadStatus, &stored));  // battery low
    EXPECT_TRUE(PowerBroadcastEndsSaver(0, 1, ReadStatus, &stored));  // query suspend
    EXPECT_EQ(s_reads, 0);
}

TEST(PowerBroadcast, StatusChangeEndsItOnlyWhenTheAcLineChanged) {
    s_currentStatus = 1;
    s_reads = 0;
    uint8_t stored = 1;
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
