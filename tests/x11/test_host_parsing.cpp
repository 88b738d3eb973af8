#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/x11/extension_list.h"
#include "host/x11/frame_timer.h"
#include "host/linux/options.h"

static OptionsResult Parse(std::vector<const char*> arguments, HostOptions* options, std::string* problem = nullptr) {
    std::vector<char*> argv = {const_cast<char*>("vesperglow")};
    for (const char* argument : arguments) argv.push_back(const_cast<char*>(argument));
    std::string ignored;
    return ParseOptions(int(argv.size()), argv.data(), options, problem ? problem : &ignored);
}

// One dash or two alike; a mode given twice the same way is no conflict.
TEST(HostOptions, ModesValuesAndRefusals) {
    // xscreensaver's panel previews with its -root command and -window-id: the window id wins.
    for (const std::vector<const char*>& arguments : {std::vector<const char*>{"--root", "--window-id", "7"},
                                                      std::vector<const char*>{"-window-id", "7", "-root"}}) {
        HostOptions parsed;
        EXPECT_EQ(OPTIONS_RUN, Parse(arguments, &parsed));
        EXPECT_EQ(HOST_MODE_WINDOW_ID, parsed.mode) << arguments[0];
    }
    HostOptions preview;
    ASSERT_EQ(OPTIONS_RUN, Parse({"--window-id", "0x2a00005", "-fps", "--seed", "4294967295"}, &preview));
    EXPECT_TRUE(preview.mode == HOST_MODE_WINDOW_ID && preview.windowId == 0x2a00005ul && preview.showFrameRate);
    EXPECT_TRUE(preview.seedGiven && preview.seed == 4294967295u);
    const std::pair<std::vector<const char*>, OptionsResult> cases[] = {
        {{"-root", "--root"}, OPTIONS_RUN}, {{"-help"}, OPTIONS_HELP}, {{"--version"}, OPTIONS_VERSION},
        {{"-fps", "--config"}, OPTIONS_CONFIG}, {{"---root"}, OPTIONS_UNKNOWN}, {{"root"}, OPTIONS_UNKNOWN},
        {{"-window-id", "5", "-window-id", "6"}, OPTIONS_BAD}, {{"-seed"}, OPTIONS_BAD},
        {{"-seed", "-1"}, OPTIONS_BAD}, {{"-seed", "4294967296"}, OPTIONS_BAD},
        {{"-wayland", "-x11"}, OPTIONS_BAD}, {{"-root", "--wayland"}, OPTIONS_BAD}, {{"-x11", "-root"}, OPTIONS_RUN}};
    for (const auto& [arguments, result] : cases) {
        HostOptions options;
        EXPECT_EQ(result, Parse(arguments, &options)) << arguments[0] << " " << arguments.back();
    }
    HostOptions forced;
    ASSERT_EQ(OPTIONS_RUN, Parse({"--wayland", "-fullscreen", "-wayland"}, &forced));
    EXPECT_TRUE(forced.host == HOST_CHOICE_WAYLAND && forced.mode == HOST_MODE_FULLSCREEN);
    HostOptions options;
    std::string problem;
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"-nonsense"}, &options, &problem));
    EXPECT_EQ("unknown option \"-nonsense\"", problem);
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"-:o"}, &options, &problem));  // once named argv[0]
    EXPECT_EQ("unknown option \"-:o\"", problem);
    EXPECT_EQ(OPTIONS_BAD, Parse({"-root", "-fullscreen"}, &options, &problem));
    EXPECT_EQ("choose only one of -window, -root, -window-id and -fullscreen", problem);
}

// The options xscreensaver's panel passes win over the loaded settings; the last of two wins.
TEST(HostOptions, SettingOptionsOverTheLoadedSettings) {
    HostOptions options;
    ASSERT_EQ(OPTIONS_RUN, Parse({"--root", "--frequency", "60", "-stars", "0", "--waver", "10", "--no-twilight",
                                  "--twilight", "-no-display-title", "--cork-screw", "0", "--blast", "3"},
                                 &options));
    Settings settings;
    settings.blastWeight = 7;
    settings.sparklingWeight = 9;
    ApplySettingOptions(options.settings, &settings);
    EXPECT_EQ(60u, settings.frequency);
    EXPECT_EQ(0u, settings.stars);
    EXPECT_EQ(10u, settings.waverWeight);
    EXPECT_EQ(1u, settings.twilightSky);
    EXPECT_EQ(0u, settings.displayTitle);
    EXPECT_EQ(0u, settings.corkScrewWeight);
    EXPECT_EQ(3u, settings.blastWeight);
    EXPECT_EQ(9u, settings.sparklingWeight);

    const std::pair<std::vector<const char*>, const char*> refused[] = {
        {{"--frequency", "9"}, "bad value \"9\" for -frequency: give a number from 10 to 60"},
        {{"--stars", "5"}, "bad value \"5\" for -stars: give a number from 0 to 4"},
        {{"--weeping-willow", "-1"}, "bad value \"-1\" for -weeping-willow: give a number from 0 to 10"},
        {{"-sparkling"}, "-sparkling needs a number from 0 to 10"}};
    for (const auto& [arguments, message] : refused) {
        std::string problem;
        EXPECT_EQ(OPTIONS_BAD, Parse(arguments, &options, &problem));
        EXPECT_EQ(message, problem);
    }
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"--twilight", "1"}, &options));
    EXPECT_EQ(OPTIONS_UNKNOWN, Parse({"--no-stars"}, &options));
    EXPECT_EQ(OPTIONS_ADD_TO_XSCREENSAVER, Parse({"--add-to-xscreensaver"}, &options));
}

TEST(WindowId, HexadecimalWithPrefixOrDecimal) {
    const std::pair<const char*, unsigned long> good[] = {
        {"0x1e00007", 0x1e00007}, {"0X1E00007", 0x1e00007}, {"010", 10}, {"4294967295", 4294967295ul}};
    unsigned long id = 0;
    for (const auto& [text, expected] : good) EXPECT_TRUE(ParseWindowId(text, &id) && id == expected) << text;
    for (const char* text : {"", "0", "0x", "zz", "1e00007", "-5", " 5", "4294967296", "0x100000000"})
        EXPECT_FALSE(ParseWindowId(text, &id)) << '"' << text << '"';
}

const int64_t MILLISECOND = 1000 * 1000;

// No faster than every 10 ms, as Windows delivers WM_TIMER, and like it a late tick is one tick: the
// next comes a full period after it, never at once.
TEST(FrameTimer, NoFasterThanTheDisplayOrTenMillisecondsAndLateTicksDoNotPileUp) {
    FrameTimer timer;
    timer.displayPeriodNanos = 5 * MILLISECOND;  // a 200 Hz display: the 10 ms floor holds
    EXPECT_EQ(-1, timer.MillisUntilDue(0));
    EXPECT_FALSE(timer.TakeTick(1000 * MILLISECOND));
    timer.Start(1, 1, 0);
    EXPECT_EQ(10, timer.MillisUntilDue(0));
    EXPECT_FALSE(timer.TakeTick(10 * MILLISECOND - 1));
    EXPECT_EQ(1, timer.MillisUntilDue(10 * MILLISECOND - 1));
    EXPECT_EQ(0, timer.MillisUntilDue(95 * MILLISECOND));
    EXPECT_TRUE(timer.TakeTick(95 * MILLISECOND));
    EXPECT_FALSE(timer.TakeTick(104 * MILLISECOND));
    EXPECT_TRUE(timer.TakeTick(105 * MILLISECOND));
    int ticks = 0;
    for (int64_t now = 105 * MILLISECOND; now <= 1105 * MILLISECOND; now += MILLISECOND / 2)
        if (timer.TakeTick(now)) ++ticks;
    EXPECT_EQ(100, ticks);
    timer.Stop();
    EXPECT_FALSE(timer.TakeTick(2000 * MILLISECOND));
    EXPECT_EQ(-1, timer.MillisUntilDue(2000 * MILLISECOND));
    timer.Start(7, 40, 0);
    EXPECT_EQ(40 * MILLISECOND, timer.periodNanos);
    timer.displayPeriodNanos = FRAME_TIMER_DEFAULT_DISPLAY_NANOS;
    timer.Start(7, 1, 0);
    EXPECT_EQ(16666666, timer.periodNanos);
}

TEST(ExtensionList, WholeNamesOnly) {
    const char* list = "GLX_ARB_multisample GLX_EXT_swap_control_tear GLX_MESA_swap_control GLX_SGI_video_sync";
    EXPECT_TRUE(HasExtension(list, "GLX_ARB_multisample"));
    EXPECT_TRUE(HasExtension(list, "GLX_SGI_video_sync"));
    EXPECT_FALSE(HasExtension(list, "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(list, "swap_control"));
    EXPECT_TRUE(HasExtension("GLX_EXT_swap_control_tear GLX_EXT_swap_control", "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(nullptr, "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension("", "GLX_EXT_swap_control"));
    EXPECT_FALSE(HasExtension(list, ""));
}
