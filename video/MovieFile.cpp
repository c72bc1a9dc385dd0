// Reading a movie with FFmpeg's libraries: libavformat splits the file into packets, libavcodec
// decodes them, libswscale turns pictures into BGRA and libswresample turns sound into the
// output's format. Every FFmpeg object is held by an owner that frees it.
#include "video/MovieFile.h"
#include <algorithm>
#include <deque>
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace tarvoke {
namespace {

// Compressed data waiting for the stream not being decoded; past this, packets of that stream
// are dropped rather than letting a badly interleaved or hostile file fill the memory.
constexpr std::size_t queueByteLimit = std::size_t(32) << 20;
constexpr double defaultFrameSeconds = 1.0 / 30.0;

struct FormatRelease {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecRelease {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketRelease {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameRelease {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerRelease {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct ResamplerRelease {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
using Packet = std::unique_ptr<AVPacket, PacketRelease>;
using Frame = std::unique_ptr<AVFrame, FrameRelease>;

// One stream being decoded, with the packets read for it ahead of time.
struct StreamDecoder {
    int index = -1;                  // -1: the file has no such stream to decode
    std::unique_ptr<AVCodecContext, CodecRelease> codec;
    double timeBase = 0;             // seconds per timestamp unit
    std::deque<Packet> queue;
    std::size_t queuedBytes = 0;
    bool drainSent = false;          // the decoder was told the packets have ended
    bool ended = false;              // and gave its last frame

    void clearQueue() {
        queue.clear();
        queuedBytes = 0;
    }
};

// The sound format a resampler was made for; another one needs a new resampler.
struct SoundFormat {
    int sampleFormat = -1;
    int rate = 0;
    AVChannelLayout layout{};
    bool operator==(const SoundFormat& o) const {
        return sampleFormat == o.sampleFormat && rate == o.rate && av_channel_layout_compare(&layout, &o.layout) == 0;
    }
};

bool openDecoder(AVFormatContext* format, AVMediaType type, StreamDecoder& decoder) {
    const AVCodec* codecKind = nullptr;
    const int index = av_find_best_stream(format, type, -1, -1, &codecKind, 0);
    if (index < 0 || !codecKind) return false;
    AVStream* stream = format->streams[index];
    if (type == AVMEDIA_TYPE_VIDEO && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) return false;  // cover art
    decoder.codec.reset(avcodec_alloc_context3(codecKind));
    if (!decoder.codec || avcodec_parameters_to_context(decoder.codec.get(), stream->codecpar) < 0) return false;
    decoder.codec->thread_count = 0;  // as many threads as the machine has cores
    if (avcodec_open2(decoder.codec.get(), codecKind, nullptr) < 0) return false;
    if (type == AVMEDIA_TYPE_VIDEO && (decoder.codec->width <= 0 || decoder.codec->height <= 0)) return false;
    decoder.index = index;
    decoder.timeBase = av_q2d(stream->time_base);
    return true;
}

double secondsOf(std::int64_t timestamp, double timeBase) { return double(timestamp) * timeBase; }

} // namespace

struct MovieFile::Streams {
    std::unique_ptr<AVFormatContext, FormatRelease> format;
    StreamDecoder picture, sound;
    Frame frame{av_frame_alloc()};          // the last decoded picture
    Frame soundFrame{av_frame_alloc()};
    Packet reading{av_packet_alloc()};
    bool fileEnded = false;
    double origin = 0;                      // the file's start time, seconds
    double shownWidth = 0;
    double frameSeconds = defaultFrameSeconds;
    double lastPicture = 0;                 // when the last picture was due
    int outWidth = 0, outHeight = 0;
    std::unique_ptr<SwsContext, ScalerRelease> scaler;
    std::unique_ptr<SwrContext, ResamplerRelease> resampler;
    SoundFormat resamplerFormat;
    int soundRate = 0;

    ~Streams() { av_channel_layout_uninit(&resamplerFormat.layout); }

    // The next packet of `wanted`, read from the file when none waits; null at the file's end.
    Packet takePacket(StreamDecoder& wanted, StreamDecoder& other) {
        if (!wanted.queue.empty()) {
            Packet packet = std::move(wanted.queue.front());
            wanted.queue.pop_front();
            wanted.queuedBytes -= std::size_t(packet->size);
            return packet;
        }
        while (!fileEnded) {
            if (av_read_frame(format.get(), reading.get()) < 0) {
                fileEnded = true;
                break;
            }
            if (reading->stream_index == wanted.index) {
                Packet packet(av_packet_alloc());
                if (packet) av_packet_move_ref(packet.get(), reading.get());
                return packet;
            }
            if (reading->stream_index == other.index && other.queuedBytes < queueByteLimit) {
                Packet packet(av_packet_alloc());
                if (packet) {
                    av_packet_move_ref(packet.get(), reading.get());
                    other.queuedBytes += std::size_t(packet->size);
                    other.queue.push_back(std::move(packet));
                }
            }
            av_packet_unref(reading.get());
        }
        return nullptr;
    }

    // Feeds the decoder until it gives a frame; false once it has given its last. A damaged
    // packet is skipped.
    bool decode(StreamDecoder& decoder, StreamDecoder& other, AVFrame* out) {
        if (decoder.index < 0 || decoder.ended) return false;
        for (;;) {
            const int result = avcodec_receive_frame(decoder.codec.get(), out);
            if (result == 0) return true;
            if (result != AVERROR(EAGAIN) || decoder.drainSent) break;
            Packet packet = takePacket(decoder, other);
            if (!packet) decoder.drainSent = true;
            avcodec_send_packet(decoder.codec.get(), packet.get());
        }
        decoder.ended = true;
        return false;
    }

    bool fitResampler(const AVFrame& source) {
        SoundFormat wanted;
        wanted.sampleFormat = source.format;
        wanted.rate = source.sample_rate;
        if (av_channel_layout_copy(&wanted.layout, &source.ch_layout) < 0) return false;
        if (wanted.layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&wanted.layout, source.ch_layout.nb_channels);
        if (resampler && wanted == resamplerFormat) {
            av_channel_layout_uninit(&wanted.layout);
            return true;
        }
        av_channel_layout_uninit(&resamplerFormat.layout);
        resamplerFormat = wanted;
        resampler.reset();
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        SwrContext* made = nullptr;
        if (swr_alloc_set_opts2(&made, &stereo, AV_SAMPLE_FMT_S16, soundRate, &wanted.layout,
                                AVSampleFormat(wanted.sampleFormat), wanted.rate, 0, nullptr) < 0)
            return false;
        resampler.reset(made);
        if (swr_init(made) < 0) resampler.reset();
        return resampler != nullptr;
    }

    // Converts `count` input frames (none: what the resampler still holds) onto `frames`.
    void resample(const AVFrame* source, std::vector<std::int16_t>& frames) {
        if (!resampler) return;
        const int count = source ? source->nb_samples : 0;
        const int room = swr_get_out_samples(resampler.get(), count);
        if (room <= 0) return;
        const std::size_t old = frames.size();
        frames.resize(old + 2 * std::size_t(room));
        std::uint8_t* out = reinterpret_cast<std::uint8_t*>(frames.data() + old);
        const int made = swr_convert(resampler.get(), &out, room,
                                     source ? const_cast<const std::uint8_t**>(source->extended_data) : nullptr, count);
        frames.resize(old + 2 * std::size_t(std::max(made, 0)));
    }
};

MovieFile::MovieFile() : streams_(std::make_unique<Streams>()) {}

MovieFile::~MovieFile() = default;

bool MovieFile::open(const std::string& path, int soundRate) {
    Streams& s = *streams_;
    if (!s.frame || !s.soundFrame || !s.reading) return false;
    av_log_set_level(AV_LOG_QUIET);  // a damaged file shows in the result, not on the console
    // Only local files: a name is never taken for a network address or another of FFmpeg's
    // protocols, nor may a playlist inside the file reach one.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* format = nullptr;
    const int opened = avformat_open_input(&format, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    s.format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0) return false;
    const bool picture = openDecoder(format, AVMEDIA_TYPE_VIDEO, s.picture);
    const bool sound = openDecoder(format, AVMEDIA_TYPE_AUDIO, s.sound);
    if (!picture) s.picture = StreamDecoder{};
    if (!sound) s.sound = StreamDecoder{};
    if (!picture && !sound) return false;
    s.soundRate = soundRate;
    if (format->start_time != AV_NOPTS_VALUE) s.origin = double(format->start_time) / AV_TIME_BASE;
    if (picture) {
        AVStream* stream = format->streams[s.picture.index];
        const AVRational aspect = av_guess_sample_aspect_ratio(format, stream, nullptr);
        s.shownWidth = width() * (aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0);
        const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
        if (rate.num > 0 && rate.den > 0) s.frameSeconds = std::clamp(av_q2d(av_inv_q(rate)), 0.001, 1.0);
        setPictureSize(width(), height());
    }
    s.lastPicture = -s.frameSeconds;
    return true;
}

bool MovieFile::hasPicture() const { return streams_->picture.index >= 0; }

bool MovieFile::hasSound() const { return streams_->sound.index >= 0; }

int MovieFile::width() const { return hasPicture() ? streams_->picture.codec->width : 0; }

int MovieFile::height() const { return hasPicture() ? streams_->picture.codec->height : 0; }

double MovieFile::shownWidth() const { return streams_->shownWidth; }

double MovieFile::frameSeconds() const { return streams_->frameSeconds; }

void MovieFile::setPictureSize(int width, int height) {
    streams_->outWidth = width;
    streams_->outHeight = height;
}

bool MovieFile::nextPicture(double& seconds) {
    Streams& s = *streams_;
    if (!s.decode(s.picture, s.sound, s.frame.get())) return false;
    const std::int64_t timestamp = s.frame->best_effort_timestamp;
    s.lastPicture = timestamp == AV_NOPTS_VALUE ? s.lastPicture + s.frameSeconds
                                                : secondsOf(timestamp, s.picture.timeBase) - s.origin;
    seconds = s.lastPicture;
    return true;
}

// A picture the scaler cannot take (an unknown format, no size) leaves the buffer as it was.
void MovieFile::convertPicture(std::uint8_t* bgra, int rowBytes) {
    Streams& s = *streams_;
    const AVFrame& frame = *s.frame;
    if (frame.width <= 0 || frame.height <= 0 || s.outWidth <= 0 || s.outHeight <= 0) return;
    s.scaler.reset(sws_getCachedContext(s.scaler.release(), frame.width, frame.height, AVPixelFormat(frame.format),
                                        s.outWidth, s.outHeight, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!s.scaler) return;
    std::uint8_t* const planes[4] = {bgra, nullptr, nullptr, nullptr};
    const int strides[4] = {rowBytes, 0, 0, 0};
    sws_scale(s.scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
}

bool MovieFile::nextSound(std::vector<std::int16_t>& frames, double& seconds) {
    Streams& s = *streams_;
    AVFrame* frame = s.soundFrame.get();
    if (!s.decode(s.sound, s.picture, frame)) {
        const std::size_t before = frames.size();
        s.resample(nullptr, frames);  // what the resampler still holds, once
        s.resampler.reset();
        seconds = 0;
        return frames.size() > before;
    }
    const std::int64_t timestamp = frame->best_effort_timestamp;
    seconds = timestamp == AV_NOPTS_VALUE ? 0 : secondsOf(timestamp, s.sound.timeBase) - s.origin;
    if (s.fitResampler(*frame)) s.resample(frame, frames);
    av_frame_unref(frame);
    return true;
}

bool MovieFile::rewind() {
    Streams& s = *streams_;
    const std::int64_t start = s.format->start_time != AV_NOPTS_VALUE ? s.format->start_time : 0;
    if (avformat_seek_file(s.format.get(), -1, INT64_MIN, start, start, 0) < 0 &&
        av_seek_frame(s.format.get(), -1, start, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    for (StreamDecoder* decoder : {&s.picture, &s.sound}) {
        if (decoder->index < 0) continue;
        avcodec_flush_buffers(decoder->codec.get());
        decoder->clearQueue();
        decoder->drainSent = false;
        decoder->ended = false;
    }
    s.fileEnded = false;
    s.resampler.reset();
    s.lastPicture = -s.frameSeconds;
    return true;
}

} // namespace tarvoke
