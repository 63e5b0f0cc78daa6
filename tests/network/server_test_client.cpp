#include "server_test_client.hpp"

#include <SFML/Network/IpAddress.hpp>
#include <SFML/System/Sleep.hpp>

namespace server_test {

using network::ServerMessage;

bool TestClient::Connect() {
    socket.setBlocking(true);
    const bool connected = socket.connect(sf::IpAddress::LocalHost, network::SERVER_PORT, sf::seconds(1.f)) == sf::Socket::Done;
    socket.setBlocking(false);
    keep_alive_clock.restart();
    return connected;
}

void TestClient::Send(const sf::Packet& packet) {
    ASSERT_EQ(network::SendPacket(socket, packet), network::SendResult::Sent);
    keep_alive_clock.restart();
}

std::optional<Message_t> TestClient::Receive(sf::Time timeout) {
    sf::Clock waited;
    Message_t message;
    while (true) {
        if (keep_alive && keep_alive_clock.getElapsedTime() > sf::milliseconds(500)) SendStatus({});
        const sf::Socket::Status status = socket.receive(message.packet);
        if (status == sf::Socket::Done) break;
        if (status == sf::Socket::Disconnected || status == sf::Socket::Error || waited.getElapsedTime() >= timeout)
            return std::nullopt;
        sf::sleep(sf::milliseconds(1));
    }
    const std::optional<ServerMessage::t> type = network::ReadServerMessageType(message.packet);
    if (!type) {
        ADD_FAILURE() << "the server sent an unknown message type";
        return std::nullopt;
    }
    message.type = *type;
    return message;
}

std::optional<Message_t> TestClient::NextEvent(sf::Time timeout) {
    sf::Clock waited;
    while (waited.getElapsedTime() < timeout) {
        std::optional<Message_t> message = Receive(timeout - waited.getElapsedTime());
        if (!message) return std::nullopt;
        if (message->type != ServerMessage::WorldStatus && message->type != ServerMessage::SpawnEnemy) return message;
    }
    return std::nullopt;
}

std::optional<Message_t> TestClient::WaitFor(ServerMessage::t type, sf::Time timeout) {
    sf::Clock waited;
    while (waited.getElapsedTime() < timeout) {
        std::optional<Message_t> message = Receive(timeout - waited.getElapsedTime());
        if (!message) return std::nullopt;
        if (message->type == type) return message;
    }
    return std::nullopt;
}

void TestClient::Drain() {
    while (Receive(sf::Time::Zero)) {
    }
}

std::vector<Message_t> TestClient::Collect(sf::Time duration) {
    std::vector<Message_t> messages;
    sf::Clock waited;
    while (waited.getElapsedTime() < duration)
        if (std::optional<Message_t> message = Receive(duration - waited.getElapsedTime()))
            messages.push_back(std::move(*message));
    return messages;
}

bool TestClient::ClosedByServer(sf::Time timeout) {
    sf::Clock waited;
    sf::Packet packet;
    while (waited.getElapsedTime() < timeout) {
        const sf::Socket::Status status = socket.receive(packet);
        if (status == sf::Socket::Disconnected || status == sf::Socket::Error) return true;
        if (status != sf::Socket::Done) sf::sleep(sf::milliseconds(1));
    }
    return false;
}

std::optional<TestClient::Welcome_t> TestClient::Join() {
    if (!Connect()) {
        ADD_FAILURE() << "could not connect";
        return std::nullopt;
    }
    // Nothing may come between the two: the newcomer is not ready before its assignment.
    std::optional<Message_t> snapshot = Receive();
    std::optional<Message_t> assignment = Receive();
    if (!snapshot || snapshot->type != ServerMessage::WorldSnapshot || !assignment ||
        assignment->type != ServerMessage::AssignAircraft) {
        ADD_FAILURE() << "no snapshot and assignment";
        return std::nullopt;
    }
    std::optional<network::WorldSnapshot_t> world = network::ReadWorldSnapshot(snapshot->packet);
    std::optional<network::AircraftPlacement_t> aircraft = network::ReadAssignAircraft(assignment->packet);
    if (!world || !aircraft) {
        ADD_FAILURE() << "unreadable welcome";
        return std::nullopt;
    }
    return Welcome_t{*world, *aircraft};
}

void TestClient::SendStatus(std::vector<network::AircraftStatusEntry_t> entries) {
    Send(network::WriteAircraftStatus({std::move(entries)}));
}

std::optional<Message_t> Find(std::vector<Message_t>& messages, ServerMessage::t type) {
    for (Message_t& message : messages)
        if (message.type == type) return message;
    return std::nullopt;
}

}  // namespace server_test
