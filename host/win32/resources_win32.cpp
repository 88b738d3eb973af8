#include "host/win32/win32_api.h"
#include "seam/platform.h"

static HMODULE OwnModule() {
    return GetModuleHandleA(nullptr);
}

const HostResource* HostFindResource(const char* type, int id) {
    return reinterpret_cast<const HostResource*>(FindResourceA(OwnModule(), MAKEINTRESOURCEA(id), type));
}

const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    HRSRC found = reinterpret_cast<HRSRC>(const_cast<HostResource*>(resource));
    HGLOBAL loaded = LoadResource(OwnModule(), found);
    if (!loaded) return nullptr;
    *size = SizeofResource(OwnModule(), found);
    return static_cast<const uint8_t*>(LockResource(loaded));
}

// A DIB section keeps the stored pixel bytes, so 8-bit grey sheets stay luminance values.
bool HostLoadBitmap(int id, HostBitmap* bitmap) {
    HBITMAP handle = HBITMAP(LoadImageA(OwnModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!handle) return false;
    BITMAP description = {};
    if (!GetObjectA(handle, sizeof description, &description) || !description.bmBits) {
        DeleteObject(handle);
        return false;
    }
    bitmap->width = description.bmWidth;
    bitmap->height = description.bmHeight;
    bitmap->bitsPerPixel = description.bmBitsPixel;
    bitmap->pixels = static_cast<const uint8_t*>(description.bmBits);
    bitmap->handle = handle;
    return true;
}

void HostFreeBitmap(HostBitmap* bitmap) {
    if (bitmap->handle) DeleteObject(HBITMAP(bitmap->handle));
    bitmap->handle = nullptr;
    bitmap->pixels = nullptr;
}
