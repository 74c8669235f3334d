#pragma once

#include <vector>

// A decoded picture: 8-bit RGB or RGBA texels, rows top first, tightly packed.
struct PngPicture {
    unsigned width = 0;     // texels
    unsigned height = 0;    // texels
    unsigned channels = 0;  // 3 (RGB) or 4 (RGBA)
    std::vector<unsigned char> pixels;  // width * height * channels bytes
};

// Largest width or height, in texels, that decodePng accepts.
constexpr unsigned pngMaxSide = 4096;
// Largest picture, in texels: twice the game's biggest pictures. A small file
// can claim a picture that fills memory once decoded and uploaded (a
// 4096 x 4096 one, 66 KB of zeros, costs some 200 MB), and the seed picture is
// loaded once per seed.
constexpr unsigned long pngMaxTexels = 1024ul * 1024ul;

// Decodes the PNG file held whole in `bytes` into `out`: palette, grey,
// 16-bit and interlaced files included, alpha kept when the file has it (a
// tRNS chunk included). A `screenGamma` above 0 corrects the colours from the
// file's own gamma to that screen's. Every chunk must lie wholly in `bytes`,
// and the picture's size is checked in its header, before any pixel is
// inflated. Returns false for anything that is not a whole,
// valid PNG within the limits; `out` then holds no picture. Prints nothing and
// needs no OpenGL. `out.pixels` keeps its capacity between calls.
bool decodePng(const std::vector<unsigned char>& bytes, double screenGamma, PngPicture& out);
