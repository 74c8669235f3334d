#include "SoundFixtures.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

void putFmt(std::vector<unsigned char>& out, const WavShape& s) {
    const bool extensible = s.format == 0xFFFE;
    const std::uint32_t trueLength = extensible ? 40 : 16;
    const std::uint32_t length = s.fmtLength != 0 ? s.fmtLength : trueLength;
    const int blockAlign = s.channels * (s.bits / 8) + s.blockAlignChange;
    putTag(out, "fmt ");
    put32(out, length);
    std::vector<unsigned char> body;
    put16(body, s.format);
    put16(body, s.channels);
    put32(body, s.rate);
    put32(body, s.rate * static_cast<std::uint32_t>(blockAlign));
    put16(body, static_cast<std::uint32_t>(blockAlign));
    put16(body, s.bits);
    if (extensible) {
        put16(body, 22);          // extra bytes
        put16(body, s.bits);      // valid bits
        put32(body, 0);           // channel mask
        put16(body, s.subFormat);  // GUID, then the rest of the usual GUID
        const unsigned char rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        body.insert(body.end(), rest, rest + 14);
    }
    body.resize(length, 0);
    out.insert(out.end(), body.begin(), body.end());
}

void putSamples(std::vector<unsigned char>& out, const WavShape& s) {
    const double pi = 3.14159265358979323846;
    for (std::uint32_t f = 0; f < s.frames; ++f) {
        const double v = s.toneHz > 0.0 ? s.amplitude * std::sin(2.0 * pi * s.toneHz * f / s.rate) : 0.0;
        for (int c = 0; c < s.channels; ++c) {
            if (s.format == 3 || (s.format == 0xFFFE && s.subFormat == 3)) {
                const float x = static_cast<float>(v);
                std::uint32_t raw = 0;
                std::memcpy(&raw, &x, 4);
                put32(out, raw);
            } else if (s.bits == 8) {
                out.push_back(static_cast<unsigned char>(128 + std::lround(v * 127.0)));
            } else if (s.bits == 16) {
                put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767.0))));
            } else {
                out.insert(out.end(), s.bits / 8, 0);
            }
        }
    }
}

}  // namespace

std::vector<unsigned char> wavBytes(const WavShape& s) {
    std::vector<unsigned char> samples;
    putSamples(samples, s);
    std::vector<unsigned char> data;
    putTag(data, "data");
    put32(data, static_cast<std::uint32_t>(static_cast<long>(samples.size()) + s.dataLengthChange));
    data.insert(data.end(), samples.begin(), samples.end());
    if (samples.size() & 1) {
        data.push_back(0);
    }

    std::vector<unsigned char> chunks;
    if (s.listChunkBeforeFmt != 0) {
        putTag(chunks, "LIST");
        put32(chunks, s.listChunkBeforeFmt);
        chunks.insert(chunks.end(), s.listChunkBeforeFmt + (s.listChunkBeforeFmt & 1), 'x');
    }
    if (s.dataBeforeFmt) {
        chunks.insert(chunks.end(), data.begin(), data.end());
        putFmt(chunks, s);
    } else {
        putFmt(chunks, s);
        if (s.secondFmt) {
            putFmt(chunks, s);
        }
        chunks.insert(chunks.end(), data.begin(), data.end());
    }

    std::vector<unsigned char> out;
    putTag(out, "RIFF");
    put32(out, static_cast<std::uint32_t>(chunks.size() + 4));
    putTag(out, "WAVE");
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

std::string soundFixture(const char* name) {
    return std::string(BLOOMCROSS_SOURCE_DIR) + "/tests/sound/fixtures/" + name;
}

std::vector<unsigned char> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
