#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/label.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
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
    std::shared_ptr<gui::button::Button> MakeButton(const char* caption = "") {
        auto button = std::make_shared<gui::button::Button>(context);
        button->SetText(caption);
        return button;
    }

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

TEST_F(GuiTest, ButtonRunsItsCallbackThenClicksAndOnlyAToggleStaysPressed) {
    auto button = MakeButton();
    std::vector<std::size_t> sounds_seen_by_callback;
    button->SetCallback([&] { sounds_seen_by_callback.push_back(sounds.Heard().size()); });
    EXPECT_EQ(LookOf(*button), 0);
    button->Select();
    button->Activate();
    EXPECT_EQ(sounds_seen_by_callback, std::vector<std::size_t>{0});
    ASSERT_EQ(sounds.Heard().size(), 1u);
    EXPECT_EQ(sounds.Heard().back().id, holder::SoundId::Button);
    EXPECT_FALSE(button->IsActive());
    EXPECT_EQ(LookOf(*button), 1);

    auto toggle = MakeButton();  // without a callback, it still clicks
    toggle->SetToggle(true);
    toggle->Select();
    toggle->Activate();
    EXPECT_EQ(sounds.Heard().size(), 2u);
    EXPECT_TRUE(toggle->IsActive());
    EXPECT_EQ(LookOf(*toggle), 2);
    toggle->Deactivate();
    EXPECT_EQ(LookOf(*toggle), 1);
}

// The caption is what a button draws beyond its caption-less self; its middle is the button's,
// up to the first glyph's small left bearing, and long captions shrink inside the rim.
TEST_F(GuiTest, CaptionSitsInTheMiddleOfItsButton) {
    const sf::Image plain = Picture(*MakeButton());
    for (const char* caption : {"Play", "Settings", "Launch missile"}) {
        const sf::Image drawn = Picture(*MakeButton(caption));
        unsigned left = 200, right = 0, top = 50, bottom = 0;
        for (unsigned y = 0; y < 50; ++y)
            for (unsigned x = 0; x < 200; ++x)
                if (drawn.getPixel(x, y) != plain.getPixel(x, y)) {
                    left = std::min(left, x), right = std::max(right, x + 1);
                    top = std::min(top, y), bottom = std::max(bottom, y + 1);
                }
        ASSERT_LT(left, right) << caption;
        EXPECT_NEAR((left + right) / 2.f, 100.f, 3.f) << caption;
        EXPECT_NEAR((top + bottom) / 2.f, 25.f, 2.f) << caption;
        EXPECT_GE(left, 8u) << caption;
    }
}

// A menu column (label, plain button, label, toggle button) driven key by key, beside
// containers with no button at all.
TEST_F(GuiTest, KeysMoveTheSelectionOverLabelsAndActivateTheSelectedButton) {
    gui::container::Container container, labels, empty;
    auto label = std::make_shared<gui::label::Label>("label", fonts);
    auto plain = MakeButton();
    auto toggle = MakeButton();
    toggle->SetToggle(true);
    int plain_calls = 0, toggle_calls = 0;
    plain->SetCallback([&] { ++plain_calls; });
    toggle->SetCallback([&] { ++toggle_calls; });
    container.Pack(label);
    container.Pack(plain);
    container.Pack(label);
    container.Pack(toggle);
    labels.Pack(label);

    sf::Event text{};
    text.type = sf::Event::TextEntered;
    text.text.unicode = '\r';
    // (event, plain button selected, its calls, the toggle's calls)
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
        EXPECT_NE(plain->IsSelected(), toggle->IsSelected()) << i;
        EXPECT_EQ(plain_calls, plain_count) << i;
        EXPECT_EQ(toggle_calls, toggle_count) << i;
    }
    EXPECT_FALSE(label->IsSelected() || label->IsActive());
    toggle->Deactivate();
    container.HandleEvent(KeyPress(sf::Keyboard::Up));
    EXPECT_TRUE(plain->IsSelected());
    EXPECT_EQ(LookOf(*toggle), 0);
}

}  // namespace
