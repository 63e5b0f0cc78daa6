#include "support/net_fake_server.hpp"

namespace test::net {

network::Connector::Connect FakeServer::Connect() {
    return [shared = shared](const std::string&, unsigned short) -> std::unique_ptr<sf::TcpSocket> {
        const std::lock_guard<std::mutex> lock(shared->mutex);
        ++shared->attempts;
        if (shared->refusing) return nullptr;
        SocketPair_t pair = MakeSocketPair();
        shared->far = std::move(pair.far);
        return std::move(pair.near);
    };
}

int FakeServer::Attempts() const {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->attempts;
}

void FakeServer::SetRefusing(bool refusing) {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    shared->refusing = refusing;
}

void FakeServer::SendRaw(const Bytes& bytes) {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    std::size_t sent = 0;
    if (shared->far) shared->far->send(bytes.data(), bytes.size(), sent);
}

std::vector<Message_t> FakeServer::Received() {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    std::vector<Message_t> messages;
    for (Message_t message; shared->far && shared->far->receive(message.packet) == sf::Socket::Done;) {
        message.packet >> message.type;
        messages.push_back(message);
    }
    return messages;
}

void FakeServer::Close() {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    shared->far.reset();
}

}  // namespace test::net
