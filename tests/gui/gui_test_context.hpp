#pragma once

#include "gui/button.hpp"
#include "gui/label.hpp"
#include "state/state_context.hpp"
#include "support/helpers.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdlib>
#include <memory>

namespace gui_test {

// The services the widgets take from a screen's context, loaded the way the Application loads
// them: a 1280 x 960 window showing a 640 x 480 view, the menu textures, the font and the sounds.
// One window for the whole program: opening one per test is slow on the virtual display.
struct Services {
    static Services& Shared() {
        static Services services;
        return services;
    }

    Services() : window(sf::VideoMode(1280, 960, 32), "gui test") {
        window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        for (const auto id : {holder::TextureId::Button, holder::TextureId::Background})
            textures.Load(id, holder::FileOf(id));
        context = state::StateContext_t{&window, &textures, &fonts, nullptr, &sounds, nullptr, nullptr};
    }

    sf::RenderWindow window;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    test::SoundProbe sounds;
    state::StateContext_t context;
};

inline std::shared_ptr<gui::button::Button> MakeButton(const char* caption = "") {
    auto button = std::make_shared<gui::button::Button>(Services::Shared().context);
    button->SetText(caption);
    return button;
}

// What a widget draws on its own, copied without blending onto a transparent picture.
inline sf::Image Picture(const sf::Drawable& widget, sf::Vector2u size = {200, 50}) {
    sf::RenderTexture target;
    if (!target.create(size.x, size.y)) std::abort();
    target.clear(sf::Color::Transparent);
    target.draw(widget, sf::RenderStates(sf::BlendNone));
    target.display();
    return target.getTexture().copyToImage();
}

enum class Look { Normal, Selected, Pressed, Other };

// Which of the three 200 x 50 looks stacked in the button texture a caption-less button shows.
inline Look LookOf(const sf::Drawable& button) {
    const sf::Image drawn = Picture(button);
    const sf::Image looks = Services::Shared().textures.Get(holder::TextureId::Button).copyToImage();
    for (unsigned look = 0; look < 3; ++look) {
        bool same = true;
        for (unsigned y = 0; y < 50 && same; ++y)
            for (unsigned x = 0; x < 200 && same; ++x) same = drawn.getPixel(x, y) == looks.getPixel(x, y + 50 * look);
        if (same) return static_cast<Look>(look);
    }
    return Look::Other;
}

}  // namespace gui_test
