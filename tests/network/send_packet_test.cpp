#include "network/protocol.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Sleep.hpp>

#include <sys/socket.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using network::SendPacket;
using network::SendResult;

// Socket buffers small enough that a peer which stops reading is full after a few kilobytes.
constexpr int SMALL_BUFFER = 16 * 1024;
constexpr std::size_t FRAME_HEADER = 4;

class RawSocket : public sf::TcpSocket {
public:
    using sf::TcpSocket::getHandle;
};

class RawListener : public sf::TcpListener {
public:
    using sf::TcpListener::getHandle;
};

void SetBuffer(sf::SocketHandle handle, int option, int bytes) {
    ASSERT_EQ(setsockopt(handle, SOL_SOCKET, option, &bytes, sizeof bytes), 0);
}

struct Connection {
    RawSocket sender;
    RawSocket receiver;
};

// Connections over 127.0.0.1, on a port of the system's choosing. The sending end is
// non-blocking like every socket of the game; the receiving end blocks.
class Loopback {
public:
    Loopback() {
        EXPECT_EQ(listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Done);
    }

    std::unique_ptr<Connection> Connect(bool small_buffers) {
        // Accepted sockets inherit the listener's receive buffer.
        SetBuffer(listener.getHandle(), SO_RCVBUF, small_buffers ? SMALL_BUFFER : 1 << 20);
        auto connection = std::make_unique<Connection>();
        EXPECT_EQ(connection->sender.connect(sf::IpAddress::LocalHost, listener.getLocalPort(), sf::seconds(1)),
                  sf::Socket::Done);
        EXPECT_EQ(listener.accept(connection->receiver), sf::Socket::Done);
        if (small_buffers) SetBuffer(connection->sender.getHandle(), SO_SNDBUF, SMALL_BUFFER);
        connection->sender.setBlocking(false);
        return connection;
    }

private:
    RawListener listener;
};

sf::Packet PacketOfSize(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    sf::Packet packet;
    packet.append(bytes.data(), bytes.size());
    return packet;
}

bool SameData(const sf::Packet& a, const sf::Packet& b) {
    return a.getDataSize() == b.getDataSize() &&
           std::equal(static_cast<const char*>(a.getData()),
                      static_cast<const char*>(a.getData()) + a.getDataSize(), static_cast<const char*>(b.getData()));
}

// Everything left on the wire once the sender has hung up.
std::size_t DrainBytes(sf::TcpSocket& receiver) {
    std::vector<char> buffer(64 * 1024);
    std::size_t total = 0, received = 0;
    while (receiver.receive(buffer.data(), buffer.size(), received) == sf::Socket::Done) total += received;
    return total;
}

TEST(SendPacketTest, WholePacketsArriveThroughAPeerThatReadsLate) {
    Loopback loopback;
    auto connection = loopback.Connect(true);
    const std::vector<sf::Packet> packets = {PacketOfSize(12, 1), PacketOfSize(1 << 20, 2), PacketOfSize(3, 3)};

    std::vector<sf::Packet> received(packets.size());
    std::thread reader([&] {
        // Starts only once the sender has filled the buffers and has to wait.
        sf::sleep(sf::milliseconds(100));
        for (sf::Packet& packet : received) ASSERT_EQ(connection->receiver.receive(packet), sf::Socket::Done);
    });
    for (const sf::Packet& packet : packets) EXPECT_EQ(SendPacket(connection->sender, packet, sf::seconds(20)), SendResult::Sent);
    // Sent data still arrives before the end of the stream; a failed send cannot leave the reader waiting.
    connection->sender.disconnect();
    reader.join();

    for (std::size_t i = 0; i < packets.size(); ++i) EXPECT_TRUE(SameData(received[i], packets[i])) << i;
}

TEST(SendPacketTest, APeerThatStopsReadingIsReportedAndNoHalfPacketGoesUnreported) {
    Loopback loopback;
    auto connection = loopback.Connect(true);
    const sf::Packet packet = PacketOfSize(1000, 4);

    std::size_t sent = 0;
    SendResult result = SendResult::Sent;
    while (result == SendResult::Sent && sent < 10000) {
        result = SendPacket(connection->sender, packet, sf::milliseconds(50));
        if (result == SendResult::Sent) ++sent;
    }
    ASSERT_NE(result, SendResult::Sent);

    connection->sender.disconnect();
    const std::size_t frame = FRAME_HEADER + packet.getDataSize();
    const std::size_t on_wire = DrainBytes(connection->receiver);
    ASSERT_GE(on_wire, sent * frame);
    const std::size_t leftover = on_wire - sent * frame;
    if (result == SendResult::Dropped)
        EXPECT_EQ(leftover, 0u);
    else
        EXPECT_TRUE(leftover > 0 && leftover < frame) << leftover;
}

TEST(SendPacketTest, APacketTooBigForAStalledPeerBreaksTheConnection) {
    Loopback loopback;
    auto connection = loopback.Connect(true);
    const sf::Packet packet = PacketOfSize(1 << 20, 5);

    EXPECT_EQ(SendPacket(connection->sender, packet, sf::milliseconds(50)), SendResult::Broken);
    connection->sender.disconnect();
    const std::size_t on_wire = DrainBytes(connection->receiver);
    EXPECT_GT(on_wire, 0u);
    EXPECT_LT(on_wire, FRAME_HEADER + packet.getDataSize());
}

TEST(SendPacketTest, ABroadcastReachesTheNextPeerWholeAfterAPartialSend) {
    Loopback loopback;
    auto stalled = loopback.Connect(true);
    auto reading = loopback.Connect(false);
    const sf::Packet packet = PacketOfSize(1 << 20, 6);

    EXPECT_EQ(SendPacket(stalled->sender, packet, sf::milliseconds(50)), SendResult::Broken);

    sf::Packet received;
    std::thread reader([&] { EXPECT_EQ(reading->receiver.receive(received), sf::Socket::Done); });
    EXPECT_EQ(SendPacket(reading->sender, packet, sf::seconds(20)), SendResult::Sent);
    reading->sender.disconnect();
    reader.join();
    EXPECT_TRUE(SameData(received, packet));
}

TEST(SendPacketTest, NothingIsSentOnAnUnconnectedSocket) {
    sf::TcpSocket socket;
    socket.setBlocking(false);
    EXPECT_EQ(SendPacket(socket, PacketOfSize(8, 7)), SendResult::Dropped);
}

}  // namespace
