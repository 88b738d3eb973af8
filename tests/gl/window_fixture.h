#pragma once
#include <algorithm>
#include <cstdint>

#include "engine/engine_state.h"
#include "engine/saver_window_proc.h"
#include "seam/platform.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_host.h"
#include "tests/unit/sim_fixture.h"

extern bool g_awaitingFirstMouseMove;
extern int32_t g_mouseStartX;
extern int32_t g_mouseStartY;
extern uintptr_t g_timerId;

inline SaverLParam PackedPoint(int low, int high) {
    return SaverLParam((uint32_t(high) & 0xFFFF) << 16 | (uint32_t(low) & 0xFFFF));
}

inline void StoreMode(uint32_t width, uint32_t height, uint32_t bits) {
    g_settings.displayWidth = width;
    g_settings.displayHeight = height;
    g_settings.displayBits = bits;
}

// The saver window procedure on the recording host, with every process-wide record of the
// window and the show back at its start-up state.
class WindowProcTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Restart();
    }
    void TearDown() override {
        Restart();
        SimTest::TearDown();
    }
    // Forgets the host's calls and the window's state, so that a test can create the saver again.
    void Restart() {
        ResetRecordingHost();
        g_awaitingFirstMouseMove = true;
        g_mouseStartX = g_mouseStartY = 0;
        g_timerId = 0;
        g_previewParent = nullptr;
        g_hdc = nullptr;
        g_hglrc = nullptr;
        g_showBorder = g_showFrameRate = false;
        g_reportedErrors.clear();
    }

    SaverResult Send(uint32_t message, SaverWParam wParam = 0, SaverLParam lParam = 0) {
        return SaverWindowProc(RecordingWindow(), message, wParam, lParam);
    }
    // WM_NCCREATE, which loads the settings: a test changes them after it.
    SaverResult NcCreate() {
        SaverCreateParams params = {nullptr, nullptr, nullptr, nullptr};
        return Send(SAVER_WM_NCCREATE, 0, SaverLParam(&params));
    }
    // WM_CREATE; a null parent makes the full-screen saver, any other a preview.
    void Create(SaverWindow parent) {
        SaverCreateParams params = {nullptr, nullptr, nullptr, parent};
        ASSERT_EQ(Send(SAVER_WM_CREATE, 0, SaverLParam(&params)), 0);
    }
    SaverResult MoveMouse(int x, int y) { return Send(SAVER_WM_MOUSEMOVE, 0, PackedPoint(x, y)); }
    bool CloseSent() const {
        return std::count(g_host.calls.begin(), g_host.calls.end(), "SendMessage 0x0010") > 0;
    }
};
