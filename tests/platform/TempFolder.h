// A uniquely named folder under the system's temporary directory, removed
// with everything in it when the object goes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vorn::platform::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              ("vorn-platform-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path() const { return path_.string(); }
  std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }

  // Writes `content` byte for byte to `relative`, creating its folders.
  std::string WriteFile(const std::string& relative, const std::string& content = "") const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

  std::string MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return (path_ / relative).string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace vorn::platform::testing
