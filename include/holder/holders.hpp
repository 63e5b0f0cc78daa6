#pragma once

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

namespace sf {
class Font;
class Shader;
class SoundBuffer;
class Texture;
}  // namespace sf

namespace holder {

// The holder of each kind of resource, by one name everywhere.
using TextureHolder = ResourceHolder<sf::Texture, TextureId>;
using FontHolder = ResourceHolder<sf::Font, FontId>;
using ShaderHolder = ResourceHolder<sf::Shader, ShaderId>;
using SoundBufferHolder = ResourceHolder<sf::SoundBuffer, SoundId>;

}  // namespace holder
