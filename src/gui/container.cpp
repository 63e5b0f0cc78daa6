#include "gui/container.hpp"

#include "input/menu_keys.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

namespace gui::container {

void Container::Pack(std::shared_ptr<component::Component> component) {
    children.push_back(std::move(component));
    if (!HasSelection() && children.back()->IsSelectable()) Select(children.size() - 1);
}

void Container::HandleEvent(const sf::Event& event) {
    if (HasSelection() && children[static_cast<std::size_t>(selected_child)]->IsActive()) {
        children[static_cast<std::size_t>(selected_child)]->HandleEvent(event);
        return;
    }
    const auto key = input::MenuKeyOf(event);
    if (!key) return;
    switch (*key) {
        case sf::Keyboard::W:
        case sf::Keyboard::Up:
            SelectPrevious();
            break;
        case sf::Keyboard::S:
        case sf::Keyboard::Down:
            SelectNext();
            break;
        case sf::Keyboard::Enter:
        case sf::Keyboard::Space:
            if (HasSelection()) children[static_cast<std::size_t>(selected_child)]->Activate();
            break;
        default:
            break;
    }
}

void Container::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    for (const auto& child : children) target.draw(*child, states);
}

void Container::Select(std::size_t index) {
    auto& child = children[index];
    if (!child->IsSelectable()) return;
    if (HasSelection()) children[static_cast<std::size_t>(selected_child)]->Deselect();
    child->Select();
    selected_child = static_cast<int>(index);
}

// Both walks stop at the current child at the latest, since it is selectable.
void Container::SelectNext() {
    if (!HasSelection()) return;
    const std::size_t count = children.size();
    std::size_t next = (static_cast<std::size_t>(selected_child) + 1) % count;
    while (!children[next]->IsSelectable()) next = (next + 1) % count;
    Select(next);
}

void Container::SelectPrevious() {
    if (!HasSelection()) return;
    const std::size_t count = children.size();
    std::size_t previous = (static_cast<std::size_t>(selected_child) + count - 1) % count;
    while (!children[previous]->IsSelectable()) previous = (previous + count - 1) % count;
    Select(previous);
}

}  // namespace gui::container
