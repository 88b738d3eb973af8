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
