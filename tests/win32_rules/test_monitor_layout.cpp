#include <gtest/gtest.h>

#include <tuple>

#include "host/win32/monitor_layout.h"

static std::tuple<int, int, int, int> Rect(const SaverMonitor& m) {
    return {m.left, m.top, m.width, m.height};
}

// A secondary left of the primary puts the virtual screen, and the window, at x = -800. The primary
// comes first wherever the system enumerates it; a monitor keeps its key when the others change.
TEST(MonitorLayout, PrimaryFirstInTheWindowsCoordinatesEachKeyedByItsDevice) {
    const ScreenMonitor screen[] = {{-800, 0, 0, 600, false, "\\\\.\\DISPLAY2"},
                                    {0, 0, 1024, 768, true, "\\\\.\\DISPLAY1"},
                                    {1024, 100, 1664, 580, false, "\\\\.\\DISPLAY3"}};
    SaverMonitor m[4];
    ASSERT_EQ(3, ClientMonitors(screen, 3, -800, 0, m, 4));
    EXPECT_EQ(Rect(m[0]), std::make_tuple(800, 0, 1024, 768));
    EXPECT_EQ(Rect(m[1]), std::make_tuple(0, 0, 800, 600));
    EXPECT_EQ(Rect(m[2]), std::make_tuple(1824, 100, 640, 480));
    EXPECT_TRUE(m[0].key != m[1].key && m[1].key != m[2].key && m[0].key != m[2].key);

    // DISPLAY2 unplugged: the window now starts at the primary.
    SaverMonitor after[4];
    ASSERT_EQ(2, ClientMonitors(screen + 1, 2, 0, 0, after, 4));
    EXPECT_EQ(Rect(after[1]), std::make_tuple(1024, 100, 640, 480));
    EXPECT_TRUE(after[0].key == m[0].key && after[1].key == m[2].key);

    ASSERT_EQ(1, ClientMonitors(screen, 3, -800, 0, after, 1));
    EXPECT_EQ(after[0].key, m[0].key);
}
