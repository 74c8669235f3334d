#pragma once

#include <cstddef>
#include <vector>

// The one guarded way the game reads an asset file: opened read-only, a
// regular file only (a pipe, a folder or a device is refused without
// blocking), refused when larger than a cap, and read whole into memory so
// the decoders only ever see bytes.
class AssetFile {
public:
    // Fills `bytes` with the whole file and returns true; on any failure
    // returns false and leaves `bytes` empty. Never blocks, never prints.
    static bool read(const char* path, std::size_t maxBytes, std::vector<unsigned char>& bytes);
};
