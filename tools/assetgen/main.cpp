// Generates every texture, sound and music file of the game into the share directory given.
#include "menu_textures.hpp"
#include "sound_effects.hpp"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kirrow_assetgen SHARE_DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path share = argv[1];
        assetgen::MakeSoundEffects(share);
        assetgen::MakeButtonTexture(share);
        assetgen::MakeBackgroundTexture(share);
    } catch (const std::exception& error) {
        std::cerr << "kirrow_assetgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
