#pragma once

#include <string>
#include <vector>

// A PNG picture to write for a test, in libpng's own terms.
struct PngFixture {
    int width = 1;                       // texels
    int height = 1;                      // texels
    int colorType = 6;                   // PNG_COLOR_TYPE_*: 6 is RGBA
    int bitDepth = 8;                    // bits per sample
    bool interlaced = false;             // Adam7
    double gamma = 0.0;                  // gAMA chunk value; 0 writes none
    std::vector<unsigned char> palette;  // RGB triples for a palette picture
    std::vector<unsigned char> paletteAlpha;  // tRNS for a palette picture
    int transparentGrey = -1;            // tRNS grey value for a grey picture; -1 none
    std::vector<std::vector<unsigned char>> rows;  // packed samples, top row first
};

// Writes the picture with libpng; false when libpng refuses it.
bool writePng(const std::string& path, const PngFixture& fixture);

// An 8-bit RGBA picture whose texel (x, y), y counted from the top, is
// colourOf(x, y) as 0xRRGGBBAA.
PngFixture rgbaPicture(int width, int height, unsigned (*colourOf)(int x, int y));
// A picture of one colour, 0xRRGGBBAA.
PngFixture solidPicture(int width, int height, unsigned rgba);

// Raw PNG chunks, for files no encoder writes: the 8 signature bytes, then
// chunks with their lengths and CRCs.
std::vector<unsigned char> pngSignature();
void appendChunk(std::vector<unsigned char>& file, const char* type, const std::vector<unsigned char>& data);
std::vector<unsigned char> headerChunk(unsigned width, unsigned height, int bitDepth, int colorType);
bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> readBytes(const std::string& path);

// A new empty folder under /tmp, removed with everything in it at exit.
std::string makeTempFolder();
