// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TTempFolder {
public:
    TTempFolder() {
        std::random_device device;
        Path_ = std::filesystem::temp_directory_path() /
                ("kvl-test-" + std::to_string(device()) + std::to_string(device()));
        std::filesystem::create_directories(Path_);
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(Path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(Path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::filesystem::path operator/(const std::string& name) const { return Path_ / name; }

private:
    std::filesystem::path Path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}
