#pragma once

// Finds or makes the window the chosen mode draws into, before the core hears of it. Bad input
// (no GLX, no GL-capable visual, a window that does not exist) is reported; false then.
bool SetUpWindow();

// The creation parameters' parent: null only for the full-screen saver.
void* PreviewParent();
