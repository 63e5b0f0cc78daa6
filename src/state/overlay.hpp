#pragma once

namespace sf {
class RenderTarget;
}

namespace state {

// Darkens whatever the target's current view shows: the backdrop of the pause and result overlays.
void DrawDarkening(sf::RenderTarget& target);

}  // namespace state
