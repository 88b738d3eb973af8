#include "tests/gl/window_fixture.h"

#include <algorithm>

#include "engine/engine_state.h"
#include "engine/saver_messages.h"
#include "engine/saver_window_proc.h"

extern bool g_awaitingFirstMouseMove;
extern int32_t g_mouseStartX;
extern int32_t g_mouseStartY;
extern uintptr_t g_timerId;

static void ResetWindowState() {
    g_awaitingFirstMouseMove = true;
    g_mouseStartX = 0;
    g_mouseStartY = 0;
    g_timerId = 0;
    g_previewParent = nullptr;
    g_hdc = nullptr;
    g_hglrc = nullptr;
    g_showBorder = false;
    g_showFrameRate = false;
}

void WindowProcTest::SetUp() {
    SimTest::SetUp();
    ResetRecordingHost();
    ResetWindowState();
    g_reportedErrors.clear();
}

void WindowProcTest::TearDown() {
    ResetRecordingHost();
    ResetWindowState();
    SimTest::TearDown();
}

SaverResult WindowProcTest::Send(uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    return SaverWindowProc(RecordingWindow(), message, wParam, lParam);
}

void WindowProcTest::NcCreate() {
    SaverCreateParams params = {nullptr, nullptr, nullptr, nullptr};
    Send(SAVER_WM_NCCREATE, 0, SaverLParam(&params));
}

void WindowProcTest::Create(SaverWindow parent) {
    SaverCreateParams params = {nullptr, nullptr, nullptr, parent};
    ASSERT_EQ(Send(SAVER_WM_CREATE, 0, SaverLParam(&params)), 0);
}

SaverLParam PackedPoint(int low, int high) {
    return SaverLParam((uint32_t(high) & 0xFFFF) << 16 | (uint32_t(low) & 0xFFFF));
}

SaverResult WindowProcTest::MoveMouse(int x, int y) {
    return Send(SAVER_WM_MOUSEMOVE, 0, PackedPoint(x, y));
}

bool WindowProcTest::CloseSent() const {
    return std::count(g_host.calls.begin(), g_host.calls.end(), "SendMessage 0x0010") > 0;
}
