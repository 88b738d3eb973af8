#include <cstring>

#include "seam/platform.h"

namespace {

struct StringResource {
    unsigned id;
    const char* text;
};

// Linux executables have no resource section, so the string table is compiled in.
const StringResource STRING_TABLE[] = {
    {STRING_APP_NAME, "Vesperglow"},
};

}  // namespace

int HostLoadString(unsigned id, char* buffer, int bufferSize) {
    if (bufferSize <= 0) return 0;
    for (const StringResource& entry : STRING_TABLE) {
        if (entry.id != id) continue;
        int length = int(std::strlen(entry.text));
        if (length > bufferSize - 1) length = bufferSize - 1;
        std::memcpy(buffer, entry.text, size_t(length));
        buffer[length] = '\0';
        return length;
    }
    buffer[0] = '\0';
    return 0;
}
