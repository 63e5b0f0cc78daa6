#include "world/world.hpp"

#include "game/projectile.hpp"
#include "support/helpers.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using game::character::Character;
using game::pickup::Pickup;
using game::projectile::Projectile;
using scene::SceneNode;

// A world drawn into an off-screen 1280x960 target with the game's 640x480 view.
class WorldTest : public test::FieldTest {
protected:
    WorldTest() {
        target.create(1280, 960);
        target.setView(sf::View(sf::Vector2f(320, 240), sf::Vector2f(640, 480)));
    }

    std::unique_ptr<world::World> MakeWorld(bool networked = false) {
        return std::make_unique<world::World>(target, fonts, sounds, networked);
    }
    static void Run(world::World& world, int steps) {
        for (int i = 0; i < steps; ++i) world.Update(test::step);
    }
    // Runs `action` on every node of `category` in the next update, as the game's commands do.
    template <typename Node>
    static void Order(world::World& world, std::uint32_t category, std::function<void(Node&)> action) {
        command::Command command;
        command.category = category;
        command.action = command::DerivedAction<Node>([action](Node& node, sf::Time) { action(node); });
        world.GetCommandQueue().push(std::move(command));
    }
    // New nodes join the air layer as the game's shots do, in the next update.
    template <typename Node>
    static Node* Add(world::World& world, std::unique_ptr<Node> node, sf::Vector2f position) {
        node->setPosition(position);
        Node* raw = node.get();
        auto owned = std::make_shared<SceneNode::Ptr>(std::move(node));
        Order<SceneNode>(world, scene::Category::SCENE_AIR_LAYER, [owned](SceneNode& layer) {
            layer.AttachChild(std::move(*owned));
        });
        return raw;
    }
    Character* AddEnemy(world::World& world, Character::Type type, sf::Vector2f position) {
        return Add(world, std::make_unique<Character>(type, textures, fonts), position);
    }
    Projectile* AddShot(world::World& world, Projectile::Type type, sf::Vector2f position, sf::Vector2f velocity = {}) {
        Projectile* shot = Add(world, std::make_unique<Projectile>(type, textures), position);
        shot->SetVelocity(velocity);
        return shot;
    }
    template <typename Node>
    static std::size_t CountOf(const world::World& world) {
        return test::NodesOf<Node>(world.GetSceneGraph()).size();
    }
    // Whether the node is still in the tree (removed ones must not be dereferenced).
    static bool Holds(const world::World& world, const SceneNode* node) {
        return std::ranges::count(test::NodesOf<SceneNode>(world.GetSceneGraph()), node) > 0;
    }

    sf::RenderTexture target;
};

TEST_F(WorldTest, ViewScrollsFiftyUnitsPerSecondReachesTheSpawnPointsInOrderAndIsDrawnThrough) {
    auto world = MakeWorld();
    EXPECT_EQ(world->GetViewBounds(), sf::FloatRect(0, 2020, 640, 480));
    const auto& points = world->GetSpawnPoints();
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.y < b.y; }));
    // An aircraft appears once the battlefield, 100 units above the view, reaches its point.
    const std::size_t all = points.size();
    for (const auto& [steps, left] : {std::pair(191, all), {2, all - 1}, {240, all - 2}, {240, all - 4}}) {
        Run(*world, steps);  // 160, 360, then 560 units (two points at one height) at 50 units/s
        EXPECT_EQ(points.size(), left);
    }
    const sf::FloatRect view = world->GetViewBounds();
    EXPECT_EQ(sounds.GetListenerPosition(), sf::Vector2f(320, view.top + 240)) << "no player: the view's centre";
    world->SetWorldScrollCompensation(0.5f);
    world->Update(sf::seconds(1));
    EXPECT_FLOAT_EQ(world->GetViewBounds().top, view.top - 25.f);

    // Without post effects the field, scrolled far from the screen's view, is drawn straight through the world's.
    world->UsePostEffects(false);
    target.clear(sf::Color::Blue);
    world->Draw();
    target.display();
    EXPECT_EQ(target.getView().getCenter(), sf::Vector2f(320, 240)) << "overlays need the screen's view back";
    sf::RenderTexture expected;
    ASSERT_TRUE(expected.create(1280, 960));
    expected.clear(sf::Color::Blue);
    expected.setView(sf::View(world->GetViewBounds()));
    expected.draw(world->GetSceneGraph());
    expected.display();
    const sf::Image drawn = target.getTexture().copyToImage(), wanted = expected.getTexture().copyToImage();
    EXPECT_EQ(std::memcmp(drawn.getPixelsPtr(), wanted.getPixelsPtr(), 1280 * 960 * 4), 0);
}

TEST_F(WorldTest, PlayerMovesDiagonallyAtItsSpeedAndIsHeldInsideTheView) {
    auto world = MakeWorld();
    Character* player = world->AddCharacter(1, Character::AlliedHeavy);
    EXPECT_EQ(player->getPosition(), sf::Vector2f(320, 2260));
    Order<Character>(*world, scene::Category::PLAYER_CHARACTER, [](Character& c) { c.Accelerate({-200, -200}); });
    world->Update(test::step);
    const float diagonal = 200.f / std::sqrt(2.f);
    EXPECT_NEAR(player->GetVelocity().x, -diagonal, 1e-3);
    EXPECT_NEAR(player->GetVelocity().y, -diagonal - 50.f, 1e-3);
    player->setPosition(world->GetViewBounds().left - 10, 2300);
    world->Update(test::step);
    EXPECT_FLOAT_EQ(player->getPosition().x, world->GetViewBounds().left + 40);
}

TEST_F(WorldTest, NetworkedWorldFliesOnlyAnnouncedEnemiesAndTheyDropNothing) {
    auto world = MakeWorld(true);
    for (const float x : {-250.f, -150.f, -50.f, 50.f, 150.f, 250.f}) world->AddEnemy(Character::EnemyLight, x, 500, false);
    world->SortEnemies();
    Run(*world, 193);
    EXPECT_EQ(CountOf<Character>(*world), 6u);
    Order<Character>(*world, scene::Category::ENEMY_CHARACTER, [](Character& enemy) { enemy.Damage(100); });
    Run(*world, 70);  // they explode for a second, then are gone
    EXPECT_EQ(CountOf<Character>(*world), 0u);
    EXPECT_EQ(CountOf<Pickup>(*world), 0u) << "the server places the pickups";
}

// Rams, hits, a homing missile and a pickup in one update, each pair apart from the others, while
// what leaves the battlefield goes at once, without an explosion to linger.
TEST_F(WorldTest, CollisionsHurtTheOtherSideOnlyAndUseUpShotsAndPickupsWhileMissilesHomeAndLeaversGo) {
    auto world = MakeWorld(true);
    world->SetWorldScrollCompensation(0.f);
    const sf::FloatRect view = world->GetViewBounds();
    Character* rammed = world->AddCharacter(1, Character::AlliedHeavy);
    Character* hit = world->AddCharacter(2, Character::AlliedLight);
    hit->setPosition(560, 2200);
    world->AddCharacter(3, Character::AlliedLight)->Destroy();  // its own Destroy: gone at once
    Character* rammer = AddEnemy(*world, Character::EnemyLight, rammed->getPosition());
    Character* left = AddEnemy(*world, Character::EnemyHeavy, {100, 2300});
    Character* right = AddEnemy(*world, Character::EnemyHeavy, {400, 2400});
    world->CreatePickup(Pickup::MissileRefill, hit->getPosition());
    // Nearer the left enemy than the rammer or the last enemy found, both to its right.
    Projectile* guided = AddShot(*world, Projectile::Missile, {150, 2150}, {0, -150});
    const std::tuple<Projectile::Type, Character*, bool> shots[] = {
        {Projectile::AlliedBullet, left, true},   {Projectile::EnemyBullet, hit, true},
        {Projectile::Missile, right, true},       {Projectile::EnemyBullet, right, false},
        {Projectile::AlliedBullet, hit, false},
    };
    // Whether each node is kept; the battlefield reaches 100 units above the view, where enemies enter.
    std::vector<std::pair<SceneNode*, bool>> kept = {
        {AddEnemy(*world, Character::EnemyLight, {320, view.top + view.height + 100}), false},
        {AddEnemy(*world, Character::EnemyLight, {320, view.top - 80}), true},
        {AddShot(*world, Projectile::AlliedBullet, {100, view.top - 110}), false},
        {AddShot(*world, Projectile::AlliedBullet, {500, view.top - 90}), true},
    };
    for (const auto& [type, target, hits] : shots) kept.emplace_back(AddShot(*world, type, target->getPosition()), !hits);
    world->Update(test::step);
    for (const auto& [node, stays] : kept) EXPECT_EQ(Holds(*world, node), stays) << node;
    EXPECT_EQ(rammed->GetHitpoints(), 60) << "a ram costs the enemy's hitpoints";
    EXPECT_TRUE(rammer->IsDestroyed());
    EXPECT_EQ(left->GetHitpoints(), 60);
    EXPECT_TRUE(right->IsDestroyed());
    EXPECT_EQ(hit->GetHitpoints(), 70);
    EXPECT_LT(guided->GetVelocity().x, 0.f) << "a missile homes on the nearest enemy";
    EXPECT_EQ(world->GetCharacter(3), nullptr) << "a removed player leaves the list in that update";
    EXPECT_EQ(sounds.GetListenerPosition(), (rammed->getPosition() + hit->getPosition()) / 2.f);
    world->Update(test::step);
    EXPECT_EQ(hit->GetMissileAmmo(), 5) << "one pickup, collected once";
    network::action::NetAction action;
    EXPECT_TRUE(world->PollGameAction(action)) << "the destroyed enemies said so";
}

}  // namespace
