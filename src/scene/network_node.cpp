#include "scene/network_node.hpp"

namespace scene {

NetworkNode::NetworkNode() : SceneNode(Category::NONE) {}

std::uint32_t NetworkNode::GetCategory() const { return Category::NETWORK; }

void NetworkNode::NotifyGameAction(network::action::NetAction::Type type, sf::Vector2f position) {
    pending_actions.push_back({position, type});
}

bool NetworkNode::PollGameAction(network::action::NetAction& out) {
    if (pending_actions.empty()) return false;
    out = pending_actions.front();
    pending_actions.pop_front();
    return true;
}

}  // namespace scene
