#pragma once
#include <string>
#include <vector>

#include "host/platform.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_host.h"
#include "tests/unit/sim_fixture.h"

// The saver window procedure on the recording host, with every process-wide record of the
// window and the show back at its start-up state.
class WindowProcTest : public SimTest {
protected:
    void SetUp() override;
    void TearDown() override;

    SaverResult Send(uint32_t message, SaverWParam wParam = 0, SaverLParam lParam = 0);
    // WM_NCCREATE, which loads the settings: a test changes them after it.
    void NcCreate();
    // WM_CREATE; a null parent makes the full-screen saver, any other a preview.
    void Create(SaverWindow parent);
    SaverResult MoveMouse(int x, int y);
    bool CloseSent() const;
};

SaverLParam PackedPoint(int low, int high);
