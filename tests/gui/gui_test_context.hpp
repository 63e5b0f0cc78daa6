#pragma once

#include "audio/sound_player.hpp"
#include "gui/button.hpp"
#include "state/state_context.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdlib>
#include <memory>

namespace gui_test {

// The real sound player, with a look at the sounds it has started.
class ProbedSoundPlayer : public SoundPlayer {
public:
    std::size_t StartedSounds() const { return sounds.size(); }
    bool LastIsClick() const {
        return !sounds.empty() && sounds.back().getBuffer() == &sound_buffers.Get(holder::SoundId::Button);
    }
};

// The services the widgets take from a screen's context, loaded the way the Application loads
// them: a 1280 x 960 window showing a 640 x 480 view, the menu textures, the font and the sounds.
struct Services {
    Services() : window(sf::VideoMode(1280, 960, 32), "gui test") {
        window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        textures.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
        textures.Load(holder::TextureId::Background, holder::FileOf(holder::TextureId::Background));
        context = state::StateContext_t{&window, &textures, &fonts, nullptr, &sounds, nullptr, nullptr};
    }

    sf::RenderWindow window;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    ProbedSoundPlayer sounds;
    state::StateContext_t context;
};

// One window for the whole program: opening one per test is slow on the virtual display.
inline Services& Shared() {
    static Services services;
    return services;
}

inline sf::Event KeyPress(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = key;
    return event;
}

inline sf::Event KeyRelease(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyReleased;
    event.key.code = key;
    return event;
}

inline std::shared_ptr<gui::button::Button> MakeButton(const char* caption = "") {
    auto button = std::make_shared<gui::button::Button>(Shared().context);
    button->SetText(caption);
    return button;
}

enum class Look { Normal, Selected, Pressed };

// Which of the three looks of the button texture a caption-less widget shows, judged by drawing
// it and comparing with each 200 x 50 strip of the texture.
inline Look LookOf(const sf::Drawable& widget) {
    sf::RenderTexture target;
    if (!target.create(200, 50)) std::abort();
    target.clear(sf::Color::Transparent);
    target.draw(widget);
    target.display();
    const sf::Image drawn = target.getTexture().copyToImage();
    const sf::Image looks = Shared().textures.Get(holder::TextureId::Button).copyToImage();
    long best_difference = -1;
    int best = 0;
    for (int look = 0; look < 3; ++look) {
        long difference = 0;
        for (unsigned y = 0; y < 50; ++y)
            for (unsigned x = 0; x < 200; ++x) {
                const sf::Color a = drawn.getPixel(x, y);
                const sf::Color b = looks.getPixel(x, y + 50 * look);
                difference += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            }
        if (best_difference < 0 || difference < best_difference) {
            best_difference = difference;
            best = look;
        }
    }
    return static_cast<Look>(best);
}

}  // namespace gui_test
