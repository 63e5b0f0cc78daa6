#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Transformable.hpp>

namespace sf {
class Event;
}

namespace gui::component {

// A keyboard-driven widget: it can be selected (highlighted) and activated (pressed).
// Widgets are shared through std::shared_ptr between a container and any screen that keeps one.
class Component : public sf::Drawable, public sf::Transformable {
public:
    ~Component() override = default;

    virtual bool IsSelectable() const = 0;
    bool IsSelected() const { return is_selected; }
    virtual void Select() { is_selected = true; }
    virtual void Deselect() { is_selected = false; }

    bool IsActive() const { return is_active; }
    virtual void Activate() { is_active = true; }
    virtual void Deactivate() { is_active = false; }

    virtual void HandleEvent(const sf::Event& event) = 0;

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override = 0;

    bool is_selected = false;
    bool is_active = false;
};

}  // namespace gui::component
