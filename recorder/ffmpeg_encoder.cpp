// .mp4 (H.264 by x264, yuv420p, for browsers) and .webm (VP9) through FFmpeg's libraries.
// Bytes repeat from run to run: a fixed thread count (never one from the machine's cores), frame
// numbers as timestamps, and the muxers' bit-exact mode, which leaves out the library version and
// the random segment id of a WebM file.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "recorder/video_encoder.h"

namespace {

const int ENCODER_THREADS = 2;

std::string AvError(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = "";
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

class FfmpegEncoder : public VideoEncoder {
public:
    explicit FfmpegEncoder(RecordFormat format) : format_(format) {}
    ~FfmpegEncoder() override;
    bool Open(const std::string& path, const EncoderSettings& settings, std::string* problem) override;
    bool Add(const RgbImage& frame, std::string* problem) override;
    bool Finish(std::string* problem) override;

private:
    bool OpenCodec(const EncoderSettings& settings, std::string* problem);
    bool Send(const AVFrame* frame, std::string* problem);

    RecordFormat format_;
    AVFormatContext* muxer_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    SwsContext* scaler_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVPacket* packet_ = nullptr;
    int64_t nextPts_ = 0;
};

FfmpegEncoder::~FfmpegEncoder() {
    if (muxer_ && muxer_->pb) avio_closep(&muxer_->pb);
    avformat_free_context(muxer_);
    avcodec_free_context(&codec_);
    sws_freeContext(scaler_);
    av_frame_free(&picture_);
    av_packet_free(&packet_);
}

bool FfmpegEncoder::OpenCodec(const EncoderSettings& settings, std::string* problem) {
    bool h264 = format_ == RECORD_MP4;
    const AVCodec* codec = avcodec_find_encoder_by_name(h264 ? "libx264" : "libvpx-vp9");
    if (!codec) {
        *problem = std::string("this FFmpeg has no ") + (h264 ? "libx264" : "libvpx-vp9") + " encoder";
        return false;
    }
    codec_ = avcodec_alloc_context3(codec);
    codec_->width = settings.width;
    codec_->height = settings.height;
    codec_->time_base = {1, settings.fps};
    codec_->framerate = {settings.fps, 1};
    codec_->pix_fmt = AV_PIX_FMT_YUV420P;
    codec_->gop_size = settings.fps * 2;  // a key frame every two seconds, for seeking
    codec_->thread_count = ENCODER_THREADS;
    codec_->flags |= AV_CODEC_FLAG_BITEXACT;
    codec_->color_range = AVCOL_RANGE_MPEG;
    codec_->color_primaries = AVCOL_PRI_BT709;
    codec_->color_trc = AVCOL_TRC_BT709;
    codec_->colorspace = AVCOL_SPC_BT709;
    if (muxer_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "crf", settings.crf >= 0 ? settings.crf : (h264 ? 18 : 30), 0);
    if (h264) {
        av_dict_set(&options, "preset", "faster", 0);
        av_dict_set(&options, "profile", "high", 0);
    } else {
        codec_->bit_rate = 0;  // constant quality
        av_dict_set(&options, "deadline", "realtime", 0);
        av_dict_set(&options, "cpu-used", "8", 0);
        av_dict_set(&options, "row-mt", "0", 0);
        av_dict_set(&options, "tile-columns", "1", 0);
    }
    int result = avcodec_open2(codec_, codec, &options);
    av_dict_free(&options);
    if (result < 0) {
        *problem = AvError("cannot start the encoder", result);
        return false;
    }
    return true;
}

bool FfmpegEncoder::Open(const std::string& path, const EncoderSettings& settings, std::string* problem) {
    av_log_set_level(AV_LOG_ERROR);  // no banner of encoder statistics: the recorder speaks for itself
    const char* muxerName = format_ == RECORD_MP4 ? "mp4" : "webm";
    int result = avformat_alloc_output_context2(&muxer_, nullptr, muxerName, path.c_str());
    if (result < 0) {
        *problem = AvError("cannot make the file", result);
        return false;
    }
    muxer_->flags |= AVFMT_FLAG_BITEXACT;
    if (!OpenCodec(settings, problem)) return false;
    stream_ = avformat_new_stream(muxer_, nullptr);
    avcodec_parameters_from_context(stream_->codecpar, codec_);
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    if ((result = avio_open(&muxer_->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0) {
        *problem = AvError("cannot write", result);
        return false;
    }
    AVDictionary* options = nullptr;
    if (format_ == RECORD_MP4) av_dict_set(&options, "movflags", "+faststart", 0);  // playable while loading
    result = avformat_write_header(muxer_, &options);
    av_dict_free(&options);
    if (result < 0) {
        *problem = AvError("cannot write", result);
        return false;
    }

    // The frames are full-range RGB; the video says limited-range BT.709, as players expect.
    scaler_ = sws_getContext(settings.width, settings.height, AV_PIX_FMT_RGB24, settings.width, settings.height,
                             AV_PIX_FMT_YUV420P, SWS_AREA | SWS_ACCURATE_RND | SWS_BITEXACT,
                             nullptr, nullptr, nullptr);
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(scaler_, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    picture_ = av_frame_alloc();
    picture_->format = AV_PIX_FMT_YUV420P;
    picture_->width = settings.width;
    picture_->height = settings.height;
    packet_ = av_packet_alloc();
    if (av_frame_get_buffer(picture_, 0) < 0) {
        *problem = "out of memory";
        return false;
    }
    return true;
}

bool FfmpegEncoder::Send(const AVFrame* frame, std::string* problem) {
    int result = avcodec_send_frame(codec_, frame);
    while (result >= 0) {
        result = avcodec_receive_packet(codec_, packet_);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) break;
        av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        result = av_interleaved_write_frame(muxer_, packet_);
    }
    *problem = AvError("cannot encode", result);
    return false;
}

bool FfmpegEncoder::Add(const RgbImage& frame, std::string* problem) {
    if (av_frame_make_writable(picture_) < 0) {
        *problem = "out of memory";
        return false;
    }
    const uint8_t* rows[1] = {frame.pixels.data()};
    const int stride[1] = {frame.width * 3};
    sws_scale(scaler_, rows, stride, 0, frame.height, picture_->data, picture_->linesize);
    picture_->pts = nextPts_++;
    return Send(picture_, problem);
}

bool FfmpegEncoder::Finish(std::string* problem) {
    if (!Send(nullptr, problem)) return false;
    int result = av_write_trailer(muxer_);
    if (result >= 0) result = avio_closep(&muxer_->pb);
    if (result < 0) {
        *problem = AvError("cannot write", result);
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<VideoEncoder> MakeFfmpegEncoder(RecordFormat format) {
    return std::make_unique<FfmpegEncoder>(format);
}
