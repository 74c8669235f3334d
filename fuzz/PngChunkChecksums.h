#pragma once

#include <vector>

// Rewrites the CRC of every whole chunk of a PNG file to match its bytes,
// from the first chunk after the signature up to the first chunk that does
// not fit. libpng refuses a chunk whose CRC is wrong before looking inside,
// so the fuzzer (and the replay of what it found) passes its inputs through
// this to reach the code behind the checksums.
void fixPngChunkChecksums(std::vector<unsigned char>& file);
