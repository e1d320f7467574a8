#pragma once
// A temporary directory, removed with everything in it when the test ends; optionally the
// process's working directory meanwhile (the log and error files are written there).
#include <filesystem>
#include <string>

namespace vantrel::test {

class TempDir {
  public:
    explicit TempDir(bool enter = false);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

} // namespace vantrel::test
