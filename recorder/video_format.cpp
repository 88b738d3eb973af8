#include <cctype>

#include "recorder/video_encoder.h"

RecordFormat FormatOfPath(const std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return RECORD_UNKNOWN;
    std::string extension;
    for (char c : path.substr(dot + 1)) extension += char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "mp4") return RECORD_MP4;
    if (extension == "webm") return RECORD_WEBM;
    if (extension == "webp") return RECORD_WEBP;
    return RECORD_UNKNOWN;
}
