#include "host/win32/host.h"

// What follows the program's name on the command line, with the spaces before it skipped.
static const char* ArgumentText(const char* line) {
    if (*line == '"') {
        line = CharNextA(line);
        while (*line && *line != '"') line = CharNextA(line);
        if (*line == '"') ++line;
    } else {
        while (uint8_t(*line) > ' ') ++line;
    }
    while (*line && uint8_t(*line) <= ' ') ++line;
    return line;
}

static void HostEntry() {
    ExitProcess(UINT(SaverMain(GetModuleHandleA(nullptr), ArgumentText(GetCommandLineA()))));
}

// Reached after the runtime's start-up, so the settings key and the font are already initialised.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HostEntry();
    return 0;
}
