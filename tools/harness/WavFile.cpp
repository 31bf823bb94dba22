#include "WavFile.h"

#include <sndfile.h>

#include <cmath>

bool readAudioFile(const std::string& path, AudioData& audio, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        error = path + ": no audio channels";
        return false;
    }
    std::vector<float> interleaved(4096 * static_cast<size_t>(info.channels));
    audio.sampleRate = info.samplerate;
    audio.channels.assign(info.channels, {});
    for (;;) {
        sf_count_t got = sf_readf_float(file, interleaved.data(), 4096);
        if (got <= 0)
            break;
        for (sf_count_t i = 0; i < got; ++i)
            for (int c = 0; c < info.channels; ++c)
                audio.channels[c].push_back(interleaved[i * info.channels + c]);
    }
    sf_close(file);
    return true;
}

bool writeWavFile(const std::string& path, const AudioData& audio, WavFormat format,
                  std::string& error)
{
    const int channels = static_cast<int>(audio.channels.size());
    if (channels == 0) {
        error = "nothing to write";
        return false;
    }
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | (format == WavFormat::Pcm16   ? SF_FORMAT_PCM_16
                                   : format == WavFormat::Pcm24 ? SF_FORMAT_PCM_24
                                                                : SF_FORMAT_FLOAT);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Integer formats clip rather than wrap.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const size_t frames = audio.frames();
    std::vector<float> interleaved(4096 * static_cast<size_t>(channels));
    for (size_t start = 0; start < frames; start += 4096) {
        size_t n = frames - start < 4096 ? frames - start : 4096;
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                interleaved[i * channels + c] = audio.channels[c][start + i];
        if (sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(n)) !=
            static_cast<sf_count_t>(n)) {
            error = "write error on " + path + ": " + sf_strerror(file);
            sf_close(file);
            return false;
        }
    }
    sf_close(file);
    return true;
}

bool parseWavFormat(const std::string& text, WavFormat& format)
{
    if (text == "16")
        format = WavFormat::Pcm16;
    else if (text == "24")
        format = WavFormat::Pcm24;
    else if (text == "float" || text == "32f")
        format = WavFormat::Float32;
    else
        return false;
    return true;
}

LevelStats measureLevels(const AudioData& audio)
{
    LevelStats stats;
    double sum = 0.0;
    size_t count = 0;
    for (const auto& channel : audio.channels)
        for (float x : channel) {
            if (!std::isfinite(x)) {
                ++stats.nonFinite;
                continue;
            }
            double a = std::fabs(static_cast<double>(x));
            if (a > stats.peak)
                stats.peak = a;
            sum += a * a;
            ++count;
        }
    stats.rms = count ? std::sqrt(sum / count) : 0.0;
    return stats;
}
