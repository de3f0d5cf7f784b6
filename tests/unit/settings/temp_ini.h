// A uniquely named INI file in the system's temporary folder for one test,
// removed afterwards, with helpers to write and inspect its raw text. The
// names are unique so the platform's profile cache never sees an old file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace mosaikon::testing {

class TempIni {
 public:
  TempIni() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    path_ = (std::filesystem::temp_directory_path() / (std::string("mosaikon_") + info->test_suite_name() + "_" +
                                                       info->name() + "_" + std::to_string(random()) + ".ini"))
                .string();
  }
  ~TempIni() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempIni(const TempIni&) = delete;
  TempIni& operator=(const TempIni&) = delete;

  const std::string& path() const { return path_; }

  void Write(const std::string& content) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << content;
  }

  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  bool Exists() const { return std::filesystem::exists(path_); }

  // The non-blank lines of `section` (without line endings), as written.
  std::vector<std::string> SectionLines(const std::string& section) const {
    std::vector<std::string> lines;
    bool inside = false;
    const std::string content = Read();
    std::size_t start = 0;
    while (start < content.size()) {
      std::size_t end = content.find('\n', start);
      if (end == std::string::npos) end = content.size();
      std::string line = content.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line.front() == '[') {
        inside = line == "[" + section + "]";
      } else if (inside && !line.empty()) {
        lines.push_back(line);
      }
    }
    return lines;
  }

 private:
  std::string path_;
};

}  // namespace mosaikon::testing
