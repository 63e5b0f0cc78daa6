#include "network/server.hpp"
#include "server_test_client.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using namespace server_test;
using network::ServerMessage;
using network::server::Server;

// The enemies of one spawn and the battlefield bottom of the tick that sent them.
struct Spawn_t {
    float battlefield_bottom = 0.f;
    std::vector<network::SpawnEnemy_t> enemies;
};

// Groups SpawnEnemy messages by tick: each tick's WorldStatus comes before its enemies.
std::vector<Spawn_t> Spawns(std::vector<Message_t>& messages) {
    std::vector<Spawn_t> spawns;
    float bottom = 0.f;
    bool new_tick = true;
    for (Message_t& message : messages) {
        if (message.type == ServerMessage::WorldStatus) {
            const auto status = network::ReadWorldStatus(message.packet);
            EXPECT_TRUE(status);
            if (status) bottom = status->battlefield_bottom;
            new_tick = true;
        } else if (message.type == ServerMessage::SpawnEnemy) {
            if (new_tick) spawns.push_back({bottom, {}});
            new_tick = false;
            const auto enemy = network::ReadSpawnEnemy(message.packet);
            EXPECT_TRUE(enemy);
            if (enemy) spawns.back().enemies.push_back(*enemy);
        }
    }
    return spawns;
}

// One or two enemies just above the battlefield; two are spaced apart around an offset drawn
// from a quarter of the width either side of the centre.
void ExpectWellFormed(const Spawn_t& spawn) {
    const float distance = BATTLEFIELD_SIZE.x * 0.25f;
    const float top = spawn.battlefield_bottom - BATTLEFIELD_SIZE.y;
    ASSERT_TRUE(spawn.enemies.size() == 1 || spawn.enemies.size() == 2);
    for (const network::SpawnEnemy_t& enemy : spawn.enemies) {
        EXPECT_EQ(enemy.vertical_distance, 2500.f - top + 100.f);
        EXPECT_TRUE(enemy.character_type == 2 || enemy.character_type == 3);
    }
    const float first = spawn.enemies.front().horizontal_offset;
    const float last = spawn.enemies.back().horizontal_offset;
    const float centre = (first + last) * 0.5f;
    EXPECT_GE(centre, -distance);
    EXPECT_LT(centre, distance);
    EXPECT_EQ(centre, std::floor(centre));
    EXPECT_GE(last - first, 0.f);
    EXPECT_LT(last - first, 2.f * distance);
}

TEST(ServerSpawnTest, FirstEnemiesAppearAfterTwoSeconds) {
    sf::Clock clock;
    Server server(BATTLEFIELD_SIZE);
    TestClient client;
    ASSERT_TRUE(client.Join());
    client.SetKeepAlive(true);
    const auto first = client.WaitFor(ServerMessage::SpawnEnemy, sf::seconds(3.f));
    ASSERT_TRUE(first);
    EXPECT_NEAR(clock.getElapsedTime().asSeconds(), 2.f, 0.15f);
    // Nothing more until the next interval is over.
    std::vector<Message_t> messages = client.Collect(sf::seconds(1.5f));
    EXPECT_LE(Spawns(messages).size(), 1u);
}

TEST(ServerSpawnTest, EverySpawnHasOneOrTwoEnemiesAroundTheFirstOffset) {
    network::server::Settings_t settings;
    settings.enemy_spawn_interval = sf::milliseconds(1);  // a spawn every tick
    Server server(BATTLEFIELD_SIZE, settings);
    TestClient client;
    ASSERT_TRUE(client.Join());
    std::vector<Message_t> messages = client.Collect(sf::seconds(1.5f));
    const std::vector<Spawn_t> spawns = Spawns(messages);
    ASSERT_GE(spawns.size(), 20u);

    std::set<std::size_t> counts;
    std::set<std::int32_t> types;
    std::set<bool> mirrored;
    for (const Spawn_t& spawn : spawns) {
        ExpectWellFormed(spawn);
        counts.insert(spawn.enemies.size());
        for (const network::SpawnEnemy_t& enemy : spawn.enemies) {
            types.insert(enemy.character_type);
            mirrored.insert(enemy.mirrored);
        }
    }
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_EQ(types.size(), 2u);
    EXPECT_EQ(mirrored.size(), 2u);
}

}  // namespace
