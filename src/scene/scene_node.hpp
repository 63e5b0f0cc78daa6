#pragma once

#include "command/command.hpp"
#include "scene/category.hpp"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/System/Time.hpp>

#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace scene {

// A node of the playing field. Owns its children; drawn before them, updated before them.
class SceneNode : public sf::Transformable, public sf::Drawable {
public:
    using Ptr = std::unique_ptr<SceneNode>;
    using Pair = std::pair<SceneNode*, SceneNode*>;

    explicit SceneNode(std::uint32_t category = Category::NONE);
    ~SceneNode() override = default;
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    // Fixed for a node's life: command delivery keeps, per node, what lies below it.
    virtual std::uint32_t GetCategory() const;
    // World coordinates; the empty default never collides.
    virtual sf::FloatRect GetBoundingRect() const;
    virtual bool IsDestroyed() const;
    virtual bool IsMarkedForRemoval() const;

    void AttachChild(Ptr child);
    Ptr PopChild(const SceneNode& node);

    void Update(sf::Time dt, command::CommandQueue& commands);
    sf::Transform GetWorldTransform() const;
    sf::Vector2f GetWorldPosition() const;

    void OnCommand(const command::Command& command, sf::Time dt);
    // Every overlapping pair of live nodes, one from this subtree and one from scene_root's tree,
    // lower address first: the pairs of CheckNodeCollision for every node of scene_root's tree,
    // found by a sweep instead of testing every pair.
    void CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs);
    // Which pairs a caller acts on, by the two nodes' categories; the same answer in either order.
    using CategoryFilter = bool (*)(std::uint32_t, std::uint32_t);
    // Only the pairs that `wanted` accepts, in the order they have among all pairs.
    void CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs, CategoryFilter wanted);
    // Pairs of `node` with the live nodes of this subtree that it overlaps, testing each in turn.
    void CheckNodeCollision(SceneNode& node, std::set<Pair>& collision_pairs);
    void RemoveWrecks();

    const std::vector<Ptr>& GetChildren() const { return children; }

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const final;
    virtual void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const;
    void DrawChildren(sf::RenderTarget& target, sf::RenderStates states) const;
    virtual void UpdateCurrent(sf::Time dt, command::CommandQueue& commands);
    void UpdateChildren(sf::Time dt, command::CommandQueue& commands);

    std::vector<Ptr> children;
    SceneNode* parent = nullptr;
    std::uint32_t default_category;
    // The categories of every node below this one, or more (a removal leaves its bits until the
    // next clean-up): commands skip branches that hold none of theirs.
    std::uint32_t categories_below = Category::NONE;
    // GetCategory(), taken when the node is attached (the children loop skips the virtual call).
    std::uint32_t attached_category = Category::NONE;
};

// True when the bounding rectangles overlap with positive area; touching edges do not count.
bool Collision(const SceneNode& lhs, const SceneNode& rhs);
// Orders the pair so that its first node is of `type1` and its second of `type2`.
bool MatchesCategories(SceneNode::Pair& colliders, std::uint32_t type1, std::uint32_t type2);

}  // namespace scene
