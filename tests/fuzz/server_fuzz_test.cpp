#include "network/server/session.hpp"
#include "support/net_test_client.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Clock.hpp>

#include <array>
#include <cstdlib>
#include <memory>
#include <random>

// Random traffic from several clients against a server on a stepped clock; after every round a
// fresh client must still be welcomed and served, and nothing sent may be malformed (the test
// client checks). KIRROW_FUZZ_SECONDS runs rounds for that long, KIRROW_FUZZ_SEED picks others.
namespace {

using namespace network;
using key_binding::PlayerAction;
using test::net::Bytes;
using test::net::TestClient;
using Random = std::mt19937;

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
    const char* value = std::getenv(name);
    return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

int Pick(Random& random, int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

// A message of a random kind, mostly about the client's own aircraft, sometimes damaged.
Bytes RandomMessage(Random& random, const std::vector<std::int32_t>& own) {
    std::int32_t identifier = Pick(random, 40) - 2;
    if (!own.empty() && Pick(random, 5) > 0) identifier = own[static_cast<std::size_t>(Pick(random, static_cast<int>(own.size())))];
    const auto action = static_cast<PlayerAction::t>(Pick(random, PlayerAction::COUNT));
    const sf::Vector2f place(static_cast<float>(Pick(random, 700)), static_cast<float>(Pick(random, 2700) - 100));
    const AircraftStatusEntry_t entry{identifier, place, Pick(random, 120) - 10, Pick(random, 4)};
    sf::Packet packet = test::net::Typed(Pick(random, 30) - 10);
    switch (Pick(random, 6)) {
    case 0: packet = WriteClientOneShotAction({identifier, action}); break;
    case 1: packet = WriteClientRealtimeActionChange({identifier, action, Pick(random, 2) == 0}); break;
    case 2: packet = WriteAircraftStatus({std::vector<AircraftStatusEntry_t>(static_cast<std::size_t>(Pick(random, 3)), entry)}); break;
    case 3: packet = WriteWorldEvent({place}); break;
    case 4: packet = Pick(random, 20) == 0 ? WriteLeave() : WriteRequestSecondAircraft(); break;
    }
    Bytes bytes = test::net::ToBytes(packet);
    const auto at = static_cast<std::size_t>(Pick(random, static_cast<int>(bytes.size())));
    if (Pick(random, 4) == 0) bytes[at] = static_cast<std::uint8_t>(random());
    if (Pick(random, 6) == 0) bytes.resize(at);
    return bytes;
}

// One client's turn: mostly a message, sometimes bytes outside the framing, a flood or the end.
void Act(TestClient& client, Random& random) {
    const int roll = Pick(random, 100);
    if (roll < 85) {
        client.Send(test::net::ToPacket(RandomMessage(random, client.own)));
    } else if (roll < 90) {
        client.SendRaw(RandomMessage(random, client.own));
    } else if (roll < 92) {
        for (int i = 0; i < 100; ++i) client.Send(WriteClientOneShotAction({client.own.at(0), PlayerAction::LAUNCH_MISSILE}));
    } else if (roll < 93) {
        client.Close();
    }
}

TEST(ServerFuzzTest, ServerKeepsWelcomingAndServingUnderRandomTraffic) {
    const unsigned seconds = EnvironmentNumber("KIRROW_FUZZ_SECONDS", 0);
    const unsigned seed = EnvironmentNumber("KIRROW_FUZZ_SEED", 5000);
    test::net::SteppedClock clock;
    server::Settings_t settings;
    settings.port = 0;
    settings.now = clock.Source();
    settings.enemy_spawn_interval = sf::milliseconds(300);
    server::Session session({640.f, 480.f}, settings);
    std::int32_t last_identifier = 0;
    // A newcomer gets an identifier above all before, and a snapshot of none it does not know.
    const auto welcomed = [&](TestClient& client) {
        const auto welcome = client.Join(session.Port());
        ASSERT_TRUE(welcome && welcome->aircraft.identifier > last_identifier) << "after " << last_identifier;
        for (const SnapshotEntry_t& entry : welcome->snapshot.entries) ASSERT_LT(entry.identifier, welcome->aircraft.identifier);
        last_identifier = welcome->aircraft.identifier;
    };
    std::array<int, ServerMessage::COUNT> received{};
    sf::Clock elapsed;
    int round = 0;
    for (; seconds > 0 ? elapsed.getElapsedTime() < sf::seconds(static_cast<float>(seconds)) : round < 30; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        Random random(seed + static_cast<unsigned>(round));
        std::vector<std::unique_ptr<TestClient>> clients;
        for (int i = 2 + Pick(random, 3); i > 0; --i)
            welcomed(*clients.emplace_back(std::make_unique<TestClient>([&session] { session.Pass(); })));
        for (int step = 0; step < 40; ++step) {
            for (auto& client : clients) {
                Act(*client, random);
                for (const test::net::Message_t& message : client->Drain()) ++received[static_cast<std::size_t>(message.type)];
            }
            clock.Advance(sf::milliseconds(10));
            session.Pass();
        }
        TestClient newcomer([&session] { session.Pass(); });
        welcomed(newcomer);
        newcomer.Sync();  // served: its launch comes back to it
        // Aircraft handed out late are above the newcomer's; all go, forgotten after the timeout.
        for (auto& client : clients) {
            client->Drain();
            for (std::int32_t identifier : client->own) last_identifier = std::max(last_identifier, identifier);
        }
        clients.clear();
        newcomer.Close();
        clock.Advance(settings.client_timeout);
        session.Pass();
        if (HasFailure()) break;
    }
    // The random traffic reached every handler that answers: it is not all refused.
    for (ServerMessage::t answer : {ServerMessage::OneShotAction, ServerMessage::RealtimeActionChange,
                                    ServerMessage::SecondAircraftAccepted, ServerMessage::SpawnPickup, ServerMessage::AircraftLeft})
        EXPECT_GT(received[answer], 0) << "no message of type " << answer;
}

}  // namespace
