#include "engine/saver_window.h"

#include <GL/gl.h>

#include <algorithm>

#include "engine/monitor_seed.h"

SaverWindowState* SaverWindowStateOf(SaverWindow window) {
    return static_cast<SaverWindowState*>(HostGetWindowData(window));
}

static bool SameRectangle(const SaverMonitor& a, const SaverMonitor& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// The host's monitors less the mirrors; one monitor, or none listed, is the whole window.
static int ReadMonitors(SaverWindow window, const SaverWindowState& state, SaverMonitor* monitors) {
    SaverMonitor listed[SAVER_MAX_MONITORS];
    int count = std::min(HostListMonitors(window, listed, SAVER_MAX_MONITORS), SAVER_MAX_MONITORS);
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        auto end = monitors + kept;
        if (std::none_of(monitors, end, [&](const SaverMonitor& m) { return SameRectangle(m, listed[i]); }))
            monitors[kept++] = listed[i];
    }
    if (kept > 1) return kept;
    monitors[0] = {0, 0, state.width, state.height, kept == 1 ? monitors[0].key : 0};
    return 1;
}

static std::unique_ptr<Show> StartShow(const SaverWindowState& state, int32_t monitor) {
    auto show = std::make_unique<Show>(FrameClock({HostQueryCounterFrequency, HostQueryCounter, HostQueryMilliseconds}));
    show->Init(MonitorSeed(state.seed, monitor), state.settings);
    show->frameRateAlwaysShown = state.frameRateAlwaysShown;
    show->font = state.font;
    return show;
}

void LayOutShows(SaverWindow window, SaverWindowState& state, bool resizeAll) {
    SaverMonitor monitors[SAVER_MAX_MONITORS];
    int count = ReadMonitors(window, state, monitors);
    std::vector<PlacedShow> placed(count);
    for (int i = 0; i < count; ++i) {
        const SaverMonitor& monitor = monitors[i];
        auto kept = std::find_if(state.shows.begin(), state.shows.end(),
                                 [&](const PlacedShow& old) { return old.show && old.monitor.key == monitor.key; });
        placed[i].monitor = monitor;
        if (kept != state.shows.end()) {
            placed[i].show = std::move(kept->show);
        } else {
            placed[i].show = StartShow(state, count == 1 ? state.monitorIndex : i);
        }
        Show& show = *placed[i].show;
        if (resizeAll || kept == state.shows.end() || show.width != monitor.width || show.height != monitor.height)
            show.Resize(monitor.width, monitor.height);
    }
    for (PlacedShow& gone : state.shows)
        if (gone.show) gone.show->Destroy();
    state.shows = std::move(placed);
}

void RenderShows(SaverWindowState& state) {
    if (state.shows.size() == 1) {
        state.shows[0].show->RenderFrame();
        return;
    }
    ClearFrame(state.settings);
    glEnable(GL_SCISSOR_TEST);
    for (PlacedShow& placed : state.shows) {
        const SaverMonitor& area = placed.monitor;
        int bottom = state.height - (area.top + area.height);
        glScissor(area.left, bottom, area.width, area.height);
        ResizeScene(area.left, bottom, area.width, area.height);
        placed.show->DrawFrame();
    }
    glDisable(GL_SCISSOR_TEST);
}
