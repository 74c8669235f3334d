#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Asset files that no ordinary tool writes, made in memory.

// A valid 8-bit RGBA PNG of width x height texels, every byte of its image
// data zero. The zlib stream is one flushed block repeated, so even
// 30000 x 30000 (3.6 GB inflated) is a few megabytes, made at once.
std::vector<unsigned char> zeroPng(std::uint32_t width, std::uint32_t height);

// What a hostile file can claim in 70 bytes: a PNG header of that size and
// one tiny IDAT.
std::vector<unsigned char> claimPng(std::uint32_t width, std::uint32_t height);

// Adds a chunk with its length and CRC to a PNG file.
void appendPngChunk(std::vector<unsigned char>& file, const char* type, const std::vector<unsigned char>& data);

// Finds a table of a TrueType font: its offset and length in bytes, or false.
bool findFontTable(const std::vector<unsigned char>& font, const char* tag, std::size_t& offset,
                   std::size_t& length);
