#include "support/net_test_client.hpp"

#include <SFML/Network/IpAddress.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

namespace test::net {

using network::ServerMessage;

namespace {
const sf::Time DEADLINE = sf::seconds(20.f);
}

bool WellFormed(std::int32_t type, sf::Packet packet) {
    switch (type) {
    case ServerMessage::Notice: return network::ReadNotice(packet).has_value();
    case ServerMessage::AssignAircraft: return network::ReadAssignAircraft(packet).has_value();
    case ServerMessage::WorldSnapshot: return network::ReadWorldSnapshot(packet).has_value();
    case ServerMessage::OneShotAction: return network::ReadOneShotAction(packet).has_value();
    case ServerMessage::RealtimeActionChange: return network::ReadRealtimeActionChange(packet).has_value();
    case ServerMessage::AircraftJoined: return network::ReadAircraftJoined(packet).has_value();
    case ServerMessage::AircraftLeft: return network::ReadAircraftLeft(packet).has_value();
    case ServerMessage::SecondAircraftAccepted: return network::ReadSecondAircraftAccepted(packet).has_value();
    case ServerMessage::SpawnEnemy: return network::ReadSpawnEnemy(packet).has_value();
    case ServerMessage::SpawnPickup: return network::ReadSpawnPickup(packet).has_value();
    case ServerMessage::WorldStatus: return network::ReadWorldStatus(packet).has_value();
    case ServerMessage::MissionComplete: return packet.endOfPacket();
    default: return false;
    }
}

bool TestClient::Connect(unsigned short port) {
    socket.setBlocking(true);
    const bool connected = socket.connect(sf::IpAddress::LocalHost, port, sf::seconds(5.f)) == sf::Socket::Done;
    socket.setBlocking(false);
    return connected;
}

void TestClient::Send(const sf::Packet& packet) { network::SendPacket(socket, packet); }

void TestClient::SendRaw(const void* data, std::size_t size) {
    std::size_t sent = 0;
    socket.send(data, size, sent);
}

std::optional<Message_t> TestClient::Take(sf::Socket::Status& status) {
    Message_t message;
    status = socket.receive(message.packet);
    if (status != sf::Socket::Done) return std::nullopt;
    message.packet >> message.type;
    EXPECT_TRUE(WellFormed(message.type, message.packet)) << "malformed server message of type " << message.type;
    if (message.type == ServerMessage::AssignAircraft || message.type == ServerMessage::SecondAircraftAccepted) {
        sf::Packet copy = message.packet;
        if (const auto placement = network::ReadAssignAircraft(copy)) own.push_back(placement->identifier);
    }
    return message;
}

std::optional<Message_t> TestClient::Receive() {
    sf::Clock waited;
    sf::Socket::Status status = sf::Socket::NotReady;
    while (waited.getElapsedTime() < DEADLINE) {
        if (std::optional<Message_t> message = Take(status)) return message;
        if (status == sf::Socket::Disconnected || status == sf::Socket::Error) return std::nullopt;
        if (pump) pump();
        sf::sleep(sf::milliseconds(1));
    }
    ADD_FAILURE() << "no message from the server";
    return std::nullopt;
}

std::optional<Message_t> TestClient::NextEvent() {
    std::optional<Message_t> message;
    do message = Receive();
    while (message && (message->type == ServerMessage::WorldStatus || message->type == ServerMessage::SpawnEnemy));
    return message;
}

std::optional<Message_t> TestClient::WaitFor(std::int32_t type) {
    std::optional<Message_t> message;
    do message = Receive();
    while (message && message->type != type);
    return message;
}

std::vector<Message_t> TestClient::Drain() {
    std::vector<Message_t> messages;
    sf::Socket::Status status = sf::Socket::Done;
    while (std::optional<Message_t> message = Take(status)) messages.push_back(std::move(*message));
    return messages;
}

bool TestClient::ClosedByServer() {
    while (Receive()) {
    }
    sf::Socket::Status status = sf::Socket::NotReady;
    Take(status);
    return status == sf::Socket::Disconnected || status == sf::Socket::Error;
}

std::optional<TestClient::Welcome_t> TestClient::Join(unsigned short port) {
    if (!Connect(port)) {
        ADD_FAILURE() << "could not connect";
        return std::nullopt;
    }
    std::optional<Message_t> snapshot = Receive();
    std::optional<Message_t> assignment = Receive();
    if (!snapshot || snapshot->type != ServerMessage::WorldSnapshot || !assignment ||
        assignment->type != ServerMessage::AssignAircraft) {
        ADD_FAILURE() << "no snapshot and assignment";
        return std::nullopt;
    }
    SendStatus({});
    return Welcome_t{*network::ReadWorldSnapshot(snapshot->packet), *network::ReadAssignAircraft(assignment->packet)};
}

void TestClient::SendStatus(std::vector<network::AircraftStatusEntry_t> entries) {
    Send(network::WriteAircraftStatus({std::move(entries)}));
}

}  // namespace test::net
