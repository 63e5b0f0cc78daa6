#include "game/character.hpp"
#include "game/pickup.hpp"
#include "game/projectile.hpp"
#include "scene/network_node.hpp"
#include "scene/sound_node.hpp"
#include "scene/text_node.hpp"
#include "support/helpers.hpp"

#include <asset/int_rect.hpp>
#include <asset/texture_layout.hpp>

#include <cmath>
#include <set>

namespace {

using game::character::Character;
using game::pickup::Pickup;
using game::projectile::Projectile;
using holder::SoundId;

std::string Shown(const scene::TextNode& node) { return node.GetText().getString().toAnsiString(); }

class CharacterTest : public test::FieldTest {
protected:
    Character& Add(Character::Type type, sf::Vector2f position = {}) {
        auto aircraft = std::make_unique<Character>(type, textures, fonts);
        aircraft->setPosition(position);
        return Attach(std::move(aircraft));
    }

    // Counts the queued commands addressed to any of `categories`, and empties the queue.
    int Take(std::uint32_t categories) {
        int count = 0;
        for (; !commands.empty(); commands.pop()) count += (commands.front().category & categories) != 0;
        return count;
    }
    int FireCommands() { return Take(scene::Category::SCENE_AIR_LAYER); }
};

// Damage slows enemies only.
TEST_F(CharacterTest, PlayersShowTheirHitpointsAndBankWhileMovingSideways) {
    using asset::Bank;
    Character& heavy = Add(Character::AlliedHeavy);
    heavy.Damage(7);
    for (const auto& [vx, bank] : {std::pair(-10.f, Bank::TowardsMinusX), {10.f, Bank::TowardsPlusX}, {0.f, Bank::Level}}) {
        heavy.SetVelocity({vx, -5.f});
        heavy.Update(sf::Time::Zero, commands);
        const sf::IntRect frame = asset::ToIntRect(asset::BankFrame(asset::ALLIED_HEAVY, bank));
        EXPECT_EQ(heavy.GetSprite().getTextureRect(), frame) << vx;
    }
    EXPECT_EQ(Shown(heavy.GetHealthDisplay()), "93 HP");
    EXPECT_EQ(heavy.GetMaxSpeed(), 200.f);
    const sf::FloatRect bounds = heavy.GetHealthDisplay().GetText().getLocalBounds();  // centred for its new text
    EXPECT_EQ(heavy.GetHealthDisplay().GetText().getOrigin(), sf::Vector2f(bounds.width / 2, bounds.height / 2));
}

// The x direction of an EnemyHeavy over updates of one second (80 units each): legs of 160,
// 320 and 160 units switch only once the distance flown on them is exceeded, and the update
// that switches still flies the old leg.
TEST_F(CharacterTest, FlightPatternSwitchesLegsOnlyAfterExceedingEachDistance) {
    Character& enemy = Add(Character::EnemyHeavy);
    Character& mirrored = Add(Character::EnemyHeavy);
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
    enemy.Damage(35);  // half its hitpoints, half its speed
    enemy.Update(test::step, commands);
    EXPECT_NEAR(std::hypot(enemy.GetVelocity().x, enemy.GetVelocity().y), 40.f, 1e-4f);
}

// Shots and sounds start where the aircraft is when their command runs.
TEST_F(CharacterTest, ShotsAndTheirSoundsLeaveFromTheNoseTowardsTheOtherSide) {
    Attach(std::make_unique<scene::SoundNode>(sounds));
    Character& player = Add(Character::AlliedHeavy, {90.f, 250.f});
    player.IncreaseSpread();
    player.Fire();
    player.Update(sf::Time::Zero, commands);
    player.setPosition(100.f, 200.f);
    Add(Character::EnemyLight, {300.f, 100.f}).Update(sf::Time::Zero, commands);  // enemies fire on their own
    Character& launcher = Add(Character::AlliedLight, {50.f, 400.f});
    launcher.LaunchMissile();
    launcher.Update(sf::Time::Zero, commands);
    Character& wreck = Add(Character::EnemyLight, {300.f, 50.f});
    wreck.Damage(40);
    wreck.Update(sf::Time::Zero, commands);
    Deliver();

    const auto shots = test::NodesOf<Projectile>(*air_layer);
    ASSERT_EQ(shots.size(), 4u);
    // Two bullets side by side ahead of the player, flying up.
    EXPECT_EQ(shots[0]->getPosition().x + shots[1]->getPosition().x, 200.f);
    EXPECT_NE(shots[0]->getPosition().x, shots[1]->getPosition().x);
    for (const Projectile* bullet : {shots[0], shots[1]}) {
        EXPECT_LT(bullet->getPosition().y, 200.f);
        EXPECT_EQ(bullet->GetVelocity(), sf::Vector2f(0.f, -300.f));
    }
    EXPECT_EQ(shots[2]->GetType(), Projectile::EnemyBullet);
    EXPECT_EQ(shots[2]->getPosition(), sf::Vector2f(300.f, 100.f + 0.5f * 65.f));
    EXPECT_EQ(shots[2]->GetVelocity(), sf::Vector2f(0.f, 300.f));
    EXPECT_EQ(shots[3]->GetType(), Projectile::Missile);
    EXPECT_EQ(shots[3]->getPosition(), sf::Vector2f(50.f, 400.f - 0.5f * 48.f));
    EXPECT_EQ(shots[3]->GetVelocity(), sf::Vector2f(0.f, -150.f));

    const auto heard = sounds.Heard();
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0], (test::SoundProbe::Heard_t{SoundId::AlliedGunfire, {100.f, 200.f}}));
    EXPECT_EQ(heard[2].id, SoundId::LaunchMissile);
    EXPECT_TRUE(heard[3].id == SoundId::Explosion1 || heard[3].id == SoundId::Explosion2);
    EXPECT_EQ(heard[3].position, sf::Vector2f(300.f, 50.f));
}

TEST_F(CharacterTest, FireCountdownKeepsItsOvershootAndPendingRequestsAndMissilesIgnoreIt) {
    const auto step = [&](Character& aircraft, sf::Int64 us, bool fire, bool missile = false) {
        if (fire) aircraft.Fire();
        if (missile) aircraft.LaunchMissile();
        aircraft.Update(sf::microseconds(us), commands);
        return FireCommands();
    };
    Character& slow = Add(Character::AlliedHeavy);  // 0.5 s at level 1: every 0.25 s; two missiles
    EXPECT_EQ(step(slow, 0, true, true), 2);
    EXPECT_EQ(step(slow, 100000, true, true), 1);   // the request waits, a missile does not
    EXPECT_EQ(step(slow, 200000, false, true), 0);  // overshoots to -50000; no missile left
    EXPECT_EQ(step(slow, 0, false), 1);
    EXPECT_EQ(step(slow, 199999, true), 0);  // 250000 - 50000 left
    EXPECT_EQ(step(slow, 1, false), 0);
    EXPECT_EQ(step(slow, 0, false), 1);

    Character& fast = Add(Character::AlliedHeavy);
    for (int i = 0; i < 9; ++i) fast.IncreaseFireRate();  // level 10: 0.5 s / 11
    EXPECT_EQ(step(fast, 0, true), 1);
    EXPECT_EQ(step(fast, 45453, true), 0);
    EXPECT_EQ(step(fast, 1, true), 0);  // 45454 whole microseconds run out here
    EXPECT_EQ(step(fast, 0, true), 1);
}

TEST_F(CharacterTest, EnemyExplosionIsReportedOnceAndEndsAfterOneSecond) {
    auto& network = Attach(std::make_unique<scene::NetworkNode>());
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
    EXPECT_EQ(enemy.getPosition(), sf::Vector2f(250.f, 300.f)) << "a wreck does not move";
    Deliver();
    EXPECT_FALSE(network.PollGameAction(action));

    Character& player = Add(Character::AlliedHeavy);
    player.Damage(200);
    EXPECT_EQ(player.GetHitpoints(), -100) << "network snapshots carry the true value";
    player.Update(test::step, commands);
    EXPECT_EQ(Take(scene::Category::NETWORK | scene::Category::SCENE_AIR_LAYER), 0) << "players report and drop nothing";
}

TEST_F(CharacterTest, EnemiesDropAtMostOnePickupEach) {
    for (int i = 0; i < 24; ++i) Add(Character::EnemyLight, {10.f * static_cast<float>(i), 20.f}).Damage(40);
    for (int update = 0; update < 10; ++update) root.Update(test::step, commands);
    Deliver();
    std::set<float> dropped_at;
    for (const Pickup* pickup : test::NodesOf<Pickup>(*air_layer)) {
        EXPECT_EQ(pickup->GetVelocity(), sf::Vector2f(0.f, 1.f));
        EXPECT_TRUE(dropped_at.insert(pickup->getPosition().x).second) << "second drop";
    }
    // Each drops with probability one half: 24 enemies never all keep theirs, nor all drop.
    EXPECT_GT(dropped_at.size(), 0u);
    EXPECT_LT(dropped_at.size(), 24u);
}

TEST_F(CharacterTest, PickupsActOnTheCollectingAircraftUpToTheLevelCaps) {
    Character& aircraft = Add(Character::AlliedHeavy);
    aircraft.Damage(40);
    const auto apply = [&](Pickup::Type type, int times) {
        for (const Pickup pickup(type, textures); times > 0; --times) pickup.Apply(aircraft);
    };
    apply(Pickup::HealthRefill, 2);
    EXPECT_EQ(aircraft.GetHitpoints(), 110) << "repair is not capped at the table's maximum";
    apply(Pickup::MissileRefill, 1);
    EXPECT_EQ(aircraft.GetMissileAmmo(), 5);
    apply(Pickup::FireSpread, 4);
    EXPECT_EQ(aircraft.GetSpreadLevel(), 3);
    apply(Pickup::FireRate, 20);
    EXPECT_EQ(aircraft.GetFireRateLevel(), 10);
}

}  // namespace
