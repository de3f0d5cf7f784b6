// The registry plan of the file type registration, step by step, for the
// lists a user or a hand-edited INI file can give.
#include "settings/file_association.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace mosaikon {
namespace {

using Action = RegistryStep::Action;
using Steps = std::vector<std::string>;

// A folder with a blank: the command carries the path unquoted.
constexpr char kExe[] = "C:\\Art Tools\\view.exe";

std::string Describe(const RegistryStep& step) {
  const std::string root = step.root == RegistryRoot::kClassesRoot ? "HKCR\\" : "HKCU\\";
  switch (step.action) {
    case Action::kSetDefault:
      return root + step.key + " = " + step.text + (step.isCommand ? " [command]" : "") +
             (step.needsCommand ? " [needs command]" : "");
    case Action::kDeleteValue:
      return "delete value " + step.text + " of " + root + step.key;
    case Action::kDeleteTree:
      return "delete tree " + root + step.key;
    case Action::kNotifyAssociations:
      return "notify";
  }
  return "?";
}

Steps Plan(const std::string& newList, std::optional<std::string> oldList) {
  Steps steps;
  for (const RegistryStep& step : PlanFileTypeRegistration(kExe, newList, oldList)) steps.push_back(Describe(step));
  return steps;
}

// The steps for registering extension `e`.
Steps Registered(const std::string& e) {
  return {"HKCR\\." + e + " = Mosaikon.Document [needs command]",
          "delete value Application of HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\." + e};
}

Steps Join(std::initializer_list<Steps> parts) {
  Steps all;
  for (const Steps& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(FileAssociation, ClassKeysComeFirstWithTheCommandBeforeAnyExtension) {
  const Steps expected = {"HKCR\\Mosaikon.Document = ASCII Art File",
                          "HKCR\\Mosaikon.Document\\DefaultIcon = C:\\Art Tools\\view.exe,0",
                          "HKCR\\Mosaikon.Document\\shell\\open\\command = C:\\Art Tools\\view.exe \"%1\" [command]",
                          "HKCR\\Applications\\Mosaikon.exe\\shell\\open\\command = C:\\Art Tools\\view.exe \"%1\"",
                          "HKCR\\.asc = Mosaikon.Document [needs command]"};
  const Steps steps = Plan("asc;", std::nullopt);
  ASSERT_GE(steps.size(), expected.size());
  EXPECT_EQ(Steps(steps.begin(), steps.begin() + 5), expected);
}

TEST(FileAssociation, ExtensionsAreRegisteredDroppedOnesDeletedAndTheShellToldLast) {
  const std::string longest(254, 'a'), tooLong(255, 'b');
  struct Case {
    std::string newList;
    std::optional<std::string> oldList;
    Steps afterClass;
  };
  const Case cases[] = {
      {"", std::nullopt, {"notify"}},
      {"", "", {"notify"}},
      {"", "asc;nfo;", {"delete tree HKCR\\.asc", "delete tree HKCR\\.nfo", "notify"}},
      {"txt;", "asc;txt;", Join({Registered("txt"), {"delete tree HKCR\\.asc", "notify"}})},
      // Trimmed, empty pieces dropped, a duplicate written twice, order kept.
      {" nfo ; ;asc;nfo", std::nullopt, Join({Registered("nfo"), Registered("asc"), Registered("nfo"), {"notify"}})},
      // Key names ignore case: txt is the key TXT names, so it stays.
      {"TXT;", "txt;Asc;", Join({Registered("TXT"), {"delete tree HKCR\\.Asc", "notify"}})},
      {"\xE4nsi;", "\xC4nsi;", Join({Registered("\xE4nsi"), {"notify"}})},
      // Only whole extensions are equal.
      {"nf;", "nfo;", Join({Registered("nf"), {"delete tree HKCR\\.nfo", "notify"}})},
      // A name too long for a key, or one reaching into a subkey, is never
      // written or deleted: cut or split, it would name another key.
      {longest + ";" + tooLong + ";", "c;" + tooLong + ";",
       Join({Registered(longest), {"delete tree HKCR\\.c", "notify"}})},
      {"txt\\shell;", "asc\\shell;", {"notify"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("new \"" + c.newList.substr(0, 40) + "\", old " + (c.oldList ? "\"" + *c.oldList + "\"" : "none"));
    const Steps steps = Plan(c.newList, c.oldList);
    ASSERT_GE(steps.size(), 4u);
    EXPECT_EQ(Steps(steps.begin() + 4, steps.end()), c.afterClass);
  }
}

}  // namespace
}  // namespace mosaikon
