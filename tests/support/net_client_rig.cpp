#include "support/net_client_rig.hpp"

#include "state/state_stack.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <iterator>

namespace test::net {

namespace {
struct Client : state::game::multiplayer::MultiplayerState {
    Client(state::StateStack& stack, const state::StateContext_t& context, MultiplayerState** out, bool host,
           state::game::multiplayer::Options_t options)
        : MultiplayerState(stack, context, host, options) {
        *out = this;
    }
};
}  // namespace

void ClientRig::Start(bool host) {
    const state::StateId id = host ? state::StateId::HostGame : state::StateId::JoinGame;
    stack.RegisterState<Client>(id, &client, host, state::game::multiplayer::Options_t{clock.Source(), server.Connect(), address_file});
    client = nullptr;
    stack.PushState(id);
    stack.Update(sf::Time::Zero);
}

bool ClientRig::UpdateUntil(const std::function<bool()>& condition) {
    for (sf::Clock waited; !condition() && waited.getElapsedTime() < sf::seconds(20.f); sf::sleep(sf::microseconds(100)))
        stack.Update(sf::Time::Zero);
    return condition();
}

void ClientRig::Steps(int count) {
    for (int i = 0; i < count; ++i) {
        clock.Advance(sf::microseconds(16666));
        stack.Update(sf::microseconds(16666));
    }
}

void ClientRig::Deliver(const std::vector<sf::Packet>& packets) {
    Bytes stream;
    for (const sf::Packet& packet : packets) std::ranges::copy(Framed(packet), std::back_inserter(stream));
    server.SendRaw(stream);
    Steps(1);
}

}  // namespace test::net
