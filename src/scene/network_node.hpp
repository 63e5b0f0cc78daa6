#pragma once

#include "network/action.hpp"
#include "scene/scene_node.hpp"

#include <deque>

namespace scene {

// Collects the game actions that the network client reports to the server, oldest first.
class NetworkNode : public SceneNode {
public:
    NetworkNode();

    std::uint32_t GetCategory() const override;
    void NotifyGameAction(network::action::NetAction::Type type, sf::Vector2f position);
    // Takes the oldest pending action; false when there is none.
    bool PollGameAction(network::action::NetAction& out);

private:
    std::deque<network::action::NetAction> pending_actions;
};

}  // namespace scene
