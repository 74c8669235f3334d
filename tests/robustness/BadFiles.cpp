#include "BadFiles.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

using Bytes = std::vector<unsigned char>;

void putU32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

Bytes pngStart(std::uint32_t width, std::uint32_t height) {
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    putU32(header, width);
    putU32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    appendPngChunk(file, "IHDR", header);
    return file;
}

// Raw deflate of `count` zero bytes, ending in a full flush so that the
// output of one call can follow itself any number of times.
Bytes deflateZeros(std::size_t count) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    Bytes zeros(count, 0);
    Bytes out(deflateBound(&z, static_cast<uLong>(count)) + 64);
    z.next_in = zeros.data();
    z.avail_in = static_cast<uInt>(count);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FULL_FLUSH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

std::uint32_t getU32(const Bytes& b, std::size_t at) {
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) |
           std::uint32_t(b[at + 3]);
}

}  // namespace

Bytes zeroPng(std::uint32_t width, std::uint32_t height) {
    const unsigned long long total = (1ull + 4ull * width) * height;  // inflated bytes
    const std::size_t block = 1u << 20;
    const Bytes piece = deflateZeros(block);
    Bytes stream = {0x78, 0xda};
    unsigned long long left = total;
    while (left >= block) {
        stream.insert(stream.end(), piece.begin(), piece.end());
        left -= block;
    }
    // The rest, then the final empty block and the Adler-32 of all zeros.
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    Bytes zeros(static_cast<std::size_t>(left), 0);
    Bytes out(deflateBound(&z, static_cast<uLong>(left)) + 64);
    z.next_in = zeros.data();
    z.avail_in = static_cast<uInt>(left);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    stream.insert(stream.end(), out.begin(), out.end());
    // Adler-32 of n zero bytes: A stays 1, B grows by 1 per byte.
    putU32(stream, static_cast<std::uint32_t>(((total % 65521ull) << 16) | 1u));

    Bytes file = pngStart(width, height);
    const std::size_t chunk = 1u << 20;  // bytes of zlib data per IDAT
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        const std::size_t end = std::min(stream.size(), at + chunk);
        appendPngChunk(file, "IDAT", Bytes(stream.begin() + at, stream.begin() + end));
    }
    appendPngChunk(file, "IEND", {});
    return file;
}

Bytes claimPng(std::uint32_t width, std::uint32_t height) {
    Bytes file = pngStart(width, height);
    appendPngChunk(file, "IDAT", {0x78, 0x9c, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
    appendPngChunk(file, "IEND", {});
    return file;
}

void appendPngChunk(Bytes& file, const char* type, const Bytes& data) {
    putU32(file, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, file.data() + typeAt, static_cast<uInt>(4 + data.size()));
    putU32(file, static_cast<std::uint32_t>(crc));
}

bool findFontTable(const Bytes& font, const char* tag, std::size_t& offset, std::size_t& length) {
    if (font.size() < 12) {
        return false;
    }
    const std::size_t tables = (std::size_t(font[4]) << 8) | font[5];
    for (std::size_t i = 0; i < tables && 12 + 16 * i + 16 <= font.size(); ++i) {
        const std::size_t entry = 12 + 16 * i;
        if (std::memcmp(font.data() + entry, tag, 4) == 0) {
            offset = getU32(font, entry + 8);
            length = getU32(font, entry + 12);
            return offset + length <= font.size();
        }
    }
    return false;
}

