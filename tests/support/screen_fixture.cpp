#include "support/screen_fixture.hpp"

#include <SFML/Graphics/View.hpp>

namespace test {
namespace {

// A screen that only reports its creation and lets everything pass through.
class ProbeState : public state::State {
public:
    ProbeState(state::StateStack& stack, const state::StateContext_t& context, std::vector<std::string>* log,
               std::string name)
        : State(stack, context) {
        log->push_back(std::move(name));
    }
    void Draw() override {}
    bool Update(sf::Time) override { return true; }
    bool HandleEvent(const sf::Event&) override { return true; }
};

const char* const state_names[] = {"None",     "Title",    "Menu",  "Loading",      "Game",           "HostGame",
                                   "JoinGame", "Settings", "Pause", "NetworkPause", "MissionFailed", "MissionSuccess"};

}  // namespace

ScreenFixture::ScreenFixture()
    : window(sf::VideoMode(1280, 960), "Kirrow - SFML tests", sf::Style::Default),
      stack(state::StateContext_t{&window, &textures, &fonts, &music, &sounds, &key_binding_1, &key_binding_2}) {
    window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    textures.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
    textures.Load(holder::TextureId::Background, holder::FileOf(holder::TextureId::Background));
}

ScreenFixture::~ScreenFixture() { stack.Teardown(); }

void ScreenFixture::RegisterProbe(state::StateId id) {
    stack.RegisterState<ProbeState>(id, &created, std::string(state_names[static_cast<int>(id)]));
}

void ScreenFixture::Step(int count) {
    for (int i = 0; i < count; ++i) stack.Update(sf::microseconds(16666));
}

void ScreenFixture::Press(sf::Keyboard::Key key) { stack.HandleEvent(KeyPress(key)); }

void ScreenFixture::Release(sf::Keyboard::Key key) { stack.HandleEvent(KeyRelease(key)); }

}  // namespace test
