#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The committed resource files, read from the source tree.
inline std::vector<uint8_t> ReadResourceFile(const std::string& name) {
    std::ifstream file(std::string(VG_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string SheetFileName(int sheet) {
    return "glyph_sheet_" + std::to_string(sheet) + ".bmp";
}

// The advance widths of codes 32..127 as the font's design gives them.
const uint8_t EXPECTED_WIDTHS[96] = {
    12, 17, 10, 41, 26, 41, 47, 10, 16, 14, 25, 31, 12, 13, 12, 20,
    26, 26, 26, 26, 26, 26, 26, 26, 26, 26, 15, 14, 31, 31, 31, 22,
    42, 37, 36, 31, 42, 37, 35, 37, 40, 22, 24, 40, 35, 50, 42, 36,
    32, 36, 36, 27, 30, 44, 38, 53, 33, 33, 37, 14, 29, 19, 31, 30,
    13, 25, 25, 20, 26, 20, 19, 24, 26, 14, 13, 26, 14, 37, 27, 24,
    26, 24, 18, 19, 19, 27, 26, 40, 25, 24, 26, 14, 31, 14, 31, 0,
};
