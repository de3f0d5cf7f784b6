// The registry plan of the file type registration, step by step, for the
// lists a user or a hand-edited INI file can give.
#include "settings/file_association.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace mosaikon {
namespace {

// The plan as one line: its steps after " | ". A folder with a blank shows
// that the command carries the path unquoted.
std::string Plan(const std::string& newList, std::optional<std::string> oldList) {
  std::string plan;
  for (const RegistryStep& step : PlanFileTypeRegistration("C:\\Art Tools\\v.exe", newList, oldList)) {
    const std::string key = (step.root == RegistryRoot::kClassesRoot ? "HKCR\\" : "HKCU\\") + step.key;
    using enum RegistryStep::Action;
    if (step.action == kSetDefault) plan += " | " + key + " = " + step.text;
    if (step.action == kDeleteValue) plan += " | delete " + step.text + " of " + key;
    if (step.action == kDeleteTree) plan += " | delete " + key;
    if (step.action == kNotifyAssociations) plan += " | notify";
    plan += std::string(step.isCommand ? " [command]" : "") + (step.needsCommand ? " [if command]" : "");
  }
  return plan;
}

std::string Registered(const std::string& e) {
  return " | HKCR\\." + e + " = Mosaikon.Document [if command] | delete Application of " +
         "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\." + e;
}

TEST(FileAssociation, ClassFirstThenExtensionsThenDroppedOnesDeletedAndTheShellToldLast) {
  const std::string classKeys =
      " | HKCR\\Mosaikon.Document = ASCII Art File"
      " | HKCR\\Mosaikon.Document\\DefaultIcon = C:\\Art Tools\\v.exe,0"
      " | HKCR\\Mosaikon.Document\\shell\\open\\command = C:\\Art Tools\\v.exe \"%1\" [command]"
      " | HKCR\\Applications\\Mosaikon.exe\\shell\\open\\command = C:\\Art Tools\\v.exe \"%1\"";
  const std::string longest(254, 'a'), tooLong(255, 'b');
  struct Case {
    std::string newList;
    std::optional<std::string> oldList;
    std::string afterClass;
  };
  const Case cases[] = {
      {"", std::nullopt, " | notify"},
      {"", "asc;nfo;", " | delete HKCR\\.asc | delete HKCR\\.nfo | notify"},
      {"txt;", "asc;txt;", Registered("txt") + " | delete HKCR\\.asc | notify"},
      // Trimmed, empty pieces dropped, a duplicate written twice, order kept.
      {" nfo ; ;asc;nfo", std::nullopt, Registered("nfo") + Registered("asc") + Registered("nfo") + " | notify"},
      // Key names ignore case: the old key is the one just written.
      {"TXT;", "txt;Asc;", Registered("TXT") + " | delete HKCR\\.Asc | notify"},
      {"\xE4nsi;", "\xC4nsi;", Registered("\xE4nsi") + " | notify"},
      {"nf;", "nfo;", Registered("nf") + " | delete HKCR\\.nfo | notify"},
      // A name too long for a key, or one reaching into a subkey, is never
      // written or deleted: cut or split, it would name another key.
      {longest + ";" + tooLong + ";", "c;" + tooLong, Registered(longest) + " | delete HKCR\\.c | notify"},
      {"txt\\shell;", "asc\\shell;", " | notify"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("new \"" + c.newList.substr(0, 20) + "\", old " + c.oldList.value_or("none").substr(0, 20));
    EXPECT_EQ(Plan(c.newList, c.oldList), classKeys + c.afterClass);
  }
}

}  // namespace
}  // namespace mosaikon
