#include "effect/post_effect.hpp"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Vertex.hpp>

namespace effect {

bool PostEffect::IsSupported() { return sf::Shader::isAvailable(); }

void PostEffect::ApplyShader(const sf::Shader& shader, sf::RenderTarget& output) {
    const sf::Vector2f size = output.getView().getSize();

    // Texture coordinates run from 1 at the top to 0 at the bottom: render textures store their
    // rows bottom-up, so this reads them the right way round.
    const sf::Vertex quad[] = {
        sf::Vertex(sf::Vector2f(0.f, 0.f), sf::Vector2f(0.f, 1.f)),
        sf::Vertex(sf::Vector2f(size.x, 0.f), sf::Vector2f(1.f, 1.f)),
        sf::Vertex(sf::Vector2f(0.f, size.y), sf::Vector2f(0.f, 0.f)),
        sf::Vertex(sf::Vector2f(size.x, size.y), sf::Vector2f(1.f, 0.f)),
    };

    sf::RenderStates states;
    states.blendMode = sf::BlendNone;
    states.shader = &shader;
    output.draw(quad, 4, sf::TriangleStrip, states);
}

}  // namespace effect
