#include "scene/network_node.hpp"
#include "scene/scene_node.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using scene::Category;
using scene::SceneNode;
using Categories = std::vector<std::uint32_t>;

// A node with a fixed category that logs its updates.
class LogNode : public SceneNode {
public:
    LogNode(std::uint32_t category, std::vector<std::string>* log, std::string name)
        : SceneNode(category), log(log), name(std::move(name)) {}

    bool IsMarkedForRemoval() const override { return removed; }

    bool removed = false;
    std::vector<std::string>* log;
    std::string name;

private:
    void UpdateCurrent(sf::Time, command::CommandQueue&) override {
        if (log) log->push_back(name);
    }
};

LogNode* Attach(SceneNode& parent, std::uint32_t category, std::vector<std::string>* log = nullptr,
                std::string name = "") {
    auto child = std::make_unique<LogNode>(category, log, std::move(name));
    LogNode* raw = child.get();
    parent.AttachChild(std::move(child));
    return raw;
}

// The categories of the nodes a command reaches, in order.
Categories Reached(SceneNode& root, std::uint32_t mask) {
    Categories reached;
    command::Command command;
    command.category = mask;
    command.action = [&](SceneNode& node, sf::Time) { reached.push_back(node.GetCategory()); };
    root.OnCommand(command, sf::Time::Zero);
    return reached;
}

TEST(SceneNodeTest, CommandsReachEveryNodeSharingABitOfTheirMask) {
    SceneNode root;
    SceneNode* layer = Attach(root, Category::SCENE_AIR_LAYER);
    for (auto category : {Category::PLAYER_CHARACTER, Category::ENEMY_CHARACTER, Category::PICKUP,
                          Category::ALLIED_PROJECTILE, Category::ENEMY_PROJECTILE})
        Attach(*layer, category);
    root.AttachChild(std::make_unique<scene::NetworkNode>());
    const std::pair<std::uint32_t, Categories> cases[] = {
        {Category::ENEMY_CHARACTER | Category::ALLIED_PROJECTILE | Category::ENEMY_PROJECTILE, {8, 32, 64}},
        {Category::NETWORK, {512}},
        {Category::SOUND_EFFECT, {}},
        {Category::SCENE_AIR_LAYER | Category::PICKUP, {1, 16}},
    };
    for (const auto& [mask, expected] : cases) EXPECT_EQ(Reached(root, mask), expected) << mask;
}

TEST(SceneNodeTest, CommandReachesParentBeforeChildAndNewChildrenInTheSameDelivery) {
    SceneNode root;
    LogNode* parent = Attach(root, Category::ENEMY_CHARACTER, nullptr, "parent");
    Attach(*parent, Category::ENEMY_CHARACTER, nullptr, "child");

    std::vector<std::string> order;
    command::Command command;
    command.category = Category::ENEMY_CHARACTER;
    command.action = [&](SceneNode& node, sf::Time) {
        const auto& logged = static_cast<LogNode&>(node);
        order.push_back(logged.name);
        // The first delivery spawns a new matching child, which must be reached as well.
        if (logged.name == "parent") Attach(node, Category::ENEMY_CHARACTER, nullptr, "spawned");
    };
    root.OnCommand(command, sf::Time::Zero);
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child", "spawned"}));
}

// Commands pass over branches holding none of their categories; what a branch holds follows
// subtrees built before attaching, clean-ups, and nodes attached deep down later. A clean-up
// looks into the survivors and keeps their order.
TEST(SceneNodeTest, CommandsFindMatchingNodesDeepInBranchesAsTheTreeChanges) {
    std::vector<std::string> updated;
    SceneNode root;
    auto branch = std::make_unique<SceneNode>(Category::SCENE_AIR_LAYER);
    LogNode* middle = Attach(*branch, Category::NONE, &updated, "middle");
    LogNode* pickup = Attach(*middle, Category::PICKUP, &updated, "pickup");
    Attach(*middle, Category::ENEMY_CHARACTER, &updated, "enemy");
    Attach(*middle, Category::NONE, &updated, "last");
    root.AttachChild(std::move(branch));
    EXPECT_EQ(Reached(root, Category::PICKUP), Categories{Category::PICKUP});

    pickup->removed = true;
    root.RemoveWrecks();
    command::CommandQueue commands;
    root.Update(sf::Time::Zero, commands);
    EXPECT_EQ(updated, (std::vector<std::string>{"middle", "enemy", "last"}));
    EXPECT_TRUE(Reached(root, Category::PICKUP).empty());
    EXPECT_EQ(Reached(root, Category::ENEMY_CHARACTER), Categories{Category::ENEMY_CHARACTER});
    Attach(*middle, Category::ALLIED_PROJECTILE);
    EXPECT_EQ(Reached(root, Category::ALLIED_PROJECTILE | Category::SCENE_AIR_LAYER),
              (Categories{Category::SCENE_AIR_LAYER, Category::ALLIED_PROJECTILE}));
}

}  // namespace
