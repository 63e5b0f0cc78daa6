// The collision pass: which live nodes of the scene overlap.
#include "scene/scene_node.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace scene {

namespace {

// Which side of a collision check a node is on: the subtree being tested, the tree it is tested
// against, or both (a node of the whole tree checked against itself).
enum Side : std::uint8_t { SUBTREE = 1, TREE = 2 };

// A live node with its bounding rectangle taken once, and the extents that the rectangle test
// uses (negative sizes normalised).
struct Collider_t {
    SceneNode* node;
    sf::FloatRect rect;
    float min_x;
    float max_x;
    float min_y;
    float max_y;
    std::uint32_t category;
    std::uint8_t sides;
};

// The exact pair rule of CheckNodeCollision: `lhs` from the subtree overlapping `rhs` of the tree,
// or the other way round. The rectangle test is asymmetric only for rectangles holding NaN.
bool Collide(const Collider_t& lhs, const Collider_t& rhs) {
    return ((lhs.sides & SUBTREE) && (rhs.sides & TREE) && lhs.rect.intersects(rhs.rect)) ||
           ((rhs.sides & SUBTREE) && (lhs.sides & TREE) && rhs.rect.intersects(lhs.rect));
}

SceneNode::Pair Ordered(SceneNode* lhs, SceneNode* rhs) {
    return std::less<SceneNode*>()(lhs, rhs) ? SceneNode::Pair(lhs, rhs) : SceneNode::Pair(rhs, lhs);
}

void Record(SceneNode* lhs, SceneNode* rhs, std::set<SceneNode::Pair>& collision_pairs) {
    collision_pairs.insert(Ordered(lhs, rhs));
}

bool HasNaN(const sf::FloatRect& rect) {
    return std::isnan(rect.left) || std::isnan(rect.top) || std::isnan(rect.width) || std::isnan(rect.height) ||
           std::isnan(rect.left + rect.width) || std::isnan(rect.top + rect.height);
}

void GatherColliders(SceneNode& node, std::uint8_t side, std::vector<Collider_t>& colliders) {
    if (!node.IsDestroyed()) {
        const sf::FloatRect rect = node.GetBoundingRect();
        const float right = rect.left + rect.width, bottom = rect.top + rect.height;
        colliders.push_back({&node, rect, std::min(rect.left, right), std::max(rect.left, right),
                             std::min(rect.top, bottom), std::max(rect.top, bottom), node.GetCategory(), side});
    }
    for (const SceneNode::Ptr& child : node.GetChildren()) GatherColliders(*child, side, colliders);
}

// Positive area as the rectangle test sees it, after its own sums and normalising.
bool HasArea(const Collider_t& collider) {
    return collider.min_x < collider.max_x && collider.min_y < collider.max_y;
}

// The sweep's test for two rectangles without NaN whose x ranges are known to overlap: then the
// rectangle test is symmetric and only the y ranges are left to compare.
bool SweptCollide(const Collider_t& lhs, const Collider_t& rhs) {
    const bool sides = ((lhs.sides & SUBTREE) && (rhs.sides & TREE)) || ((rhs.sides & SUBTREE) && (lhs.sides & TREE));
    return sides && std::max(lhs.min_y, rhs.min_y) < std::min(lhs.max_y, rhs.max_y);
}

// `next` against the rectangles still open when the sweep reaches its left edge; those closed
// by then are closed for every later one too and leave the list.
void Meet(const Collider_t& next, std::vector<const Collider_t*>& open, std::vector<SceneNode::Pair>& found) {
    for (std::size_t k = 0; k < open.size();) {
        if (open[k]->max_x <= next.min_x) {
            open[k] = open.back();
            open.pop_back();
            continue;
        }
        if (SweptCollide(*open[k], next)) found.push_back(Ordered(open[k]->node, next.node));
        ++k;
    }
}

// The overlapping pairs within one list sorted on min_x.
void SweepWithin(const std::vector<const Collider_t*>& group, std::vector<SceneNode::Pair>& found) {
    std::vector<const Collider_t*> open;
    for (const Collider_t* next : group) {
        Meet(*next, open, found);
        open.push_back(next);
    }
}

// The overlapping pairs between two lists sorted on min_x, walked together in that order.
void SweepBetween(const std::vector<const Collider_t*>& first, const std::vector<const Collider_t*>& second,
                  std::vector<SceneNode::Pair>& found) {
    std::vector<const Collider_t*> open_first, open_second;
    std::size_t i = 0, j = 0;
    while (i < first.size() || j < second.size()) {
        if (j == second.size() || (i < first.size() && first[i]->min_x <= second[j]->min_x)) {
            Meet(*first[i], open_second, found);
            open_first.push_back(first[i++]);
        } else {
            Meet(*second[j], open_first, found);
            open_second.push_back(second[j++]);
        }
    }
}

}  // namespace

// Sort and sweep on x: gives exactly the pairs of the node-against-tree walk (CheckNodeCollision
// for every node of scene_root's tree) without testing every pair. Destroyed nodes never pair, so
// they are left out up front; a rectangle without area (before or after normalising) never
// overlaps anything; two rectangles whose x ranges are disjoint or only touch never collide, and
// once the sweep meets a left edge at or beyond a rectangle's right edge, every later one does.
// Rectangles holding NaN defy that ordering and are tested against every live node instead.
void SceneNode::CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs) {
    CheckSceneCollision(scene_root, collision_pairs, [](std::uint32_t, std::uint32_t) { return true; });
}

void SceneNode::CheckSceneCollision(SceneNode& scene_root, std::set<Pair>& collision_pairs, CategoryFilter wanted) {
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
            if (odd.node != other.node && Collide(odd, other) && wanted(odd.category, other.category))
                Record(odd.node, other.node, collision_pairs);

    // Sorted by left edge through small keys: the colliders themselves are large to move.
    std::vector<std::pair<float, std::uint32_t>> order(sweep.size());
    for (std::size_t i = 0; i < sweep.size(); ++i) order[i] = {sweep[i].min_x, static_cast<std::uint32_t>(i)};
    std::sort(order.begin(), order.end());
    // One sweep per pair of categories the caller wants: bullets never meet bullets for nothing.
    std::vector<std::uint32_t> kinds;
    std::vector<std::vector<const Collider_t*>> groups;
    for (const auto& [min_x, index] : order) {
        const Collider_t* collider = &sweep[index];
        const auto kind = static_cast<std::size_t>(std::find(kinds.begin(), kinds.end(), collider->category) - kinds.begin());
        if (kind == kinds.size()) {
            kinds.push_back(collider->category);
            groups.emplace_back();
        }
        groups[kind].push_back(collider);
    }
    // Pairs are gathered, sorted and handed to the set in order: appending at its end is cheap.
    std::vector<Pair> found;
    for (std::size_t a = 0; a < kinds.size(); ++a)
        for (std::size_t b = a; b < kinds.size(); ++b) {
            if (!wanted(kinds[a], kinds[b])) continue;
            if (a == b)
                SweepWithin(groups[a], found);
            else
                SweepBetween(groups[a], groups[b], found);
        }
    std::sort(found.begin(), found.end());
    collision_pairs.insert(found.begin(), found.end());
}

void SceneNode::CheckNodeCollision(SceneNode& node, std::set<Pair>& collision_pairs) {
    if (this != &node && Collision(*this, node) && !IsDestroyed() && !node.IsDestroyed())
        Record(this, &node, collision_pairs);
    for (const Ptr& child : children) child->CheckNodeCollision(node, collision_pairs);
}

bool Collision(const SceneNode& lhs, const SceneNode& rhs) {
    // SFML 2.5's intersects() normalises negative sizes and needs a positive overlap, as wanted.
    return lhs.GetBoundingRect().intersects(rhs.GetBoundingRect());
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
