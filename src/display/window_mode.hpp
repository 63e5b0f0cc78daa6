#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Vector2.hpp>

namespace display {

// Opens the game's window, in a window or fullscreen, and keeps the 640 x 480 picture
// letterboxed in it at whatever size it has. The only code that creates the window, so the
// platform's window calls stay here.
class WindowMode {
public:
    static constexpr const char* title = "Kirrow - SFML";

    // `icon_file` may be missing: the window then has the desktop's default icon.
    WindowMode(sf::RenderWindow& window, const std::string& icon_file);

    // (Re)creates the window; the picture, key repeat and frame rate are set up again.
    void Open(bool fullscreen);
    void SetFullscreen(bool fullscreen);
    void ToggleFullscreen() { SetFullscreen(!is_fullscreen); }
    bool IsFullscreen() const { return is_fullscreen; }
    // Fits the view to the window's present size; called when it was resized.
    void FitView();

private:
    sf::RenderWindow& window;
    sf::Image icon;
    bool has_icon = false;
    bool is_fullscreen = false;
    // Leaving fullscreen gives the window back the size the player last gave it.
    sf::Vector2u windowed_size{1280, 960};
};

}  // namespace display
