#include "fuzz/message_invariants.hpp"
#include "network/messages.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace network;
using key_binding::PlayerAction;
using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const sf::Packet& packet) {
    const auto* data = static_cast<const std::uint8_t*>(packet.getData());
    return Bytes(data, data + packet.getDataSize());
}

std::string Hex(const Bytes& bytes) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += DIGITS[byte >> 4];
        text += DIGITS[byte & 15];
    }
    return text;
}

// Stops at the first input that breaks a rule, naming it so it can be replayed.
::testing::AssertionResult ReadersHold(const std::vector<Bytes>& inputs) {
    for (const Bytes& input : inputs) {
        const std::string failure = fuzz::CheckMessageReaders(input.data(), input.size());
        if (!failure.empty()) return ::testing::AssertionFailure() << failure << " for input " << Hex(input);
    }
    return ::testing::AssertionSuccess();
}

std::vector<Bytes> WellFormedMessages() {
    const float inf = std::numeric_limits<float>::infinity();
    return {
        ToBytes(WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE})),
        ToBytes(WriteClientRealtimeActionChange({2, PlayerAction::FIRE, true})),
        ToBytes(WriteAircraftStatus({{{1, {10.f, 20.f}, 100, 2}, {2, {-inf, 0.f}, 0, 0}}})),
        ToBytes(WriteWorldEvent({{5.f, 6.f}, action::NetAction::EnemyExplosion})),
        ToBytes(WriteNotice("New player!")),
        ToBytes(WriteAssignAircraft({3, {320.f, 2260.f}, 1})),
        ToBytes(WriteWorldSnapshot({2500.f, 2500.f, {{1, {1.f, 2.f}, 100, 2, 0}, {2, {3.f, 4.f}, 50, 1, 1}}})),
        ToBytes(WriteAircraftLeft(4)),
        ToBytes(WriteSpawnEnemy({3, 2600.f, -80.f, true})),
        ToBytes(WriteSpawnPickup({2, {100.f, 200.f}})),
        ToBytes(WriteWorldStatus({1900.f, {{1, {1.f, 1.f}}, {7, {2.f, 2.f}}}})),
        ToBytes(WriteMissionComplete()),
    };
}

// Every message cut short, with each byte replaced by the values that sit at the edges of ranges,
// and with its body under every type, known or not.
TEST(MessageFuzzTest, DamagedMessagesAreRefusedOrReadWithinRange) {
    std::vector<Bytes> inputs;
    for (const Bytes& message : WellFormedMessages()) {
        for (std::size_t size = 0; size <= message.size(); ++size) inputs.emplace_back(message.begin(), message.begin() + size);
        for (std::size_t at = 0; at < message.size(); ++at)
            for (std::uint8_t value : {0x00, 0x01, 0x02, 0x7f, 0x80, 0xff}) {
                Bytes damaged = message;
                damaged[at] = value;
                inputs.push_back(damaged);
            }
        for (std::int32_t type = -1; type <= ServerMessage::COUNT; ++type) {
            Bytes retyped = message;
            for (int at = 0; at < 4; ++at)
                retyped[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(type) >> (24 - 8 * at));
            inputs.push_back(retyped);
        }
    }
    EXPECT_TRUE(ReadersHold(inputs));
}

// Random packets built from the words that matter: known types, small, negative and huge
// counts, non-finite floats, and plain noise.
TEST(MessageFuzzTest, RandomPacketsAreRefusedOrReadWithinRange) {
    std::mt19937 random(20261207);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    const auto word = [&](Bytes& bytes) {
        std::uint32_t value = 0;
        switch (pick(6)) {
        case 0: value = static_cast<std::uint32_t>(pick(13)); break;
        case 1: value = static_cast<std::uint32_t>(-1 - pick(3)); break;
        case 2: value = 0x7fffffffu - static_cast<std::uint32_t>(pick(2)); break;
        case 3: {
            const float special[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(), -0.f, 2500.f};
            std::memcpy(&value, &special[pick(5)], sizeof value);
            break;
        }
        default: value = static_cast<std::uint32_t>(random()); break;
        }
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    std::vector<Bytes> inputs;
    for (int i = 0; i < 20000; ++i) {
        Bytes bytes;
        const int words = pick(12);
        for (int w = 0; w < words; ++w) word(bytes);
        for (int tail = pick(4); tail > 0; --tail) bytes.push_back(static_cast<std::uint8_t>(random()));
        inputs.push_back(std::move(bytes));
    }
    EXPECT_TRUE(ReadersHold(inputs));
}

}  // namespace
