// The glyph sheets' BMP reader: whatever the bytes, an accepted sheet's pixels lie inside them.
#include "host/linux/dib_reader.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibPixels dib = {};
    if (!ReadDib(data, size, &dib)) return 0;
    const size_t bytes = size_t(DIB_SIDE) * DIB_SIDE;
    FUZZ_CHECK(dib.width == DIB_SIDE && dib.height == DIB_SIDE);
    FUZZ_CHECK(dib.pixels >= data && dib.pixels + bytes <= data + size);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += dib.pixels[i];  // AddressSanitizer checks each read
    asm volatile("" : : "r"(sum));  // the reads stay
    return 0;
}
