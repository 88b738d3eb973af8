#pragma once
// A host that writes down every platform call the core makes, in order, and can make any of
// them fail. Surface and context steps are real (offscreen EGL), so after a successful set-up
// the saver draws with a working context and GL state can be read back.
#include <set>
#include <string>
#include <vector>

#include "host/headless/offscreen_egl.h"
#include "seam/platform.h"

struct RecordingHost {
    std::vector<std::string> calls;
    std::set<std::string> failing;  // call names (the first word of a record) that fail
    std::vector<PixelFormatRequest> pixelFormatRequests;
    int desktopWidth = 1280;
    int desktopHeight = 1024;
    SaverResult defaultResult = 0;  // what DefaultSaverProc returns
    OffscreenSurface surface;       // the window's one surface
    SaverContext context = nullptr;  // the last context made, until deleted
};

extern RecordingHost g_host;

// The saver window and a preview parent, as handles.
SaverWindow RecordingWindow();
SaverWindow RecordingPreviewParent();

// Forgets every call and frees the EGL objects a test left behind.
void ResetRecordingHost();

// The recorded calls that start with one of these names, in order.
std::vector<std::string> CallsNamed(const std::set<std::string>& names);
