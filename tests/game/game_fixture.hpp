#pragma once

#include "command/command.hpp"
#include "scene/category.hpp"
#include "scene/scene_node.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <gtest/gtest.h>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace game_test {

using Textures = holder::ResourceHolder<sf::Texture, holder::TextureId>;
using Fonts = holder::ResourceHolder<sf::Font, holder::FontId>;

constexpr sf::Int64 step_us = 16666;

// Writes a blank sheet standing in for every game texture: the objects read only fixed
// rectangles of their sheets, so the logic needs neither artwork nor full-size sheets. The
// width matches the explosion sheet, whose frames wrap at it.
inline std::filesystem::path WriteBlankSheet() {
    const auto file =
        std::filesystem::temp_directory_path() / ("kirrow_game_test_" + std::to_string(::getpid()) + ".png");
    sf::Image image;
    image.create(1024, 4, sf::Color::Transparent);
    image.saveToFile(file.string());
    return file;
}

// A small field: a root with the air layer under it, and the world's one command queue.
class GameTest : public ::testing::Test {
protected:
    GameTest() {
        // The graphics driver runs threads of its own: death tests must start a fresh process.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        const auto sheet = WriteBlankSheet();
        for (const auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                              holder::TextureId::Explosion, holder::TextureId::Particle})
            textures.Load(id, sheet.string());
        std::filesystem::remove(sheet);
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        auto layer = std::make_unique<scene::SceneNode>(scene::Category::SCENE_AIR_LAYER);
        air_layer = layer.get();
        root.AttachChild(std::move(layer));
    }

    template <typename Node>
    Node& Attach(std::unique_ptr<Node> node, scene::SceneNode& parent) {
        Node& result = *node;
        parent.AttachChild(std::move(node));
        return result;
    }

    // Delivers every queued command through the tree, as the world does once per update.
    void Deliver() {
        while (!commands.empty()) {
            root.OnCommand(commands.front(), sf::Time::Zero);
            commands.pop();
        }
    }

    // Counts and drops the queued commands addressed to `category`; keeps the others queued.
    int Take(std::uint32_t category) {
        int count = 0;
        command::CommandQueue kept;
        while (!commands.empty()) {
            if (commands.front().category == category)
                ++count;
            else
                kept.push(commands.front());
            commands.pop();
        }
        commands = std::move(kept);
        return count;
    }

    Textures textures;
    Fonts fonts;
    scene::SceneNode root;
    scene::SceneNode* air_layer = nullptr;
    command::CommandQueue commands;
};

}  // namespace game_test
