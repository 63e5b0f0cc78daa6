#include "game/character.hpp"
#include "game/data_table.hpp"
#include "game/pickup.hpp"
#include "game_fixture.hpp"

#include <numeric>

namespace {

using game::character::Character;
using game::data_table::CHARACTER_DATA;
using game::data_table::Direction_t;
using game::data_table::PICKUP_DATA;
using game::data_table::PROJECTILE_DATA;
using game::pickup::Pickup;

float PatternLength(const std::vector<Direction_t>& directions) {
    return std::accumulate(directions.begin(), directions.end(), 0.f,
                           [](float sum, const Direction_t& leg) { return sum + leg.distance; });
}

TEST(DataTableTest, RowsAndFlightPatterns) {
    ASSERT_EQ(CHARACTER_DATA.size(), 4u);
    EXPECT_EQ(PROJECTILE_DATA.size(), 3u);
    EXPECT_EQ(PICKUP_DATA.size(), 4u);

    EXPECT_TRUE(CHARACTER_DATA[Character::AlliedHeavy].directions.empty());
    EXPECT_TRUE(CHARACTER_DATA[Character::AlliedLight].directions.empty());
    EXPECT_EQ(CHARACTER_DATA[Character::EnemyHeavy].directions.size(), 3u);
    EXPECT_EQ(PatternLength(CHARACTER_DATA[Character::EnemyHeavy].directions), 640.f);
    EXPECT_EQ(CHARACTER_DATA[Character::EnemyLight].directions.size(), 5u);
    EXPECT_EQ(PatternLength(CHARACTER_DATA[Character::EnemyLight].directions), 600.f);

    EXPECT_EQ(CHARACTER_DATA[Character::AlliedLight].fire_interval.asMicroseconds(), 600000);
    EXPECT_EQ(CHARACTER_DATA[Character::EnemyHeavy].fire_interval.asMicroseconds(), 750000);
    EXPECT_EQ(CHARACTER_DATA[Character::EnemyLight].texture_rect, sf::IntRect(322, 474, 63, 65));
    for (const auto& row : PICKUP_DATA) {
        EXPECT_TRUE(row.action);
        EXPECT_EQ(row.texture, holder::TextureId::Projectile);
    }
}

using PickupTest = game_test::GameTest;

TEST_F(PickupTest, ActionsActOnTheCollectingAircraft) {
    Character aircraft(Character::AlliedHeavy, textures, fonts);
    aircraft.Damage(40);
    Pickup health(Pickup::HealthRefill, textures);
    health.Apply(aircraft);
    EXPECT_EQ(aircraft.GetHitpoints(), 85);
    health.Apply(aircraft);
    EXPECT_EQ(aircraft.GetHitpoints(), 110) << "repair is not capped at the table's maximum";

    Pickup(Pickup::MissileRefill, textures).Apply(aircraft);
    EXPECT_EQ(aircraft.GetMissileAmmo(), 5);

    Pickup spread(Pickup::FireSpread, textures);
    for (int i = 0; i < 3; ++i) spread.Apply(aircraft);
    EXPECT_EQ(aircraft.GetSpreadLevel(), 3);

    Pickup rate(Pickup::FireRate, textures);
    rate.Apply(aircraft);
    EXPECT_EQ(aircraft.GetFireRateLevel(), 2);
}

TEST_F(PickupTest, EveryKindIsAPickupCentredOnItsPosition) {
    for (int kind = 0; kind < Pickup::TypeCount; ++kind) {
        Pickup pickup(static_cast<Pickup::Type>(kind), textures);
        pickup.setPosition(100.f, 50.f);
        EXPECT_EQ(pickup.GetCategory(), scene::Category::PICKUP);
        EXPECT_EQ(pickup.GetHitpoints(), 1);
        const sf::FloatRect bounds = pickup.GetBoundingRect();
        EXPECT_FLOAT_EQ(bounds.left + bounds.width / 2, 100.f);
        EXPECT_FLOAT_EQ(bounds.top + bounds.height / 2, 50.f);
        EXPECT_EQ(bounds.width, static_cast<float>(PICKUP_DATA[kind].texture_rect.width));
    }
}

}  // namespace
