#pragma once

#include "draw/PngDecoder.h"

// Loads a PNG file into a new 2-D texture with its mipmap levels, and returns
// the texture's name, or 0 when the file can't be read or decoded (then no
// texture is made). The texture is RGBA when the file carries alpha (a tRNS
// chunk included) and RGB otherwise; rows are stored top first. Files wider or
// taller than pngMaxSide texels, or of more than pngMaxTexels, are refused
// before any pixel is decoded (see decodePng).
//
// When the environment variable VIEWING_GAMMA holds a positive number, it is
// taken as the screen's gamma and the colours are corrected against the file's
// own gamma; otherwise they are uploaded as stored. Nothing is ever printed.
//
// Needs a current OpenGL context; leaves the texture binding and the pixel
// unpacking state as it found them.
unsigned pngBind(const char* path, int wrap, int minFilter, int magFilter);
