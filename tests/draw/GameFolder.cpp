#include "draw/GameFolder.h"

#include "draw/PngFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

const std::map<std::string, unsigned>& pictures() {
    static const std::map<std::string, unsigned> colours = {
        {"pistil.png", 0xff0000}, {"pistil2.png", 0x00ff00}, {"pistil3.png", 0x0000ff},
        {"leaf.png", 0xffff00},   {"leaf2.png", 0xff00ff},   {"leaf3.png", 0x00ffff},
        {"petal.png", 0x800000},  {"petal2.png", 0x008000},  {"petal3.png", 0x000080},
        {"seed.png", 0x808000},   {"selector.png", 0x800080}, {"target5.png", 0x008080},
    };
    return colours;
}

}  // namespace

const std::string& gameFolder() {
    static const std::string folder = [] {
        const std::string root = makeTempFolder();
        std::filesystem::create_directory(root + "/images");
        for (const auto& [name, colour] : pictures()) {
            if (!writePng(root + "/images/" + name, solidPicture(16, 16, (colour << 8) | 0xffu))) {
                std::abort();
            }
        }
        return root;
    }();
    return folder;
}

unsigned gamePictureColour(const std::string& name) {
    return pictures().at(name);
}

InGameFolder::InGameFolder() : previous(std::filesystem::current_path().string()) {
    std::filesystem::current_path(gameFolder());
}

InGameFolder::~InGameFolder() {
    std::filesystem::current_path(previous);
}
