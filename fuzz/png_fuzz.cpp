// libFuzzer target for the picture decoder: any bytes at all go to
// decodePng, which must refuse them or give a picture of the size it claims,
// never read or write out of bounds and never ask for a huge allocation.
#include "draw/PngDecoder.h"
#include "fuzz/PngChunkChecksums.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void checkPicture(const PngPicture& picture) {
    const bool sane = picture.width >= 1 && picture.height >= 1 && picture.width <= pngMaxSide &&
                      picture.height <= pngMaxSide &&
                      std::uint64_t(picture.width) * picture.height <= pngMaxTexels &&
                      (picture.channels == 3 || picture.channels == 4) &&
                      picture.pixels.size() == std::size_t(picture.width) * picture.height * picture.channels;
    if (!sane) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> file(data, data + size);
    fixPngChunkChecksums(file);
    PngPicture picture;
    if (decodePng(file, 0.0, picture)) {
        checkPicture(picture);
        // The gamma path transforms every sample once more.
        if (decodePng(file, 1.0, picture)) {
            checkPicture(picture);
        }
    } else if (!picture.pixels.empty() || picture.width != 0) {
        std::abort();  // a refusal leaves no picture behind
    }
    return 0;
}
