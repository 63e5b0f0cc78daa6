#include "support/helpers.hpp"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace test {

sf::Event KeyPress(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = key;
    return event;
}

sf::Event KeyRelease(sf::Keyboard::Key key) {
    sf::Event event = KeyPress(key);
    event.type = sf::Event::KeyReleased;
    return event;
}

void Deliver(scene::SceneNode& root, command::CommandQueue& commands) {
    for (; !commands.empty(); commands.pop()) root.OnCommand(commands.front(), sf::Time::Zero);
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kirrow_test_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<sf::Int16> Tone(float frequency, float seconds, unsigned rate, unsigned channels, float amplitude) {
    std::vector<sf::Int16> samples;
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(seconds * static_cast<float>(rate)); ++frame) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(frame) / rate;
        samples.insert(samples.end(), channels, static_cast<sf::Int16>(std::lround(32767 * amplitude * std::sin(phase))));
    }
    return samples;
}

void WriteWav(const std::filesystem::path& file, const std::vector<sf::Int16>& samples, unsigned channels,
              unsigned rate) {
    sf::SoundBuffer buffer;
    if (!buffer.loadFromSamples(samples.data(), samples.size(), channels, rate) || !buffer.saveToFile(file.string()))
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<SoundProbe::Heard_t> SoundProbe::Heard() const {
    std::vector<Heard_t> heard;
    for (const sf::Sound& sound : sounds)
        for (std::size_t id = 0; id < holder::sound_files.size(); ++id)
            if (sound.getBuffer() == &sound_buffers.Get(static_cast<holder::SoundId>(id)))
                heard.push_back({static_cast<holder::SoundId>(id), {sound.getPosition().x, -sound.getPosition().y}});
    return heard;
}

namespace {

// Written once per test program. SFML picks a reader by the contents, not the name, so WAV files
// stand in for the MP3 tracks. They are long, so no test's playback ever reaches a track's end.
const std::filesystem::path& StandInTracks() {
    static const TempDir directory;
    static const bool written = [] {
        const char* const names[] = {"menu.mp3", "mission.mp3", "game_over.mp3"};
        for (int i = 0; i < 3; ++i) {
            WriteWav(directory / "track.wav", Tone(220.f, 100.f * static_cast<float>(i + 1), 1000, 1), 1, 1000);
            std::filesystem::rename(directory / "track.wav", directory / names[i]);
        }
        return true;
    }();
    (void)written;
    return directory.Path();
}

}  // namespace

MusicProbe::MusicProbe() : MusicPlayer(StandInTracks().string() + "/") {}

std::optional<MusicId> MusicProbe::Track() const {
    const long hundreds = std::lround(music.getDuration().asSeconds() / 100.f);
    if (hundreds < 1 || hundreds > 3) return std::nullopt;
    return static_cast<MusicId>(hundreds - 1);
}

void LoadBlankSheets(Textures& textures) {
    static const TempDir directory;
    static const std::string sheet = [] {
        sf::Image image;
        image.create(1024, 4, sf::Color::Transparent);
        image.saveToFile((directory / "blank.png").string());
        return (directory / "blank.png").string();
    }();
    for (const auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                          holder::TextureId::Explosion, holder::TextureId::Particle})
        textures.Load(id, sheet);
}

FieldTest::FieldTest() {
    LoadBlankSheets(textures);
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    air_layer = &Attach(std::make_unique<scene::SceneNode>(scene::Category::SCENE_AIR_LAYER));
}

int FieldTest::Take(std::uint32_t category) {
    int count = 0;
    command::CommandQueue kept;
    for (; !commands.empty(); commands.pop()) {
        if (commands.front().category == category)
            ++count;
        else
            kept.push(commands.front());
    }
    commands = std::move(kept);
    return count;
}

}  // namespace test
