#include "fuzz/client_harness.hpp"

#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "state/state_stack.hpp"
#include "support/net_client_rig.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

namespace fuzz {

namespace {
// Stands for the screens the client asks for; like a result screen it holds the client still.
struct Still : state::State {
    using State::State;
    void Draw() override {}
    bool Update(sf::Time) override { return false; }
    bool HandleEvent(const sf::Event&) override { return false; }
};
}  // namespace

struct ClientHarness::Parts {
    // Small: the field is drawn through textures of the window's size, made anew for each client.
    sf::RenderWindow window{sf::VideoMode(160, 120), "Kirrow - SFML fuzz"};
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    MusicPlayer music;
    SoundPlayer sounds;
    key_binding::KeyBinding keys_1{1, [](sf::Keyboard::Key) { return false; }};
    key_binding::KeyBinding keys_2{2, [](sf::Keyboard::Key) { return false; }};
    state::StateStack stack{state::StateContext_t{&window, &textures, &fonts, &music, &sounds, &keys_1, &keys_2}};
    test::net::ClientRig rig{stack, "/dev/null"};  // no address file: the fake server takes any name
};

ClientHarness::ClientHarness() : parts(std::make_unique<Parts>()) {
    parts->window.setView(sf::View({320.f, 240.f}, {640.f, 480.f}));
    parts->fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    for (auto id : {state::StateId::Menu, state::StateId::NetworkPause, state::StateId::MissionFailed, state::StateId::MissionSuccess})
        parts->stack.RegisterState<Still>(id);
}

ClientHarness::~ClientHarness() { parts->stack.Teardown(); }

std::string ClientHarness::Run(const std::uint8_t* data, std::size_t size) {
    test::net::ClientRig& rig = parts->rig;
    parts->stack.ClearStates();
    rig.Start();
    for (std::size_t at = 0; at <= size + 10;) {
        // A lost connection is made again at once, without game time going by.
        if (!rig.UpdateUntil([&rig] { return rig.client->IsConnected(); })) return "the client never connected";
        if (at + 2 <= size) {
            const std::size_t length = static_cast<std::size_t>(data[at]) << 8 | data[at + 1], start = at + 2;
            const std::size_t end = std::min(size, start + (length == 0xffff ? 4 : length));
            const test::net::Bytes message(data + start, data + end);
            rig.server.SendRaw(length == 0xffff ? message : test::net::Framed(test::net::ToPacket(message)));
            at = end;
        } else {
            ++at;  // the end: a few more updates for what the messages started
        }
        rig.Steps(1);
        const world::World& world = rig.client->GetWorld();
        if (world.GetPlayerCharacters().size() > network::MAX_AIRCRAFT) return "more aircraft than a game holds";
        if (rig.client->GetLocalIdentifiers().size() > network::MAX_AIRCRAFT_PER_PEER) return "more than two own aircraft";
        if (world.GetSpawnPoints().size() > 64) return "enemies pile up";
    }
    parts->stack.Draw();
    return "";
}

}  // namespace fuzz
