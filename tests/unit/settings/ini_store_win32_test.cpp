// The INI rules the program relies on, checked against the store it really
// uses: the platform's profile functions (Windows builds only).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "settings/ini_store.h"
#include "tests/unit/temp_file.h"

namespace mosaikon {
namespace {

using testing::TempFile;
using Lines = std::vector<std::string>;

// The file's lines as written, blank lines left out.
Lines FileLines(const TempFile& file) {
  Lines lines;
  const std::string text = file.Read();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST(ProfileIniStore, MissingFileSectionOrKeyGivesTheDefault) {
  TempFile file;
  std::filesystem::remove(file.path());
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetInt("Settings", "TabSize", 8), 8);
  EXPECT_EQ(store->GetString("Settings", "LangDll", "<NA>", 260), "<NA>");

  file.Write("[Settings]\r\nTabSize=4\r\nLangDll=\r\n");
  EXPECT_EQ(store->GetInt("Settings", "FontSize", 3), 3);
  EXPECT_EQ(store->GetInt("MRU", "TabSize", 8), 8);
  EXPECT_EQ(store->GetString("Settings", "WindowPos", "<NA>", 260), "<NA>");
  EXPECT_EQ(store->GetString("Settings", "LangDll", "<NA>", 260), "");  // present, empty: built-in English
}

// Colours with bit 31 set are stored as negative numbers.
TEST(ProfileIniStore, IntegerIsTheNumberTheValueBeginsWith) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {" 42 ", 42}, {"12abc", 12}, {"abc", 0}, {"-1", -1}, {"2147483647", 2147483647}};
  const auto key = [](std::size_t i) { return std::string("k").append(std::to_string(i)); };
  TempFile file;
  std::string text = "[S]\r\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) text.append(key(i)).append("=").append(cases[i].first) += "\r\n";
  file.Write(text);
  auto store = OpenIniStore(file.path());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(store->GetInt("S", key(i), 1234), cases[i].second) << cases[i].first;
  }
}

TEST(ProfileIniStore, ReadsWithoutRegardToLetterCaseAndCutsTextToTheBuffer) {
  TempFile file;
  const std::string path = "C:\\" + std::string(300, 'p') + ".txt";
  file.Write("[settings]\r\nreusEVIEWER=1\r\n[mru]\r\n1=" + path + "\r\n");
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetInt("Settings", "ReuseViewer", 0), 1);
  EXPECT_EQ(store->GetString("MRU", "1", "", 260), path.substr(0, 259));
}

TEST(ProfileIniStore, WritesInPlaceOrAtTheSectionEndAndClearsOneSection) {
  TempFile file;
  std::filesystem::remove(file.path());
  auto store = OpenIniStore(file.path());
  EXPECT_TRUE(store->WriteString("Settings", "TabSize", "8"));
  EXPECT_TRUE(store->WriteString("MRU", "1", "C:\\a.txt"));
  EXPECT_TRUE(store->WriteString("MRU", "2", "b.nfo"));
  EXPECT_TRUE(store->WriteString("Settings", "FontSize", "3"));
  EXPECT_TRUE(store->WriteString("Settings", "TabSize", "4"));
  EXPECT_EQ(FileLines(file), (Lines{"[Settings]", "TabSize=4", "FontSize=3", "[MRU]", "1=C:\\a.txt", "2=b.nfo"}));

  EXPECT_TRUE(store->ClearSection("MRU"));
  EXPECT_EQ(store->GetString("MRU", "2", "", 260), "");
  EXPECT_TRUE(store->WriteString("MRU", "1", "b.nfo"));
  EXPECT_EQ(FileLines(file), (Lines{"[Settings]", "TabSize=4", "FontSize=3", "[MRU]", "1=b.nfo"}));
}

TEST(ProfileIniStore, RefusesValuesWithLineBreaks) {
  // Written as they are, the breaks would plant keys or sections in the file.
  TempFile file("[MRU]\r\n1=a.txt\r\n");
  auto store = OpenIniStore(file.path());
  EXPECT_FALSE(store->WriteString("MRU", "1", "b.txt\r\n[Settings]\r\nReuseViewer=1"));
  EXPECT_FALSE(store->WriteString("MRU", "1", "b.txt\nx=1"));
  EXPECT_FALSE(store->WriteString("MRU", "1", "b.txt\rx=1"));
  EXPECT_EQ(FileLines(file), (Lines{"[MRU]", "1=a.txt"}));
}

// The profile functions cut a value to the buffer they are given.
TEST(ProfileIniStore, LongValuesAreReadWholeWithAGrowingBuffer) {
  std::string types;
  for (int i = 1; types.size() < 5000; ++i) types += "ext" + std::to_string(i) + ";";
  TempFile file("[Settings]\r\nFileTypes=" + types + "\r\nEdge=" + std::string(1023, 'x') + "\r\n");
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetString("Settings", "FileTypes", "", 1024), types.substr(0, 1023));
  bool cut = true;
  EXPECT_EQ(ReadWholeString(*store, "Settings", "FileTypes", "", &cut), types);
  EXPECT_FALSE(cut);
  EXPECT_EQ(ReadWholeString(*store, "Settings", "Edge", ""), std::string(1023, 'x'));
  EXPECT_EQ(ReadWholeString(*store, "Settings", "Missing", "<NA>"), "<NA>");
}

// Another program holding the file open without sharing: the keys read as
// their defaults, so the file must be told apart from a missing one.
TEST(ProfileIniStore, AFileHeldWithoutSharingIsToldApartFromAMissingOne) {
  TempFile file("[Settings]\r\nTabSize=4\r\n");
  EXPECT_EQ(IniReadFailure(file.path()), 0u);
  HANDLE held = CreateFileA(file.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(IniReadFailure(file.path()), static_cast<ErrorCode>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(OpenIniStore(file.path())->GetInt("Settings", "TabSize", 8), 8);
  CloseHandle(held);
  EXPECT_EQ(IniReadFailure(file.path()), 0u);
  EXPECT_EQ(IniReadFailure(file.path() + ".missing"), 0u);
  EXPECT_EQ(IniReadFailure(file.path() + ".missing\\Mosaikon.ini"), 0u);
}

TEST(ProfileIniStore, LinesAreTheSectionsKeysAndValuesInFileOrder) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += std::to_string(i) + "=C:\\art\\file" + std::to_string(i) + ".ans\r\n";
  TempFile file("[Settings]\r\nTabSize=4\r\n[MRU]\r\n2=b.nfo\r\n1=C:\\a.txt\r\n[Big]\r\n" + many);
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->Lines("mru"), (Lines{"2=b.nfo", "1=C:\\a.txt"}));
  EXPECT_EQ(store->Lines("Missing"), Lines{});
  const Lines big = store->Lines("Big");  // more than the first buffer holds
  ASSERT_EQ(big.size(), 300u);
  EXPECT_EQ(big.back(), "299=C:\\art\\file299.ans");
}

// Copies of the program share one lock: while one holds it, another waits.
TEST(ProfileIniStore, OneCopyAtATimeHoldsTheLock) {
  const auto othersMayTakeIt = [] {
    bool taken = false;
    std::thread other([&] {
      HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "MosaikonIniLock");
      if (!mutex) return;
      taken = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
      if (taken) ReleaseMutex(mutex);
      CloseHandle(mutex);
    });
    other.join();
    return taken;
  };
  {
    const IniLock lock;
    const IniLock again;  // the same thread may take it again
    EXPECT_FALSE(othersMayTakeIt());
  }
  EXPECT_TRUE(othersMayTakeIt());
}

}  // namespace
}  // namespace mosaikon
