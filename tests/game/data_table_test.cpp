#include "game/character.hpp"
#include "game/data_table.hpp"
#include "game/pickup.hpp"
#include "game_fixture.hpp"

namespace {

using game::character::Character;
using game::data_table::CHARACTER_DATA;
using game::pickup::Pickup;

float PatternLength(Character::Type type) {
    float sum = 0.f;
    for (const auto& leg : CHARACTER_DATA.at(type).directions) sum += leg.distance;
    return sum;
}

TEST(DataTableTest, RowsAndFlightPatterns) {
    EXPECT_EQ(CHARACTER_DATA.size(), 4u);
    EXPECT_EQ(game::data_table::PROJECTILE_DATA.size(), 3u);
    EXPECT_EQ(game::data_table::PICKUP_DATA.size(), 4u);
    EXPECT_EQ(PatternLength(Character::AlliedHeavy) + PatternLength(Character::AlliedLight), 0.f);
    EXPECT_EQ(PatternLength(Character::EnemyHeavy), 640.f);
    EXPECT_EQ(PatternLength(Character::EnemyLight), 600.f);
    EXPECT_EQ(CHARACTER_DATA.at(Character::AlliedLight).fire_interval.asMicroseconds(), 600000);
}

using PickupTest = game_test::GameTest;

TEST_F(PickupTest, ActionsActOnTheCollectingAircraftUpToTheLevelCaps) {
    Character aircraft(Character::AlliedHeavy, textures, fonts);
    aircraft.Damage(40);
    const Pickup health(Pickup::HealthRefill, textures);
    health.Apply(aircraft);
    EXPECT_EQ(aircraft.GetHitpoints(), 85);
    health.Apply(aircraft);
    EXPECT_EQ(aircraft.GetHitpoints(), 110) << "repair is not capped at the table's maximum";

    Pickup(Pickup::MissileRefill, textures).Apply(aircraft);
    EXPECT_EQ(aircraft.GetMissileAmmo(), 5);

    const Pickup spread(Pickup::FireSpread, textures);
    for (int i = 0; i < 4; ++i) spread.Apply(aircraft);
    EXPECT_EQ(aircraft.GetSpreadLevel(), 3);
    const Pickup rate(Pickup::FireRate, textures);
    for (int i = 0; i < 20; ++i) rate.Apply(aircraft);
    EXPECT_EQ(aircraft.GetFireRateLevel(), 10);
    EXPECT_EQ(rate.GetCategory(), scene::Category::PICKUP);
}

}  // namespace
