#include "network/server.hpp"
#include "server_test_client.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>


namespace {

using namespace server_test;
using network::ServerMessage;
using network::server::Server;
using key_binding::PlayerAction;

const sf::Vector2f SPAWN_POSITION(320.f, 2500.f - 240.f);

void ExpectSpawned(const network::AircraftPlacement_t& aircraft, std::int32_t identifier) {
    EXPECT_EQ(aircraft.identifier, identifier);
    EXPECT_EQ(aircraft.position.x, SPAWN_POSITION.x);
    // The battlefield has moved up a little since the server started.
    EXPECT_NEAR(aircraft.position.y, SPAWN_POSITION.y, 30.f);
    EXPECT_TRUE(aircraft.character_type == 0 || aircraft.character_type == 1);
}

TEST(ServerWelcomeTest, NewcomerGetsTheSnapshotOfEveryAircraftAndOthersHearOfIt) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;

    const auto first_welcome = first.Join();
    ASSERT_TRUE(first_welcome);
    EXPECT_EQ(first_welcome->snapshot.world_height, 2500.f);
    EXPECT_NEAR(first_welcome->snapshot.battlefield_bottom, 2500.f, 30.f);
    EXPECT_TRUE(first_welcome->snapshot.entries.empty());
    ExpectSpawned(first_welcome->aircraft, 1);

    first.SendStatus({{1, {100.f, 2000.f}, 80, 1}});
    first.Send(network::WriteRequestSecondAircraft());
    const auto second_aircraft = first.Expect(ServerMessage::SecondAircraftAccepted, network::ReadSecondAircraftAccepted);
    ASSERT_TRUE(second_aircraft);
    ExpectSpawned(*second_aircraft, 2);

    const auto second_welcome = second.Join();
    ASSERT_TRUE(second_welcome);
    ExpectSpawned(second_welcome->aircraft, 3);
    const std::vector<network::SnapshotEntry_t> expected = {
        {1, {100.f, 2000.f}, 80, 1, first_welcome->aircraft.character_type},
        {2, second_aircraft->position, 100, 2, second_aircraft->character_type},
    };
    EXPECT_EQ(second_welcome->snapshot.entries, expected);

    // The old peer hears "New player!" first, then of the new aircraft.
    EXPECT_EQ(first.Expect(ServerMessage::Notice, network::ReadNotice), "New player!");
    EXPECT_EQ(first.Expect(ServerMessage::AircraftJoined, network::ReadAircraftJoined), second_welcome->aircraft);

    // A second aircraft for the newcomer is announced to the first client only.
    second.Send(network::WriteRequestSecondAircraft());
    const auto fourth = second.Expect(ServerMessage::SecondAircraftAccepted, network::ReadSecondAircraftAccepted);
    ASSERT_TRUE(fourth);
    EXPECT_EQ(fourth->identifier, 4);
    EXPECT_EQ(first.Expect(ServerMessage::AircraftJoined, network::ReadAircraftJoined), fourth);

    // No client flies more than two aircraft: a third request is not granted. The action behind
    // it shows that nothing came before.
    first.Send(network::WriteRequestSecondAircraft());
    first.Send(network::WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));
    for (TestClient* client : {&first, &second})
        EXPECT_EQ(client->Expect(ServerMessage::OneShotAction, network::ReadOneShotAction),
                  network::OneShotAction_t({1, PlayerAction::LAUNCH_MISSILE}));
}

TEST(ServerWelcomeTest, ActionsAreRelayedToEveryReadyPeerTheSenderIncluded) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    first.NextEvent();  // "New player!"
    first.NextEvent();  // the second client's aircraft

    const network::RealtimeActionChange_t press{2, PlayerAction::MOVE_UP, true}, release{2, PlayerAction::MOVE_UP, false};
    second.Send(network::WriteClientRealtimeActionChange(press));
    second.Send(network::WriteClientOneShotAction({2, PlayerAction::LAUNCH_MISSILE}));
    second.Send(network::WriteClientRealtimeActionChange(release));
    for (TestClient* client : {&first, &second}) {
        EXPECT_EQ(client->Expect(ServerMessage::RealtimeActionChange, network::ReadRealtimeActionChange), press);
        EXPECT_EQ(client->Expect(ServerMessage::OneShotAction, network::ReadOneShotAction),
                  network::OneShotAction_t({2, PlayerAction::LAUNCH_MISSILE}));
        EXPECT_EQ(client->Expect(ServerMessage::RealtimeActionChange, network::ReadRealtimeActionChange), release);
    }
}

TEST(ServerWelcomeTest, WorldStatusListsEveryRecordInAscendingOrderAsTheBattlefieldRises) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;
    ASSERT_TRUE(first.Join());
    first.Send(network::WriteRequestSecondAircraft());
    ASSERT_TRUE(first.NextEvent());
    ASSERT_TRUE(second.Join());
    first.SendStatus({{2, {30.f, 40.f}, 100, 2}, {1, {10.f, 20.f}, 100, 2}});
    second.SendStatus({{3, {50.f, 60.f}, 100, 2}});
    sf::sleep(sf::milliseconds(120));
    second.Drain();

    auto status = second.WaitFor(ServerMessage::WorldStatus);
    ASSERT_TRUE(status);
    const auto earlier = network::ReadWorldStatus(status->packet);
    ASSERT_TRUE(earlier);
    const std::vector<network::WorldStatusEntry_t> expected = {{1, {10.f, 20.f}}, {2, {30.f, 40.f}}, {3, {50.f, 60.f}}};
    EXPECT_EQ(earlier->entries, expected);

    // 50 units per second of server time, one message every 1/20 s: 20 messages later the
    // battlefield is 50 units higher.
    sf::Clock clock;
    std::optional<network::WorldStatus_t> later;
    second.SetKeepAlive(true);
    for (int i = 0; i < 20; ++i) {
        auto message = second.WaitFor(ServerMessage::WorldStatus);
        ASSERT_TRUE(message);
        later = network::ReadWorldStatus(message->packet);
        ASSERT_TRUE(later);
    }
    EXPECT_NEAR(earlier->battlefield_bottom - later->battlefield_bottom, 50.f, 5.f);
    EXPECT_NEAR(clock.getElapsedTime().asSeconds(), 1.f, 0.2f);
}

TEST(ServerWelcomeTest, PickupsComeOnlyFromTheFrontPeersExplosions) {
    Server server(BATTLEFIELD_SIZE);
    TestClient host, other;
    ASSERT_TRUE(host.Join());
    ASSERT_TRUE(other.Join());
    host.NextEvent();
    host.NextEvent();

    const network::action::NetAction explosion{{120.f, 1300.f}, network::action::NetAction::EnemyExplosion};
    other.Send(network::WriteWorldEvent(explosion));
    sf::sleep(sf::milliseconds(150));
    host.Send(network::WriteWorldEvent(explosion));
    host.Send(network::WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));
    for (TestClient* client : {&host, &other}) {
        const auto pickup = client->Expect(ServerMessage::SpawnPickup, network::ReadSpawnPickup);
        ASSERT_TRUE(pickup);
        EXPECT_EQ(pickup->position, explosion.position);
        // The action sent after the one explosion: no second pickup before it.
        EXPECT_TRUE(client->Expect(ServerMessage::OneShotAction, network::ReadOneShotAction));
    }
}

}  // namespace
