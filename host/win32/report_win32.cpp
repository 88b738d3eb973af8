#include "host/win32/win32_api.h"
#include "seam/platform.h"

// No owner: the saver window may already be gone, and the box must stay on top of everything.
void ReportError(const char* caption, const char* text, unsigned icon) {
    MessageBoxA(nullptr, text, caption, MB_OK | icon);
}
