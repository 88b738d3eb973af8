#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include <string>
#include <vector>

#include "host/x11/extension_list.h"
#include "host/x11/frame_timer.h"
#include "host/x11/key_codes.h"
#include "host/x11/options.h"

static OptionsResult Parse(std::vector<const char*> arguments, HostOptions* options, std::string* problem = nullptr) {
    arguments.insert(arguments.begin(), "vesperglow");
    std::string ignored;
    return ParseOptions(int(arguments.size()), arguments.data(), options, problem ? problem : &ignored);
}

TEST(HostOptions, EveryModeWithOneOrTwoDashes) {
    HostOptions options;
    ASSERT_EQ(OPTIONS_RUN, Parse({}, &options));
    EXPECT_EQ(HOST_MODE_WINDOW, options.mode);
    const std::pair<const char*, HostMode> modes[] = {
        {"-window", HOST_MODE_WINDOW}, {"--window", HOST_MODE_WINDOW}, {"-root", HOST_MODE_ROOT},
        {"--root", HOST_MODE_ROOT}, {"-fullscreen", HOST_MODE_FULLSCREEN}, {"--fullscreen", HOST_MODE_FULLSCREEN}};
    for (const auto& mode : modes) {
        HostOptions parsed;
        ASSERT_EQ(OPTIONS_RUN, Parse({mode.first}, &parsed)) << mode.first;
        EXPECT_EQ(mode.second, parsed.mode) << mode.first;
    }
    HostOptions preview;
    ASSERT_EQ(OPTIONS_RUN, Parse({"--window-id", "0x2a00005", "--fps", "--seed", "42"}, &preview));
    EXPECT_EQ(HOST_MODE_WINDOW_ID, preview.mode);
    EXPECT_EQ(0x2a00005ul, preview.windowId);
    EXPECT_TRUE(preview.showFrameRate);
    EXPECT_TRUE(preview.seedGiven);
    EXPECT_EQ(42u, preview.seed);
}

TEST(HostOptions, HelpVersionAndUnknownOptions) {
    HostOptions options;
    std::string problem;
    EXPECT_EQ(OPTIONS_HELP, Parse({"-help"}, &options));
    EXPECT_EQ(OPTIONS_HELP, Parse({"--help"}, &options));
    EXPECT_EQ(OPTIONS_VERSION, Parse({"--version"}, &options));
    EXPECT_EQ(OPTIONS_CONFIG, Parse({"-config"}, &options));
    EXPECT_EQ(OPTIONS_CONFIG, Parse({"--config"}, &options));
    EXPECT_EQ(OPTIONS_CONFIG, Parse({"-fps", "--config"}, &options));
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"-nonsense"}, &options, &problem));
    EXPECT_EQ("unknown option \"-nonsense\"", problem);
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"---root"}, &options));
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"root"}, &options));
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"-"}, &options));
}

TEST(HostOptions, ModesDoNotCombine) {
    HostOptions options;
    std::string problem;
    EXPECT_EQ(OPTIONS_RUN, Parse({"-root", "--root"}, &options));
    EXPECT_EQ(OPTIONS_BAD, Parse({"-root", "-fullscreen"}, &options, &problem));
    EXPECT_NE(std::string::npos, problem.find("only one"));
    HostOptions twice;
    EXPECT_EQ(OPTIONS_BAD, Parse({"-window-id", "5", "-window-id", "6"}, &twice));
    HostOptions windowThenId;
    EXPECT_EQ(OPTIONS_BAD, Parse({"-window", "-window-id", "5"}, &windowThenId));
}

TEST(HostOptions, BadOrMissingValues) {
    HostOptions options;
    std::string problem;
    EXPECT_EQ(OPTIONS_BAD, Parse({"-window-id"}, &options, &problem));
    EXPECT_EQ("-window-id needs a window id", problem);
    EXPECT_EQ(OPTIONS_BAD, Parse({"-window-id", "zz"}, &options, &problem));
    EXPECT_EQ("bad window id \"zz\"", problem);
    EXPECT_EQ(OPTIONS_BAD, Parse({"-seed"}, &options));
    EXPECT_EQ(OPTIONS_BAD, Parse({"-seed", "-1"}, &options));
    EXPECT_EQ(OPTIONS_BAD, Parse({"-seed", "4294967296"}, &options));
    EXPECT_EQ(OPTIONS_BAD, Parse({"-seed", "12x"}, &options));
    HostOptions largest;
    ASSERT_EQ(OPTIONS_RUN, Parse({"-seed", "4294967295"}, &largest));
    EXPECT_EQ(4294967295u, largest.seed);
}

TEST(WindowId, HexadecimalWithPrefixOrDecimal) {
    unsigned long id = 0;
    ASSERT_TRUE(ParseWindowId("0x1e00007", &id));
    EXPECT_EQ(0x1e00007ul, id);
    ASSERT_TRUE(ParseWindowId("0X1E00007", &id));
    EXPECT_EQ(0x1e00007ul, id);
    ASSERT_TRUE(ParseWindowId("31457287", &id));
    EXPECT_EQ(31457287ul, id);
    // A leading zero is not octal.
    ASSERT_TRUE(ParseWindowId("010", &id));
    EXPECT_EQ(10ul, id);
    ASSERT_TRUE(ParseWindowId("4294967295", &id));
    const char* const bad[] = {"", "0", "0x0", "0x", "zz", "1e00007", "0x1g", "-5", "+5", " 5", "5 ", "4294967296",
                               "0x100000000", "99999999999999999999999"};
    for (const char* text : bad) EXPECT_FALSE(ParseWindowId(text, &id)) << '"' << text << '"';
    EXPECT_FALSE(ParseWindowId(nullptr, &id));
}

TEST(KeyCodes, Win32VirtualKeys) {
    EXPECT_EQ(0x70u, VirtualKeyFromKeysym(XK_F1));
    EXPECT_EQ(0x71u, VirtualKeyFromKeysym(XK_F2));
    EXPECT_EQ(0x7Bu, VirtualKeyFromKeysym(XK_F12));
    EXPECT_EQ(0x41u, VirtualKeyFromKeysym(XK_a));
    EXPECT_EQ(0x41u, VirtualKeyFromKeysym(XK_A));
    EXPECT_EQ(0x5Au, VirtualKeyFromKeysym(XK_z));
    EXPECT_EQ(0x30u, VirtualKeyFromKeysym(XK_0));
    EXPECT_EQ(0x39u, VirtualKeyFromKeysym(XK_9));
    EXPECT_EQ(0x60u, VirtualKeyFromKeysym(XK_KP_0));
    EXPECT_EQ(0x1Bu, VirtualKeyFromKeysym(XK_Escape));
    EXPECT_EQ(0x0Du, VirtualKeyFromKeysym(XK_Return));
    EXPECT_EQ(0x20u, VirtualKeyFromKeysym(XK_space));
    EXPECT_EQ(0x25u, VirtualKeyFromKeysym(XK_Left));
    EXPECT_EQ(0x28u, VirtualKeyFromKeysym(XK_Down));
    EXPECT_EQ(0x10u, VirtualKeyFromKeysym(XK_Shift_R));
    EXPECT_EQ(0xBDu, VirtualKeyFromKeysym(XK_minus));
    EXPECT_EQ(KEY_UNKNOWN, VirtualKeyFromKeysym(XK_eacute));
    EXPECT_EQ(KEY_UNKNOWN, VirtualKeyFromKeysym(NoSymbol));
}

TEST(KeyCodes, WindowQuitKeys) {
    EXPECT_TRUE(IsWindowQuitKey(XK_q, 0));
    EXPECT_TRUE(IsWindowQuitKey(XK_q, ShiftMask));
    EXPECT_TRUE(IsWindowQuitKey(XK_Escape, 0));
    EXPECT_TRUE(IsWindowQuitKey(XK_c, ControlMask));
    EXPECT_TRUE(IsWindowQuitKey(XK_c, ControlMask | LockMask));
    EXPECT_FALSE(IsWindowQuitKey(XK_c, 0));
    EXPECT_FALSE(IsWindowQuitKey(XK_F1, 0));
    EXPECT_FALSE(IsWindowQuitKey(XK_a, ControlMask));
}

const int64_t MILLISECOND = 1000 * 1000;

TEST(FrameTimer, NoFasterThanTenMilliseconds) {
    FrameTimer timer;
    EXPECT_EQ(-1, timer.MillisUntilDue(0));
    EXPECT_FALSE(timer.TakeTick(1000 * MILLISECOND));
    timer.Start(1, 1, 0);
    EXPECT_EQ(10 * MILLISECOND, timer.periodNanos);
    EXPECT_EQ(10, timer.MillisUntilDue(0));
    EXPECT_FALSE(timer.TakeTick(10 * MILLISECOND - 1));
    EXPECT_EQ(1, timer.MillisUntilDue(10 * MILLISECOND - 1));
    EXPECT_TRUE(timer.TakeTick(10 * MILLISECOND));
    EXPECT_FALSE(timer.TakeTick(10 * MILLISECOND));
    timer.Stop();
    EXPECT_FALSE(timer.TakeTick(100 * MILLISECOND));
    EXPECT_EQ(-1, timer.MillisUntilDue(100 * MILLISECOND));

    FrameTimer slow;
    slow.Start(7, 40, 0);
    EXPECT_EQ(7u, slow.id);
    EXPECT_EQ(40 * MILLISECOND, slow.periodNanos);
}

// Like WM_TIMER, a late tick is one tick: the next comes a full period after it, never at once.
TEST(FrameTimer, LateTicksDoNotPileUp) {
    FrameTimer timer;
    timer.Start(1, 1, 0);
    EXPECT_EQ(0, timer.MillisUntilDue(95 * MILLISECOND));
    EXPECT_TRUE(timer.TakeTick(95 * MILLISECOND));
    EXPECT_FALSE(timer.TakeTick(95 * MILLISECOND));
    EXPECT_FALSE(timer.TakeTick(104 * MILLISECOND));
    EXPECT_TRUE(timer.TakeTick(105 * MILLISECOND));
    int ticks = 0;
    for (int64_t now = 105 * MILLISECOND; now <= 1105 * MILLISECOND; now += MILLISECOND / 2)
        if (timer.TakeTick(now)) ++ticks;
    EXPECT_EQ(100, ticks);
}

TEST(ExtensionList, WholeNamesOnly) {
    const char* list = "GLX_ARB_multisample GLX_EXT_swap_control_tear GLX_MESA_swap_control GLX_SGI_video_sync";
    EXPECT_TRUE(HasExtension(list, "GLX_MESA_swap_control"));
    EXPECT_TRUE(HasExtension(list, "GLX_ARB_multisample"));
    EXPECT_TRUE(HasExtension(list, "GLX_SGI_video_sync"));
    EXPECT_FALSE(HasExtension(list, "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(list, "swap_control"));
    EXPECT_TRUE(HasExtension("GLX_EXT_swap_control_tear GLX_EXT_swap_control", "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(nullptr, "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension("", "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(list, ""));
}
