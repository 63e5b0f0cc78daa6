#pragma once

#include "gui/component.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace gui::container {

// Holds a screen's widgets and walks a selection through the selectable ones with W/S/Up/Down
// (wrapping); Enter or Space activates the selected one. While that child is active it gets
// every event instead, so a toggle button can capture the next key.
class Container : public component::Component {
public:
    Container() = default;

    // The first selectable child packed becomes the selection.
    void Pack(std::shared_ptr<component::Component> component);

    bool IsSelectable() const override { return false; }
    using Component::Select;
    void HandleEvent(const sf::Event& event) override;

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    bool HasSelection() const { return selected_child != -1; }
    void Select(std::size_t index);
    void SelectNext();
    void SelectPrevious();

    std::vector<std::shared_ptr<component::Component>> children;
    int selected_child = -1;
};

}  // namespace gui::container
