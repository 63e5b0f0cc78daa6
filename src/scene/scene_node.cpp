#include "scene/scene_node.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <functional>

namespace scene {

SceneNode::SceneNode(std::uint32_t category) : default_category(category) {}

std::uint32_t SceneNode::GetCategory() const { return default_category; }

sf::FloatRect SceneNode::GetBoundingRect() const { return {}; }

bool SceneNode::IsDestroyed() const { return false; }

bool SceneNode::IsMarkedForRemoval() const { return IsDestroyed(); }

void SceneNode::AttachChild(Ptr child) {
    child->parent = this;
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
    sf::Transform transform = sf::Transform::Identity;
    for (const SceneNode* node = this; node != nullptr; node = node->parent) transform = node->getTransform() * transform;
    return transform;
}

sf::Vector2f SceneNode::GetWorldPosition() const { return GetWorldTransform() * sf::Vector2f(); }

void SceneNode::OnCommand(const command::Command& command, sf::Time dt) {
    if (command.category & GetCategory()) command.action(*this, dt);
    // Indexed on purpose: the action may attach children, which then receive the command too.
    for (std::size_t i = 0; i < children.size(); ++i) children[i]->OnCommand(command, dt);
}

void SceneNode::CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs) {
    CheckNodeCollision(scene_root, collision_pairs);
    for (const Ptr& child : scene_root.children) CheckSceneCollision(*child, collision_pairs);
}

void SceneNode::CheckNodeCollision(SceneNode& node, std::set<Pair>& collision_pairs) {
    if (this != &node && Collision(*this, node) && !IsDestroyed() && !node.IsDestroyed())
        collision_pairs.insert(std::less<SceneNode*>()(this, &node) ? Pair(this, &node) : Pair(&node, this));
    for (const Ptr& child : children) child->CheckNodeCollision(node, collision_pairs);
}

void SceneNode::RemoveWrecks() {
    std::erase_if(children, [](const Ptr& child) { return child->IsMarkedForRemoval(); });
    for (const Ptr& child : children) child->RemoveWrecks();
}

bool Collision(const SceneNode& lhs, const SceneNode& rhs) {
    // SFML 2.5's intersects() normalises negative sizes and needs a positive overlap, as wanted.
    return lhs.GetBoundingRect().intersects(rhs.GetBoundingRect());
}

float Distance(const SceneNode& lhs, const SceneNode& rhs) {
    const sf::Vector2f d = lhs.GetWorldPosition() - rhs.GetWorldPosition();
    return std::sqrt(d.x * d.x + d.y * d.y);
}

bool MatchesCategories(SceneNode::Pair& colliders, std::uint32_t type1, std::uint32_t type2) {
    const std::uint32_t category1 = colliders.first->GetCategory();
    const std::uint32_t category2 = colliders.second->GetCategory();
    if ((type1 & category1) && (type2 & category2)) return true;
    if ((type1 & category2) && (type2 & category1)) {
        std::swap(colliders.first, colliders.second);
        return true;
    }
    return false;
}

}  // namespace scene
