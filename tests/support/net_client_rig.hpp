#pragma once

#include "state/game/multiplayer.hpp"
#include "support/net_fake_server.hpp"

#include <functional>
#include <string>
#include <vector>

namespace test::net {

// A multiplayer client on a state stack, its server faked in this process and its time stepped
// by hand. The stack needs screens registered for whatever the client asks for.
class ClientRig {
public:
    ClientRig(state::StateStack& stack, std::string address_file) : stack(stack), address_file(std::move(address_file)) {}

    // Registers the client as the host's or a joiner's screen and pushes it.
    void Start(bool host = false);
    // Updates without game time until the condition holds (the connector has a thread of its
    // own); false after a generous deadline.
    bool UpdateUntil(const std::function<bool()>& condition);
    void Steps(int count);
    // Whatever is sent at once is handled at the next update, all of it.
    void Deliver(const std::vector<sf::Packet>& packets);

    state::game::multiplayer::MultiplayerState* client = nullptr;
    FakeServer server;
    SteppedClock clock;

private:
    state::StateStack& stack;
    std::string address_file;
};

}  // namespace test::net
