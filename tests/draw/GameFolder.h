#pragma once

#include <string>

// A working folder laid out like the game's, with every sprite picture under
// ./images/ as a 16 x 16 square of its own opaque colour, so a test can tell
// from a pixel which file a sprite shows.
const std::string& gameFolder();

// The colour (0xRRGGBB) of a picture in gameFolder(), by file name.
unsigned gamePictureColour(const std::string& name);

// Makes gameFolder() the working directory while it lives.
class InGameFolder {
public:
    InGameFolder();
    ~InGameFolder();
    InGameFolder(const InGameFolder&) = delete;
    InGameFolder& operator=(const InGameFolder&) = delete;

private:
    std::string previous;
};
