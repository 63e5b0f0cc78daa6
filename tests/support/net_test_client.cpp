#include "support/net_test_client.hpp"

#include <SFML/Network/IpAddress.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

namespace test::net {

using namespace network;

namespace {
bool WellFormed(std::int32_t type, sf::Packet packet) {
    switch (type) {
    case ServerMessage::Notice: return ReadNotice(packet).has_value();
    case ServerMessage::AssignAircraft:
    case ServerMessage::AircraftJoined:
    case ServerMessage::SecondAircraftAccepted: return ReadAssignAircraft(packet).has_value();
    case ServerMessage::WorldSnapshot: return ReadWorldSnapshot(packet).has_value();
    case ServerMessage::OneShotAction: return ReadOneShotAction(packet).has_value();
    case ServerMessage::RealtimeActionChange: return ReadRealtimeActionChange(packet).has_value();
    case ServerMessage::AircraftLeft: return ReadAircraftLeft(packet).has_value();
    case ServerMessage::SpawnEnemy: return ReadSpawnEnemy(packet).has_value();
    case ServerMessage::SpawnPickup: return ReadSpawnPickup(packet).has_value();
    case ServerMessage::WorldStatus: return ReadWorldStatus(packet).has_value();
    default: return type == ServerMessage::MissionComplete && packet.endOfPacket();
    }
}
}  // namespace

bool TestClient::Connect(unsigned short port) {
    socket.setBlocking(true);
    const bool connected = socket.connect(sf::IpAddress::LocalHost, port, sf::seconds(5.f)) == sf::Socket::Done;
    socket.setBlocking(false);
    return connected;
}

void TestClient::SendRaw(const Bytes& bytes) {
    std::size_t sent = 0;
    socket.send(bytes.data(), bytes.size(), sent);
}

std::optional<Message_t> TestClient::Take(sf::Socket::Status& status) {
    Message_t message;
    status = socket.receive(message.packet);
    if (status != sf::Socket::Done) return std::nullopt;
    message.packet >> message.type;
    EXPECT_TRUE(WellFormed(message.type, message.packet)) << "malformed server message of type " << message.type;
    sf::Packet copy = message.packet;
    if (message.type == ServerMessage::AssignAircraft || message.type == ServerMessage::SecondAircraftAccepted)
        own.push_back(ReadAssignAircraft(copy).value_or(AircraftPlacement_t{}).identifier);
    return message;
}

std::optional<Message_t> TestClient::Receive() {
    sf::Socket::Status status = sf::Socket::NotReady;
    for (sf::Clock waited; waited.getElapsedTime() < sf::seconds(20.f); sf::sleep(sf::milliseconds(1))) {
        if (std::optional<Message_t> message = Take(status)) return message;
        if (status == sf::Socket::Disconnected || status == sf::Socket::Error) return std::nullopt;
        if (pump) pump();
    }
    ADD_FAILURE() << "no message from the server";
    return std::nullopt;
}

std::optional<Message_t> TestClient::WaitFor(std::int32_t type) {
    std::optional<Message_t> message = Receive();
    while (message && message->type != type) message = Receive();
    return message;
}

std::optional<Message_t> TestClient::Expect(std::int32_t type) {
    std::optional<Message_t> message = Receive();
    while (message && (message->type == ServerMessage::WorldStatus || message->type == ServerMessage::SpawnEnemy))
        message = Receive();
    if (message && message->type == type) return message;
    ADD_FAILURE() << "expected message type " << type << ", got " << (message ? message->type : -1);
    return std::nullopt;
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
    return status == sf::Socket::Disconnected;
}

std::vector<Message_t> TestClient::Sync() {
    const OneShotAction_t launch{own.at(0), key_binding::PlayerAction::LAUNCH_MISSILE};
    Send(WriteClientOneShotAction(launch));
    std::vector<Message_t> messages;
    for (std::optional<Message_t> message = Receive(); message; message = Receive()) {
        if (message->type == ServerMessage::OneShotAction && ReadOneShotAction(message->packet) == launch) return messages;
        messages.push_back(std::move(*message));
    }
    ADD_FAILURE() << "the launch was never relayed";
    return messages;
}

std::optional<TestClient::Welcome_t> TestClient::Join(unsigned short port) {
    Connect(port);  // a refused connection fails the first expectation
    std::optional<Message_t> snapshot = Expect(ServerMessage::WorldSnapshot);
    std::optional<Message_t> assignment = snapshot ? Expect(ServerMessage::AssignAircraft) : std::nullopt;
    if (!assignment) return std::nullopt;
    SendStatus({});
    return Welcome_t{*ReadWorldSnapshot(snapshot->packet), *ReadAssignAircraft(assignment->packet)};
}

}  // namespace test::net
