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

void Put16(std::vector<uint8_t>* bytes, size_t at, uint16_t value) {
    (*bytes)[at] = uint8_t(value);
    (*bytes)[at + 1] = uint8_t(value >> 8);
}

void Put32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = uint8_t(value >> (8 * i));
}

// Reads from a heap block of exactly the data's size, so a read past the end is caught under ASan.
bool ReadExact(const std::vector<uint8_t>& bytes, DibPixels* out, std::unique_ptr<uint8_t[]>* block) {
    block->reset(new uint8_t[bytes.size()]);
    if (!bytes.empty()) std::memcpy(block->get(), bytes.data(), bytes.size());
    return ReadDib(block->get(), bytes.size(), out);
}

// Where the ink of one 64 x 64 cell lies, the cell's row counted from the image's top.
struct CellInk {
    int total = 0;
    int left = 64, right = -1, top = 64, bottom = -1;
};

CellInk InkOfCell(const DibPixels& dib, int column, int rowFromTop) {
    CellInk ink;
    for (int y = 0; y < 64; ++y) {
        int imageRow = rowFromTop * 64 + y;
        const uint8_t* row = dib.pixels + (255 - imageRow) * 256;  // bottom-up rows
        for (int x = 0; x < 64; ++x) {
            if (row[column * 64 + x] == 0) continue;
            ink.total += row[column * 64 + x];
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

}  // namespace

TEST(DibReader, AcceptsEveryCommittedSheetWithItsPixelsInPlace) {
    for (int sheet = 0; sheet < 6; ++sheet) {
        std::vector<uint8_t> bytes = ReadResourceFile(SheetFileName(sheet));
        ASSERT_EQ(PIXEL_OFFSET + PIXEL_BYTES, bytes.size()) << SheetFileName(sheet);
        DibPixels dib = {};
        ASSERT_TRUE(ReadDib(bytes.data(), bytes.size(), &dib)) << SheetFileName(sheet);
        EXPECT_EQ(256, dib.width);
        EXPECT_EQ(256, dib.height);
        EXPECT_EQ(bytes.data() + PIXEL_OFFSET, dib.pixels);
    }
}

// The sheets hold codes 32 + 16 * sheet onwards, left to right and top to bottom, each glyph's ink
// centred across its cell and clear of the cell's edges; the cells of 32 and 127 are empty.
TEST(DibReader, CommittedSheetsHoldCentredGlyphsInTheirCells) {
    for (int sheet = 0; sheet < 6; ++sheet) {
        std::vector<uint8_t> bytes = ReadResourceFile(SheetFileName(sheet));
        DibPixels dib = {};
        ASSERT_TRUE(ReadDib(bytes.data(), bytes.size(), &dib));
        for (int index = 0; index < 16; ++index) {
            int code = 32 + 16 * sheet + index;
            CellInk ink = InkOfCell(dib, index % 4, index / 4);
            if (code == 32 || code == 127) {
                EXPECT_EQ(0, ink.total) << "code " << code;
                continue;
            }
            ASSERT_GT(ink.total, 0) << "code " << code;
            EXPECT_NEAR(31.5, (ink.left + ink.right) / 2.0, 1.0) << "code " << code;
            EXPECT_GE(ink.left, 2) << "code " << code;
            EXPECT_LE(ink.right, 61) << "code " << code;
            EXPECT_GE(ink.top, 2) << "code " << code;
            EXPECT_LE(ink.bottom, 61) << "code " << code;
        }
    }
}

TEST(DibReader, AcceptsTheOptionalFormsOfFieldsItDoesNotNeed) {
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(2));
    DibPixels dib = {};
    std::unique_ptr<uint8_t[]> block;

    std::vector<uint8_t> bytes = sheet;
    Put32(&bytes, 34, 0);  // image size may be left 0 for uncompressed pixels
    Put32(&bytes, 46, 0);  // colours used 0 means the full 256
    EXPECT_TRUE(ReadExact(bytes, &dib, &block));

    // A gap between palette and pixels is followed by the pixel offset.
    bytes = sheet;
    bytes.insert(bytes.begin() + PIXEL_OFFSET, 16, 0xEE);
    Put32(&bytes, 2, uint32_t(bytes.size()));
    Put32(&bytes, 10, uint32_t(PIXEL_OFFSET + 16));
    ASSERT_TRUE(ReadExact(bytes, &dib, &block));
    EXPECT_EQ(block.get() + PIXEL_OFFSET + 16, dib.pixels);
    EXPECT_EQ(0, std::memcmp(dib.pixels, sheet.data() + PIXEL_OFFSET, PIXEL_BYTES));
}

TEST(DibReader, RejectsTruncatedData) {
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(0));
    DibPixels dib = {};
    std::unique_ptr<uint8_t[]> block;
    for (size_t size : {size_t(0), size_t(1), size_t(2), size_t(13), size_t(14), size_t(53), size_t(54),
                        size_t(200), PIXEL_OFFSET - 1, PIXEL_OFFSET, PIXEL_OFFSET + 1, sheet.size() - 1}) {
        std::vector<uint8_t> bytes(sheet.begin(), sheet.begin() + size);
        EXPECT_FALSE(ReadExact(bytes, &dib, &block)) << "size " << size;
    }
    EXPECT_FALSE(ReadDib(nullptr, sheet.size(), &dib));
}

TEST(DibReader, RejectsEachHeaderFieldItReliesOnWhenWrong) {
    struct Mutation {
        const char* what;
        size_t at;
        int bytes;
        uint32_t value;
    };
    const Mutation mutations[] = {
        {"signature", 0, 2, 'M' | ('B' << 8)},
        {"file size past the data", 2, 4, uint32_t(PIXEL_OFFSET + PIXEL_BYTES + 1)},
        {"file size too small for the pixels", 2, 4, uint32_t(PIXEL_OFFSET + PIXEL_BYTES - 1)},
        {"pixels overlapping the palette", 10, 4, 54},
        {"pixels running past the end", 10, 4, uint32_t(PIXEL_OFFSET + 1)},
        {"pixel offset that wraps", 10, 4, 0xFFFFFFFFu},
        {"core header", 14, 4, 12},
        {"version 4 header", 14, 4, 108},
        {"version 5 header", 14, 4, 124},
        {"narrower", 18, 4, 128},
        {"wider", 18, 4, 257},
        {"negative width", 18, 4, uint32_t(-256)},
        {"shorter", 22, 4, 255},
        {"top-down", 22, 4, uint32_t(-256)},
        {"two planes", 26, 2, 2},
        {"1 bit", 28, 2, 1},
        {"4 bits", 28, 2, 4},
        {"16 bits", 28, 2, 16},
        {"24 bits", 28, 2, 24},
        {"32 bits", 28, 2, 32},
        {"run-length 8", 30, 4, 1},
        {"run-length 4", 30, 4, 2},
        {"bit fields", 30, 4, 3},
        {"JPEG", 30, 4, 4},
        {"image size", 34, 4, 1234},
        {"short palette", 46, 4, 16},
        {"long palette", 46, 4, 257},
        {"coloured palette entry", 54 + 4 * 7, 1, 0},
        {"palette out of order", 54 + 4 * 200 + 2, 1, 199},
    };
    std::vector<uint8_t> sheet = ReadResourceFile(SheetFileName(1));
    DibPixels dib = {};
    std::unique_ptr<uint8_t[]> block;
    ASSERT_TRUE(ReadExact(sheet, &dib, &block));
    for (const Mutation& mutation : mutations) {
        std::vector<uint8_t> bytes = sheet;
        if (mutation.bytes == 1) bytes[mutation.at] = uint8_t(mutation.value);
        if (mutation.bytes == 2) Put16(&bytes, mutation.at, uint16_t(mutation.value));
        if (mutation.bytes == 4) Put32(&bytes, mutation.at, mutation.value);
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
    int accepted = 0;
    int rejected = 0;
    std::unique_ptr<uint8_t[]> block;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes = sheet;
        int edits = 1 + random() % 4;
        for (int edit = 0; edit < edits; ++edit) {
            size_t at = random() % PIXEL_OFFSET;
            switch (random() % 4) {
            case 0: bytes[at] ^= uint8_t(1 << (random() % 8)); break;
            case 1: bytes[at] = uint8_t(random()); break;
            case 2: Put32(&bytes, std::min(at, PIXEL_OFFSET - 4), interesting[random() % 18]); break;
            case 3: Put32(&bytes, 2 + 4 * (random() % 12), interesting[random() % 18]); break;
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
        const uint8_t* data = block.get();
        ASSERT_EQ(256, dib.width);
        ASSERT_EQ(256, dib.height);
        ASSERT_GE(dib.pixels, data + PIXEL_OFFSET);
        ASSERT_LE(dib.pixels + PIXEL_BYTES, data + bytes.size());
        unsigned sum = 0;
        for (size_t i = 0; i < PIXEL_BYTES; ++i) sum += dib.pixels[i];
        EXPECT_GT(sum, 0u);
    }
    RecordProperty("accepted", accepted);
    RecordProperty("rejected", rejected);
    // Both answers must have been exercised for the run to mean anything.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(rejected, 10000);
}
