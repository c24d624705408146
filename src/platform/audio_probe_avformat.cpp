#include "platform/audio_probe.h"

#include "platform/audio_library_api.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/intreadwrite.h>
}

#include <cerrno>
#include <cstring>
#include <string>

namespace {

int InterruptRequested(void* data) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(data);
    return cancel && cancel->load() ? 1 : 0;
}

AudioErrorCode OpenErrorCode(int rc, bool isUrl) {
    if (rc == AVERROR(ENOMEM)) return AudioErrorCode::Memory;
    if (!isUrl) {
        if (rc == AVERROR_INVALIDDATA) return AudioErrorCode::Format;
        return AudioErrorCode::FileOpen;
    }
    if (rc == AVERROR(ETIMEDOUT)) return AudioErrorCode::Timeout;
    if (rc == AVERROR_INVALIDDATA) return AudioErrorCode::Format;
    return AudioErrorCode::NoNetwork;
}

struct FormatContext {
    const AvApi& av;
    AVFormatContext* ctx = nullptr;
    ~FormatContext() {
        if (ctx) av.format_close_input(&ctx);
    }
};

// MP3 frames carry no reliable total: count every packet, less the
// encoder delay and padding that the decoder drops.
double SumPacketSeconds(const AvApi& av, AVFormatContext* ctx, int streamIndex) {
    const AVStream* st = ctx->streams[streamIndex];
    int64_t ticks = 0;
    int64_t droppedSamples = 0;
    AVPacket* pkt = av.packet_alloc();
    if (!pkt) return 0;
    while (av.read_frame(ctx, pkt) >= 0) {
        if (pkt->stream_index == streamIndex) {
            ticks += pkt->duration;
            size_t size = 0;
            const uint8_t* skip = av.packet_get_side_data(pkt, AV_PKT_DATA_SKIP_SAMPLES, &size);
            if (skip && size >= 8) droppedSamples += AV_RL32(skip) + AV_RL32(skip + 4);
        }
        av.packet_unref(pkt);
    }
    av.packet_free(&pkt);
    double seconds = static_cast<double>(ticks) * av_q2d(st->time_base);
    int rate = st->codecpar->sample_rate;
    if (rate > 0) seconds -= static_cast<double>(droppedSamples) / rate;
    return seconds > 0 ? seconds : 0;
}

bool IsLive(const AvApi& av, const AVFormatContext* ctx) {
    if (!ctx->pb) return false;
    return !(ctx->pb->seekable & AVIO_SEEKABLE_NORMAL) || av.io_size(ctx->pb) <= 0;
}

}  // namespace

AudioProbeResult ProbeAudio(const std::string& source, bool isUrl, double timeoutSeconds,
                            const std::atomic<bool>* cancel) {
    // libmpv, opened before any medium, has brought these libraries in
    // already; opening them here only looks them up.
    const AvApi* api = LoadAv();
    if (!api) return {AudioErrorCode::Codec, 0};
    const AvApi& av = *api;
    // Guesses such as "estimating duration from bitrate" are ours to judge.
    av.log_set_level(AV_LOG_QUIET);
    AudioProbeResult result;
    FormatContext fc{av};
    fc.ctx = av.format_alloc_context();
    if (!fc.ctx) return {AudioErrorCode::Memory, 0};
    fc.ctx->interrupt_callback.callback = InterruptRequested;
    fc.ctx->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(cancel);

    AVDictionary* options = nullptr;
    if (isUrl && timeoutSeconds > 0) {
        av.dict_set(&options, "rw_timeout", std::to_string(static_cast<int64_t>(timeoutSeconds * 1e6)).c_str(), 0);
    }
    int rc = av.format_open_input(&fc.ctx, source.c_str(), nullptr, &options);
    av.dict_free(&options);
    if (rc < 0) {
        fc.ctx = nullptr;  // freed by avformat_open_input on failure
        return {OpenErrorCode(rc, isUrl), 0};
    }
    if (av.format_find_stream_info(fc.ctx, nullptr) < 0) return {AudioErrorCode::Format, 0};

    const AVCodec* decoder = nullptr;
    int index = av.find_best_stream(fc.ctx, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (index == AVERROR_DECODER_NOT_FOUND) return {AudioErrorCode::Codec, 0};
    if (index < 0) return {AudioErrorCode::Format, 0};
    if (cancel && cancel->load()) return result;

    if (IsLive(av, fc.ctx)) return result;
    const AVStream* st = fc.ctx->streams[index];
    bool isMp3 = std::strcmp(fc.ctx->iformat->name, "mp3") == 0;
    if (!isMp3 && st->duration != AV_NOPTS_VALUE && st->duration > 0) {
        result.lengthSeconds = static_cast<double>(st->duration) * av_q2d(st->time_base);
    } else {
        result.lengthSeconds = SumPacketSeconds(av, fc.ctx, index);
    }
    return result;
}
