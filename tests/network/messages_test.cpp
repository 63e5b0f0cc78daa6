#include "network/messages.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>

namespace {

using namespace network;
using key_binding::PlayerAction;

template <typename Type>
sf::Packet Raw(Type type) {
    sf::Packet packet;
    packet << static_cast<std::int32_t>(type);
    return packet;
}

// The packet with its type read, as every receiver hands it to a reader.
sf::Packet Received(sf::Packet packet) {
    std::int32_t type = 0;
    packet >> type;
    return packet;
}

sf::Packet Prefix(const sf::Packet& packet, std::size_t size) {
    sf::Packet prefix;
    prefix.append(packet.getData(), size);
    return prefix;
}

// One message with fields: its type, the packet its writer builds, and its reader, which gives
// nothing for a refused packet, else whether it read back what was written.
struct MessageCase_t {
    const char* name;
    std::int32_t type;
    sf::Packet packet;
    std::function<std::optional<bool>(sf::Packet&)> read;
};

template <typename Type, typename Value, typename Writer, typename Reader>
MessageCase_t Case(const char* name, Type type, Value written, Writer write, Reader read) {
    return {name, static_cast<std::int32_t>(type), write(written), [read, written](sf::Packet& packet) -> std::optional<bool> {
                const auto value = read(packet);
                if (!value) return std::nullopt;
                return *value == written;
            }};
}

std::vector<MessageCase_t> AllMessages() {
    const OneShotAction_t one_shot{7, PlayerAction::LAUNCH_MISSILE};
    const RealtimeActionChange_t change{-3, PlayerAction::MOVE_DOWN, true};
    const AircraftPlacement_t placement{2, {320.f, 2260.5f}, 1};
    return {
        Case("client OneShotAction", ClientMessage::OneShotAction, one_shot, WriteClientOneShotAction, ReadOneShotAction),
        Case("client RealtimeActionChange", ClientMessage::RealtimeActionChange, change, WriteClientRealtimeActionChange,
             ReadRealtimeActionChange),
        Case("AircraftStatus", ClientMessage::AircraftStatus, AircraftStatus_t{{{1, {1.5f, -2.f}, 100, 2}, {4, {3.f, 4.f}, -20, 0}}},
             WriteAircraftStatus, ReadAircraftStatus),
        Case("WorldEvent", ClientMessage::WorldEvent, action::NetAction{{10.f, 20.5f}, action::NetAction::EnemyExplosion},
             WriteWorldEvent, ReadWorldEvent),
        Case("Notice", ServerMessage::Notice, std::string("New player!"), WriteNotice, ReadNotice),
        Case("AssignAircraft", ServerMessage::AssignAircraft, placement, WriteAssignAircraft, ReadAssignAircraft),
        Case("WorldSnapshot", ServerMessage::WorldSnapshot,
             WorldSnapshot_t{2500.f, 2020.f, {{1, {5.f, 6.f}, 100, 2, 0}, {2, {}, 0, 0, 1}}}, WriteWorldSnapshot, ReadWorldSnapshot),
        Case("server OneShotAction", ServerMessage::OneShotAction, one_shot, WriteServerOneShotAction, ReadOneShotAction),
        Case("server RealtimeActionChange", ServerMessage::RealtimeActionChange, change, WriteServerRealtimeActionChange,
             ReadRealtimeActionChange),
        Case("AircraftJoined", ServerMessage::AircraftJoined, placement, WriteAircraftJoined, ReadAircraftJoined),
        Case("AircraftLeft", ServerMessage::AircraftLeft, std::int32_t{9}, WriteAircraftLeft, ReadAircraftLeft),
        Case("SecondAircraftAccepted", ServerMessage::SecondAircraftAccepted, placement, WriteSecondAircraftAccepted,
             ReadSecondAircraftAccepted),
        Case("SpawnEnemy", ServerMessage::SpawnEnemy, SpawnEnemy_t{3, 2140.f, -80.f, true}, WriteSpawnEnemy, ReadSpawnEnemy),
        Case("SpawnPickup", ServerMessage::SpawnPickup, SpawnPickup_t{2, {100.f, 200.f}}, WriteSpawnPickup, ReadSpawnPickup),
        Case("WorldStatus", ServerMessage::WorldStatus, WorldStatus_t{1800.f, {{1, {1.f, 2.f}}, {3, {3.f, -4.f}}}},
             WriteWorldStatus, ReadWorldStatus),
        Case("empty AircraftStatus", ClientMessage::AircraftStatus, AircraftStatus_t{}, WriteAircraftStatus, ReadAircraftStatus),
        Case("empty Notice", ServerMessage::Notice, std::string(), WriteNotice, ReadNotice),
    };
}

TEST(MessagesTest, EveryMessageReadsBackWhatWasWritten) {
    for (MessageCase_t& message : AllMessages()) {
        std::int32_t type = -1;
        message.packet >> type;
        EXPECT_EQ(type, message.type) << message.name;
        EXPECT_EQ(message.read(message.packet), true) << message.name;
    }
    const std::vector<std::pair<sf::Packet, std::int32_t>> bare = {{WriteLeave(), ClientMessage::Leave},
                                                                   {WriteRequestSecondAircraft(), ClientMessage::RequestSecondAircraft},
                                                                   {WriteMissionComplete(), ServerMessage::MissionComplete}};
    for (auto [packet, type] : bare) {
        EXPECT_EQ(packet.getDataSize(), 4u);
        std::int32_t read = -1;
        EXPECT_TRUE(packet >> read);
        EXPECT_EQ(read, type);
    }
}

TEST(MessagesTest, FieldsTravelInTheirOrderAndTypes) {
    // A peer builds its packets field by field; the readers must take exactly that.
    sf::Packet packet = Raw(ServerMessage::SpawnEnemy);
    packet << std::int32_t{3} << 2140.f << -80.f << true;
    packet = Received(packet);
    EXPECT_EQ(ReadSpawnEnemy(packet), (SpawnEnemy_t{3, 2140.f, -80.f, true}));

    packet = Raw(ServerMessage::WorldSnapshot);
    packet << 2500.f << 2400.f << std::int32_t{1} << std::int32_t{4} << 1.f << 2.f << std::int32_t{90}
           << std::int32_t{1} << std::int32_t{1};
    packet = Received(packet);
    EXPECT_EQ(ReadWorldSnapshot(packet), (WorldSnapshot_t{2500.f, 2400.f, {{4, {1.f, 2.f}, 90, 1, 1}}}));
}

TEST(MessagesTest, MessageTypesOutsideTheEnumerationsAreRefused) {
    for (const std::int32_t type : {-1, 6, std::numeric_limits<std::int32_t>::max()}) {
        sf::Packet packet = Raw(type);
        EXPECT_EQ(ReadClientMessageType(packet), std::nullopt) << type;
    }
    sf::Packet packet = Raw(12), empty, last = Raw(ServerMessage::MissionComplete);
    EXPECT_EQ(ReadServerMessageType(packet), std::nullopt);
    EXPECT_EQ(ReadServerMessageType(empty), std::nullopt);
    EXPECT_EQ(ReadServerMessageType(last), ServerMessage::MissionComplete);
}

TEST(MessagesTest, EveryTruncatedMessageIsRefused) {
    for (const MessageCase_t& message : AllMessages())
        for (std::size_t size = 0; size < message.packet.getDataSize(); ++size) {
            sf::Packet cut = Received(Prefix(message.packet, size));
            EXPECT_EQ(message.read(cut), std::nullopt) << message.name << " cut to " << size;
        }
}

TEST(MessagesTest, EnumeratedValuesOutOfRangeAreRefused) {
    for (const std::int32_t action : {-1, 6}) {
        sf::Packet packet = Raw(ClientMessage::OneShotAction);
        packet << std::int32_t{1} << action;
        packet = Received(packet);
        EXPECT_EQ(ReadOneShotAction(packet), std::nullopt) << action;
        packet = Raw(ServerMessage::RealtimeActionChange);
        packet << std::int32_t{1} << action << true;
        packet = Received(packet);
        EXPECT_EQ(ReadRealtimeActionChange(packet), std::nullopt) << action;
    }
    // Only player aircraft are handed out or listed in a snapshot, and only enemies spawned.
    for (const std::int32_t type : {-1, 2, 3}) {
        sf::Packet packet = Received(WriteAssignAircraft({1, {}, type}));
        EXPECT_EQ(ReadAssignAircraft(packet), std::nullopt) << type;
        packet = Received(WriteAircraftJoined({1, {}, type}));
        EXPECT_EQ(ReadAircraftJoined(packet), std::nullopt) << type;
        packet = Received(WriteSecondAircraftAccepted({1, {}, type}));
        EXPECT_EQ(ReadSecondAircraftAccepted(packet), std::nullopt) << type;
        packet = Received(WriteWorldSnapshot({2500.f, 0.f, {{1, {}, 1, 1, 0}, {2, {}, 1, 1, type}}}));
        EXPECT_EQ(ReadWorldSnapshot(packet), std::nullopt) << type;
    }
    for (const std::int32_t type : {-1, 0, 1, 4}) {
        sf::Packet packet = Received(WriteSpawnEnemy({type, 1.f, 1.f, false}));
        EXPECT_EQ(ReadSpawnEnemy(packet), std::nullopt) << type;
    }
    for (const std::int32_t type : {-1, 4}) {
        sf::Packet packet = Received(WriteSpawnPickup({type, {}}));
        EXPECT_EQ(ReadSpawnPickup(packet), std::nullopt) << type;
    }
    for (const std::int32_t kind : {-1, 1}) {
        sf::Packet packet = Raw(ClientMessage::WorldEvent);
        packet << kind << 1.f << 1.f;
        packet = Received(packet);
        EXPECT_EQ(ReadWorldEvent(packet), std::nullopt) << kind;
    }
}

TEST(MessagesTest, NonFiniteNumbersAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), infinity = std::numeric_limits<float>::infinity();
    sf::Packet packet = Received(WriteSpawnPickup({0, {nan, 1.f}}));
    EXPECT_EQ(ReadSpawnPickup(packet), std::nullopt);
    packet = Received(WriteWorldStatus({infinity, {}}));
    EXPECT_EQ(ReadWorldStatus(packet), std::nullopt);
    packet = Received(WriteAircraftStatus({{{1, {1.f, -infinity}, 1, 1}}}));
    EXPECT_EQ(ReadAircraftStatus(packet), std::nullopt);
}

TEST(MessagesTest, CountsThePacketCannotHoldAreRefused) {
    for (const std::int32_t count : {-1, 2, std::numeric_limits<std::int32_t>::max()}) {
        sf::Packet packet = Raw(ClientMessage::AircraftStatus);
        packet << count << std::int32_t{1} << 1.f << 2.f << std::int32_t{100} << std::int32_t{2};
        packet = Received(packet);
        EXPECT_EQ(ReadAircraftStatus(packet), std::nullopt) << count;

        packet = Raw(ServerMessage::WorldSnapshot);
        packet << 2500.f << 2500.f << count << std::int32_t{1} << 1.f << 2.f << std::int32_t{100} << std::int32_t{2}
               << std::int32_t{0};
        packet = Received(packet);
        EXPECT_EQ(ReadWorldSnapshot(packet), std::nullopt) << count;

        packet = Raw(ServerMessage::WorldStatus);
        packet << 2500.f << count << std::int32_t{1} << 1.f << 2.f;
        packet = Received(packet);
        EXPECT_EQ(ReadWorldStatus(packet), std::nullopt) << count;
    }
    sf::Packet packet = Raw(ServerMessage::Notice);
    packet << std::uint32_t{0xFFFFFFF0u} << std::int32_t{0};
    packet = Received(packet);
    EXPECT_EQ(ReadNotice(packet), std::nullopt);
}

// Random bytes and damaged messages, fed to every reader: refused or read, never harmful.
TEST(MessagesTest, RandomPacketsAreHandledByEveryReader) {
    const std::vector<MessageCase_t> messages = AllMessages();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::size_t accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        const sf::Packet& source = messages[round % messages.size()].packet;
        const auto* data = static_cast<const std::uint8_t*>(source.getData());
        std::vector<std::uint8_t> bytes(data, data + source.getDataSize());
        const bool noise = round % 2 == 0;
        if (noise) bytes.resize(std::uniform_int_distribution<std::size_t>(0, 80)(random));
        for (std::uint8_t& b : bytes)
            if (noise || byte(random) < 16) b = static_cast<std::uint8_t>(byte(random));
        sf::Packet packet;
        if (!bytes.empty()) packet.append(bytes.data(), bytes.size());
        for (const MessageCase_t& message : messages) {
            sf::Packet copy = Received(packet);
            accepted += message.read(copy).has_value() ? 1 : 0;
        }
        sf::Packet client = packet, server = packet;
        ReadClientMessageType(client);
        ReadServerMessageType(server);
    }
    EXPECT_GT(accepted, 0u);  // some damaged messages stay well formed
}

}  // namespace
