#include "scene/scene_node.hpp"

#include <gtest/gtest.h>

#include <functional>
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

// The categories of the nodes a command reaches, in order; `visit` may change the tree on the way.
Categories Reached(SceneNode& root, std::uint32_t mask, const std::function<void(SceneNode&)>& visit = {}) {
    Categories reached;
    command::Command command;
    command.category = mask;
    command.action = [&](SceneNode& node, sf::Time) {
        reached.push_back(node.GetCategory());
        if (visit) visit(node);
    };
    root.OnCommand(command, sf::Time::Zero);
    return reached;
}

// Commands pass over branches holding none of their categories; what a branch holds follows
// subtrees built before attaching, clean-ups, and nodes attached deep down later, even while a
// command is delivered. A clean-up looks into the survivors and keeps their order.
TEST(SceneNodeTest, CommandsFindMatchingNodesDeepInBranchesAsTheTreeChanges) {
    std::vector<std::string> updated;
    SceneNode root;
    auto branch = std::make_unique<SceneNode>(Category::SCENE_AIR_LAYER);
    LogNode* middle = Attach(*branch, Category::NONE, &updated, "middle");
    LogNode* pickup = Attach(*middle, Category::PICKUP, &updated, "pickup");
    Attach(*middle, Category::ENEMY_CHARACTER, &updated, "enemy");
    Attach(*middle, Category::NONE, &updated, "last");
    root.AttachChild(std::move(branch));
    EXPECT_EQ(Reached(root, Category::PICKUP | Category::ENEMY_CHARACTER | Category::SOUND_EFFECT),
              (Categories{Category::PICKUP, Category::ENEMY_CHARACTER}));

    pickup->removed = true;
    root.RemoveWrecks();
    command::CommandQueue commands;
    root.Update(sf::Time::Zero, commands);
    EXPECT_EQ(updated, (std::vector<std::string>{"middle", "enemy", "last"}));
    EXPECT_TRUE(Reached(root, Category::PICKUP).empty());
    EXPECT_EQ(Reached(root, Category::ENEMY_CHARACTER), Categories{Category::ENEMY_CHARACTER});
    Attach(*middle, Category::ALLIED_PROJECTILE);
    // Parents come first; a sibling attached on the way is reached after the node that added it.
    const auto spawn = [middle](SceneNode& node) {
        if (node.GetCategory() == Category::ALLIED_PROJECTILE) Attach(*middle, Category::PICKUP);
    };
    EXPECT_EQ(Reached(root, Category::ALLIED_PROJECTILE | Category::SCENE_AIR_LAYER | Category::PICKUP, spawn),
              (Categories{Category::SCENE_AIR_LAYER, Category::ALLIED_PROJECTILE, Category::PICKUP}));
}

}  // namespace
