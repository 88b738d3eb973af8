// Animated WebP through libwebp's animation encoder: lossy by default, or lossless, which keeps
// every pixel of every frame. libwebp's second thread shares out work, never changing a byte.
#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>
#include <cstdio>

#include "recorder/video_encoder.h"

namespace {

class WebpEncoder : public VideoEncoder {
public:
    ~WebpEncoder() override { WebPAnimEncoderDelete(encoder_); }
    bool Open(const std::string& path, const EncoderSettings& settings, std::string* problem) override;
    bool Add(const RgbImage& frame, std::string* problem) override;
    bool Finish(std::string* problem) override;

private:
    int Timestamp() const { return int(std::lround(frames_ * 1000.0 / fps_)); }

    std::string path_;
    WebPAnimEncoder* encoder_ = nullptr;
    WebPConfig config_;
    int fps_ = 30;
    long frames_ = 0;
};

bool WebpEncoder::Open(const std::string& path, const EncoderSettings& settings, std::string* problem) {
    path_ = path;
    fps_ = settings.fps;
    WebPAnimEncoderOptions options;
    WebPConfigInit(&config_);
    if (!WebPAnimEncoderOptionsInit(&options)) {
        *problem = "libwebp is not the version this program was built with";
        return false;
    }
    options.anim_params.loop_count = 0;  // forever
    options.anim_params.bgcolor = 0xFF000000;
    config_.lossless = settings.lossless ? 1 : 0;
    config_.exact = 1;
    config_.use_sharp_yuv = 1;
    config_.thread_level = 1;
    config_.quality = settings.lossless ? 25 : float(settings.quality >= 0 ? settings.quality : 75);
    config_.method = settings.lossless ? 1 : 4;
    encoder_ = WebPAnimEncoderNew(settings.width, settings.height, &options);
    if (!encoder_ || !WebPValidateConfig(&config_)) {
        *problem = "cannot start the WebP encoder";
        return false;
    }
    return true;
}

bool WebpEncoder::Add(const RgbImage& frame, std::string* problem) {
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = frame.width;
    picture.height = frame.height;
    bool added = WebPPictureImportRGB(&picture, frame.pixels.data(), frame.width * 3) &&
                 WebPAnimEncoderAdd(encoder_, &picture, Timestamp(), &config_);
    WebPPictureFree(&picture);
    if (!added) *problem = std::string("cannot encode: ") + WebPAnimEncoderGetError(encoder_);
    ++frames_;
    return added;
}

bool WebpEncoder::Finish(std::string* problem) {
    WebPData data;
    WebPDataInit(&data);
    bool assembled = WebPAnimEncoderAdd(encoder_, nullptr, Timestamp(), nullptr) &&
                     WebPAnimEncoderAssemble(encoder_, &data);
    if (!assembled) {
        *problem = std::string("cannot encode: ") + WebPAnimEncoderGetError(encoder_);
        return false;
    }
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    bool written = file && std::fwrite(data.bytes, 1, data.size, file) == data.size;
    if (file && std::fclose(file) != 0) written = false;
    WebPDataClear(&data);
    if (!written) *problem = "cannot write " + path_;
    return written;
}

}  // namespace

std::unique_ptr<VideoEncoder> MakeWebpEncoder() {
    return std::make_unique<WebpEncoder>();
}
