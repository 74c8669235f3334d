#include "fuzz/PngChunkChecksums.h"

#include <zlib.h>

#include <cstdint>

void fixPngChunkChecksums(std::vector<unsigned char>& file) {
    std::size_t at = 8;  // after the signature
    while (at + 12 <= file.size()) {
        const std::uint32_t length = (std::uint32_t(file[at]) << 24) | (std::uint32_t(file[at + 1]) << 16) |
                                     (std::uint32_t(file[at + 2]) << 8) | std::uint32_t(file[at + 3]);
        if (length > file.size() - at - 12) {
            return;
        }
        const std::size_t crcAt = at + 8 + length;
        const uLong crc = crc32(0L, file.data() + at + 4, static_cast<uInt>(4 + length));
        for (int i = 0; i < 4; ++i) {
            file[crcAt + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        }
        at = crcAt + 4;
    }
}
