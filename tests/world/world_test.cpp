#include "world/world.hpp"

#include "audio/sound_player.hpp"
#include "game/projectile.hpp"

#include <gtest/gtest.h>

#include <SFML/Audio/Listener.hpp>

#include <cmath>

namespace {

using game::character::Character;
using game::pickup::Pickup;
using game::projectile::Projectile;

const sf::Time step = sf::microseconds(16666);

// A world drawn into an off-screen 1280x960 target with the game's 640x480 view.
class WorldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fonts = new holder::ResourceHolder<sf::Font, holder::FontId>;
        fonts->Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        sounds = new SoundPlayer;
    }
    static void TearDownTestSuite() {
        delete sounds;
        delete fonts;
    }

    WorldTest() {
        target.create(1280, 960);
        target.setView(sf::View(sf::Vector2f(320, 240), sf::Vector2f(640, 480)));
    }

    std::unique_ptr<world::World> MakeWorld(bool networked = false) {
        return std::make_unique<world::World>(target, *fonts, *sounds, networked);
    }

    void Run(world::World& world, int steps) {
        for (int i = 0; i < steps; ++i) world.Update(step);
    }

    template <typename Node>
    Node* Add(world::World& world, std::unique_ptr<Node> node, sf::Vector2f position) {
        node->setPosition(position);
        Node* raw = node.get();
        world.GetLayer(world::World::UPPER_AIR).AttachChild(std::move(node));
        return raw;
    }

    std::unique_ptr<Character> Enemy(Character::Type type = Character::Type::EnemyLight) {
        return std::make_unique<Character>(type, textures, *fonts);
    }

    static inline holder::ResourceHolder<sf::Font, holder::FontId>* fonts = nullptr;
    static inline SoundPlayer* sounds = nullptr;
    sf::RenderTexture target;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;

public:
    void SetUp() override {
        for (auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                        holder::TextureId::Explosion})
            textures.Load(id, holder::FileOf(id));
    }
};

TEST_F(WorldTest, ViewStartsAtTheBottomAndScrollsFiftyUnitsPerSecond) {
    auto world = MakeWorld();
    EXPECT_EQ(world->GetViewBounds(), sf::FloatRect(0, 2020, 640, 480));
    world->Update(sf::seconds(1));
    EXPECT_FLOAT_EQ(world->GetViewBounds().top + 240, 2210.f);
    world->SetWorldScrollCompensation(0.5f);
    world->Update(sf::seconds(1));
    EXPECT_FLOAT_EQ(world->GetViewBounds().top + 240, 2185.f);
}

TEST_F(WorldTest, PlayerMovesDiagonallyAtItsSpeedAndIsHeldInsideTheView) {
    auto world = MakeWorld();
    Character* player = world->AddCharacter(1, Character::Type::AlliedHeavy);
    EXPECT_EQ(player->getPosition(), sf::Vector2f(320, 2260));
    command::Command move;
    move.category = scene::Category::PLAYER_CHARACTER;
    move.action = command::DerivedAction<Character>([](Character& c, sf::Time) { c.Accelerate({-200, -200}); });
    world->GetCommandQueue().push(move);
    world->Update(step);
    const float diagonal = 200.f / std::sqrt(2.f);
    EXPECT_NEAR(player->GetVelocity().x, -diagonal, 1e-3);
    EXPECT_NEAR(player->GetVelocity().y, -diagonal - 50.f, 1e-3);

    player->setPosition(world->GetViewBounds().left - 10, 2300);
    world->Update(step);
    EXPECT_FLOAT_EQ(player->getPosition().x, world->GetViewBounds().left + 40);
}

TEST_F(WorldTest, ListenerFollowsTheAverageOfThePlayers) {
    auto world = MakeWorld();
    world->Update(step);
    EXPECT_EQ(sounds->GetListenerPosition(), sf::Vector2f(world->GetViewBounds().left + 320, world->GetViewBounds().top + 240));
    Character* a = world->AddCharacter(1, Character::Type::AlliedHeavy);
    Character* b = world->AddCharacter(2, Character::Type::AlliedLight);
    world->SetWorldScrollCompensation(0.f);
    world->SetCurrentBattleFieldPosition(1300);  // view 820..1300
    a->setPosition(100, 1000);
    b->setPosition(300, 1200);
    a->SetVelocity({});
    world->Update(sf::Time::Zero);
    EXPECT_EQ(sounds->GetListenerPosition(), sf::Vector2f(200, 1100));
}

TEST_F(WorldTest, OnlyIdentifierOneAboveTheTopEndsTheMission) {
    auto world = MakeWorld();
    Character* second = world->AddCharacter(2, Character::Type::AlliedLight);
    second->setPosition(320, -5);
    EXPECT_FALSE(world->HasPlayerReachedEnd());
    Character* first = world->AddCharacter(1, Character::Type::AlliedHeavy);
    first->setPosition(320, 0);
    EXPECT_FALSE(world->HasPlayerReachedEnd());
    first->setPosition(320, -0.5f);
    EXPECT_TRUE(world->HasPlayerReachedEnd());
}

TEST_F(WorldTest, LastPlayerLeavesTheListInTheUpdateItIsRemoved) {
    auto world = MakeWorld();
    Character* player = world->AddCharacter(1, Character::Type::AlliedHeavy);
    EXPECT_TRUE(world->HasAlivePlayer());
    player->Destroy();  // the aircraft's own Destroy: removed at once, no explosion
    world->Update(step);
    EXPECT_FALSE(world->HasAlivePlayer());
    EXPECT_EQ(world->GetCharacter(1), nullptr);
}

TEST_F(WorldTest, SpawnPointsBecomeAircraftAsTheViewReachesThem) {
    auto world = MakeWorld();
    ASSERT_EQ(world->GetSpawnPoints().size(), 16u);
    EXPECT_TRUE(std::is_sorted(world->GetSpawnPoints().begin(), world->GetSpawnPoints().end(),
                               [](const auto& a, const auto& b) { return a.y < b.y; }));
    // 160 units of scrolling at 50 units/s is 3.2 s, i.e. 192 steps.
    Run(*world, 191);
    EXPECT_EQ(world->GetSpawnPoints().size(), 16u);
    Run(*world, 2);
    EXPECT_EQ(world->GetSpawnPoints().size(), 15u);
    Run(*world, 240);  // up to 7.22 s: point 2 (360 units)
    EXPECT_EQ(world->GetSpawnPoints().size(), 14u);
    Run(*world, 240);  // points 3 and 4 share y 1360 (560 units, 11.2 s)
    EXPECT_EQ(world->GetSpawnPoints().size(), 12u);
}

TEST_F(WorldTest, NetworkedWorldSpawnsOnlyAnnouncedEnemiesWithoutDrops) {
    auto world = MakeWorld(true);
    EXPECT_TRUE(world->GetSpawnPoints().empty());
    world->AddEnemy(Character::Type::EnemyLight, 0, 500, false);
    world->SortEnemies();
    Run(*world, 193);
    EXPECT_TRUE(world->GetSpawnPoints().empty());
    network::action::NetAction action;
    EXPECT_FALSE(world->PollGameAction(action));
}

TEST_F(WorldTest, EntitiesBelowTheBattlefieldAreRemovedWithoutExplosion) {
    auto world = MakeWorld(true);
    const sf::FloatRect view = world->GetViewBounds();
    const scene::SceneNode& layer = world->GetLayer(world::World::UPPER_AIR);
    Character* below = Add(*world, Enemy(), {320, view.top + view.height + 100});
    Character* above_band = Add(*world, Enemy(), {320, view.top - 80});
    auto holds = [&](const scene::SceneNode* node) {
        return std::any_of(layer.GetChildren().begin(), layer.GetChildren().end(),
                           [&](const auto& child) { return child.get() == node; });
    };
    world->Update(step);
    EXPECT_FALSE(holds(below));  // erased in the same update, no explosion to play
    EXPECT_TRUE(holds(above_band));
    world->Update(step);
    network::action::NetAction action;
    EXPECT_FALSE(world->PollGameAction(action));  // nothing exploded
}

TEST_F(WorldTest, MissilesHomeOnTheNearestEnemyAndBulletsFlyStraight) {
    auto world = MakeWorld();
    world->SetWorldScrollCompensation(0.f);
    const sf::Vector2f origin(320, 2300);
    auto missile = std::make_unique<Projectile>(Projectile::Type::Missile, textures);
    missile->SetVelocity({0, -150});
    Projectile* guided = Add(*world, std::move(missile), origin);
    auto bullet = std::make_unique<Projectile>(Projectile::Type::AlliedBullet, textures);
    bullet->SetVelocity({0, -300});
    Projectile* straight = Add(*world, std::move(bullet), origin);
    Character* far = Add(*world, Enemy(), origin + sf::Vector2f(-120, 0));
    Character* near = Add(*world, Enemy(), origin + sf::Vector2f(80, 0));
    far->SetVelocity({});
    near->SetVelocity({});
    world->Update(step);
    EXPECT_GT(guided->GetVelocity().x, 0.f);  // turned towards the enemy on the right
    EXPECT_NEAR(std::hypot(guided->GetVelocity().x, guided->GetVelocity().y), 150.f, 1e-3);
    EXPECT_EQ(straight->GetVelocity(), sf::Vector2f(0, -300));
}

TEST_F(WorldTest, RammingCostsThePlayerTheEnemysHitpoints) {
    auto world = MakeWorld(true);
    Character* player = world->AddCharacter(1, Character::Type::AlliedHeavy);
    Character* enemy = Add(*world, Enemy(), player->getPosition());
    world->Update(step);
    EXPECT_EQ(player->GetHitpoints(), 60);
    EXPECT_TRUE(enemy->IsDestroyed());
    world->Update(step);
    network::action::NetAction action;
    EXPECT_TRUE(world->PollGameAction(action));  // it exploded, and said so
}

TEST_F(WorldTest, PickupIsCollectedOnce) {
    auto world = MakeWorld();
    Character* player = world->AddCharacter(1, Character::Type::AlliedLight);
    world->CreatePickup(Pickup::Type::MissileRefill, player->getPosition());
    const int ammo = player->GetMissileAmmo();
    world->Update(step);
    world->Update(step);
    EXPECT_EQ(player->GetMissileAmmo(), ammo + 3);
}

TEST_F(WorldTest, ProjectilesSpareTheirOwnSide) {
    auto world = MakeWorld();
    world->SetWorldScrollCompensation(0.f);
    Character* player = world->AddCharacter(1, Character::Type::AlliedHeavy);
    Character* enemy = Add(*world, Enemy(Character::Type::EnemyHeavy), {200, 2300});
    enemy->SetVelocity({});
    auto own = std::make_unique<Projectile>(Projectile::Type::EnemyBullet, textures);
    Projectile* enemy_bullet = Add(*world, std::move(own), enemy->getPosition());
    auto friendly = std::make_unique<Projectile>(Projectile::Type::AlliedBullet, textures);
    Projectile* allied_bullet = Add(*world, std::move(friendly), player->getPosition());
    world->Update(step);
    EXPECT_FALSE(enemy_bullet->IsDestroyed());
    EXPECT_FALSE(allied_bullet->IsDestroyed());
    EXPECT_EQ(player->GetHitpoints(), 100);
    EXPECT_EQ(enemy->GetHitpoints(), 70);
}

}  // namespace
