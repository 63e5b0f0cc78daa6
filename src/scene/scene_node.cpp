#include "scene/scene_node.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <algorithm>
#include <cassert>

namespace scene {

namespace {

bool IsUntransformed(const sf::Transformable& node) {
    return node.getPosition() == sf::Vector2f() && node.getRotation() == 0.f && node.getScale() == sf::Vector2f(1.f, 1.f) &&
           node.getOrigin() == sf::Vector2f();
}

}  // namespace

SceneNode::SceneNode(std::uint32_t category) : default_category(category) {}

std::uint32_t SceneNode::GetCategory() const { return default_category; }

sf::FloatRect SceneNode::GetBoundingRect() const { return {}; }

bool SceneNode::IsDestroyed() const { return false; }

bool SceneNode::IsMarkedForRemoval() const { return IsDestroyed(); }

void SceneNode::AttachChild(Ptr child) {
    child->parent = this;
    // The child is whole by now, unlike this node while its constructor attaches children.
    child->attached_category = child->GetCategory();
    const std::uint32_t added = child->attached_category | child->categories_below;
    for (SceneNode* node = this; node != nullptr; node = node->parent) node->categories_below |= added;
    children.push_back(std::move(child));
}

SceneNode::Ptr SceneNode::PopChild(const SceneNode& node) {
    const auto found = std::find_if(children.begin(), children.end(), [&](const Ptr& p) { return p.get() == &node; });
    assert(found != children.end());
    Ptr result = std::move(*found);
    result->parent = nullptr;
    children.erase(found);
    return result;
}

void SceneNode::Update(sf::Time dt, command::CommandQueue& commands) {
    UpdateCurrent(dt, commands);
    UpdateChildren(dt, commands);
}

void SceneNode::UpdateCurrent(sf::Time, command::CommandQueue&) {}

void SceneNode::UpdateChildren(sf::Time dt, command::CommandQueue& commands) {
    for (const Ptr& child : children) child->Update(dt, commands);
}

void SceneNode::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    DrawCurrent(target, states);
    DrawChildren(target, states);
}

void SceneNode::DrawCurrent(sf::RenderTarget&, sf::RenderStates) const {}

void SceneNode::DrawChildren(sf::RenderTarget& target, sf::RenderStates states) const {
    for (const Ptr& child : children) child->draw(target, states);
}

sf::Transform SceneNode::GetWorldTransform() const {
    sf::Transform transform = getTransform();
    // Layers and the root never move: their identity products are skipped, not computed.
    for (const SceneNode* node = parent; node != nullptr; node = node->parent)
        if (!IsUntransformed(*node)) transform = node->getTransform() * transform;
    return transform;
}

sf::Vector2f SceneNode::GetWorldPosition() const { return GetWorldTransform() * sf::Vector2f(); }

void SceneNode::OnCommand(const command::Command& command, sf::Time dt) {
    if (command.category & GetCategory()) command.action(*this, dt);
    if (!(command.category & categories_below)) return;
    // Indexed on purpose: the action may attach children, which then receive the command too.
    for (std::size_t i = 0; i < children.size(); ++i) {
        SceneNode& child = *children[i];
        if (command.category & (child.attached_category | child.categories_below)) child.OnCommand(command, dt);
    }
}

void SceneNode::RemoveWrecks() {
    std::erase_if(children, [](const Ptr& child) { return child->IsMarkedForRemoval(); });
    categories_below = Category::NONE;
    for (const Ptr& child : children) {
        child->RemoveWrecks();
        categories_below |= child->attached_category | child->categories_below;
    }
}

}  // namespace scene
