#include "data/data_directory.hpp"

#include <system_error>

namespace data {

namespace {

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool SameDirectory(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::string FindDataDirectory(const std::filesystem::path& executable, const char* override_directory) {
    if (override_directory && *override_directory) {
        std::string directory = override_directory;
        while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
        return directory;
    }
    const std::filesystem::path prefix = executable.parent_path() / "..";
    const std::filesystem::path installed = prefix / "share" / "kirrow";
    const std::filesystem::path found = IsDirectory(installed) ? installed : prefix / "share";
    if (executable.empty() || SameDirectory(found, "../share")) return "../share";
    return found.lexically_normal().string();
}

std::filesystem::path ExecutablePath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace data
