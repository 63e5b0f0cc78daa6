#include "network/messages.hpp"
#include "network/server.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Random traffic from several clients at once against a real server over 127.0.0.1: well-formed
// messages with random fields, messages cut short or lengthened, packets of noise, bytes outside
// any packet framing, abrupt disconnections. After every round a fresh client must still be
// welcomed and served. The server runs on a free port of its own, away from the game's port.
//
// KIRROW_FUZZ_SECONDS runs rounds for that long instead of the fixed few; KIRROW_FUZZ_SEED picks
// another sequence of rounds.

namespace {

using namespace network;
using Bytes = std::vector<std::uint8_t>;
using Random = std::mt19937;

const sf::Time CLIENT_TIMEOUT = sf::milliseconds(600);
constexpr int FIXED_ROUNDS = 8;
constexpr unsigned DEFAULT_SEED = 5000;

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
    const char* value = std::getenv(name);
    return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

int Pick(Random& random, int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

bool Chance(Random& random, int percent) { return Pick(random, 100) < percent; }

// ---- Random message bodies ----

void PutWord(Bytes& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutInt(Bytes& bytes, std::int32_t value) { PutWord(bytes, static_cast<std::uint32_t>(value)); }

void PutFloat(Bytes& bytes, Random& random) {
    const float special[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(), -0.f};
    float value = Chance(random, 85) ? std::uniform_real_distribution<float>(-100.f, 2600.f)(random) : special[Pick(random, 5)];
    std::uint32_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    PutWord(bytes, word);
}

// Mostly the client's own aircraft, sometimes another one, sometimes nonsense.
void PutIdentifier(Bytes& bytes, Random& random, const std::vector<std::int32_t>& own) {
    if (!own.empty() && Chance(random, 60))
        PutInt(bytes, own[static_cast<std::size_t>(Pick(random, static_cast<int>(own.size())))]);
    else
        PutInt(bytes, Chance(random, 70) ? Pick(random, 40) - 2 : static_cast<std::int32_t>(random()));
}

void PutAction(Bytes& bytes, Random& random) {
    const std::int32_t odd[] = {-1, key_binding::PlayerAction::COUNT, 1000, std::numeric_limits<std::int32_t>::min()};
    PutInt(bytes, Chance(random, 85) ? Pick(random, key_binding::PlayerAction::COUNT) : odd[Pick(random, 4)]);
}

// SFML writes a bool as one byte; anything but 0 reads as true.
void PutBool(Bytes& bytes, Random& random) {
    const std::uint8_t values[] = {0, 1, 2, 0xff};
    bytes.push_back(values[Pick(random, 4)]);
}

void PutStatus(Bytes& bytes, Random& random, const std::vector<std::int32_t>& own) {
    const int entries = Pick(random, 4);
    std::int32_t count = entries;
    if (Chance(random, 25)) {
        const std::int32_t odd[] = {-1, entries + 1, 1 << 20, std::numeric_limits<std::int32_t>::max(),
                                    std::numeric_limits<std::int32_t>::min()};
        count = odd[Pick(random, 5)];
    }
    PutInt(bytes, count);
    for (int i = 0; i < entries; ++i) {
        PutIdentifier(bytes, random, own);
        PutFloat(bytes, random);
        // Now and then an aircraft past the top of the world, which may complete the mission.
        if (Chance(random, 20))
            PutWord(bytes, 0xc2c80000u);  // -100.f
        else
            PutFloat(bytes, random);
        PutInt(bytes, Chance(random, 80) ? Pick(random, 120) - 10 : static_cast<std::int32_t>(random()));
        PutInt(bytes, Pick(random, 5) - 1);
    }
}

Bytes RandomMessage(Random& random, const std::vector<std::int32_t>& own) {
    Bytes bytes;
    std::int32_t type = 0;
    if (Chance(random, 90)) {
        // A Leave ends the client, so it comes rarely.
        do type = Pick(random, ClientMessage::COUNT);
        while (type == ClientMessage::Leave && !Chance(random, 5));
    } else {
        type = Chance(random, 50) ? Pick(random, 30) - 10 : static_cast<std::int32_t>(random());
    }
    PutInt(bytes, type);
    switch (type) {
    case ClientMessage::OneShotAction:
        PutIdentifier(bytes, random, own);
        PutAction(bytes, random);
        break;
    case ClientMessage::RealtimeActionChange:
        PutIdentifier(bytes, random, own);
        PutAction(bytes, random);
        PutBool(bytes, random);
        break;
    case ClientMessage::AircraftStatus:
        PutStatus(bytes, random, own);
        break;
    case ClientMessage::WorldEvent:
        PutInt(bytes, Chance(random, 80) ? 0 : Pick(random, 5) - 2);
        PutFloat(bytes, random);
        PutFloat(bytes, random);
        break;
    default:
        break;
    }
    if (Chance(random, 15)) bytes.resize(static_cast<std::size_t>(Pick(random, static_cast<int>(bytes.size()) + 1)));
    if (Chance(random, 10))
        for (int tail = Pick(random, 9); tail > 0; --tail) bytes.push_back(static_cast<std::uint8_t>(random()));
    return bytes;
}

Bytes Noise(Random& random, int max_size) {
    Bytes bytes(static_cast<std::size_t>(Pick(random, max_size + 1)));
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

Bytes ToBytes(const sf::Packet& packet) {
    const auto* data = static_cast<const std::uint8_t*>(packet.getData());
    return Bytes(data, data + packet.getDataSize());
}

sf::Packet ToPacket(const Bytes& bytes) {
    sf::Packet packet;
    packet.append(bytes.data(), bytes.size());
    return packet;
}

// ---- What the server sends ----

// Whether a message from the server is one that its reader accepts.
bool WellFormed(ServerMessage::t type, sf::Packet& packet) {
    switch (type) {
    case ServerMessage::Notice: return ReadNotice(packet).has_value();
    case ServerMessage::AssignAircraft: return ReadAssignAircraft(packet).has_value();
    case ServerMessage::WorldSnapshot: return ReadWorldSnapshot(packet).has_value();
    case ServerMessage::OneShotAction: return ReadOneShotAction(packet).has_value();
    case ServerMessage::RealtimeActionChange: return ReadRealtimeActionChange(packet).has_value();
    case ServerMessage::AircraftJoined: return ReadAircraftJoined(packet).has_value();
    case ServerMessage::AircraftLeft: return ReadAircraftLeft(packet).has_value();
    case ServerMessage::SecondAircraftAccepted: return ReadSecondAircraftAccepted(packet).has_value();
    case ServerMessage::SpawnEnemy: return ReadSpawnEnemy(packet).has_value();
    case ServerMessage::SpawnPickup: return ReadSpawnPickup(packet).has_value();
    case ServerMessage::WorldStatus: return ReadWorldStatus(packet).has_value();
    case ServerMessage::MissionComplete: return true;
    case ServerMessage::COUNT: break;
    }
    return false;
}

// How many messages of each type the clients of a run received.
using TypeCounts = std::array<int, ServerMessage::COUNT>;

struct Received_t {
    ServerMessage::t type = ServerMessage::Notice;
    sf::Packet packet;  // just after the type
};

// One connection to the server. Everything it receives must be a well-formed server message;
// the first fault is kept for the test to report.
class Client {
public:
    explicit Client(TypeCounts& received) : received(received) {}

    bool Connect(unsigned short port) {
        socket.setBlocking(true);
        const bool connected = socket.connect(sf::IpAddress::LocalHost, port, sf::seconds(1.f)) == sf::Socket::Done;
        socket.setBlocking(false);
        open = connected;
        return connected;
    }

    void Close() {
        socket.disconnect();
        open = false;
    }

    bool IsOpen() const { return open; }

    // Failed sends are fine: the server may drop a client that misbehaves at any moment.
    void Send(const Bytes& bytes) {
        if (open) SendPacket(socket, ToPacket(bytes));
    }

    void SendRaw(const Bytes& bytes) {
        std::size_t sent = 0;
        if (open && !bytes.empty()) socket.send(bytes.data(), bytes.size(), sent);
    }

    // The next message, or nothing when none came within the timeout or the server closed.
    std::optional<Received_t> Receive(sf::Time timeout) {
        sf::Clock waited;
        Received_t message;
        while (open) {
            const sf::Socket::Status status = socket.receive(message.packet);
            if (status == sf::Socket::Done) {
                const std::optional<ServerMessage::t> type = ReadServerMessageType(message.packet);
                if (!type) {
                    Fault("the server sent an unknown message type");
                    return std::nullopt;
                }
                message.type = *type;
                ++received[static_cast<std::size_t>(*type)];
                sf::Packet copy = message.packet;
                if (!WellFormed(*type, copy)) Fault("the server sent a malformed message of type " + std::to_string(*type));
                Learn(message);
                return message;
            }
            if (status == sf::Socket::Disconnected || status == sf::Socket::Error) {
                open = false;
                break;
            }
            if (waited.getElapsedTime() >= timeout) break;
            sf::sleep(sf::milliseconds(1));
        }
        return std::nullopt;
    }

    // The next message that is neither periodic nor news of other clients coming and going.
    std::optional<Received_t> NextEvent(sf::Time timeout) {
        sf::Clock waited;
        while (waited.getElapsedTime() < timeout) {
            std::optional<Received_t> message = Receive(timeout - waited.getElapsedTime());
            if (!message) return std::nullopt;
            if (message->type != ServerMessage::WorldStatus && message->type != ServerMessage::SpawnEnemy &&
                message->type != ServerMessage::Notice && message->type != ServerMessage::AircraftLeft &&
                message->type != ServerMessage::AircraftJoined)
                return message;
        }
        return std::nullopt;
    }

    void Drain() {
        while (Receive(sf::Time::Zero)) {
        }
    }

    const std::vector<std::int32_t>& Own() const { return own; }
    const std::string& FirstFault() const { return fault; }
    void Fault(const std::string& what) {
        if (fault.empty()) fault = what;
    }

private:
    // The aircraft handed to this client, so that its random traffic can name them.
    void Learn(const Received_t& message) {
        if (message.type != ServerMessage::AssignAircraft && message.type != ServerMessage::SecondAircraftAccepted) return;
        sf::Packet copy = message.packet;
        if (const std::optional<AircraftPlacement_t> placement = ReadAircraftPlacement(message.type, copy))
            own.push_back(placement->identifier);
    }

    static std::optional<AircraftPlacement_t> ReadAircraftPlacement(ServerMessage::t type, sf::Packet& packet) {
        return type == ServerMessage::AssignAircraft ? ReadAssignAircraft(packet) : ReadSecondAircraftAccepted(packet);
    }

    TypeCounts& received;
    sf::TcpSocket socket;
    bool open = false;
    std::vector<std::int32_t> own;
    std::string fault;
};

// A free port on the loopback interface, or 0.
unsigned short FreePort() {
    sf::TcpListener probe;
    if (probe.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Done) return 0;
    return probe.getLocalPort();
}

// The welcome a newcomer must get however the others behave: its snapshot, then its aircraft,
// with an identifier above every one handed out before.
::testing::AssertionResult Welcomed(Client& client, std::int32_t& last_identifier) {
    std::optional<Received_t> snapshot = client.Receive(sf::seconds(2.f));
    std::optional<Received_t> assignment = client.Receive(sf::seconds(1.f));
    if (!snapshot || snapshot->type != ServerMessage::WorldSnapshot)
        return ::testing::AssertionFailure() << "no snapshot first";
    if (!assignment || assignment->type != ServerMessage::AssignAircraft)
        return ::testing::AssertionFailure() << "no assignment after the snapshot";
    const std::optional<WorldSnapshot_t> world = ReadWorldSnapshot(snapshot->packet);
    const std::optional<AircraftPlacement_t> aircraft = ReadAssignAircraft(assignment->packet);
    if (!world || !aircraft) return ::testing::AssertionFailure() << "unreadable welcome";
    if (aircraft->identifier <= last_identifier)
        return ::testing::AssertionFailure() << "identifier " << aircraft->identifier << " after " << last_identifier;
    for (const SnapshotEntry_t& entry : world->entries)
        if (entry.identifier >= aircraft->identifier)
            return ::testing::AssertionFailure() << "snapshot lists aircraft " << entry.identifier << " not yet handed out";
    last_identifier = aircraft->identifier;
    return ::testing::AssertionSuccess();
}

// The newcomer is served: its missile launch comes back relayed to it.
::testing::AssertionResult Served(Client& client) {
    const std::int32_t identifier = client.Own().back();
    client.Send(ToBytes(WriteClientOneShotAction({identifier, key_binding::PlayerAction::LAUNCH_MISSILE})));
    sf::Clock waited;
    while (waited.getElapsedTime() < sf::seconds(2.f)) {
        std::optional<Received_t> message = client.NextEvent(sf::seconds(2.f) - waited.getElapsedTime());
        if (!message) break;
        if (message->type != ServerMessage::OneShotAction) continue;
        const std::optional<OneShotAction_t> relayed = ReadOneShotAction(message->packet);
        if (relayed && relayed->identifier == identifier) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the missile launch of aircraft " << identifier << " was not relayed";
}

// One client's turn: mostly messages, sometimes noise, rarely the end of its connection.
void Act(Client& client, Random& random) {
    const int roll = Pick(random, 100);
    if (roll < 70) {
        client.Send(RandomMessage(random, client.Own()));
    } else if (roll < 82) {
        client.Send(Noise(random, 40));
    } else if (roll < 90) {
        client.Send(Bytes{0, 0, 0, static_cast<std::uint8_t>(ClientMessage::RequestSecondAircraft)});
    } else if (roll < 92) {
        // Bytes outside the framing: the server reads them as the length of a packet that may
        // never end, or as packets of garbage.
        client.SendRaw(Noise(random, 12));
    } else if (roll < 93) {
        client.Close();
    } else {
        client.Drain();
    }
}

void RunRound(Random& random, unsigned short port, std::int32_t& last_identifier, TypeCounts& received) {
    // At most five connections a round: even if the last round's are not yet dropped, the server
    // stays below its limit of ten.
    std::vector<std::unique_ptr<Client>> clients;
    const int count = 2 + Pick(random, 3);
    for (int i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<Client>(received));
        ASSERT_TRUE(clients.back()->Connect(port)) << "client " << i << " could not connect";
        ASSERT_TRUE(Welcomed(*clients.back(), last_identifier)) << "client " << i;
    }
    for (int step = 0; step < 40; ++step) {
        for (auto& client : clients) {
            if (client->IsOpen()) Act(*client, random);
            client->Drain();
        }
        sf::sleep(sf::milliseconds(10));
    }
    // Second aircraft asked for late may be handed out only now.
    for (auto& client : clients) client->Drain();

    Client newcomer(received);
    ASSERT_TRUE(newcomer.Connect(port)) << "a fresh client could not connect";
    ASSERT_TRUE(Welcomed(newcomer, last_identifier));
    EXPECT_TRUE(Served(newcomer));
    for (auto& client : clients) {
        // Identifiers seen by the others may be higher (second aircraft) than the newcomer's.
        for (std::int32_t identifier : client->Own()) last_identifier = std::max(last_identifier, identifier);
        client->Drain();
        EXPECT_EQ(client->FirstFault(), "");
    }
    EXPECT_EQ(newcomer.FirstFault(), "");

    // Some leave politely, the rest just go; the server forgets them all after its timeout.
    for (auto& client : clients)
        if (Chance(random, 30)) client->Send(Bytes{0, 0, 0, static_cast<std::uint8_t>(ClientMessage::Leave)});
    clients.clear();
    newcomer.Close();
    sf::sleep(CLIENT_TIMEOUT + sf::milliseconds(250));
}

TEST(ServerFuzzTest, ServerKeepsWelcomingAndServingUnderRandomTraffic) {
    const unsigned seconds = EnvironmentNumber("KIRROW_FUZZ_SECONDS", 0);
    const unsigned seed = EnvironmentNumber("KIRROW_FUZZ_SEED", DEFAULT_SEED);
    network::server::Settings_t settings;
    settings.client_timeout = CLIENT_TIMEOUT;
    settings.enemy_spawn_interval = sf::milliseconds(300);
    settings.port = FreePort();
    ASSERT_NE(settings.port, 0);
    network::server::Server server({640.f, 480.f}, settings);

    std::int32_t last_identifier = 0;
    TypeCounts received{};
    sf::Clock elapsed;
    int rounds = 0;
    for (; seconds > 0 ? elapsed.getElapsedTime() < sf::seconds(static_cast<float>(seconds)) : rounds < FIXED_ROUNDS; ++rounds) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(rounds));
        Random random(seed + static_cast<unsigned>(rounds));
        RunRound(random, settings.port, last_identifier, received);
        if (HasFailure()) break;
    }
    RecordProperty("rounds", rounds);

    // The random traffic got through to every handler that answers: it is not all refused.
    for (ServerMessage::t answer : {ServerMessage::OneShotAction, ServerMessage::RealtimeActionChange,
                                    ServerMessage::SecondAircraftAccepted, ServerMessage::SpawnPickup,
                                    ServerMessage::AircraftLeft})
        EXPECT_GT(received[answer], 0) << "no message of type " << answer;
}

}  // namespace
