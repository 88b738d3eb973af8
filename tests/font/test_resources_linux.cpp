#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/bitmap_font.h"
#include "seam/platform.h"
#include "tests/font/resource_files.h"

static std::vector<uint8_t> LoadResource(const char* type, int id) {
    const HostResource* resource = HostFindResource(type, id);
    if (resource == nullptr) return {};
    uint32_t size = 0;
    const uint8_t* bytes = HostLoadResource(resource, &size);
    return std::vector<uint8_t>(bytes, bytes + size);
}

TEST(ResourcesLinux, ServesTheCommittedWidthTableAndSheets) {
    EXPECT_EQ(ReadResourceFile("widths.bin"), LoadResource("WID", 114));
    EXPECT_EQ(96u, LoadResource("WID", 114).size());
    for (int sheet = 0; sheet < FONT_SHEET_COUNT; ++sheet) {
        int id = FONT_SHEET_RESOURCES[sheet];
        std::vector<uint8_t> file = ReadResourceFile(SheetFileName(sheet));
        ASSERT_EQ(file, LoadResource("BITMAP", id)) << id;
        HostBitmap bitmap = {};
        ASSERT_TRUE(HostLoadBitmap(id, &bitmap)) << id;
        EXPECT_EQ(256, bitmap.width);
        EXPECT_EQ(256, bitmap.height);
        EXPECT_EQ(8, bitmap.bitsPerPixel);
        ASSERT_NE(nullptr, bitmap.pixels);
        EXPECT_TRUE(std::equal(file.begin() + 1078, file.end(), bitmap.pixels)) << id;
        HostFreeBitmap(&bitmap);
        EXPECT_EQ(nullptr, bitmap.pixels);
    }
}

TEST(ResourcesLinux, FindsOnlyTheTypesAndIdsItHolds) {
    EXPECT_EQ(nullptr, HostFindResource("WID", 113));
    EXPECT_EQ(nullptr, HostFindResource("WID", 106));
    EXPECT_EQ(nullptr, HostFindResource("BITMAP", 114));
    EXPECT_EQ(nullptr, HostFindResource("", 114));
    HostBitmap bitmap = {};
    for (int id : {0, 31, 33, 105, 111, 114}) EXPECT_FALSE(HostLoadBitmap(id, &bitmap)) << id;
}
