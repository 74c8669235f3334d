#include "draw/PngFixture.h"

#include <png.h>
#include <zlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

void onWriteError(png_structp png, png_const_charp) {
    longjmp(png_jmpbuf(png), 1);
}

void onWriteWarning(png_structp, png_const_charp) {}

void putBigEndian(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

// Writes through libpng; `rows` is owned by the caller so the longjmp skips
// no destructor.
bool writeWithLibpng(FILE* file, const PngFixture& f, std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onWriteError, onWriteWarning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(f.width), png_uint_32(f.height), f.bitDepth, f.colorType,
                 f.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!f.palette.empty()) {
        std::vector<png_color> colours;
        for (std::size_t i = 0; i + 2 < f.palette.size(); i += 3) {
            colours.push_back(png_color{f.palette[i], f.palette[i + 1], f.palette[i + 2]});
        }
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
    }
    if (!f.paletteAlpha.empty()) {
        png_set_tRNS(png, info, f.paletteAlpha.data(), int(f.paletteAlpha.size()), nullptr);
    }
    if (f.transparentGrey >= 0) {
        png_color_16 grey{};
        grey.gray = png_uint_16(f.transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    if (f.gamma > 0.0) {
        png_set_gAMA(png, info, f.gamma);
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const std::string& path, const PngFixture& fixture) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::vector<std::vector<unsigned char>> rowCopies = fixture.rows;
    std::vector<png_bytep> rows;
    for (auto& row : rowCopies) {
        rows.push_back(row.data());
    }
    const bool ok = int(rows.size()) == fixture.height && writeWithLibpng(file, fixture, rows);
    std::fclose(file);
    return ok;
}

PngFixture rgbaPicture(int width, int height, unsigned (*colourOf)(int x, int y)) {
    PngFixture f;
    f.width = width;
    f.height = height;
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned char> row;
        for (int x = 0; x < width; ++x) {
            const unsigned c = colourOf(x, y);
            putBigEndian(row, c);
        }
        f.rows.push_back(row);
    }
    return f;
}

PngFixture solidPicture(int width, int height, unsigned rgba) {
    PngFixture f;
    f.width = width;
    f.height = height;
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x) {
        putBigEndian(row, rgba);
    }
    f.rows.assign(std::size_t(height), row);
    return f;
}

std::vector<unsigned char> pngSignature() {
    return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
}

void appendChunk(std::vector<unsigned char>& file, const char* type, const std::vector<unsigned char>& data) {
    putBigEndian(file, unsigned(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    putBigEndian(file, unsigned(crc32(0, body.data(), unsigned(body.size()))));
}

std::vector<unsigned char> headerChunk(unsigned width, unsigned height, int bitDepth, int colorType) {
    std::vector<unsigned char> data;
    putBigEndian(data, width);
    putBigEndian(data, height);
    data.push_back(static_cast<unsigned char>(bitDepth));
    data.push_back(static_cast<unsigned char>(colorType));
    data.push_back(0);  // compression
    data.push_back(0);  // filter
    data.push_back(0);  // no interlace
    return data;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string makeTempFolder() {
    static std::vector<std::string> made;
    char name[] = "/tmp/bloomcross-draw-XXXXXX";
    if (mkdtemp(name) == nullptr) {
        std::abort();
    }
    if (made.empty()) {
        std::atexit([] {
            for (const std::string& folder : made) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
            }
        });
    }
    made.push_back(name);
    return name;
}
