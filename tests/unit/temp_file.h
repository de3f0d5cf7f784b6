// A uniquely named file in the system's temporary folder for one test, written
// and read with exact bytes and removed afterwards. The names are unique, so
// the platform's INI cache never sees an older file of the same name.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace mosaikon::testing {

class TempFile {
 public:
  explicit TempFile(std::string_view content = {}) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    path_ = (std::filesystem::temp_directory_path() / (std::string("mosaikon_") + info->test_suite_name() + "_" +
                                                       info->name() + "_" + std::to_string(random()) + ".txt"))
                .string();
    Write(content);
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

  void Write(std::string_view content) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }

  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
};

}  // namespace mosaikon::testing
