// The Windows saver's command line: the first byte that is no space, '-' or '/' picks the case; a
// window handle is read in decimal modulo 2^32 after /p, /l and /a and their spaces, and after /c
// only right after a colon.
#include <string>

#include "host/win32/saver_switches.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    SaverCommand command = ParseSaverSwitches(text.c_str());
    size_t at = text.find_first_not_of(" -/"), digits = std::string::npos;
    char letter = at == std::string::npos ? '\0' : text[at] | 0x20;  // exact for these five letters
    SaverSwitch kind = !letter ? SWITCH_SETTINGS_UNOWNED : letter == 's' ? SWITCH_RUN
                       : letter == 'p' || letter == 'l' ? SWITCH_PREVIEW : letter == 'c' ? SWITCH_SETTINGS
                       : letter == 'a' ? SWITCH_CHANGE_PASSWORD : SWITCH_INVALID;
    if (kind == SWITCH_PREVIEW || kind == SWITCH_CHANGE_PASSWORD) digits = text.find_first_not_of(' ', at + 1);
    if (kind == SWITCH_SETTINGS && text.compare(at + 1, 1, ":") == 0) digits = at + 2;
    uint64_t window = 0;
    for (size_t i = digits; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        window = (window * 10 + uint64_t(text[i] - '0')) % (uint64_t(1) << 32);
    FUZZ_CHECK(command.kind == kind && command.window == window);
    return 0;
}
