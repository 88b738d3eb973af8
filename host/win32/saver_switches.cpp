#include "host/win32/saver_switches.h"

uint32_t ReadDecimal(const char** cursor) {
    uint32_t value = 0;
    const char* p = *cursor;
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + uint32_t(*p - '0');
        ++p;
    }
    *cursor = p;
    return value;
}

static const char* SkipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

SaverCommand ParseSaverSwitches(const char* arguments) {
    const char* p = arguments;
    for (;; ++p) {
        switch (*p) {
        case '\0':
            return {SWITCH_SETTINGS_UNOWNED, 0};
        case ' ':
        case '-':
        case '/':
            continue;
        case 'S':
        case 's':
            return {SWITCH_RUN, 0};
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            p = SkipSpaces(p + 1);
            return {SWITCH_PREVIEW, ReadDecimal(&p)};
        case 'C':
        case 'c':
            // Only "/c:1234" names an owner; in "/c 1234" the number is not read.
            if (p[1] != ':') return {SWITCH_SETTINGS, 0};
            p += 2;
            return {SWITCH_SETTINGS, ReadDecimal(&p)};
        case 'A':
        case 'a':
            p = SkipSpaces(p + 1);
            return {SWITCH_CHANGE_PASSWORD, ReadDecimal(&p)};
        default:
            return {SWITCH_INVALID, 0};
        }
    }
}
