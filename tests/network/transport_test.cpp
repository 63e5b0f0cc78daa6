#include "network/packet_reader.hpp"
#include "network/protocol.hpp"
#include "network/rate_limit.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace {

using network::PacketReader;
using network::SendPacket;
using network::SendResult;
using test::net::Bytes;
using test::net::MakeSocketPair;
using test::net::ToBytes;
using test::net::ToPacket;
using Result = PacketReader::Result;

Bytes Frame(std::uint32_t size, const Bytes& body = {}) {
    Bytes bytes(4 + body.size());
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    std::copy(body.begin(), body.end(), bytes.begin() + 4);
    return bytes;
}

void Write(sf::TcpSocket& socket, const Bytes& bytes) {
    std::size_t sent = 0;
    ASSERT_EQ(socket.send(bytes.data(), bytes.size(), sent), sf::Socket::Done);
}

TEST(PacketReaderTest, PacketsComeWholeWithinTheBudgetWhateverPiecesTheyArriveIn) {
    auto pair = MakeSocketPair();
    PacketReader reader;
    sf::Packet packet;
    std::size_t budget = 6;
    Write(*pair.far, Frame(5, {1, 2, 3}));
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);  // the rest has not come
    Write(*pair.far, Bytes{4, 5});
    Write(*pair.far, Frame(0));
    Write(*pair.far, Frame(2, {6, 7}));
    EXPECT_EQ(budget, 0u);
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);  // spent: nothing read
    budget = 100;
    ASSERT_EQ(reader.Receive(*pair.near, packet, budget), Result::Packet);
    EXPECT_EQ(ToBytes(packet), (Bytes{1, 2, 3, 4, 5}));
    ASSERT_EQ(reader.Receive(*pair.near, packet, budget), Result::Packet);
    EXPECT_EQ(packet.getDataSize(), 0u);
    ASSERT_EQ(reader.Receive(*pair.near, packet, budget), Result::Packet);
    EXPECT_EQ(ToBytes(packet), (Bytes{6, 7}));
    EXPECT_EQ(budget, 100u - 3 - 4 - 6);  // the rest of the first, then two whole
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);
    pair.far.reset();
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Closed);
}

TEST(PacketReaderTest, APacketAnnouncedAboveTheLimitIsRefusedBeforeAnyOfItIsRead) {
    for (const std::uint32_t size : {std::uint32_t{network::MAX_PACKET_SIZE}, std::uint32_t{network::MAX_PACKET_SIZE + 1},
                                     std::uint32_t{0xFFFFFFFFu}}) {
        auto pair = MakeSocketPair();
        PacketReader reader;
        sf::Packet packet;
        std::size_t budget = 1 << 20;
        Write(*pair.far, Frame(size, Bytes(8, 0)));
        EXPECT_EQ(reader.Receive(*pair.near, packet, budget),
                  size > network::MAX_PACKET_SIZE ? Result::TooLarge : Result::Waiting);
        EXPECT_EQ(budget, (1u << 20) - (size > network::MAX_PACKET_SIZE ? 4 : 12)) << size;
    }
}

TEST(SendPacketTest, WholePacketsArriveThroughAPeerThatReadsLate) {
    auto pair = MakeSocketPair(16 * 1024);
    pair.far->setBlocking(true);
    const std::vector<sf::Packet> packets = {ToPacket(Bytes(12, 1)), ToPacket(Bytes(1 << 20, 2)), ToPacket(Bytes(3, 3))};
    std::vector<sf::Packet> received(packets.size());
    std::thread reader([&] {
        for (sf::Packet& packet : received) EXPECT_EQ(pair.far->receive(packet), sf::Socket::Done);
    });
    // A megabyte never fits the buffer at once: the send goes on from where it stopped.
    for (const sf::Packet& packet : packets) EXPECT_EQ(SendPacket(*pair.near, packet, sf::seconds(60)), SendResult::Sent);
    reader.join();
    for (std::size_t i = 0; i < packets.size(); ++i) EXPECT_EQ(ToBytes(received[i]), ToBytes(packets[i])) << i;
}

TEST(SendPacketTest, AStalledPeerIsReportedWithNoHalfPacketUnreportedAndTheNextPeerGetsItWhole) {
    auto stalled = MakeSocketPair(16 * 1024);
    const sf::Packet packet = ToPacket(Bytes(1000, 4));
    std::size_t sent = 0;
    SendResult result = SendResult::Sent;
    for (; result == SendResult::Sent; ++sent) result = SendPacket(*stalled.near, packet, sf::milliseconds(20));
    --sent;
    stalled.near.reset();
    std::size_t on_wire = 0, received = 0;
    char buffer[4096];
    while (stalled.far->receive(buffer, sizeof buffer, received) == sf::Socket::Done) on_wire += received;
    const std::size_t frame = 4 + packet.getDataSize();
    ASSERT_GE(on_wire, sent * frame);
    const std::size_t leftover = on_wire - sent * frame;
    EXPECT_TRUE(result == SendResult::Dropped ? leftover == 0 : leftover > 0 && leftover < frame) << leftover;

    // The packet a broadcast passes on carries nothing of the partial send before.
    EXPECT_EQ(SendPacket(*MakeSocketPair(16 * 1024).near, ToPacket(Bytes(1 << 20, 5)), sf::milliseconds(20)),
              SendResult::Broken);
    auto reading = MakeSocketPair();
    EXPECT_EQ(SendPacket(*reading.near, packet), SendResult::Sent);
    sf::Packet whole;
    EXPECT_EQ(reading.far->receive(whole), sf::Socket::Done);
    EXPECT_EQ(ToBytes(whole), ToBytes(packet));
    sf::TcpSocket unconnected;
    EXPECT_EQ(SendPacket(unconnected, packet), SendResult::Dropped);
}

// A sender at a steady rate, `per_step` events every 50 ms for `seconds`: how many pass, and
// when it first counts as abusive (nothing when never).
struct Flood_t {
    int per_step;
    int seconds;
    int allowed;
    std::optional<sf::Time> abusive_at;
};

TEST(RateLimitTest, BurstsOfASecondPassAndOnlyAPersistentFloodIsAbusive) {
    const Flood_t floods[] = {
        {1, 10, 201, std::nullopt},                 // at the limit
        {4, 10, 220, std::nullopt},                 // four times over: the excess is refused and forgiven
        {5, 10, 220, sf::milliseconds(3100)},       // five times over: abusive within seconds
        {80, 0, 20, std::nullopt},                  // one burst: a second's worth passes
        {81, 0, 20, sf::Time::Zero},                // more than is forgiven at once
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
