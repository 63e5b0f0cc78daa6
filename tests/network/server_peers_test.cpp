#include "network/server.hpp"
#include "server_test_client.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>

#include <array>

namespace {

using namespace server_test;
using network::ServerMessage;
using network::server::Server;

// Reads the messages of a drop: one AircraftLeft per aircraft, then the notice.
void ExpectDrop(TestClient& client, const std::vector<std::int32_t>& identifiers, sf::Time timeout = sf::seconds(1.f)) {
    for (std::int32_t identifier : identifiers)
        EXPECT_EQ(client.Expect(ServerMessage::AircraftLeft, network::ReadAircraftLeft, timeout), identifier);
    EXPECT_EQ(client.Expect(ServerMessage::Notice, network::ReadNotice), "An ally has disconnected.");
}

TEST(ServerPeersTest, ASilentPeerIsDroppedAfterThreeSecondsWithEachOfItsAircraft) {
    Server server(BATTLEFIELD_SIZE);
    TestClient talking, silent;
    ASSERT_TRUE(talking.Join());
    talking.SetKeepAlive(true);
    ASSERT_TRUE(silent.Join());
    sf::Clock silence;
    silent.Send(network::WriteRequestSecondAircraft());
    ASSERT_TRUE(silent.NextEvent());
    silence.restart();
    talking.NextEvent();  // "New player!"
    talking.NextEvent();  // aircraft 2
    talking.NextEvent();  // aircraft 3

    ExpectDrop(talking, {2, 3}, sf::seconds(4.f));
    EXPECT_NEAR(silence.getElapsedTime().asSeconds(), 3.f, 0.3f);
    // The dropped peer itself is told of its aircraft before its connection closes.
    EXPECT_EQ(silent.Expect(ServerMessage::AircraftLeft, network::ReadAircraftLeft), 2);
    EXPECT_EQ(silent.Expect(ServerMessage::AircraftLeft, network::ReadAircraftLeft), 3);
    EXPECT_TRUE(silent.ClosedByServer());
}

TEST(ServerPeersTest, LeaveDropsAtOnceAndIdentifiersAreNeverReused) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second, third;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    first.NextEvent();
    first.NextEvent();

    sf::Clock clock;
    second.Send(network::WriteLeave());
    ExpectDrop(first, {2});
    EXPECT_LT(clock.getElapsedTime(), sf::milliseconds(300));
    EXPECT_TRUE(second.ClosedByServer());

    first.Send(network::WriteLeave());
    EXPECT_TRUE(first.ClosedByServer());
    const auto welcome = third.Join();
    ASSERT_TRUE(welcome);
    EXPECT_TRUE(welcome->snapshot.entries.empty());
    EXPECT_EQ(welcome->aircraft.identifier, 3);
}

TEST(ServerPeersTest, TheTenthClientClosesTheListenerAndADropOpensItAgain) {
    Server server(BATTLEFIELD_SIZE);
    std::array<TestClient, 12> clients;
    for (std::size_t i = 0; i < 10; ++i) {
        const auto welcome = clients[i].Join();
        ASSERT_TRUE(welcome);
        EXPECT_EQ(welcome->aircraft.identifier, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(welcome->snapshot.entries.size(), i);
    }
    EXPECT_FALSE(clients[10].Connect());

    // The others are still connected on the game port, yet the listener opens again.
    clients[0].Drain();
    clients[4].Send(network::WriteLeave());
    ExpectDrop(clients[0], {5}, sf::seconds(1.f));
    const auto welcome = clients[10].Join();
    ASSERT_TRUE(welcome);
    EXPECT_EQ(welcome->aircraft.identifier, 11);
    EXPECT_EQ(welcome->snapshot.entries.size(), 9u);
    EXPECT_FALSE(clients[11].Connect());
}

}  // namespace
