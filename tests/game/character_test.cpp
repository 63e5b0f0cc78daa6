#include "game/character.hpp"
#include "game/pickup.hpp"
#include "game/projectile.hpp"
#include "game_fixture.hpp"
#include "scene/network_node.hpp"
#include "scene/text_node.hpp"

#include <cmath>
#include <set>

namespace {

using game::character::Character;
using game::pickup::Pickup;
using game::projectile::Projectile;
using game_test::step_us;

std::string Shown(const scene::TextNode& node) { return node.GetText().getString().toAnsiString(); }

class CharacterTest : public game_test::GameTest {
protected:
    Character& Add(Character::Type type, sf::Vector2f position = {}) {
        auto aircraft = std::make_unique<Character>(type, textures, fonts);
        aircraft->setPosition(position);
        return Attach(std::move(aircraft), root);
    }

    int FireCommands() { return Take(scene::Category::SCENE_AIR_LAYER); }

    std::vector<const Projectile*> Shots() const {
        std::vector<const Projectile*> shots;
        for (const auto& child : air_layer->GetChildren())
            if (const auto* shot = dynamic_cast<const Projectile*>(child.get())) shots.push_back(shot);
        return shots;
    }
};

TEST_F(CharacterTest, NewAircraftShowHitpointsAndMissiles) {
    const Character& heavy = Add(Character::AlliedHeavy);
    EXPECT_EQ(Shown(heavy.GetHealthDisplay()), "100 HP");
    ASSERT_NE(heavy.GetMissileDisplay(), nullptr);
    EXPECT_EQ(Shown(*heavy.GetMissileDisplay()), "2 M");
    EXPECT_EQ(heavy.GetHealthDisplay().getPosition(), sf::Vector2f(0.f, 50.f));
    EXPECT_EQ(heavy.GetMissileDisplay()->getPosition(), sf::Vector2f(0.f, 70.f));
    EXPECT_EQ(heavy.GetCategory(), scene::Category::PLAYER_CHARACTER);

    const Character& light = Add(Character::AlliedLight);
    EXPECT_EQ(Shown(light.GetHealthDisplay()), "80 HP");

    const Character& enemy = Add(Character::EnemyLight);
    EXPECT_EQ(Shown(enemy.GetHealthDisplay()), "40 HP");
    EXPECT_EQ(enemy.GetMissileDisplay(), nullptr);
    EXPECT_EQ(enemy.GetChildren().size(), 1u);
    EXPECT_EQ(enemy.GetCategory(), scene::Category::ENEMY_CHARACTER);
}

TEST_F(CharacterTest, ReadOutsStayUprightOnARotatedAircraft) {
    Character& aircraft = Add(Character::AlliedHeavy);
    aircraft.setRotation(30.f);
    aircraft.Damage(7);
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(Shown(aircraft.GetHealthDisplay()), "93 HP");
    EXPECT_FLOAT_EQ(aircraft.GetHealthDisplay().getRotation(), 330.f);
    EXPECT_FLOAT_EQ(aircraft.GetMissileDisplay()->getRotation(), 330.f);
}

TEST_F(CharacterTest, MissilesRunOutAndLaunchRegardlessOfTheGunCountdown) {
    Character& aircraft = Add(Character::AlliedHeavy);
    aircraft.Fire();
    aircraft.LaunchMissile();
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 2);  // one burst of bullets and one missile
    EXPECT_EQ(Shown(*aircraft.GetMissileDisplay()), "1 M");

    aircraft.LaunchMissile();
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 1);
    EXPECT_EQ(Shown(*aircraft.GetMissileDisplay()), "");

    aircraft.LaunchMissile();
    EXPECT_EQ(aircraft.GetMissileAmmo(), 0);
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 0);

    aircraft.CollectMissiles(3);
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(Shown(*aircraft.GetMissileDisplay()), "3 M");
    EXPECT_DEATH(aircraft.CollectMissiles(0), "num > 0");
}

TEST_F(CharacterTest, LevelsAreCapped) {
    Character& aircraft = Add(Character::AlliedLight);
    EXPECT_EQ(aircraft.GetSpreadLevel(), 1);
    EXPECT_EQ(aircraft.GetFireRateLevel(), 1);
    for (int i = 0; i < 4; ++i) aircraft.IncreaseSpread();
    for (int i = 0; i < 20; ++i) aircraft.IncreaseFireRate();
    EXPECT_EQ(aircraft.GetSpreadLevel(), 3);
    EXPECT_EQ(aircraft.GetFireRateLevel(), 10);
}

TEST_F(CharacterTest, DamagedEnemyFliesSlower) {
    Character& enemy = Add(Character::EnemyHeavy);
    EXPECT_EQ(enemy.GetMaxSpeed(), 80.f);
    enemy.Damage(35);
    EXPECT_EQ(enemy.GetMaxSpeed(), 40.f);
    enemy.Update(sf::microseconds(step_us), commands);
    EXPECT_NEAR(std::hypot(enemy.GetVelocity().x, enemy.GetVelocity().y), 40.f, 1e-4f);

    Character& player = Add(Character::AlliedHeavy);
    player.Damage(50);
    EXPECT_EQ(player.GetMaxSpeed(), 200.f);
}

// The x direction of an EnemyHeavy over updates of one second (80 units each); legs of 160,
// 320 and 160 units switch only once the distance flown on them is exceeded, and the update
// that switches still flies the old leg.
TEST_F(CharacterTest, FlightPatternSwitchesLegsOnlyAfterExceedingEachDistance) {
    Character& enemy = Add(Character::EnemyHeavy, {320.f, 100.f});
    Character& mirrored = Add(Character::EnemyHeavy, {320.f, 100.f});
    mirrored.MirrorMovement();
    std::string pattern, mirrored_pattern;
    for (int i = 0; i < 16; ++i) {
        enemy.Update(sf::seconds(1.f), commands);
        mirrored.Update(sf::seconds(1.f), commands);
        pattern += enemy.GetVelocity().x > 0.f ? '+' : '-';
        mirrored_pattern += mirrored.GetVelocity().x > 0.f ? '+' : '-';
        EXPECT_NEAR(enemy.GetVelocity().y, 80.f * std::sqrt(0.5f), 1e-3f);
    }
    EXPECT_EQ(pattern, "++++-----++++++-");
    EXPECT_EQ(mirrored_pattern, "----+++++------+");
    EXPECT_NEAR(enemy.GetVelocity().x, -mirrored.GetVelocity().x, 1e-4f);
}

TEST_F(CharacterTest, PlayersBankWhileMovingSideways) {
    Character& aircraft = Add(Character::AlliedHeavy);
    aircraft.SetVelocity({-10.f, 0.f});
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(aircraft.GetSprite().getTextureRect(), sf::IntRect(16 + 7 * 32, 16 + 48, 32, 48));
    aircraft.SetVelocity({10.f, -5.f});
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(aircraft.GetSprite().getTextureRect(), sf::IntRect(16 + 7 * 32, 16 + 2 * 48, 32, 48));
    aircraft.SetVelocity({0.f, -5.f});
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(aircraft.GetSprite().getTextureRect(), sf::IntRect(16, 16, 32, 48));
}

TEST_F(CharacterTest, SpreadTwoBulletsLeaveBesideThePlayersNose) {
    Character& aircraft = Add(Character::AlliedHeavy, {100.f, 200.f});
    aircraft.IncreaseSpread();
    aircraft.Fire();
    aircraft.Update(sf::Time::Zero, commands);
    Deliver();
    const auto shots = Shots();
    ASSERT_EQ(shots.size(), 2u);
    const float w = 32.f, h = 48.f;
    EXPECT_EQ(shots[0]->getPosition(), sf::Vector2f(100.f + 0.33f * w, 200.f - 0.33f * h));
    EXPECT_EQ(shots[1]->getPosition(), sf::Vector2f(100.f - 0.33f * w, 200.f - 0.33f * h));
    for (const auto* shot : shots) {
        EXPECT_EQ(shot->GetType(), Projectile::AlliedBullet);
        EXPECT_EQ(shot->GetVelocity(), sf::Vector2f(0.f, -300.f));
    }
}

TEST_F(CharacterTest, EnemiesFireDownwardsOnTheirOwnAndMissilesLeaveFromTheTail) {
    Character& enemy = Add(Character::EnemyLight, {300.f, 100.f});
    enemy.Update(sf::Time::Zero, commands);
    Deliver();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0]->GetType(), Projectile::EnemyBullet);
    EXPECT_EQ(Shots()[0]->getPosition(), sf::Vector2f(300.f, 100.f + 0.5f * 65.f));
    EXPECT_EQ(Shots()[0]->GetVelocity(), sf::Vector2f(0.f, 300.f));

    Character& player = Add(Character::AlliedLight, {50.f, 400.f});
    player.LaunchMissile();
    player.Update(sf::Time::Zero, commands);
    Deliver();
    const Projectile* missile = Shots().back();
    EXPECT_EQ(missile->GetType(), Projectile::Missile);
    EXPECT_EQ(missile->getPosition(), sf::Vector2f(50.f, 400.f - 0.5f * 48.f));
    EXPECT_EQ(missile->GetVelocity(), sf::Vector2f(0.f, -150.f));
}

TEST_F(CharacterTest, TopFireRateShootsEvery45454Microseconds) {
    Character& aircraft = Add(Character::AlliedHeavy);
    for (int i = 0; i < 9; ++i) aircraft.IncreaseFireRate();
    const auto step = [&](sf::Int64 us) {
        aircraft.Fire();
        aircraft.Update(sf::microseconds(us), commands);
        return FireCommands();
    };
    EXPECT_EQ(step(0), 1);
    EXPECT_EQ(step(45453), 0);
    EXPECT_EQ(step(1), 0);  // the countdown reaches zero here
    EXPECT_EQ(step(0), 1);
}

TEST_F(CharacterTest, ARequestMadeDuringTheCountdownWaitsForIt) {
    Character& aircraft = Add(Character::AlliedHeavy);  // 0.5 s at level 1: every 0.25 s
    aircraft.Fire();
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 1);
    aircraft.Fire();
    aircraft.Update(sf::microseconds(100000), commands);
    aircraft.Update(sf::microseconds(200000), commands);  // overshoots to -50000
    EXPECT_EQ(FireCommands(), 0);
    aircraft.Update(sf::microseconds(step_us), commands);
    EXPECT_EQ(FireCommands(), 1);
    // The overshoot counts towards the next interval: 250000 - 50000 left.
    aircraft.Fire();
    aircraft.Update(sf::microseconds(199999), commands);
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 0);
    aircraft.Update(sf::microseconds(1), commands);
    aircraft.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FireCommands(), 1);
}

TEST_F(CharacterTest, ExplodingEnemyReportsToTheNetworkAndIsRemovedAfterOneSecond) {
    auto& network = Attach(std::make_unique<scene::NetworkNode>(), root);
    Character& enemy = Add(Character::EnemyHeavy, {200.f, 300.f});
    enemy.SetVelocity({0.f, 80.f});
    enemy.Damage(100);
    enemy.Update(sf::milliseconds(500), commands);
    EXPECT_EQ(Shown(enemy.GetHealthDisplay()), "");
    EXPECT_FALSE(enemy.IsMarkedForRemoval());
    enemy.move(50.f, 0.f);  // the notice keeps where the explosion began
    Deliver();
    network::action::NetAction action;
    ASSERT_TRUE(network.PollGameAction(action));
    EXPECT_EQ(action.type, network::action::NetAction::EnemyExplosion);
    EXPECT_EQ(action.position, sf::Vector2f(200.f, 300.f));

    enemy.Update(sf::milliseconds(500), commands);
    EXPECT_TRUE(enemy.IsMarkedForRemoval());
    Deliver();
    EXPECT_FALSE(network.PollGameAction(action)) << "one notice per explosion";
    EXPECT_EQ(enemy.getPosition(), sf::Vector2f(250.f, 300.f)) << "a wreck does not move";
}

TEST_F(CharacterTest, DestroyRemovesWithoutExplosion) {
    Character& enemy = Add(Character::EnemyLight);
    enemy.Destroy();
    EXPECT_EQ(enemy.GetHitpoints(), 0);
    EXPECT_TRUE(enemy.IsMarkedForRemoval());

    Character& player = Add(Character::AlliedHeavy);
    player.Damage(200);
    player.Update(sf::microseconds(step_us), commands);
    EXPECT_FALSE(player.IsMarkedForRemoval());
    EXPECT_EQ(Take(scene::Category::NETWORK), 0) << "only enemies report explosions";
    EXPECT_EQ(FireCommands(), 0) << "players drop nothing";
}

TEST_F(CharacterTest, EnemiesDropAtMostOnePickupEach) {
    // Networked worlds disable drops: the server places the pickups there.
    std::vector<Character*> enemies;
    for (int i = 0; i < 48; ++i) {
        enemies.push_back(&Add(Character::EnemyLight, {10.f * static_cast<float>(i), 20.f}));
        if (i >= 24) enemies.back()->DisablePickups();
        enemies.back()->Damage(40);
    }
    for (int update = 0; update < 10; ++update)
        for (auto* enemy : enemies) enemy->Update(sf::microseconds(step_us), commands);
    Deliver();
    std::set<float> dropped_at;
    for (const auto& child : air_layer->GetChildren()) {
        const auto* pickup = dynamic_cast<const Pickup*>(child.get());
        ASSERT_NE(pickup, nullptr);
        EXPECT_EQ(pickup->GetVelocity(), sf::Vector2f(0.f, 1.f));
        EXPECT_EQ(pickup->getPosition().y, 20.f);
        EXPECT_LT(pickup->getPosition().x, 240.f) << "pickups disabled";
        EXPECT_TRUE(dropped_at.insert(pickup->getPosition().x).second) << "second drop";
    }
    // Each drops with probability one half; 24 enemies never all keep theirs (or all drop).
    EXPECT_GT(dropped_at.size(), 0u);
    EXPECT_LT(dropped_at.size(), 24u);
}

}  // namespace
