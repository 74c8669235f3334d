#include "sound/SoundFileCheck.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatFloat = 3;
constexpr std::uint16_t formatExtensible = 0xFFFE;
constexpr double outputRate = 44100.0;  // Hz, the rate the player mixes at

std::uint32_t readU32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t readU16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

bool tagIs(const std::vector<unsigned char>& b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

// The fields of a "fmt " chunk that decide whether the data can be played.
struct WavFormat {
    std::uint16_t tag = 0;       // 1 PCM, 3 float (after resolving the extensible form)
    std::uint16_t channels = 0;  // interleaved channels per frame
    std::uint32_t rate = 0;      // frames per second, Hz
    std::uint16_t blockAlign = 0;  // bytes per frame
    std::uint16_t bits = 0;      // bits per sample
};

bool readFormat(const std::vector<unsigned char>& b, std::size_t body, std::uint32_t length, WavFormat& f) {
    if (length < 16) {
        return false;
    }
    f.tag = readU16(b, body);
    f.channels = readU16(b, body + 2);
    f.rate = readU32(b, body + 4);
    f.blockAlign = readU16(b, body + 12);
    f.bits = readU16(b, body + 14);
    if (f.tag == formatExtensible) {
        // The real format is the first two bytes of the sub-format GUID.
        if (length < 40) {
            return false;
        }
        f.tag = readU16(b, body + 24);
    }
    const bool pcm = f.tag == formatPcm && (f.bits == 8 || f.bits == 16);
    const bool flt = f.tag == formatFloat && f.bits == 32;
    return (pcm || flt) && f.channels >= 1 && f.channels <= 8 && f.rate >= 8000 && f.rate <= 192000 &&
           f.blockAlign == f.channels * (f.bits / 8);
}

// Bytes of the MPEG audio frame whose header starts at `at`, or 0 when no
// valid header with a known bitrate starts there.
std::size_t frameLength(const std::vector<unsigned char>& b, std::size_t at) {
    if (at + 4 > b.size() || b[at] != 0xFF || (b[at + 1] & 0xE0) != 0xE0) {
        return 0;
    }
    const int version = (b[at + 1] >> 3) & 3;  // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    const int layer = (b[at + 1] >> 1) & 3;    // 1 layer III, 2 layer II, 3 layer I, 0 reserved
    const int bitrateIndex = b[at + 2] >> 4;   // 0 free format, 15 invalid
    const int rateIndex = (b[at + 2] >> 2) & 3;  // 3 reserved
    const int padding = (b[at + 2] >> 1) & 1;
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
        return 0;
    }
    // Bitrates in kbit/s by [table][index]: MPEG 1 layers I, II, III; MPEG 2/2.5 layer I; layers II and III.
    static const int bitrates[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    };
    static const int mpeg1Rates[3] = {44100, 48000, 32000};  // Hz; halved for MPEG 2, quartered for 2.5
    const bool mpeg1 = version == 3;
    const int rate = mpeg1Rates[rateIndex] / (mpeg1 ? 1 : (version == 2 ? 2 : 4));
    const int table = mpeg1 ? 3 - layer : (layer == 3 ? 3 : 4);
    const long bitsPerSecond = bitrates[table][bitrateIndex] * 1000L;
    if (layer == 3) {
        return static_cast<std::size_t>((12 * bitsPerSecond / rate + padding) * 4);
    }
    const long slots = (layer == 1 && !mpeg1) ? 72 : 144;
    return static_cast<std::size_t>(slots * bitsPerSecond / rate + padding);
}

}  // namespace

bool SoundFileCheck::isPlayableWav(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 12 || !tagIs(bytes, 0, "RIFF") || !tagIs(bytes, 8, "WAVE")) {
        return false;
    }
    WavFormat format;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t length = readU32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (length > bytes.size() - body) {
            return false;  // a chunk, the data included, that runs past the end of the file
        }
        if (tagIs(bytes, at, "fmt ")) {
            if (haveFormat || !readFormat(bytes, body, length, format)) {
                return false;
            }
            haveFormat = true;
        } else if (tagIs(bytes, at, "data")) {
            if (!haveFormat || length == 0 || length % format.blockAlign != 0) {
                return false;
            }
            const double frames = static_cast<double>(length / format.blockAlign);
            const double channels = format.channels < 2 ? 2.0 : static_cast<double>(format.channels);
            const double converted = frames * (outputRate / format.rate + 1.0) * channels * 4.0;
            return converted <= maxConvertedBytes;
        }
        at = body + length + (length & 1u);  // chunks are padded to even sizes
    }
    return false;  // no data chunk
}

bool SoundFileCheck::looksLikeMp3(const std::vector<unsigned char>& bytes) {
    std::size_t audio = 0;
    if (bytes.size() >= 10 && std::memcmp(bytes.data(), "ID3", 3) == 0) {
        // An ID3v2 tag: its size is four 7-bit bytes, plus a footer when flagged.
        std::size_t tagSize = 0;
        for (std::size_t i = 6; i < 10; ++i) {
            if (bytes[i] & 0x80) {
                return false;
            }
            tagSize = (tagSize << 7) | bytes[i];
        }
        audio = 10 + tagSize + ((bytes[5] & 0x10) ? 10 : 0);
    }
    // A header counts when the next frame's header follows it exactly: stray
    // sync bytes rarely chain. A file of one frame only counts when that
    // frame opens the audio.
    for (std::size_t at = audio; at < bytes.size() && at < audio + mp3SyncWindow; ++at) {
        const std::size_t length = frameLength(bytes, at);
        if (length == 0) {
            continue;
        }
        if (at + length >= bytes.size() ? at == audio : frameLength(bytes, at + length) != 0) {
            return true;
        }
    }
    return false;
}
