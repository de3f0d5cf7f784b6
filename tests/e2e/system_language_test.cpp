// Choosing the language at start-up when the INI names none: the system's
// default language decides. run.sh runs these cases a second time with a
// German system language (LC_ALL=de_DE.UTF-8); otherwise they are skipped.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

constexpr LANGID kGerman = 0x0407;

TEST(SystemLanguage, MissingLangDllTakesThePackOfTheSystemLanguage) {
  if (GetSystemDefaultLangID() != kGerman) GTEST_SKIP() << "needs a German system language";
  if (Program().languageDir.empty()) GTEST_SKIP() << "no language folder given";
  ProgramFolder folder;
  folder.WriteIni({"[Settings]", "WindowPos=0,1,-1,-1,-1,-1,40,40,840,640"});
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_EQ(viewer.PaneText(0), "Bereit");
  EXPECT_EQ(viewer.Close(), 1);
  // The choice was not stored: LangDll is written only by the Settings dialog.
  for (const auto& [key, value] : IniSection(folder.ReadIni(), "Settings")) EXPECT_NE(key, "LangDll");
}

TEST(SystemLanguage, EmptyLangDllIsAStoredChoiceOfEnglish) {
  if (GetSystemDefaultLangID() != kGerman) GTEST_SKIP() << "needs a German system language";
  ProgramFolder folder;
  folder.WriteIni(StandardIni());  // LangDll= (empty)
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_EQ(viewer.PaneText(0), "Ready");
  EXPECT_EQ(viewer.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
