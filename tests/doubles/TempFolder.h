#pragma once
// A private temporary folder for one test.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace vh::testing {

// A fresh folder under the system's temporary folder, deleted with the object.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            path_ = base / ("vh-test-" + std::to_string(random()) + "-" + std::to_string(random()));
            if (std::filesystem::create_directory(path_)) break;
            if (attempt > 1000) throw std::runtime_error("no temporary folder");
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace vh::testing
