#include "player/player.hpp"

#include "game/character.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <set>

namespace {

using game::character::Character;
using key_binding::PlayerAction;

sf::Event Key(sf::Event::EventType type, sf::Keyboard::Key code) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}

// Two player aircraft (identifiers 1 and 2) in a tree, so commands can be delivered for real.
class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() {
        textures.Load(holder::TextureId::Character, holder::FileOf(holder::TextureId::Character));
        textures.Load(holder::TextureId::Explosion, holder::FileOf(holder::TextureId::Explosion));
        textures.Load(holder::TextureId::Projectile, holder::FileOf(holder::TextureId::Projectile));
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        for (int id : {1, 2}) {
            auto aircraft = std::make_unique<Character>(Character::Type::AlliedHeavy, textures, fonts);
            aircraft->SetIdentifier(id);
            aircraft_by_id[id] = aircraft.get();
            root.AttachChild(std::move(aircraft));
        }
    }

    void Deliver() {
        while (!commands.empty()) {
            root.OnCommand(commands.front(), sf::Time::Zero);
            commands.pop();
        }
    }

    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    scene::SceneNode root;
    std::map<int, Character*> aircraft_by_id;
    command::CommandQueue commands;
    std::set<sf::Keyboard::Key> held;
    key_binding::KeyBinding binding{1, [this](sf::Keyboard::Key key) { return held.count(key) > 0; }};
};

TEST_F(PlayerTest, MissileKeyQueuesOneCommandAndFireComesOnlyFromHeldKeys) {
    player::Player player(nullptr, 1, &binding);
    player.HandleEvent(Key(sf::Event::KeyPressed, sf::Keyboard::B), commands);
    player.HandleEvent(Key(sf::Event::KeyReleased, sf::Keyboard::B), commands);
    player.HandleEvent(Key(sf::Event::KeyPressed, sf::Keyboard::V), commands);
    ASSERT_EQ(commands.size(), 1u);
    Deliver();
    EXPECT_EQ(aircraft_by_id[1]->GetMissileAmmo(), 1);
    EXPECT_EQ(aircraft_by_id[2]->GetMissileAmmo(), 2);
}

TEST_F(PlayerTest, HeldKeysMoveOnlyTheirOwnAircraft) {
    player::Player player(nullptr, 1, &binding);
    held = {sf::Keyboard::A, sf::Keyboard::W};
    player.HandleRealtimeInput(commands);
    ASSERT_EQ(commands.size(), 2u);
    Deliver();
    const float speed = aircraft_by_id[1]->GetMaxSpeed();
    EXPECT_EQ(aircraft_by_id[1]->GetVelocity(), sf::Vector2f(-speed, -speed));
    EXPECT_EQ(aircraft_by_id[2]->GetVelocity(), sf::Vector2f());
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
        const auto type = network::ReadClientMessageType(packet);
        if (type == network::ClientMessage::OneShotAction) {
            const auto message = network::ReadOneShotAction(packet);
            return {*type, message->identifier, message->action, false};
        }
        const auto message = network::ReadRealtimeActionChange(packet);
        return {*type, message->identifier, message->action, message->active};
    }

    sf::TcpListener listener;
    sf::TcpSocket client;
    sf::TcpSocket server;
};

TEST_F(NetworkPlayerTest, OneShotKeysGoToTheServerFirstAndRealtimeKeysReportBothEdges) {
    player::Player player(&client, 4, &binding);
    player.HandleEvent(Key(sf::Event::KeyPressed, sf::Keyboard::B), commands);
    EXPECT_TRUE(commands.empty());  // runs when the server relays it back
    EXPECT_EQ(Next(), std::make_tuple(int(network::ClientMessage::OneShotAction), 4, int(PlayerAction::LAUNCH_MISSILE), false));

    player.HandleEvent(Key(sf::Event::KeyPressed, sf::Keyboard::A), commands);
    player.HandleEvent(Key(sf::Event::KeyReleased, sf::Keyboard::A), commands);
    const int change = network::ClientMessage::RealtimeActionChange;
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::MOVE_LEFT), true));
    EXPECT_EQ(Next(), std::make_tuple(change, 4, int(PlayerAction::MOVE_LEFT), false));
    EXPECT_TRUE(commands.empty());
}

TEST_F(NetworkPlayerTest, ReleasingSendsOffForEveryRecordedActionInActionOrder) {
    player::Player player(&client, 4, &binding);
    player.SetRemoteRealtimeAction(PlayerAction::FIRE, false);
    player.SetRemoteRealtimeAction(PlayerAction::MOVE_LEFT, true);
    EXPECT_TRUE(player.ReleaseAllRealtimeActions());
    const int change = network::ClientMessage::RealtimeActionChange;
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
    EXPECT_EQ(aircraft_by_id[2]->GetMissileAmmo(), 2);
    EXPECT_EQ(aircraft_by_id[2]->GetVelocity(), sf::Vector2f());
}

}  // namespace
