#include "host/win32/win32_api.h"

#include "seam/platform.h"

int HostLoadString(unsigned id, char* buffer, int bufferSize) {
    return LoadStringA(GetModuleHandleA(nullptr), id, buffer, bufferSize);
}
