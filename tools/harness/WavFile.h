// Reading and writing audio files for the harness (libsndfile). Audio is
// held de-interleaved: one vector of samples per channel.
#pragma once

#include <string>
#include <vector>

struct AudioData {
    int sampleRate = 44100;
    std::vector<std::vector<float>> channels;
    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

enum class WavFormat { Pcm16, Pcm24, Float32 };

// Both return false and say why in `error`.
bool readAudioFile(const std::string& path, AudioData& audio, std::string& error);
bool writeWavFile(const std::string& path, const AudioData& audio, WavFormat format,
                  std::string& error);

// "16", "24" or "float" (also "32f"); false for anything else.
bool parseWavFormat(const std::string& text, WavFormat& format);

struct LevelStats {
    double peak = 0.0; // largest |sample|
    double rms = 0.0;  // over all channels
    size_t nonFinite = 0;
};
LevelStats measureLevels(const AudioData& audio);
