#include "display/window_mode.hpp"

#include "display/letterbox.hpp"
#include "rules/mission_rules.hpp"

#include <SFML/Graphics/View.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <filesystem>
#include <system_error>

namespace display {

namespace {
const sf::Vector2f picture_size(rules::VIEW_WIDTH, rules::VIEW_HEIGHT);
}

WindowMode::WindowMode(sf::RenderWindow& target_window, const std::string& icon_file) : window(target_window) {
    std::error_code error;
    has_icon = std::filesystem::exists(icon_file, error) && icon.loadFromFile(icon_file);
}

void WindowMode::Open(bool fullscreen) {
    if (window.isOpen() && !is_fullscreen) windowed_size = window.getSize();
    is_fullscreen = fullscreen;
    if (fullscreen)
        window.create(sf::VideoMode::getDesktopMode(), title, sf::Style::Fullscreen, sf::ContextSettings());
    else
        window.create(sf::VideoMode(windowed_size.x, windowed_size.y, 32), title, sf::Style::Default,
                      sf::ContextSettings());
    window.setKeyRepeatEnabled(false);
    window.setFramerateLimit(60);
    if (has_icon) window.setIcon(icon.getSize().x, icon.getSize().y, icon.getPixelsPtr());
    FitView();
}

void WindowMode::SetFullscreen(bool fullscreen) {
    if (fullscreen != is_fullscreen || !window.isOpen()) Open(fullscreen);
}

void WindowMode::FitView() {
    sf::View view(picture_size / 2.f, picture_size);
    view.setViewport(LetterboxViewport(window.getSize(), picture_size));
    window.setView(view);
}

}  // namespace display
