#pragma once
// A recording's encoder, chosen by the target's extension. Frames come in as 8-bit RGB, rows from
// the top, all of one size; the encoder writes the whole file to the path it was opened on.
#include <memory>
#include <string>

#include "host/headless/png_image.h"

enum RecordFormat { RECORD_UNKNOWN, RECORD_MP4, RECORD_WEBM, RECORD_WEBP };

RecordFormat FormatOfPath(const std::string& path);

struct EncoderSettings {
    int width = 0;
    int height = 0;
    int fps = 30;
    int crf = -1;      // .mp4 and .webm; below 0: the format's default
    int quality = -1;  // .webp lossy, 0 to 100; below 0: the default
    bool lossless = false;  // .webp only
};

class VideoEncoder {
public:
    virtual ~VideoEncoder() = default;
    // False with the problem in one line.
    virtual bool Open(const std::string& path, const EncoderSettings& settings, std::string* problem) = 0;
    virtual bool Add(const RgbImage& frame, std::string* problem) = 0;
    // Everything written and the file closed.
    virtual bool Finish(std::string* problem) = 0;
};

std::unique_ptr<VideoEncoder> MakeFfmpegEncoder(RecordFormat format);  // .mp4, .webm
std::unique_ptr<VideoEncoder> MakeWebpEncoder();
