#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a hand-made WAV file looks like; the defaults give a valid 10 ms
// 1 kHz tone, and each other field bends one thing out of shape.
struct WavShape {
    std::uint16_t format = 1;       // format tag: 1 PCM, 3 float, 0xFFFE extensible
    std::uint16_t subFormat = 1;    // real format inside an extensible header
    std::uint16_t channels = 1;
    std::uint32_t rate = 44100;     // Hz
    std::uint16_t bits = 16;        // per sample
    std::uint32_t frames = 441;
    double toneHz = 1000.0;         // sine frequency; 0 for silence
    double amplitude = 0.25;        // of full scale
    int blockAlignChange = 0;       // added to the true bytes per frame
    long dataLengthChange = 0;      // added to the declared data length, bytes
    std::uint32_t fmtLength = 0;    // declared "fmt " length; 0 for the true one
    bool dataBeforeFmt = false;
    bool secondFmt = false;
    std::uint32_t listChunkBeforeFmt = 0;  // length of a LIST chunk ahead of "fmt "; 0 for none
};

std::vector<unsigned char> wavBytes(const WavShape& shape);

// A committed MP3 fixture under tests/sound/fixtures.
std::string soundFixture(const char* name);

std::vector<unsigned char> readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes);
