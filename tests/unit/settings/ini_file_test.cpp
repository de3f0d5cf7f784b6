// Tests of the portable INI file: lookups, number reading, and the exact
// bytes it writes (in-place replacement, appending, new sections, clearing).
// The Windows build stores through the profile functions instead.
#ifndef _WIN32

#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/settings/temp_ini.h"

namespace mosaikon {
namespace {

using testing::TempIni;

// The number read for one key of one file.
struct IntCase {
  const char* content;
  const char* section;
  const char* key;
  std::int32_t fallback;
  std::int32_t expected;
};

TEST(IniFileRead, FindsKeysOfTheirOwnSectionWithoutRegardToCaseBlanksOrLineEnds) {
  const IntCase cases[] = {
      {"[ settings ]\nTABSIZE = 4 \n  fontSize=2\n", "Settings", "TabSize", 8, 4},
      {"[ settings ]\nTABSIZE = 4 \n  fontSize=2\n", "SETTINGS", "FontSize", 3, 2},
      // Only the first of two keys counts; comments and other sections do not.
      {"TabSize=1\r\n[Settings]\r\n; TabSize=2\r\nTabSize=3\r\nTabSize=4\r\n[MRU]\r\nFontSize=5\r\n", "Settings",
       "TabSize", 8, 3},
      {"TabSize=1\r\n[Settings]\r\n; TabSize=2\r\nTabSize=3\r\nTabSize=4\r\n[MRU]\r\nFontSize=5\r\n", "Settings",
       "FontSize", 3, 3},
      {"\xEF\xBB\xBF[S]\r\na=1\nb=2\r\nc=3", "S", "a", 0, 1},
      {"\xEF\xBB\xBF[S]\r\na=1\nb=2\r\nc=3", "S", "b", 0, 2},
      {"\xEF\xBB\xBF[S]\r\na=1\nb=2\r\nc=3", "S", "c", 0, 3},
  };
  for (const IntCase& c : cases) {
    TempIni file;
    file.Write(c.content);
    EXPECT_EQ(IniFile(file.path()).GetInt(c.section, c.key, c.fallback), c.expected) << c.content << " " << c.key;
  }
  TempIni file;
  file.Write("[Mru]\n1 =C:\\a b.txt\n");
  EXPECT_EQ(IniFile(file.path()).GetString("MRU", "1", "", 260), "C:\\a b.txt");
}

TEST(IniFileRead, StringsLoseBlanksAndOnePairOfQuotesAndAreCutToTheBuffer) {
  TempIni file;
  file.Write(
      "[S]\r\nplain=  a b  \r\ndouble=\" c \"\r\nsingle='d'\r\nodd=\"e\r\nmixed=\"f'\r\nempty=\r\nlone=\"\r\n"
      "long=abcdef\r\n");
  IniFile ini(file.path());
  EXPECT_EQ(ini.GetString("S", "plain", "x", 100), "a b");
  EXPECT_EQ(ini.GetString("S", "double", "x", 100), " c ");
  EXPECT_EQ(ini.GetString("S", "single", "x", 100), "d");
  EXPECT_EQ(ini.GetString("S", "odd", "x", 100), "\"e");
  EXPECT_EQ(ini.GetString("S", "mixed", "x", 100), "\"f'");
  EXPECT_EQ(ini.GetString("S", "empty", "x", 100), "");
  EXPECT_EQ(ini.GetString("S", "lone", "x", 100), "\"");
  EXPECT_EQ(ini.GetString("S", "long", "x", 4), "abc");
  EXPECT_EQ(ini.GetString("S", "missing", "default", 4), "def");
  EXPECT_EQ(ini.GetString("S", "long", "x", 1), "");
  EXPECT_EQ(ini.GetString("S", "long", "x", 0), "");
}

TEST(IniFileRead, IntegerIsTheNumberTheValueBeginsWith) {
  struct Case {
    const char* value;
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {"42", 42},
      {"  42  ", 42},
      {"+7", 7},
      {"-5", -5},
      {"12abc", 12},
      {"007", 7},
      {"abc", 0},
      {"", 0},  // present but empty: no number
      {"- 5", 0},
      {"--5", 0},
      {"0x10", 0},  // decimal only (the profile functions of Windows also read hex)
      {"\"9\"", 9},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"4294967295", -1},  // wraps at 32 bits like the platform's conversion
      {"4294967296", 0},
      {"99999999999999999999", static_cast<std::int32_t>(0x630FFFFFu)},
  };
  for (const Case& c : cases) {
    TempIni file;
    file.Write(std::string("[S]\nk=") + c.value + "\n");
    EXPECT_EQ(IniFile(file.path()).GetInt("S", "k", 1234), c.expected) << "k=" << c.value;
  }
}

TEST(IniFileWrite, CreatesTheFileWithSectionAndKey) {
  TempIni file;
  IniFile ini(file.path());
  EXPECT_TRUE(ini.WriteString("Settings", "TabSize", "8"));
  EXPECT_TRUE(ini.WriteString("Settings", "FontSize", "3"));
  EXPECT_TRUE(ini.WriteString("MRU", "1", "C:\\a.txt"));
  EXPECT_EQ(file.Read(), "[Settings]\r\nTabSize=8\r\nFontSize=3\r\n[MRU]\r\n1=C:\\a.txt\r\n");
}

// One key written into a file of given text, and the text afterwards.
struct WriteCase {
  const char* behaviour;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(IniFileWrite, PlacesTheKeyWithoutDisturbingOtherLines) {
  const WriteCase cases[] = {
      {"replaces in place keeping the key's spelling",
       "; my settings\n[settings]\ntabsize = 4\n\nFontSize=2\n[MRU]\n1=x\n", "Settings", "TabSize", "6",
       "; my settings\n[settings]\ntabsize=6\n\nFontSize=2\n[MRU]\n1=x\n"},
      {"appends after the section's last key, before trailing blank lines",
       "[A]\r\nx=1\r\n; note\r\ny=2\r\n\r\n; about B\r\n[B]\r\nz=3\r\n", "a", "w", "4",
       "[A]\r\nx=1\r\n; note\r\ny=2\r\nw=4\r\n\r\n; about B\r\n[B]\r\nz=3\r\n"},
      {"appends right after the header of a section without keys", "[MRU]\r\n\r\n[Settings]\r\nTabSize=8\r\n", "MRU",
       "1", "a.nfo", "[MRU]\r\n1=a.nfo\r\n\r\n[Settings]\r\nTabSize=8\r\n"},
      {"terminates an unterminated last line", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\r\ny=2\r\n"},
      {"terminates it before a new section too", "[A]\nx=1", "B", "y", "2", "[A]\nx=1\r\n[B]\r\ny=2\r\n"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    TempIni file;
    file.Write(c.before);
    EXPECT_TRUE(IniFile(file.path()).WriteString(c.section, c.key, c.value));
    EXPECT_EQ(file.Read(), c.after);
  }
}

TEST(IniFileWrite, WritesValuesWithoutSurroundingBlanks) {
  TempIni file;
  IniFile ini(file.path());
  EXPECT_TRUE(ini.WriteString(" S ", " k ", "  v w \t"));
  EXPECT_TRUE(ini.WriteString("S", "empty", ""));
  EXPECT_EQ(file.Read(), "[S]\r\nk=v w\r\nempty=\r\n");
}

TEST(IniFileWrite, RefusesTextThatWouldBreakTheLineStructure) {
  TempIni file;
  file.Write("[S]\r\nk=1\r\n");
  IniFile ini(file.path());
  EXPECT_FALSE(ini.WriteString("S", "k", "2\r\n[Evil]"));
  EXPECT_FALSE(ini.WriteString("S", "k", "2\nx=3"));
  EXPECT_FALSE(ini.WriteString("S", "k", "2\r3"));
  EXPECT_FALSE(ini.WriteString("S", "a=b", "1"));
  EXPECT_FALSE(ini.WriteString("S", "[k", "1"));
  EXPECT_FALSE(ini.WriteString("S", ";k", "1"));
  EXPECT_FALSE(ini.WriteString("S", "", "1"));
  EXPECT_FALSE(ini.WriteString("S]x", "k", "1"));
  EXPECT_FALSE(ini.WriteString("", "k", "1"));
  EXPECT_EQ(file.Read(), "[S]\r\nk=1\r\n");
}

TEST(IniFileWrite, NeverReplacesAPathItCannotRead) {
  TempIni file;
  std::filesystem::create_directory(file.path());
  IniFile ini(file.path());
  EXPECT_FALSE(ini.WriteString("S", "k", "1"));
  EXPECT_FALSE(ini.ClearSection("S"));
  EXPECT_TRUE(std::filesystem::is_directory(file.path()));
  EXPECT_EQ(ini.GetInt("S", "k", 5), 5);
}

TEST(IniFileWrite, LeavesNoTemporaryFilesBehind) {
  TempIni file;
  IniFile ini(file.path());
  for (int i = 0; i < 3; ++i) ini.WriteString("S", std::string("k").append(std::to_string(i)), "v");
  const std::string name = std::filesystem::path(file.path()).filename().string();
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file.path()).parent_path())) {
    const std::string other = entry.path().filename().string();
    EXPECT_FALSE(other != name && other.rfind(name, 0) == 0) << other;
  }
}

TEST(IniFileClear, RemovesTheKeysOfOneSectionOnly) {
  TempIni file;
  file.Write("[Settings]\r\nx=1\r\n[mru]\r\n1=a\r\n; kept\r\n2=b\r\n\r\n[Z]\r\n1=q\r\n");
  IniFile ini(file.path());
  EXPECT_TRUE(ini.ClearSection("MRU"));
  EXPECT_EQ(file.Read(), "[Settings]\r\nx=1\r\n[mru]\r\n; kept\r\n\r\n[Z]\r\n1=q\r\n");
  EXPECT_EQ(ini.GetString("MRU", "1", "", 260), "");
  // Keys written afterwards go back under the kept header.
  EXPECT_TRUE(ini.WriteString("MRU", "1", "c"));
  EXPECT_EQ(file.Read(), "[Settings]\r\nx=1\r\n[mru]\r\n1=c\r\n; kept\r\n\r\n[Z]\r\n1=q\r\n");
}

}  // namespace
}  // namespace mosaikon

#endif  // _WIN32
