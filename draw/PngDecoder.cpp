#include "draw/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// Largest ancillary chunk libpng may allocate, in bytes (text, profiles).
constexpr png_alloc_size_t maxChunkBytes = 1024u * 1024u;
// Gamma assumed for a file without a gAMA or sRGB chunk.
constexpr double defaultFileGamma = 0.45455;
// Bytes of the PNG signature.
constexpr std::size_t signatureBytes = 8;

// The file's bytes and how far libpng has read them.
struct MemorySource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;   // bytes
    std::size_t read = 0;   // bytes handed to libpng so far
};

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    MemorySource* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->read) {
        png_error(png, "truncated");
    }
    std::memcpy(out, source->data + source->read, count);
    source->read += count;
}

std::uint32_t bigEndian32(const unsigned char* at) {
    return (std::uint32_t(at[0]) << 24) | (std::uint32_t(at[1]) << 16) | (std::uint32_t(at[2]) << 8) |
           std::uint32_t(at[3]);
}

// True when every chunk up to IEND (or the end of the bytes) lies wholly in
// the file. libpng allocates a text chunk's declared length before reading
// it, even past its chunk size limit, so a 20-byte chunk header can ask for
// two gigabytes; such a file is refused before libpng sees it.
bool chunksFitInFile(const std::vector<unsigned char>& bytes) {
    constexpr std::uint32_t maxChunkLength = 0x7fffffffu;  // the format's own limit, bytes
    std::size_t at = signatureBytes;
    while (at < bytes.size()) {
        if (bytes.size() - at < 12) {
            return false;  // a chunk header or CRC cut short
        }
        const std::uint32_t length = bigEndian32(bytes.data() + at);
        if (length > maxChunkLength || length > bytes.size() - at - 12) {
            return false;
        }
        if (std::memcmp(bytes.data() + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += 12 + std::size_t(length);
    }
    return true;
}

// Decodes into `picture`. libpng leaves by longjmp on any fault, so every
// object with a destructor (the pixels, the row pointers) lives in the
// caller's frame, not here.
bool decode(MemorySource& source, double gamma, PngPicture& picture, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_set_user_limits(png, pngMaxSide, pngMaxSide);
    png_set_chunk_malloc_max(png, maxChunkBytes);
    png_set_read_fn(png, &source, readFromMemory);
    // The chunk CRCs already guard the data; zlib's own checksum only costs time.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || width > pngMaxSide || height > pngMaxSide ||
        std::uint64_t(width) * height > pngMaxTexels) {
        png_error(png, "size");
    }

    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (hasTransparency) {
        png_set_tRNS_to_alpha(png);
    }
    if (bitDepth == 16) {
        png_set_scale_16(png);
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if (gamma > 0.0) {
        double fileGamma = 0.0;
        if (png_get_gAMA(png, info, &fileGamma) == 0 || fileGamma <= 0.0) {
            fileGamma = defaultFileGamma;
        }
        png_set_gamma(png, gamma, fileGamma);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const unsigned channels = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if ((channels != 3 && channels != 4) || rowBytes != std::size_t(width) * channels) {
        png_error(png, "layout");
    }
    bool allocated = true;
    try {
        picture.pixels.resize(rowBytes * height);
        rows.resize(height);
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    if (!allocated) {
        png_error(png, "memory");
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = picture.pixels.data() + std::size_t(y) * rowBytes;
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    return true;
}

}  // namespace

bool decodePng(const std::vector<unsigned char>& bytes, double screenGamma, PngPicture& out) {
    MemorySource source;
    source.data = bytes.data();
    source.size = bytes.size();
    std::vector<png_bytep> rows;
    const bool decoded = bytes.size() >= signatureBytes && png_sig_cmp(bytes.data(), 0, signatureBytes) == 0 &&
                         chunksFitInFile(bytes) && decode(source, screenGamma, out, rows);
    if (!decoded) {
        out.width = 0;
        out.height = 0;
        out.channels = 0;
        out.pixels.clear();
    }
    return decoded;
}
