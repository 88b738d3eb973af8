// The glyph sheets' BMP reader takes exactly a glyph sheet whose pixels lie inside the data. The
// input is the file's length (its first two bytes, in 8-byte steps, up to 70000) and first bytes; a grey palette
// and zeros fill the rest, so that short inputs reach every check.
#include <algorithm>
#include <vector>

#include "host/linux/dib_reader.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::vector<uint8_t> file(std::min<size_t>(8 * size_t(data[0] | data[1] << 8), 70000));
    for (size_t i = 0; i < 256 && 57 + 4 * i <= file.size(); ++i) std::fill_n(&file[54 + 4 * i], 3, uint8_t(i));
    std::copy(data + 2, data + std::min(size, file.size() + 2), file.begin());
    // A glyph sheet: 256 x 256, 8 bits, bottom-up, uncompressed, a grey palette, the pixels inside.
    auto u32 = [&file](size_t at) { return uint32_t(file[at] | file[at + 1] << 8 | file[at + 2] << 16) | uint32_t(file[at + 3]) << 24; };
    bool sheet = file.size() >= 1078 && file[0] == 'B' && file[1] == 'M' && u32(2) <= file.size() && u32(10) >= 1078 &&
                 uint64_t(u32(10)) + 65536 <= u32(2) && u32(14) == 40 && u32(18) == 256 && u32(22) == 256 &&
                 u32(26) == (8 << 16 | 1) && u32(30) == 0 && u32(34) % 65536 == 0 && u32(34) <= 65536 && u32(46) % 256 == 0 && u32(46) <= 256;
    for (size_t i = 0; sheet && i < 256; ++i) sheet = file[54 + 4 * i] == i && file[55 + 4 * i] == i && file[56 + 4 * i] == i;
    DibPixels dib = {};
    FUZZ_CHECK(ReadDib(file.data(), file.size(), &dib) == sheet);
    FUZZ_CHECK(!sheet || (dib.width == DIB_SIDE && dib.height == DIB_SIDE && dib.pixels == file.data() + u32(10)));
    return 0;
}
