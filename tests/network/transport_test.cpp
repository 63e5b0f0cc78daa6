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
using Result = network::PacketReader::Result;

void Write(sf::TcpSocket& socket, const Bytes& bytes) {
    std::size_t sent = 0;
    ASSERT_EQ(socket.send(bytes.data(), bytes.size(), sent), sf::Socket::Done);
}

TEST(PacketReaderTest, PacketsComeWholeAndInOrderWithinTheBudgetWhateverPiecesTheyArriveIn) {
    auto pair = MakeSocketPair();
    network::PacketReader reader;
    sf::Packet packet;
    std::size_t budget = 6;
    Write(*pair.far, {0, 0, 0, 5, 1, 2, 3});
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);
    Write(*pair.far, {4, 5, 0, 0, 0, 0, 0, 0, 0, 2, 6, 7});  // the rest, an empty packet and another
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);  // spent: nothing read
    budget = 100;
    for (const Bytes& bytes : {Bytes{1, 2, 3, 4, 5}, Bytes{}, Bytes{6, 7}}) {
        ASSERT_EQ(reader.Receive(*pair.near, packet, budget), Result::Packet);
        EXPECT_EQ(ToBytes(packet), bytes);
    }
    EXPECT_EQ(budget, 100u - 13);
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Waiting);
    pair.far.reset();
    EXPECT_EQ(reader.Receive(*pair.near, packet, budget), Result::Closed);
    // A size just above the limit (65,537) is refused from the length alone, before any of it is read.
    auto giant = MakeSocketPair();
    Write(*giant.far, {0, 1, 0, 1, 0, 0, 0, 0});
    EXPECT_EQ(network::PacketReader().Receive(*giant.near, packet, budget), Result::TooLarge);
    EXPECT_EQ(budget, 100u - 13 - 4);
}

TEST(SendPacketTest, PacketsGoWholeOrTheBrokenConnectionIsReported) {
    const sf::Packet big = test::net::ToPacket(Bytes(1 << 20, 2)), small = test::net::ToPacket(Bytes(1000, 4));
    // Part of it goes out, then the peer reads no more: the connection counts as broken...
    EXPECT_EQ(SendPacket(*MakeSocketPair(16 * 1024).near, big, sf::milliseconds(20)), SendResult::Broken);
    // ...and the same packet, broadcast on, reaches a peer that reads slowly whole.
    auto slow = MakeSocketPair(16 * 1024);
    slow.far->setBlocking(true);
    sf::Packet received;
    std::thread reader([&] { EXPECT_EQ(slow.far->receive(received), sf::Socket::Done); });
    EXPECT_EQ(SendPacket(*slow.near, big, sf::seconds(60)), SendResult::Sent);
    reader.join();
    EXPECT_EQ(ToBytes(received), ToBytes(big));
    // A peer that stopped reading: a packet not sent at all is dropped, one sent in part breaks.
    auto stalled = MakeSocketPair(16 * 1024);
    std::size_t sent = 0, on_wire = 0, size = 0;
    SendResult result = SendResult::Sent;
    for (; result == SendResult::Sent; ++sent) result = SendPacket(*stalled.near, small, sf::milliseconds(20));
    stalled.near.reset();
    for (char buffer[4096]; stalled.far->receive(buffer, sizeof buffer, size) == sf::Socket::Done;) on_wire += size;
    const std::size_t frame = 4 + small.getDataSize(), leftover = on_wire - (sent - 1) * frame;
    EXPECT_TRUE(result == SendResult::Broken ? leftover > 0 && leftover < frame : leftover == 0) << leftover;
}

TEST(RateLimitTest, BurstsOfASecondPassAndOnlyAPersistentFloodIsAbusive) {
    // `per_step` events every 50 ms for `seconds`: how many pass, when the sender turns abusive.
    const struct {
        int per_step;
        int seconds;
        int allowed;
        std::optional<sf::Time> abusive_at;
    } floods[] = {
        {1, 10, 201, std::nullopt},            // at the limit
        {4, 10, 220, std::nullopt},            // four times over: the excess is refused and forgiven
        {5, 10, 220, sf::milliseconds(3100)},  // five times over: abusive within seconds
        {80, 0, 20, std::nullopt},             // one burst: a second's worth passes
        {81, 0, 20, sf::Time::Zero},           // more than is forgiven at once
    };
    for (const auto& flood : floods) {
        network::RateLimit limit(20);
        int allowed = 0;
        std::optional<sf::Time> abusive_at;
        for (sf::Time now; now <= sf::seconds(static_cast<float>(flood.seconds)); now += sf::milliseconds(50)) {
            for (int i = 0; i < flood.per_step; ++i) allowed += limit.Allow(now) ? 1 : 0;
            if (limit.Abusive() && !abusive_at) abusive_at = now;
        }
        EXPECT_EQ(allowed, flood.allowed) << flood.per_step;
        EXPECT_EQ(abusive_at, flood.abusive_at) << flood.per_step;
    }
}

}  // namespace
