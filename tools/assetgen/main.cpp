// Generates every texture, sound and music file of the game into the share directory given.
// With --contact-sheet FILE it also lays the textures out on one picture for inspection.
#include "contact_sheet.hpp"
#include "effect_textures.hpp"
#include "icon.hpp"
#include "menu_textures.hpp"
#include "music_tracks.hpp"
#include "sound_effects.hpp"
#include "sprite_textures.hpp"
#include "terrain_textures.hpp"

#include <exception>
#include <future>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const bool with_sheet = argc == 4 && std::string(argv[2]) == "--contact-sheet";
    if (argc != 2 && !with_sheet) {
        std::cerr << "usage: kirrow_assetgen SHARE_DIR [--contact-sheet FILE]\n";
        return 2;
    }
    try {
        const std::filesystem::path share = argv[1];
        // The music takes longest; everything else is made meanwhile.
        auto music = std::async(std::launch::async, [&share] { assetgen::MakeMusic(share); });
        assetgen::MakeSoundEffects(share);
        assetgen::MakeCharacterTexture(share);
        assetgen::MakeEnemyTexture(share);
        assetgen::MakeProjectileTexture(share);
        assetgen::MakeExplosionTexture(share);
        assetgen::MakeJungleTexture(share);
        assetgen::MakeFinishTexture(share);
        assetgen::MakeParticleTexture(share);
        assetgen::MakeButtonTexture(share);
        assetgen::MakeBackgroundTexture(share);
        assetgen::MakeIcon(share);
        music.get();
        if (with_sheet) {
            assetgen::WriteContactSheet(share, argv[3]);
            assetgen::ReleaseFontCaches();
        }
    } catch (const std::exception& error) {
        std::cerr << "kirrow_assetgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
