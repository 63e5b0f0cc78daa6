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

namespace {

// Which side of a collision check a node is on: the subtree being tested, the tree it is tested
// against, or both (a node of the whole tree checked against itself).
enum Side : std::uint8_t { SUBTREE = 1, TREE = 2 };

// A live node with its bounding rectangle taken once, and the horizontal extent that the
// rectangle test uses (negative sizes normalised).
struct Collider_t {
    SceneNode* node;
    sf::FloatRect rect;
    float min_x;
    float max_x;
    std::uint8_t sides;
};

// The exact pair rule of CheckNodeCollision: `lhs` from the subtree overlapping `rhs` of the tree,
// or the other way round. The rectangle test is asymmetric only for rectangles holding NaN.
bool Collide(const Collider_t& lhs, const Collider_t& rhs) {
    return ((lhs.sides & SUBTREE) && (rhs.sides & TREE) && lhs.rect.intersects(rhs.rect)) ||
           ((rhs.sides & SUBTREE) && (lhs.sides & TREE) && rhs.rect.intersects(lhs.rect));
}

void Record(SceneNode* lhs, SceneNode* rhs, std::set<SceneNode::Pair>& collision_pairs) {
    collision_pairs.insert(std::less<SceneNode*>()(lhs, rhs) ? SceneNode::Pair(lhs, rhs) : SceneNode::Pair(rhs, lhs));
}

bool HasNaN(const sf::FloatRect& rect) {
    return std::isnan(rect.left) || std::isnan(rect.top) || std::isnan(rect.width) || std::isnan(rect.height) ||
           std::isnan(rect.left + rect.width) || std::isnan(rect.top + rect.height);
}

void GatherColliders(SceneNode& node, std::uint8_t side, std::vector<Collider_t>& colliders) {
    if (!node.IsDestroyed()) {
        const sf::FloatRect rect = node.GetBoundingRect();
        const float right = rect.left + rect.width;
        colliders.push_back({&node, rect, std::min(rect.left, right), std::max(rect.left, right), side});
    }
    for (const SceneNode::Ptr& child : node.GetChildren()) GatherColliders(*child, side, colliders);
}

// Positive area as the rectangle test sees it, after its own sums and normalising.
bool HasArea(const Collider_t& collider) {
    const float bottom = collider.rect.top + collider.rect.height;
    return collider.min_x < collider.max_x && std::min(collider.rect.top, bottom) < std::max(collider.rect.top, bottom);
}

}  // namespace

// Sort and sweep on x: gives exactly the pairs of the node-against-tree walk (CheckNodeCollision
// for every node of scene_root's tree) without testing every pair. Destroyed nodes never pair, so
// they are left out up front; a rectangle without area (before or after normalising) never
// overlaps anything; two rectangles whose x ranges are disjoint or only touch never collide, and
// once the sweep meets a left edge at or beyond a rectangle's right edge, every later one does.
// Rectangles holding NaN defy that ordering and are tested against every live node instead.
void SceneNode::CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs) {
    std::vector<Collider_t> colliders;
    if (&scene_root == this) {
        GatherColliders(*this, SUBTREE | TREE, colliders);
    } else {
        GatherColliders(*this, SUBTREE, colliders);
        GatherColliders(scene_root, TREE, colliders);
        // A node in both trees is one collider on both sides.
        std::sort(colliders.begin(), colliders.end(), [](const Collider_t& lhs, const Collider_t& rhs) {
            return std::less<SceneNode*>()(lhs.node, rhs.node);
        });
        std::vector<Collider_t> merged;
        for (const Collider_t& collider : colliders) {
            if (!merged.empty() && merged.back().node == collider.node)
                merged.back().sides |= collider.sides;
            else
                merged.push_back(collider);
        }
        colliders.swap(merged);
    }

    std::vector<Collider_t> sweep, unordered;
    for (const Collider_t& collider : colliders) {
        if (HasNaN(collider.rect))
            unordered.push_back(collider);
        else if (HasArea(collider))
            sweep.push_back(collider);
    }

    for (const Collider_t& odd : unordered)
        for (const Collider_t& other : colliders)
            if (odd.node != other.node && Collide(odd, other)) Record(odd.node, other.node, collision_pairs);

    std::sort(sweep.begin(), sweep.end(),
              [](const Collider_t& lhs, const Collider_t& rhs) { return lhs.min_x < rhs.min_x; });
    for (std::size_t i = 0; i < sweep.size(); ++i)
        for (std::size_t j = i + 1; j < sweep.size() && sweep[j].min_x < sweep[i].max_x; ++j)
            if (Collide(sweep[i], sweep[j])) Record(sweep[i].node, sweep[j].node, collision_pairs);
}

void SceneNode::CheckNodeCollision(SceneNode& node, std::set<Pair>& collision_pairs) {
    if (this != &node && Collision(*this, node) && !IsDestroyed() && !node.IsDestroyed())
        Record(this, &node, collision_pairs);
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
