// Writes the damaged and unusual asset files that no ordinary tool makes, for
// the tests that play the game on them: PNG files that inflate to gigabytes,
// PNG headers that claim huge sizes, fonts with a table overwritten,
// reproducible random bytes and flipped bytes.
//
//   asset_maker zero-png WIDTH HEIGHT OUT      a valid all-zero RGBA picture
//   asset_maker claim-png WIDTH HEIGHT OUT     a header claiming the size, almost no data
//   asset_maker font-fill IN TAG BYTE OUT      the font with table TAG filled with BYTE
//   asset_maker font-glyphs IN COUNT OUT       the font claiming COUNT glyphs
//   asset_maker random SIZE SEED OUT           SIZE bytes of a fixed pseudo-random sequence
//   asset_maker flip FROM EVERY FILE           inverts every EVERYth byte from offset FROM on
#include "BadFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeAll(const char* path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

int usage() {
    std::fprintf(stderr,
                 "usage: asset_maker zero-png|claim-png W H OUT | font-fill IN TAG BYTE OUT |"
                 " font-glyphs IN COUNT OUT | random SIZE SEED OUT | flip FROM EVERY FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string what = argv[1];
    Bytes result;
    const char* out = argv[argc - 1];
    if ((what == "zero-png" || what == "claim-png") && argc == 5) {
        const auto width = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
        const auto height = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
        result = what == "zero-png" ? zeroPng(width, height) : claimPng(width, height);
    } else if (what == "font-fill" && argc == 6) {
        result = readAll(argv[2]);
        std::size_t offset = 0;
        std::size_t length = 0;
        if (std::strlen(argv[3]) != 4 || !findFontTable(result, argv[3], offset, length)) {
            std::fprintf(stderr, "asset_maker: no table '%s' in %s\n", argv[3], argv[2]);
            return 1;
        }
        std::memset(result.data() + offset, static_cast<int>(std::strtoul(argv[4], nullptr, 0)), length);
    } else if (what == "font-glyphs" && argc == 5) {
        result = readAll(argv[2]);
        std::size_t offset = 0;
        std::size_t length = 0;
        if (!findFontTable(result, "maxp", offset, length) || length < 6) {
            std::fprintf(stderr, "asset_maker: no maxp table in %s\n", argv[2]);
            return 1;
        }
        const unsigned long count = std::strtoul(argv[3], nullptr, 10);
        result[offset + 4] = static_cast<unsigned char>(count >> 8);
        result[offset + 5] = static_cast<unsigned char>(count);
    } else if (what == "flip" && argc == 5) {
        result = readAll(out);
        const std::size_t every = std::strtoul(argv[3], nullptr, 10);
        for (std::size_t at = std::strtoul(argv[2], nullptr, 10); every > 0 && at < result.size(); at += every) {
            result[at] ^= 0xff;
        }
    } else if (what == "random" && argc == 5) {
        std::mt19937 generator(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
        result.resize(std::strtoul(argv[2], nullptr, 10));
        for (unsigned char& byte : result) {
            byte = static_cast<unsigned char>(generator());
        }
    } else {
        return usage();
    }
    if (!writeAll(out, result)) {
        std::fprintf(stderr, "asset_maker: can't write %s\n", out);
        return 1;
    }
    return 0;
}
