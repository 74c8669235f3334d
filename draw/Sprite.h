#pragma once

// A sprite is a display list that draws one picture on a unit square centred
// on the origin in the plane z = 0; -1 while not made, any value >= 0 counts
// as made. Callers place, turn and size it with the modelview matrix and tint
// it with the current colour.

// Pictures per organ: the shape traits index these tables.
constexpr int organShapeCount = 3;

// The organ tables, shared by every flower; -1 until the first planting.
extern int petalSprites[organShapeCount];
extern int leafSprites[organShapeCount];
extern int pistilSprites[organShapeCount];

// Makes `sprite` from the PNG file at `path` unless it is already made. A
// `texture` below 0 is filled with a new texture of that file (0 when the
// file can't be read, which draws a plain square in the current colour); a
// texture of 0 or more is used as it is and no file is read.
void makeSprite(int& sprite, int& texture, const char* path);

// Deletes the sprite's list and the texture makeSprite loaded for it (not a
// texture the caller handed in), and sets it to -1. Does nothing for -1.
void releaseSprite(int& sprite);

// Releases the nine organ sprites and makes them anew from their files.
void remakeOrganSprites();

// A new sprite of the seed picture, in a texture of its own.
int makeSeedSprite();

// Points the garden's hooks for seed, release and organ sprites at these.
void installSpriteHooks();
