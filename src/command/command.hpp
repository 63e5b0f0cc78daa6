#pragma once

#include <SFML/System/Time.hpp>

#include <cstdint>
#include <deque>
#include <functional>
#include <queue>

namespace scene {
class SceneNode;
}

namespace command {

// An action delivered to every node whose category shares a bit with the mask.
struct Command {
    std::function<void(scene::SceneNode&, sf::Time)> action;
    std::uint32_t category = 0;
};

using CommandQueue = std::queue<Command, std::deque<Command>>;

// Wraps an action written for a node subclass; the command's category guarantees the kind.
template <typename Node, typename Function>
std::function<void(scene::SceneNode&, sf::Time)> DerivedAction(Function function) {
    return [function](scene::SceneNode& node, sf::Time dt) { function(static_cast<Node&>(node), dt); };
}

}  // namespace command
