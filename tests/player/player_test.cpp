#include "player/player.hpp"

#include "game/character.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "support/helpers.hpp"

#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <set>
#include <tuple>

namespace {

using game::character::Character;
using key_binding::PlayerAction;
using test::KeyPress;
using test::KeyRelease;

// Two player aircraft (identifiers 1 and 2) in a tree, so commands can be delivered for real.
class PlayerTest : public test::FieldTest {
protected:
    PlayerTest() {
        for (const int id : {1, 2}) {
            aircraft[id] = &Attach(std::make_unique<Character>(Character::AlliedHeavy, textures, fonts));
            aircraft[id]->SetIdentifier(id);
        }
    }

    Character* aircraft[3] = {};
    std::set<sf::Keyboard::Key> held;
    key_binding::KeyBinding binding{1, [this](sf::Keyboard::Key key) { return held.count(key) > 0; }};
};

TEST_F(PlayerTest, KeysQueueCommandsForTheirOwnAircraftOnly) {
    player::Player player(nullptr, 1, &binding);
    player.HandleEvent(KeyPress(sf::Keyboard::B), commands);
    player.HandleEvent(KeyRelease(sf::Keyboard::B), commands);
    player.HandleEvent(KeyPress(sf::Keyboard::V), commands);  // fire comes from held keys only
    EXPECT_EQ(commands.size(), 1u);
    held = {sf::Keyboard::A, sf::Keyboard::W};
    player.HandleRealtimeInput(commands);
    EXPECT_EQ(commands.size(), 3u);
    Deliver();
    const float speed = aircraft[1]->GetMaxSpeed();
    EXPECT_EQ(aircraft[1]->GetVelocity(), sf::Vector2f(-speed, -speed));
    EXPECT_EQ(aircraft[1]->GetMissileAmmo(), 1);
    EXPECT_EQ(aircraft[2]->GetVelocity(), sf::Vector2f());
    EXPECT_EQ(aircraft[2]->GetMissileAmmo(), 2);
}

// A player whose socket is connected to a peer on 127.0.0.1, to read what it sends.
class NetworkPlayerTest : public PlayerTest {
protected:
    NetworkPlayerTest() {
        EXPECT_EQ(listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Done);
        EXPECT_EQ(client.connect(sf::IpAddress::LocalHost, listener.getLocalPort()), sf::Socket::Done);
        EXPECT_EQ(listener.accept(server), sf::Socket::Done);
    }

    // The next message the player sent, as (type, identifier, action, active).
    std::tuple<int, int, int, bool> Next() {
        sf::Packet packet;
        if (server.receive(packet) != sf::Socket::Done) return {-1, 0, 0, false};
        if (network::ReadClientMessageType(packet) == network::ClientMessage::OneShotAction) {
            const auto message = network::ReadOneShotAction(packet);
            return {network::ClientMessage::OneShotAction, message->identifier, message->action, false};
        }
        const auto message = network::ReadRealtimeActionChange(packet);
        return {network::ClientMessage::RealtimeActionChange, message->identifier, message->action, message->active};
    }

    static constexpr int one_shot = network::ClientMessage::OneShotAction;
    static constexpr int change = network::ClientMessage::RealtimeActionChange;
    sf::TcpListener listener;
    sf::TcpSocket client;
    sf::TcpSocket server;
};

TEST_F(NetworkPlayerTest, OneShotKeysGoToTheServerFirstAndRealtimeKeysReportBothEdges) {
    player::Player player(&client, 4, &binding);
    player.HandleEvent(KeyPress(sf::Keyboard::B), commands);
    player.HandleEvent(KeyPress(sf::Keyboard::A), commands);
    player.HandleEvent(KeyRelease(sf::Keyboard::A), commands);
    EXPECT_TRUE(commands.empty());  // the missile runs when the server relays it back
    EXPECT_EQ(Next(), std::make_tuple(one_shot, 4, int(PlayerAction::LAUNCH_MISSILE), false));
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::MOVE_LEFT), true));
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::MOVE_LEFT), false));
    // Letting go of everything sends off for every action heard of, in action order.
    player.SetRemoteRealtimeAction(PlayerAction::FIRE, false);
    player.SetRemoteRealtimeAction(PlayerAction::MOVE_LEFT, true);
    EXPECT_TRUE(player.ReleaseAllRealtimeActions());
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::MOVE_LEFT), false));
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::FIRE), false));
}

TEST_F(NetworkPlayerTest, RemotePlayerReplaysOnlyRealtimeActionsThatAreOn) {
    player::Player remote(&client, 2, nullptr);
    EXPECT_FALSE(remote.IsLocal());
    remote.SetRemoteRealtimeAction(PlayerAction::FIRE, true);
    remote.SetRemoteRealtimeAction(PlayerAction::MOVE_UP, false);
    remote.SetRemoteRealtimeAction(PlayerAction::LAUNCH_MISSILE, true);
    remote.HandleRealtimeInput(commands);  // no keys of its own
    EXPECT_TRUE(commands.empty());
    remote.ApplyRemoteRealtimeActions(commands);
    ASSERT_EQ(commands.size(), 1u);  // fire only
    Deliver();
    EXPECT_EQ(aircraft[2]->GetMissileAmmo(), 2);
    EXPECT_EQ(aircraft[2]->GetVelocity(), sf::Vector2f());
}

}  // namespace
