#include "network/server/session.hpp"
#include "support/net_clock.hpp"
#include "support/net_test_client.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Clock.hpp>

#include <array>
#include <cstdlib>
#include <memory>
#include <random>

// Random traffic from several clients against a server driven pass by pass on a stepped clock,
// over 127.0.0.1: messages with random fields, damaged or cut short, noise, bytes outside any
// framing, floods and abrupt disconnections. After every round a fresh client must still be
// welcomed and served, and nothing the server sends may be malformed (the test client checks).
// KIRROW_FUZZ_SECONDS runs rounds for that long instead of the fixed few; KIRROW_FUZZ_SEED picks
// another sequence of rounds.
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

// A message of a random kind, mostly about the client's own aircraft, then maybe damaged.
Bytes RandomMessage(Random& random, const std::vector<std::int32_t>& own) {
    std::int32_t identifier = Pick(random, 40) - 2;
    if (!own.empty() && Pick(random, 5) > 0) identifier = own[static_cast<std::size_t>(Pick(random, static_cast<int>(own.size())))];
    const auto action = static_cast<PlayerAction::t>(Pick(random, PlayerAction::COUNT));
    const auto place = [&random] {
        return sf::Vector2f(static_cast<float>(Pick(random, 700)), static_cast<float>(Pick(random, 2700) - 100));
    };
    const AircraftStatusEntry_t entry{identifier, place(), Pick(random, 120) - 10, Pick(random, 4)};
    sf::Packet packet;
    switch (Pick(random, 6)) {
    case 0: packet = WriteClientOneShotAction({identifier, action}); break;
    case 1: packet = WriteClientRealtimeActionChange({identifier, action, Pick(random, 2) == 0}); break;
    case 2: packet = WriteAircraftStatus({std::vector<AircraftStatusEntry_t>(static_cast<std::size_t>(Pick(random, 3)), entry)}); break;
    case 3: packet = WriteWorldEvent({place()}); break;
    case 4: packet = Pick(random, 20) == 0 ? WriteLeave() : WriteRequestSecondAircraft(); break;
    default: packet = test::net::Typed(Pick(random, 30) - 10); break;
    }
    Bytes bytes = test::net::ToBytes(packet);
    const auto at = static_cast<std::size_t>(Pick(random, static_cast<int>(bytes.size())));
    if (Pick(random, 4) == 0) bytes[at] = static_cast<std::uint8_t>(random());
    if (Pick(random, 6) == 0) bytes.resize(static_cast<std::size_t>(Pick(random, static_cast<int>(bytes.size()) + 1)));
    return bytes;
}

// One client's turn: mostly a message, sometimes bytes outside the framing, a flood or the end.
void Act(TestClient& client, Random& random) {
    const int roll = Pick(random, 100);
    if (roll < 85) {
        client.Send(test::net::ToPacket(RandomMessage(random, client.own)));
    } else if (roll < 90) {
        Bytes raw(static_cast<std::size_t>(Pick(random, 12)));
        for (std::uint8_t& byte : raw) byte = static_cast<std::uint8_t>(random());
        client.SendRaw(raw.data(), raw.size());
    } else if (roll < 92 && !client.own.empty()) {
        for (int i = 0; i < 100; ++i) client.Send(WriteClientOneShotAction({client.own[0], PlayerAction::LAUNCH_MISSILE}));
    } else if (roll < 93) {
        client.Close();
    }
}

::testing::AssertionResult Welcomed(const std::optional<TestClient::Welcome_t>& welcome, std::int32_t& last_identifier) {
    if (!welcome) return ::testing::AssertionFailure() << "no welcome";
    if (welcome->aircraft.identifier <= last_identifier)
        return ::testing::AssertionFailure() << "identifier " << welcome->aircraft.identifier << " after " << last_identifier;
    for (const SnapshotEntry_t& entry : welcome->snapshot.entries)
        if (entry.identifier >= welcome->aircraft.identifier)
            return ::testing::AssertionFailure() << "snapshot lists aircraft " << entry.identifier;
    last_identifier = welcome->aircraft.identifier;
    return ::testing::AssertionSuccess();
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
    const auto pass = [&session] { session.Pass(); };
    std::int32_t last_identifier = 0;
    std::array<int, ServerMessage::COUNT> received{};
    sf::Clock elapsed;
    int round = 0;
    for (; seconds > 0 ? elapsed.getElapsedTime() < sf::seconds(static_cast<float>(seconds)) : round < 30; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        Random random(seed + static_cast<unsigned>(round));
        std::vector<std::unique_ptr<TestClient>> clients;
        for (int i = 2 + Pick(random, 3); i > 0; --i) {
            clients.push_back(std::make_unique<TestClient>(pass));
            ASSERT_TRUE(Welcomed(clients.back()->Join(session.Port()), last_identifier));
        }
        for (int step = 0; step < 40; ++step) {
            for (auto& client : clients) {
                Act(*client, random);
                for (const test::net::Message_t& message : client->Drain()) ++received[static_cast<std::size_t>(message.type)];
            }
            clock.Advance(sf::milliseconds(10));
            session.Pass();
        }
        TestClient newcomer(pass);
        ASSERT_TRUE(Welcomed(newcomer.Join(session.Port()), last_identifier));
        // Served: its launch comes back relayed to it.
        const OneShotAction_t launch{newcomer.own[0], PlayerAction::LAUNCH_MISSILE};
        newcomer.Send(WriteClientOneShotAction(launch));
        std::optional<test::net::Message_t> message = newcomer.Receive();
        while (message && !(message->type == ServerMessage::OneShotAction && ReadOneShotAction(message->packet) == launch))
            message = newcomer.Receive();
        EXPECT_TRUE(message) << "the newcomer's launch was not relayed";
        // Aircraft handed out late are higher than the newcomer's; then everyone goes, and is
        // forgotten after the timeout.
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
    RecordProperty("rounds", round);
    // The random traffic reached every handler that answers: it is not all refused.
    for (ServerMessage::t answer : {ServerMessage::OneShotAction, ServerMessage::RealtimeActionChange,
                                    ServerMessage::SecondAircraftAccepted, ServerMessage::SpawnPickup, ServerMessage::AircraftLeft})
        EXPECT_GT(received[answer], 0) << "no message of type " << answer;
}

}  // namespace
