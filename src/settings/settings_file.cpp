#include "settings/settings_file.hpp"

#include "settings/settings_text.hpp"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

// Hand-edited or not, a settings file is a few hundred bytes; anything far bigger is not one.
constexpr std::uintmax_t largest_file = 64 * 1024;

std::runtime_error SystemError(const std::string& what) {
    return std::runtime_error(fmt::format("{}: {}", what, std::strerror(errno)));
}

// Reads the whole file; throws with the reason when it cannot.
std::string ReadFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw std::runtime_error("it is a directory");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw SystemError("cannot be read");
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > largest_file) throw std::runtime_error("larger than 64 KiB");
    }
    if (file.bad()) throw SystemError("cannot be read");
    return text;
}

void WriteAll(int descriptor, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throw SystemError("cannot write");
        written += static_cast<std::size_t>(count);
    }
}

}  // namespace

std::optional<std::filesystem::path> DefaultSettingsPath(const char* xdg_config_home, const char* home) {
    std::filesystem::path config;
    if (xdg_config_home && std::filesystem::path(xdg_config_home).is_absolute())
        config = xdg_config_home;
    else if (home && *home)
        config = std::filesystem::path(home) / ".config";
    else
        return std::nullopt;
    return config / "kirrow" / "settings.ini";
}

SettingsFile::SettingsFile(std::optional<std::filesystem::path> file_path, std::ostream& error_stream)
    : path(std::move(file_path)), errors(error_stream) {}

std::filesystem::path SettingsFile::BadPath() const { return path.value().string() + ".bad"; }

Settings_t SettingsFile::Load() {
    if (!path) {
        errors << "Kirrow: neither XDG_CONFIG_HOME nor HOME is set, so the settings are not kept" << std::endl;
        return Defaults();
    }
    std::error_code error;
    if (!std::filesystem::exists(*path, error) && !error) return Defaults();
    Parsed_t parsed;
    try {
        parsed = Parse(ReadFile(*path));
    } catch (const std::exception& failure) {
        parsed = {Defaults(), {failure.what()}};
    }
    if (parsed.problems.empty()) return parsed.settings;

    std::string problem = parsed.problems.front();
    if (parsed.problems.size() > 1) problem += fmt::format(" (and {} more)", parsed.problems.size() - 1);
    std::filesystem::rename(*path, BadPath(), error);
    // A file that cannot be put aside must not be overwritten either: nothing is saved this run.
    keep_unsaved = static_cast<bool>(error);
    const std::string kept = error ? fmt::format("could not keep it as {}: {}; changes will not be saved",
                                                 BadPath().string(), error.message())
                                   : fmt::format("kept as {}", BadPath().string());
    errors << fmt::format("Kirrow: settings file {}: {}; using the defaults for what could not be read ({})",
                          path->string(), problem, kept)
           << std::endl;
    // What could be read goes back under the usual name, but never over the file just kept.
    if (!error) Save(parsed.settings);
    return parsed.settings;
}

bool SettingsFile::Save(const Settings_t& settings) {
    if (!path || keep_unsaved) return false;
    try {
        Write(settings);
    } catch (const std::exception& failure) {
        if (!save_failure_reported)
            errors << fmt::format("Kirrow: cannot save the settings to {}: {}", path->string(), failure.what())
                   << std::endl;
        save_failure_reported = true;
        return false;
    }
    save_failure_reported = false;
    return true;
}

// A temporary file beside the real one, synced, then renamed over it: the old file stays whole
// until the new one is complete.
void SettingsFile::Write(const Settings_t& settings) const {
    std::error_code error;
    // A settings file linked from elsewhere stays a link: the file it names is replaced.
    const std::filesystem::path target =
        std::filesystem::is_symlink(*path, error) ? std::filesystem::weakly_canonical(*path, error) : *path;
    const std::filesystem::path directory = target.parent_path();
    std::filesystem::create_directories(directory, error);
    if (error) throw std::runtime_error(fmt::format("cannot create {}: {}", directory.string(), error.message()));

    std::string temporary = (directory / ".settings.ini.XXXXXX").string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) throw SystemError("cannot create a file in " + directory.string());
    bool open = true;
    try {
        WriteAll(descriptor, Format(settings));
        if (::fsync(descriptor) != 0) throw SystemError("cannot write");
        open = false;
        if (::close(descriptor) != 0) throw SystemError("cannot write");
    } catch (...) {
        if (open) ::close(descriptor);
        ::unlink(temporary.c_str());
        throw;
    }
    ::chmod(temporary.c_str(), 0644);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const auto failure = SystemError("cannot replace the file");
        ::unlink(temporary.c_str());
        throw failure;
    }
    // The rename itself lasts once the directory is synced too.
    const int directory_descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (directory_descriptor >= 0) {
        ::fsync(directory_descriptor);
        ::close(directory_descriptor);
    }
}

}  // namespace settings
