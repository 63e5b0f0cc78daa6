#include "network/packet_reader.hpp"
#include "network/protocol.hpp"
#include "network/rate_limit.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace {

using network::SendPacket;
using network::SendResult;
using test::net::Bytes;
using test::net::MakeSocketPair;
using test::net::ToBytes;
using test::net::ToPacket;
using Result = network::PacketReader::Result;

Bytes Frame(std::uint32_t size, const Bytes& body) {
    Bytes bytes(4);
    for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

void Write(sf::TcpSocket& socket, const Bytes& bytes) {
    std::size_t sent = 0;
    ASSERT_EQ(socket.send(bytes.data(), bytes.size(), sent), sf::Socket::Done);
}

TEST(PacketReaderTest, PacketsComeWholeAndInOrderWithinTheBudgetWhateverPiecesTheyArriveIn) {
    auto pair = MakeSocketPair();
    network::PacketReader reader;
    sf::Packet packet;
    std::size_t budget = 6;
    Write(*pair.far, Frame(5, {1, 2, 3}));
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);
    Write(*pair.far, {4, 5});
    Write(*pair.far, Frame(0, {}));
    Write(*pair.far, Frame(2, {6, 7}));
    EXPECT_EQ(budget, 0u);
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);  // spent: nothing read
    budget = 100;
    for (const Bytes& bytes : {Bytes{1, 2, 3, 4, 5}, Bytes{}, Bytes{6, 7}}) {
        ASSERT_EQ(reader.Receive(*pair.near, packet, budget), Result::Packet);
        EXPECT_EQ(ToBytes(packet), bytes);
    }
    EXPECT_EQ(budget, 100u - 3 - 4 - 6);
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);
    pair.far.reset();
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Closed);

    // A size above the limit is refused from the length alone, before anything of it is read.
    for (const std::uint32_t size : {std::uint32_t{network::MAX_PACKET_SIZE}, std::uint32_t{network::MAX_PACKET_SIZE + 1}}) {
        auto giant = MakeSocketPair();
        network::PacketReader fresh;
        budget = 1000;
        Write(*giant.far, Frame(size, Bytes(8, 0)));
        EXPECT_EQ(fresh.Receive(*giant.near, packet, budget), size > network::MAX_PACKET_SIZE ? Result::TooLarge : Result::Waiting);
        EXPECT_EQ(budget, size > network::MAX_PACKET_SIZE ? 996u : 988u);
    }
}

TEST(SendPacketTest, PacketsGoWholeOrTheBrokenConnectionIsReportedAndTheNextPeerGetsThemWhole) {
    const std::vector<sf::Packet> packets = {ToPacket(Bytes(12, 1)), ToPacket(Bytes(1 << 20, 2)), ToPacket(Bytes(3, 3))};
    // Part of it goes out, then the peer reads no more: the connection is broken...
    EXPECT_EQ(SendPacket(*MakeSocketPair(16 * 1024).near, packets[1], sf::milliseconds(20)), SendResult::Broken);
    // ...and the same packet, broadcast on, carries nothing of that partial send to the next peer.
    auto slow = MakeSocketPair(16 * 1024);
    slow.far->setBlocking(true);
    std::vector<sf::Packet> received(packets.size());
    std::thread reader([&] {
        for (sf::Packet& packet : received) EXPECT_EQ(slow.far->receive(packet), sf::Socket::Done);
    });
    // A megabyte never fits the buffer at once: the send goes on from where it stopped.
    for (const sf::Packet& packet : packets) EXPECT_EQ(SendPacket(*slow.near, packet, sf::seconds(60)), SendResult::Sent);
    reader.join();
    for (std::size_t i = 0; i < packets.size(); ++i) EXPECT_EQ(ToBytes(received[i]), ToBytes(packets[i])) << i;

    // A peer that stopped reading: a packet that went out in part is reported as breaking the
    // connection, one that did not go out at all is merely dropped.
    auto stalled = MakeSocketPair(16 * 1024);
    const sf::Packet packet = ToPacket(Bytes(1000, 4));
    std::size_t sent = 0;
    SendResult result = SendResult::Sent;
    for (; result == SendResult::Sent; ++sent) result = SendPacket(*stalled.near, packet, sf::milliseconds(20));
    stalled.near.reset();
    std::size_t on_wire = 0, size = 0;
    for (char buffer[4096]; stalled.far->receive(buffer, sizeof buffer, size) == sf::Socket::Done;) on_wire += size;
    const std::size_t frame = 4 + packet.getDataSize(), whole = (sent - 1) * frame;
    ASSERT_GE(on_wire, whole);
    EXPECT_EQ(result == SendResult::Broken, on_wire - whole > 0);
    EXPECT_LT(on_wire - whole, frame);
}

// A sender at a steady rate, `per_step` events every 50 ms for `seconds`: how many pass, and
// when it first counts as abusive.
struct Flood_t {
    int per_step;
    int seconds;
    int allowed;
    std::optional<sf::Time> abusive_at;
};

TEST(RateLimitTest, BurstsOfASecondPassAndOnlyAPersistentFloodIsAbusive) {
    const Flood_t floods[] = {
        {1, 10, 201, std::nullopt},            // at the limit
        {4, 10, 220, std::nullopt},            // four times over: the excess is refused and forgiven
        {5, 10, 220, sf::milliseconds(3100)},  // five times over: abusive within seconds
        {80, 0, 20, std::nullopt},             // one burst: a second's worth passes
        {81, 0, 20, sf::Time::Zero},           // more than is forgiven at once
    };
    for (const Flood_t& flood : floods) {
        network::RateLimit limit(20);
        int allowed = 0;
        std::optional<sf::Time> abusive_at;
        for (int step = 0; step <= flood.seconds * 20; ++step) {
            const sf::Time now = sf::milliseconds(50 * step);
            for (int i = 0; i < flood.per_step; ++i) allowed += limit.Allow(now) ? 1 : 0;
            if (limit.Abusive() && !abusive_at) abusive_at = now;
        }
        EXPECT_EQ(allowed, flood.allowed) << flood.per_step;
        EXPECT_EQ(abusive_at, flood.abusive_at) << flood.per_step;
    }
}

}  // namespace
