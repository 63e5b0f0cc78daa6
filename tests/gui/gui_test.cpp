#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/label.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <memory>
#include <tuple>

namespace {

using test::KeyPress;
using test::KeyRelease;

// Widgets on the screens' own services: a 1280 x 960 window showing a 640 x 480 view, the menu
// textures, the font and the sounds.
class GuiTest : public test::ScreenFixture {
protected:
    std::shared_ptr<gui::button::Button> MakeButton() { return std::make_shared<gui::button::Button>(context); }

    // What a widget draws on its own, copied without blending onto a transparent picture.
    static sf::Image Picture(const sf::Drawable& widget) {
        sf::RenderTexture target;
        if (!target.create(200, 50)) std::abort();
        target.clear(sf::Color::Transparent);
        target.draw(widget, sf::RenderStates(sf::BlendNone));
        target.display();
        return target.getTexture().copyToImage();
    }

    // Which of the three 200 x 50 looks stacked in the button texture (normal, selected, pressed)
    // a caption-less button shows; 3 for none of them.
    int LookOf(const sf::Drawable& button) {
        const sf::Image drawn = Picture(button), looks = textures.Get(holder::TextureId::Button).copyToImage();
        for (int look = 0; look < 3; ++look) {
            bool same = true;
            for (unsigned y = 0; y < 50 && same; ++y)
                for (unsigned x = 0; x < 200 && same; ++x) same = drawn.getPixel(x, y) == looks.getPixel(x, y + 50 * look);
            if (same) return look;
        }
        return 3;
    }

    state::StateContext_t context{&window, &textures, &fonts, &music, &sounds, &key_binding_1, &key_binding_2};
};

// A menu column (label, plain button, label, toggle button) driven key by key, beside
// containers with no button at all. Each activation clicks once its callback, if any, has run;
// only the toggle stays pressed.
TEST_F(GuiTest, KeysMoveTheSelectionOverLabelsAndActivateTheSelectedButton) {
    gui::container::Container container, labels, empty;
    auto label = std::make_shared<gui::label::Label>("label", fonts);
    auto plain = MakeButton();
    auto toggle = MakeButton();
    toggle->SetToggle(true);
    std::vector<std::size_t> clicks_before_plain_calls;
    plain->SetCallback([&] { clicks_before_plain_calls.push_back(sounds.Heard().size()); });
    container.Pack(label);
    container.Pack(plain);
    container.Pack(label);
    container.Pack(toggle);
    labels.Pack(label);

    sf::Event text{};
    text.type = sf::Event::TextEntered;
    text.text.unicode = '\r';
    // (event, plain button selected, its calls, the toggle's activations)
    const std::tuple<sf::Event, bool, int, int> steps[] = {
        {KeyRelease(sf::Keyboard::Down), true, 0, 0},  // the first button starts selected
        {KeyPress(sf::Keyboard::Right), true, 0, 0},   {text, true, 0, 0},
        {KeyPress(sf::Keyboard::Enter), true, 1, 0},   {KeyPress(sf::Keyboard::Space), true, 2, 0},
        {KeyPress(sf::Keyboard::Down), false, 2, 0},   {KeyPress(sf::Keyboard::Down), true, 2, 0},  // wraps
        {KeyPress(sf::Keyboard::Up), false, 2, 0},     {KeyPress(sf::Keyboard::W), true, 2, 0},
        {KeyPress(sf::Keyboard::S), false, 2, 0},      {KeyPress(sf::Keyboard::Space), false, 2, 1},
        // The active toggle swallows every key until it is deactivated.
        {KeyPress(sf::Keyboard::Up), false, 2, 1},     {KeyPress(sf::Keyboard::Enter), false, 2, 1},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& [event, plain_selected, plain_count, toggle_count] = steps[i];
        for (auto* each : {&container, &labels, &empty}) each->HandleEvent(event);
        EXPECT_EQ(plain->IsSelected(), plain_selected) << i;
        EXPECT_EQ(LookOf(*plain), plain_selected ? 1 : 0) << i;  // never shown pressed
        EXPECT_NE(plain->IsSelected(), toggle->IsSelected()) << i;
        EXPECT_EQ(clicks_before_plain_calls.size(), static_cast<std::size_t>(plain_count)) << i;
        EXPECT_EQ(sounds.Heard().size(), static_cast<std::size_t>(plain_count + toggle_count)) << i;
    }
    EXPECT_EQ(clicks_before_plain_calls, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(sounds.Heard().back().id, holder::SoundId::Button);
    EXPECT_FALSE(label->IsSelected() || label->IsActive());
    EXPECT_EQ(LookOf(*toggle), 2);
    toggle->Deactivate();
    EXPECT_EQ(LookOf(*toggle), 1);
    container.HandleEvent(KeyPress(sf::Keyboard::Up));
    EXPECT_TRUE(plain->IsSelected());
    EXPECT_EQ(LookOf(*toggle), 0);
}

}  // namespace
