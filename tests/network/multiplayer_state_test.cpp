#include "state/game/multiplayer.hpp"

#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "network/reusable_listener.hpp"
#include "server_test_client.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/System/Sleep.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using state::StateId;
using state::game::multiplayer::MultiplayerState;
using state::game::multiplayer::ReadServerAddress;

std::string ReadFile(const std::string& file) {
    std::ifstream input(file);
    std::stringstream content;
    content << input.rdbuf();
    return content.str();
}

class AddressFileTest : public ::testing::Test {
protected:
    ~AddressFileTest() override { std::filesystem::remove(file); }
    const std::string file = "address_test_ip.txt";
};

TEST_F(AddressFileTest, MissingOrEmptyFileIsWrittenWithTheLoopbackAddress) {
    EXPECT_EQ(ReadServerAddress(file), sf::IpAddress::LocalHost);
    EXPECT_EQ(ReadFile(file), "127.0.0.1");
    std::ofstream(file) << "  \n\t ";
    EXPECT_EQ(ReadServerAddress(file), sf::IpAddress::LocalHost);
    EXPECT_EQ(ReadFile(file), "127.0.0.1");
}

TEST_F(AddressFileTest, FirstWordIsUsedAndTheFileKept) {
    std::ofstream(file) << "   192.168.0.7 the office machine\n";
    EXPECT_EQ(ReadServerAddress(file), sf::IpAddress(192, 168, 0, 7));  // parsed only, never contacted
    EXPECT_EQ(ReadFile(file), "   192.168.0.7 the office machine\n");
}

TEST_F(AddressFileTest, UnresolvableWordIsLeftForTheUserToFix) {
    std::ofstream(file) << "gamebox.lan";
    const auto no_resolver = [](const std::string&) { return sf::IpAddress::None; };
    EXPECT_EQ(ReadServerAddress(file, no_resolver), sf::IpAddress::LocalHost);
    EXPECT_EQ(ReadFile(file), "gamebox.lan");
}

// A hand-driven server on 127.0.0.1:5000 that speaks to one client.
class ScriptedServerTest : public test::ScreenFixture {
protected:
    ScriptedServerTest() {
        std::ofstream("ip.txt") << "127.0.0.1";
        RegisterProbe(StateId::Menu);
        RegisterProbe(StateId::MissionFailed);
        RegisterProbe(StateId::MissionSuccess);
        RegisterProbe(StateId::NetworkPause);
    }
    ~ScriptedServerTest() override {
        stack.Teardown();
        std::filesystem::remove("ip.txt");
    }

    MultiplayerState* Join() {
        EXPECT_EQ(listener.ListenOnAnyAddress(network::SERVER_PORT), sf::Socket::Done);
        stack.RegisterState<Capture>(StateId::JoinGame, &state);
        stack.PushState(StateId::JoinGame);
        stack.Update(sf::Time::Zero);  // constructs: connects while we wait in the backlog
        EXPECT_EQ(listener.accept(peer), sf::Socket::Done);
        peer.setBlocking(false);
        return state;
    }

    void Send(const sf::Packet& packet) { ASSERT_EQ(network::SendPacket(peer, packet), network::SendResult::Sent); }

    // Steps the client until it has handled everything sent so far (one message per step).
    void Deliver(int messages) { Step(messages + 1); }

    // Every message the client sent, as types.
    std::vector<int> Received() {
        std::vector<int> types;
        sf::Packet packet;
        while (peer.receive(packet) == sf::Socket::Done) {
            sf::Int32 type;
            packet >> type;
            types.push_back(type);
            received.push_back(packet);
        }
        return types;
    }

    void Assign(std::int32_t identifier, sf::Vector2f position) {
        Send(network::WriteAssignAircraft({identifier, position, 0}));
    }

    // Steps the client, with a message now and then so that it does not give the server up.
    void StepKeptAlive(int count) {
        for (int done = 0; done < count; done += 60) {
            Send(network::WriteWorldStatus({2400.f, {}}));
            Step(std::min(60, count - done));
        }
    }

    // How wide (window pixels) the white text in the notice's line is; 0 when none is shown.
    // The line lies below the spawn prompt, so only the notice reaches it.
    int NoticeWidth() {
        window.clear();
        stack.Draw();
        sf::Texture texture;
        texture.create(window.getSize().x, window.getSize().y);
        texture.update(window);
        const sf::Image image = texture.copyToImage();
        unsigned left = image.getSize().x, right = 0;
        for (unsigned y = 84; y < 116; ++y)
            for (unsigned x = 0; x < image.getSize().x; ++x) {
                const sf::Color c = image.getPixel(x, y);
                if (c.r < 200 || c.g < 200 || c.b < 200) continue;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        return right >= left ? static_cast<int>(right - left + 1) : 0;
    }

    struct Capture : MultiplayerState {
        Capture(state::StateStack& s, const state::StateContext_t& c, MultiplayerState** out)
            : MultiplayerState(s, c, false) {
            *out = this;
        }
    };

    network::ReusableListener listener;
    sf::TcpSocket peer;
    MultiplayerState* state = nullptr;
    std::vector<sf::Packet> received;
};

int Count(const std::vector<int>& types, int type) { return static_cast<int>(std::count(types.begin(), types.end(), type)); }

TEST_F(ScriptedServerTest, EnterAsksForTheSecondAircraftOnce) {
    Join();
    Press(sf::Keyboard::Return);  // no aircraft yet: nothing
    Assign(7, {320, 2300});
    Deliver(1);
    ASSERT_EQ(state->GetLocalIdentifiers(), (std::vector<std::int32_t>{7}));
    EXPECT_TRUE(state->IsSpawnPromptVisible());
    Press(sf::Keyboard::Return);
    Press(sf::Keyboard::Return);
    Step(2);
    EXPECT_EQ(Count(Received(), network::ClientMessage::RequestSecondAircraft), 1);
}

TEST_F(ScriptedServerTest, PromptBlinksInTheFirstHalfOfEverySecond) {
    Join();
    Step(1);
    EXPECT_TRUE(state->IsSpawnPromptVisible());
    Step(30);  // 0.5 s
    EXPECT_FALSE(state->IsSpawnPromptVisible());
    Step(31);  // past 1 s: starts over
    EXPECT_TRUE(state->IsSpawnPromptVisible());
}

TEST_F(ScriptedServerTest, RemoteAircraftFollowWorldStatusButOwnAircraftNever) {
    Join();
    Assign(1, {300, 2300});
    Send(network::WriteAircraftJoined({2, {200, 2300}, 1}));
    Deliver(2);
    Send(network::WriteWorldStatus({2400.f, {{1, {10, 2000}}, {2, {111, 2222}}}}));
    Deliver(1);
    const auto* own = state->GetWorld().GetCharacter(1);
    const auto* remote = state->GetWorld().GetCharacter(2);
    ASSERT_TRUE(own && remote);
    EXPECT_NE(own->getPosition().x, 10.f);
    EXPECT_NEAR(remote->getPosition().x, 111.f, 1.f);
}

TEST_F(ScriptedServerTest, SnapshotSkipsAircraftWithoutHitpoints) {
    Join();
    network::WorldSnapshot_t snapshot{2500.f, 2500.f, {{3, {100, 2300}, 0, 2, 0}, {4, {200, 2300}, 50, 2, 1}}};
    Send(network::WriteWorldSnapshot(snapshot));
    Deliver(1);
    EXPECT_EQ(state->GetWorld().GetCharacter(3), nullptr);
    ASSERT_NE(state->GetWorld().GetCharacter(4), nullptr);
    EXPECT_EQ(state->GetWorld().GetCharacter(4)->GetHitpoints(), 50);
}

TEST_F(ScriptedServerTest, JoinerSaysGoodbyeWhenLeaving) {
    Join();
    Step(1);
    Received();
    stack.ClearStates();
    stack.PushState(StateId::Menu);
    Step(1);
    sf::sleep(sf::milliseconds(50));
    EXPECT_EQ(Count(Received(), network::ClientMessage::Leave), 1);
}

TEST_F(ScriptedServerTest, EachNoticeKeepsTheLineForItsOwnTime) {
    Join();
    Send(network::WriteNotice("Hi"));
    Send(network::WriteNotice("A much longer second notice"));
    Deliver(2);  // the first arrived two steps ago
    // Text edges blend with the scrolling ground: widths match within a few pixels.
    const int first = NoticeWidth();
    StepKeptAlive(145);  // 2.45 s after the first arrived
    EXPECT_NEAR(NoticeWidth(), first, 4);
    StepKeptAlive(5);  // past 2.5 s
    const int second = NoticeWidth();
    EXPECT_GT(first, 10);
    EXPECT_GT(second, 3 * first);
    StepKeptAlive(145);  // the second's own 2.5 s are not over yet
    EXPECT_NEAR(NoticeWidth(), second, 4);
    StepKeptAlive(10);
    EXPECT_EQ(NoticeWidth(), 0);
}

TEST_F(ScriptedServerTest, SilenceMeansTheConnectionIsLost) {
    Join();
    Step(1);
    EXPECT_TRUE(state->IsConnected());
    Step(121);  // a little over 2 s of silence
    EXPECT_FALSE(state->IsConnected());
    EXPECT_EQ(state->GetConnectionText().getString().toAnsiString(), "Lost connection to server");
}

TEST_F(ScriptedServerTest, MalformedMessagesAreIgnored) {
    Join();
    sf::Packet garbage;
    garbage << sf::Int32(network::ServerMessage::AssignAircraft) << sf::Int32(5);  // truncated
    Send(garbage);
    sf::Packet unknown;
    unknown << sf::Int32(99);
    Send(unknown);
    Deliver(2);
    EXPECT_TRUE(state->GetLocalIdentifiers().empty());
    EXPECT_TRUE(state->IsConnected());
}

TEST_F(ScriptedServerTest, NoServerMeansBackToTheMenuAfterFiveSeconds) {
    stack.RegisterState<Capture>(StateId::JoinGame, &state);
    stack.PushState(StateId::JoinGame);
    stack.Update(sf::Time::Zero);
    EXPECT_FALSE(state->IsConnected());
    EXPECT_EQ(state->GetConnectionText().getString().toAnsiString(), "Could not connect to the remote server!");
    sf::Clock clock;
    while (created.empty() && clock.getElapsedTime() < sf::seconds(8)) {
        Step();
        sf::sleep(sf::milliseconds(20));
    }
    EXPECT_EQ(created, (std::vector<std::string>{"Menu"}));
    EXPECT_GT(clock.getElapsedTime(), sf::seconds(4.5f));
}

// The host's own client never says Leave: its server goes down with it, and until then the
// others must not see the host's aircraft leave as if the host had quit first.
class HostTest : public test::ScreenFixture {
protected:
    HostTest() { RegisterProbe(StateId::Menu); }
    ~HostTest() override { stack.Teardown(); }

    struct Host : MultiplayerState {
        Host(state::StateStack& s, const state::StateContext_t& c) : MultiplayerState(s, c, true) {}
        void OnDestroy() override {
            MultiplayerState::OnDestroy();
            // Time for the server, still running, to act on anything this sent.
            sf::sleep(sf::milliseconds(300));
        }
    };
};

TEST_F(HostTest, HostLeavesWithoutGoodbye) {
    stack.RegisterState<Host>(StateId::HostGame);
    stack.PushState(StateId::HostGame);
    stack.Update(sf::Time::Zero);
    server_test::TestClient guest;
    const auto welcome = guest.Join();
    ASSERT_TRUE(welcome);
    ASSERT_EQ(welcome->snapshot.entries.size(), 1u);  // the host's aircraft
    Step(5);
    guest.Drain();

    stack.ClearStates();
    stack.PushState(StateId::Menu);
    stack.Update(sf::Time::Zero);
    std::vector<server_test::Message_t> messages = guest.Collect(sf::milliseconds(100));
    EXPECT_FALSE(server_test::Find(messages, network::ServerMessage::AircraftLeft));
    EXPECT_FALSE(server_test::Find(messages, network::ServerMessage::Notice));
    EXPECT_TRUE(guest.ClosedByServer());
}

}  // namespace
