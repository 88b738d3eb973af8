#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

#include "render/dib_reader.h"
#include "tests/font/resource_files.h"

namespace {

const size_t PIXEL_OFFSET = 14 + 40 + 1024;
const size_t PIXEL_BYTES = 256 * 256;

void Put(std::vector<uint8_t>* bytes, size_t at, int count, uint32_t value) {
    for (int i = 0; i < count; ++i) (*bytes)[at + i] = uint8_t(value >> (8 * i));
}

// Reads from a heap block of exactly the data's size, so a read past the end is caught under ASan.
bool ReadExact(const std::vector<uint8_t>& bytes, DibPixels* out, std::unique_ptr<uint8_t[]>* block) {
    block->reset(new uint8_t[bytes.size()]);
    if (!bytes.empty()) std::memcpy(block->get(), bytes.data(), bytes.size());
    return ReadDib(block->get(), bytes.size(), out);
}

}  // namespace

// Each sheet holds codes 32 + 16 * sheet onwards, four to a row from the top, each glyph clear of
// its 64-pixel cell's edges (filtering would bleed it into the next); the cells of 32 and 127 are empty.
TEST(DibReader, ReadsEveryCommittedSheetWithItsGlyphsInTheirCells) {
    for (int sheet = 0; sheet < 6; ++sheet) {
        std::vector<uint8_t> bytes = ReadResourceFile(SheetFileName(sheet));
        DibPixels dib = {};
        ASSERT_TRUE(ReadDib(bytes.data(), bytes.size(), &dib)) << sheet;
        EXPECT_EQ(256, dib.width);
        EXPECT_EQ(256, dib.height);
        EXPECT_EQ(bytes.data() + PIXEL_OFFSET, dib.pixels);
        for (int index = 0; index < 16; ++index) {
            int code = 32 + 16 * sheet + index, inside = 0, edge = 0;
            for (int y = 0; y < 64; ++y) {
                const uint8_t* row = dib.pixels + (255 - (index / 4 * 64 + y)) * 256 + index % 4 * 64;
                for (int x = 0; x < 64; ++x) (x < 2 || x > 61 || y < 2 || y > 61 ? edge : inside) += row[x];
            }
            EXPECT_EQ(0, edge) << code;
            EXPECT_EQ(code == 32 || code == 127, inside == 0) << code;
        }
    }
}

TEST(DibReader, AcceptsTheOptionalFormsOfFieldsItDoesNotNeed) {
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(2));
    DibPixels dib = {};
    std::unique_ptr<uint8_t[]> block;
    std::vector<uint8_t> bytes = sheet;
    Put(&bytes, 34, 4, 0);  // image size may be left 0 for uncompressed pixels
    Put(&bytes, 46, 4, 0);  // colours used 0 means the full 256
    EXPECT_TRUE(ReadExact(bytes, &dib, &block));

    // A gap between palette and pixels is followed by the pixel offset.
    bytes = sheet;
    bytes.insert(bytes.begin() + PIXEL_OFFSET, 16, 0xEE);
    Put(&bytes, 2, 4, uint32_t(bytes.size()));
    Put(&bytes, 10, 4, uint32_t(PIXEL_OFFSET + 16));
    ASSERT_TRUE(ReadExact(bytes, &dib, &block));
    EXPECT_EQ(block.get() + PIXEL_OFFSET + 16, dib.pixels);
    EXPECT_EQ(0, std::memcmp(dib.pixels, sheet.data() + PIXEL_OFFSET, PIXEL_BYTES));
}

TEST(DibReader, RejectsTruncatedDataAndEveryWrongFieldItReliesOn) {
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(1));
    DibPixels dib = {};
    std::unique_ptr<uint8_t[]> block;
    ASSERT_TRUE(ReadExact(sheet, &dib, &block));
    EXPECT_FALSE(ReadDib(nullptr, sheet.size(), &dib));
    for (size_t size : {size_t(0), size_t(2), size_t(13), size_t(53), size_t(54), size_t(200), PIXEL_OFFSET,
                        sheet.size() - 1}) {
        std::vector<uint8_t> bytes(sheet.begin(), sheet.begin() + size);
        EXPECT_FALSE(ReadExact(bytes, &dib, &block)) << "size " << size;
    }
    const struct {
        const char* what;
        size_t at;
        int bytes;
        uint32_t value;
    } mutations[] = {
        {"signature", 0, 2, 'M' | ('B' << 8)},
        {"file size past the data", 2, 4, uint32_t(PIXEL_OFFSET + PIXEL_BYTES + 1)},
        {"file size too small for the pixels", 2, 4, uint32_t(PIXEL_OFFSET + PIXEL_BYTES - 1)},
        {"pixels overlapping the palette", 10, 4, 54},
        {"pixels running past the end", 10, 4, uint32_t(PIXEL_OFFSET + 1)},
        {"pixel offset that wraps", 10, 4, 0xFFFFFFFFu}, {"core header", 14, 4, 12},
        {"version 5 header", 14, 4, 124}, {"narrower", 18, 4, 128},
        {"negative width", 18, 4, uint32_t(-256)}, {"shorter", 22, 4, 255},
        {"top-down", 22, 4, uint32_t(-256)}, {"two planes", 26, 2, 2},
        {"4 bits", 28, 2, 4}, {"24 bits", 28, 2, 24},
        {"run-length 8", 30, 4, 1}, {"bit fields", 30, 4, 3},
        {"image size", 34, 4, 1234}, {"short palette", 46, 4, 16},
        {"coloured palette entry", 54 + 4 * 7, 1, 0}, {"palette out of order", 54 + 4 * 200 + 2, 1, 199},
    };
    for (const auto& mutation : mutations) {
        std::vector<uint8_t> bytes = sheet;
        Put(&bytes, mutation.at, mutation.bytes, mutation.value);
        EXPECT_FALSE(ReadExact(bytes, &dib, &block)) << mutation.what;
    }
}

// Mangled headers, truncations and random bytes: every answer must keep the pixels inside the data,
// and under ASan no read may leave it.
TEST(DibReader, SurvivesFuzzedInput) {
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(3));
    std::mt19937 random(20240605);
    const uint32_t interesting[] = {0, 1, 2, 8, 12, 40, 54, 255, 256, 257, 1078, 65536, 66614, 66615,
                                    0x7FFFFFFF, 0x80000000, 0xFFFFFF00, 0xFFFFFFFF};
    int accepted = 0, rejected = 0;
    std::unique_ptr<uint8_t[]> block;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes = sheet;
        for (int edit = 0, edits = 1 + random() % 4; edit < edits; ++edit) {
            size_t at = random() % PIXEL_OFFSET;
            switch (random() % 4) {
            case 0: bytes[at] ^= uint8_t(1 << (random() % 8)); break;
            case 1: bytes[at] = uint8_t(random()); break;
            case 2: Put(&bytes, std::min(at, PIXEL_OFFSET - 4), 4, interesting[random() % 18]); break;
            case 3: Put(&bytes, 2 + 4 * (random() % 12), 4, interesting[random() % 18]); break;
            }
        }
        if (random() % 3 == 0) bytes.resize(random() % (bytes.size() + 1));
        if (random() % 50 == 0) {
            bytes.resize(random() % 2048);
            for (uint8_t& byte : bytes) byte = uint8_t(random());
        }
        DibPixels dib = {};
        if (!ReadExact(bytes, &dib, &block)) {
            ++rejected;
            continue;
        }
        ++accepted;
        ASSERT_EQ(256, dib.width);
        ASSERT_EQ(256, dib.height);
        ASSERT_GE(dib.pixels, block.get() + PIXEL_OFFSET);
        ASSERT_LE(dib.pixels + PIXEL_BYTES, block.get() + bytes.size());
    }
    // Both answers must have been exercised for the run to mean anything.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(rejected, 10000);
}
