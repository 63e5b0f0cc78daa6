#pragma once

#include <SFML/System/Err.hpp>

#include <cassert>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace holder {

// Owns every loaded resource of one kind, keyed by identifier. References handed out stay
// valid for the holder's lifetime: resources live on the heap and are never replaced.
template <typename Resource, typename ResourceId>
class ResourceHolder {
public:
    ResourceHolder() = default;
    ResourceHolder(const ResourceHolder&) = delete;
    ResourceHolder& operator=(const ResourceHolder&) = delete;

    // Loads `file` (for shaders: the vertex shader; the extra argument names the fragment
    // shader). Throws std::runtime_error naming `file` and leaves the holder unchanged on failure.
    template <typename... Args>
    void Load(ResourceId id, const std::string& file, Args... args) {
        auto resource = std::make_unique<Resource>();
        if (!LoadFrom(*resource, std::filesystem::path(file), args...))
            throw std::runtime_error("Failed to load resource " + file);
        const auto inserted = resource_by_id.insert(std::make_pair(id, std::move(resource)));
        assert(inserted.second);
        (void)inserted;
    }

    const Resource& Get(ResourceId id) const { return *Find(id); }
    // Mutable access for owners that configure what they loaded (texture repeat, shader uniforms).
    Resource& Get(ResourceId id) { return *Find(id); }

private:
    const std::unique_ptr<Resource>& Find(ResourceId id) const {
        const auto found = resource_by_id.find(id);
        assert(found != resource_by_id.end());
        return found->second;
    }

    // SFML 2.5 takes narrow strings where SFML 3 takes paths: the conversion lives here only.
    static bool LoadFrom(Resource& resource, const std::filesystem::path& path) {
        return resource.loadFromFile(path.string());
    }
    // A shader names the file at fault itself, in the one line of its exception: SFML's own
    // report (a compiler log of several lines) is kept quiet, and the fragment file is tried alone
    // to tell which of the two failed.
    static bool LoadFrom(Resource& resource, const std::filesystem::path& vertex, const std::filesystem::path& fragment) {
        std::streambuf* const report = sf::err().rdbuf(nullptr);
        const bool loaded = resource.loadFromFile(vertex.string(), fragment.string());
        Resource probe;
        const bool fragment_fails = !loaded && !probe.loadFromFile(fragment.string(), Resource::Fragment);
        sf::err().rdbuf(report);
        if (fragment_fails) throw std::runtime_error("Failed to load resource " + fragment.string());
        return loaded;
    }

    std::map<ResourceId, std::unique_ptr<Resource>> resource_by_id;
};

}  // namespace holder
