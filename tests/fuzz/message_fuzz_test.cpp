#include "fuzz/client_harness.hpp"
#include "fuzz/message_invariants.hpp"
#include "network/messages.hpp"
#include "support/net_messages.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

// The fuzz targets' checks over fixed inputs: damaged messages and random words that matter.
namespace {

using namespace network;
using test::net::Bytes;
using test::net::ToBytes;

const float HUGE_FLOAT = std::numeric_limits<float>::max();

// Every message (some past a limit) cut short, bytes set to edge values, retyped.
std::vector<Bytes> Damaged() {
    std::vector<Bytes> messages = {ToBytes(WriteNotice(std::string(300, 'n'))),
                                   ToBytes(WriteAircraftStatus({{{2, {-HUGE_FLOAT, 0.f}, 0, 0}}})),
                                   ToBytes(WriteWorldSnapshot({2500.f, 2500.f, std::vector<SnapshotEntry_t>(MAX_AIRCRAFT + 1)}))};
    for (const test::net::Sample_t& sample : test::net::EveryMessage()) messages.push_back(ToBytes(sample.packet));
    std::vector<Bytes> inputs;
    for (const Bytes& message : messages) {
        for (std::size_t size = 0; size <= message.size(); ++size) inputs.emplace_back(message.begin(), message.begin() + size);
        for (std::size_t at = 0; at < std::min<std::size_t>(message.size(), 40); ++at)
            for (std::uint8_t value : {0x00, 0x01, 0x7f, 0x80, 0xff}) {
                inputs.push_back(message);
                inputs.back()[at] = value;
            }
        for (std::uint8_t type = 0; type <= ServerMessage::COUNT; ++type) {
            inputs.push_back(message);
            inputs.back()[3] = type;
        }
    }
    return inputs;
}

// Packets of small types and counts, negative and huge numbers, special floats and noise.
std::vector<Bytes> RandomWords(unsigned seed, int count) {
    std::mt19937 random(seed);
    const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const float special[] = {std::numeric_limits<float>::quiet_NaN(), -HUGE_FLOAT, 2500.f, 320.f, MAX_COORDINATE * 2.f};
    std::vector<Bytes> inputs(static_cast<std::size_t>(count));
    for (Bytes& bytes : inputs)
        for (int words = pick(12); words > 0; --words) {
            std::uint32_t value = static_cast<std::uint32_t>(pick(2) ? pick(13) - 1 : static_cast<int>(random()));
            if (pick(4) == 0) std::memcpy(&value, &special[pick(5)], sizeof value);
            for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    return inputs;
}

TEST(MessageFuzzTest, ReadersRefuseOrReadBackWhateverTheBytes) {
    std::vector<Bytes> inputs = Damaged();
    for (Bytes& input : RandomWords(20261207, 20000)) inputs.push_back(std::move(input));
    for (const Bytes& input : inputs) ASSERT_EQ(fuzz::CheckMessageReaders(input.data(), input.size()), "") << ::testing::PrintToString(input);
}

TEST(MessageFuzzTest, TheClientTakesAnyStreamOfServerMessages) {
    fuzz::ClientHarness harness;
    std::vector<std::uint8_t> stream = fuzz::EncodeStream(Damaged());
    // A size the client must refuse before reading on: it connects again and goes on.
    stream.insert(stream.end(), {0xff, 0xff, 0x7f, 0xff, 0xff, 0xff});
    const std::vector<std::uint8_t> random = fuzz::EncodeStream(RandomWords(5000, 2000));
    stream.insert(stream.end(), random.begin(), random.end());
    EXPECT_EQ(harness.Run(stream.data(), stream.size()), "");
}

}  // namespace
