#include "scene/scene_node.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

namespace {

using scene::SceneNode;
using Pairs = std::set<SceneNode::Pair>;

class RectNode : public SceneNode {
public:
    RectNode(sf::FloatRect rect, bool destroyed, std::uint32_t category)
        : SceneNode(category), rect(rect), destroyed(destroyed) {}

    sf::FloatRect GetBoundingRect() const override { return rect; }
    bool IsDestroyed() const override { return destroyed; }

private:
    sf::FloatRect rect;
    bool destroyed;
};

// The walk that the sweep replaces: every node of `tree` tested against every node of `subtree`.
void EveryPair(SceneNode& subtree, SceneNode& tree, Pairs& pairs) {
    subtree.CheckNodeCollision(tree, pairs);
    for (const SceneNode::Ptr& child : tree.GetChildren()) EveryPair(subtree, *child, pairs);
}

bool HasNaN(const sf::FloatRect& rect) { return std::isnan(rect.left) || std::isnan(rect.width); }

// A caller that wants only the pairs of category 1 with 2 or 4.
bool Wanted(std::uint32_t lhs, std::uint32_t rhs) { return ((lhs & 1u) && (rhs & 6u)) || ((rhs & 1u) && (lhs & 6u)); }

// Rectangles of every awkward kind: on a coarse integer grid (so edges often touch exactly),
// negative sizes, no area, the empty default, huge and infinite values, and now and then NaN.
class SceneMaker {
public:
    explicit SceneMaker(unsigned seed) : random(seed) {}

    sf::FloatRect Rect() {
        const int kind = Int(0, 99);
        if (kind < 10) return {};
        if (kind < 60) return {Grid(), Grid(), Size(), Size()};
        if (kind < 70) return {Grid(), Grid(), 0.f, Size()};
        if (kind < 85) return {Real(-5.f, 45.f), Real(-5.f, 45.f), Real(-8.f, 8.f), Real(-8.f, 8.f)};
        if (kind < 90) return {1e8f, Grid(), 1.f, Size()};  // the width vanishes in the sum
        if (kind < 95) return {-infinity, Grid(), infinity, Size()};
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return Int(0, 1) ? sf::FloatRect(nan, Grid(), Size(), Size()) : sf::FloatRect(Grid(), Grid(), nan, Size());
    }

    // A tree of `count` nodes below `root`, each attached to a random node made before it.
    std::vector<SceneNode*> Grow(SceneNode& root, int count) {
        std::vector<SceneNode*> nodes{&root};
        for (int i = 0; i < count; ++i) {
            auto node = std::make_unique<RectNode>(Rect(), Int(0, 9) == 0, 1u << Int(0, 3));
            SceneNode* parent = nodes[static_cast<std::size_t>(Int(0, static_cast<int>(nodes.size()) - 1))];
            nodes.push_back(node.get());
            parent->AttachChild(std::move(node));
        }
        return nodes;
    }

    int Int(int min, int max) { return std::uniform_int_distribution<int>(min, max)(random); }

private:
    float Grid() { return static_cast<float>(Int(0, 40)); }
    float Size() { return static_cast<float>(Int(-8, 8)); }
    float Real(float min, float max) { return std::uniform_real_distribution<float>(min, max)(random); }

    static constexpr float infinity = std::numeric_limits<float>::infinity();
    std::mt19937 random;
};

TEST(CollisionSweepTest, GivesThePairsOfTheFullWalkAllOrFilteredByCategory) {
    SceneMaker maker(20261206);
    std::size_t total = 0, with_nan = 0, kept = 0;
    const auto check = [&](SceneNode& subtree, SceneNode& tree, int scene) {
        Pairs expected, swept, wanted, filtered;
        EveryPair(subtree, tree, expected);
        subtree.CheckSceneCollision(tree, swept);
        ASSERT_EQ(swept, expected) << "scene " << scene;
        for (const auto& pair : expected) {
            with_nan += HasNaN(pair.first->GetBoundingRect()) || HasNaN(pair.second->GetBoundingRect());
            if (Wanted(pair.first->GetCategory(), pair.second->GetCategory())) wanted.insert(pair);
        }
        subtree.CheckSceneCollision(tree, filtered, Wanted);
        ASSERT_EQ(filtered, wanted) << "scene " << scene;
        total += expected.size();
        kept += wanted.size();
    };
    for (int scene = 0; scene < 200; ++scene) {
        SceneNode root, other_root;
        const auto nodes = maker.Grow(root, maker.Int(1, 150));
        maker.Grow(other_root, maker.Int(0, 40));
        SceneNode& inner = *nodes[static_cast<std::size_t>(maker.Int(1, static_cast<int>(nodes.size()) - 1))];
        // The whole tree, a branch against its tree and back, and two separate trees.
        for (auto [subtree, tree] : {std::pair{&root, &root}, {&inner, &root}, {&root, &inner}, {&inner, &other_root}})
            check(*subtree, *tree, scene);
    }
    EXPECT_GT(total, 5000u);   // crowded enough to mean something
    EXPECT_GT(kept, 1000u);
    EXPECT_GT(with_nan, 10u);  // NaN rectangles do collide in one direction of the test
}

}  // namespace
