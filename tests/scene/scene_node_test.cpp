#include "scene/network_node.hpp"
#include "scene/scene_node.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using scene::Category;
using scene::SceneNode;

// A node with a fixed category and a world-space rectangle, as aircraft and projectiles have.
class BoxNode : public SceneNode {
public:
    BoxNode(std::uint32_t category, sf::FloatRect box, std::vector<std::string>* log = nullptr, std::string name = "")
        : SceneNode(category), box(box), log(log), name(std::move(name)) {}

    sf::FloatRect GetBoundingRect() const override { return box; }
    bool IsDestroyed() const override { return destroyed; }
    bool IsMarkedForRemoval() const override { return removed; }

    sf::FloatRect box;
    bool destroyed = false;
    bool removed = false;
    std::vector<std::string>* log;
    std::string name;

private:
    void UpdateCurrent(sf::Time, command::CommandQueue&) override {
        if (log) log->push_back(name);
    }
};

BoxNode* Attach(SceneNode& parent, std::unique_ptr<BoxNode> child) {
    BoxNode* raw = child.get();
    parent.AttachChild(std::move(child));
    return raw;
}

std::unique_ptr<BoxNode> Box(std::uint32_t category, sf::FloatRect box = {}, std::vector<std::string>* log = nullptr,
                             std::string name = "") {
    return std::make_unique<BoxNode>(category, box, log, std::move(name));
}

// Collects the categories of the nodes a command reaches, in order.
std::vector<std::uint32_t> Reached(SceneNode& root, std::uint32_t mask) {
    std::vector<std::uint32_t> reached;
    command::Command command;
    command.category = mask;
    command.action = [&](SceneNode& node, sf::Time) { reached.push_back(node.GetCategory()); };
    root.OnCommand(command, sf::Time::Zero);
    return reached;
}

TEST(SceneNodeTest, OutOfViewMaskReachesEnemiesAndProjectilesOnly) {
    SceneNode root;
    SceneNode* layer = Attach(root, Box(Category::SCENE_AIR_LAYER));
    for (auto category : {Category::PLAYER_CHARACTER, Category::ENEMY_CHARACTER, Category::PICKUP,
                          Category::ALLIED_PROJECTILE, Category::ENEMY_PROJECTILE})
        Attach(*layer, Box(category));
    EXPECT_EQ(Reached(root, 104), (std::vector<std::uint32_t>{8, 32, 64}));
}

TEST(SceneNodeTest, CommandReachesParentBeforeChildAndNewChildrenInTheSameDelivery) {
    SceneNode root;
    BoxNode* parent = Attach(root, Box(Category::ENEMY_CHARACTER, {}, nullptr, "parent"));
    Attach(*parent, Box(Category::ENEMY_CHARACTER, {}, nullptr, "child"));

    std::vector<std::string> order;
    command::Command command;
    command.category = Category::ENEMY_CHARACTER;
    command.action = [&](SceneNode& node, sf::Time) {
        auto& box = static_cast<BoxNode&>(node);
        order.push_back(box.name);
        // The first delivery spawns a new matching child, which must be reached as well.
        if (box.name == "parent") Attach(node, Box(Category::ENEMY_CHARACTER, {}, nullptr, "spawned"));
    };
    root.OnCommand(command, sf::Time::Zero);
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child", "spawned"}));
}

TEST(SceneNodeTest, LeafCommandsReachOnlyTheirNode) {
    SceneNode root;
    Attach(root, Box(Category::PLAYER_CHARACTER));
    root.AttachChild(std::make_unique<scene::NetworkNode>());
    EXPECT_EQ(Reached(root, Category::NETWORK), (std::vector<std::uint32_t>{512}));
    EXPECT_TRUE(Reached(root, Category::SOUND_EFFECT).empty());
}

// Commands pass over branches holding none of their categories; what a branch holds follows
// subtrees built before attaching, nodes attached deep down later, and clean-ups.
TEST(SceneNodeTest, CommandsFindMatchingNodesDeepInBranchesAsTheTreeChanges) {
    SceneNode root;
    auto branch = Box(Category::SCENE_AIR_LAYER);
    BoxNode* middle = Attach(*branch, Box(Category::NONE));
    BoxNode* pickup = Attach(*middle, Box(Category::PICKUP));
    root.AttachChild(std::move(branch));
    EXPECT_EQ(Reached(root, Category::PICKUP), (std::vector<std::uint32_t>{Category::PICKUP}));

    pickup->removed = true;
    root.RemoveWrecks();
    EXPECT_TRUE(Reached(root, Category::PICKUP).empty());
    Attach(*middle, Box(Category::ENEMY_CHARACTER));
    EXPECT_EQ(Reached(root, Category::ENEMY_CHARACTER | Category::SCENE_AIR_LAYER),
              (std::vector<std::uint32_t>{Category::SCENE_AIR_LAYER, Category::ENEMY_CHARACTER}));
}

TEST(SceneNodeTest, CollisionPairsNeedPositiveOverlapAndLiveNodes) {
    SceneNode root;
    BoxNode* a = Attach(root, Box(Category::PLAYER_CHARACTER, {0, 0, 10, 10}));
    BoxNode* edge = Attach(root, Box(Category::ENEMY_CHARACTER, {10, 0, 10, 10}));
    BoxNode* overlap = Attach(*edge, Box(Category::ENEMY_PROJECTILE, {9.5f, 9.5f, 4, 4}));
    Attach(root, Box(Category::PICKUP));  // no rectangle: never pairs

    std::set<SceneNode::Pair> pairs;
    root.CheckSceneCollision(root, pairs);
    ASSERT_EQ(pairs.size(), 2u);  // a-overlap and edge-overlap, each once
    for (const auto& [first, second] : pairs) {
        EXPECT_TRUE(std::less<SceneNode*>()(first, second));
        EXPECT_TRUE(first == overlap || second == overlap);
    }

    overlap->destroyed = true;
    pairs.clear();
    root.CheckSceneCollision(root, pairs);
    EXPECT_TRUE(pairs.empty());
    (void)a;
}

TEST(SceneNodeTest, MatchesCategoriesOrdersThePair) {
    BoxNode enemy(Category::ENEMY_CHARACTER, {});
    BoxNode player(Category::PLAYER_CHARACTER, {});
    SceneNode::Pair pair(&enemy, &player);
    EXPECT_TRUE(scene::MatchesCategories(pair, Category::PLAYER_CHARACTER, Category::ENEMY_CHARACTER));
    EXPECT_EQ(pair, SceneNode::Pair(&player, &enemy));
    EXPECT_FALSE(scene::MatchesCategories(pair, Category::PICKUP, Category::PICKUP));
    EXPECT_EQ(pair, SceneNode::Pair(&player, &enemy));
}

TEST(SceneNodeTest, RemoveWrecksKeepsOrderAndRecursesIntoSurvivorsOnly) {
    std::vector<std::string> log;
    SceneNode root;
    BoxNode* first = Attach(root, Box(0, {}, &log, "first"));
    BoxNode* second = Attach(root, Box(0, {}, &log, "second"));
    Attach(root, Box(0, {}, &log, "third"));
    BoxNode* grandchild = Attach(*first, Box(0, {}, &log, "grandchild"));
    second->removed = true;
    grandchild->removed = true;

    root.RemoveWrecks();
    command::CommandQueue commands;
    root.Update(sf::Time::Zero, commands);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "third"}));
}

TEST(SceneNodeTest, WorldPositionComposesAncestors) {
    SceneNode root;
    SceneNode* parent = Attach(root, Box(0));
    parent->setPosition(0, 100);
    SceneNode* node = Attach(*parent, Box(0));
    node->setPosition(10, 0);
    EXPECT_EQ(node->GetWorldPosition(), sf::Vector2f(10, 100));
    parent->setRotation(90);
    EXPECT_NEAR(node->GetWorldPosition().x, 0.f, 1e-4f);
    EXPECT_NEAR(node->GetWorldPosition().y, 110.f, 1e-4f);
}

TEST(SceneNodeTest, PopChildDetachesAndKeepsSiblingOrder) {
    std::vector<std::string> log;
    SceneNode root;
    Attach(root, Box(0, {}, &log, "a"));
    BoxNode* b = Attach(root, Box(0, {}, &log, "b"));
    Attach(root, Box(0, {}, &log, "c"));
    SceneNode::Ptr popped = root.PopChild(*b);
    EXPECT_EQ(popped.get(), b);
    EXPECT_EQ(popped->GetWorldPosition(), sf::Vector2f());
    command::CommandQueue commands;
    root.Update(sf::Time::Zero, commands);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
}

TEST(SceneNodeDeathTest, PoppingAStrangerAsserts) {
    SceneNode root;
    SceneNode stranger;
    EXPECT_DEATH(root.PopChild(stranger), "found != children.end()");
}

TEST(NetworkNodeTest, PollReturnsActionsInOrder) {
    scene::NetworkNode node;
    network::action::NetAction action;
    action.position = {7, 7};
    EXPECT_FALSE(node.PollGameAction(action));
    EXPECT_EQ(action.position, sf::Vector2f(7, 7));
    node.NotifyGameAction(network::action::NetAction::EnemyExplosion, {1, 2});
    node.NotifyGameAction(network::action::NetAction::EnemyExplosion, {3, 4});
    ASSERT_TRUE(node.PollGameAction(action));
    EXPECT_EQ(action.position, sf::Vector2f(1, 2));
    ASSERT_TRUE(node.PollGameAction(action));
    EXPECT_EQ(action.position, sf::Vector2f(3, 4));
    EXPECT_FALSE(node.PollGameAction(action));
}

}  // namespace
