// Stands in for the web browser in the end-to-end cases, which register it as
// the shell's "open" command for http addresses:
//   "<link_recorder.exe>" "<log file>" %1
// It appends the rest of its command line after the log file's name, byte
// for byte, as one line of the log.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Past the program's own quoted name to the quoted log name.
  const char* line = GetCommandLineA();
  const char* log = *line == '"' ? std::strchr(line + 1, '"') : nullptr;
  log = log ? std::strchr(log + 1, '"') : nullptr;
  const char* logEnd = log ? std::strchr(log + 1, '"') : nullptr;
  if (!logEnd) return 2;
  const char* address = logEnd + 1 + std::strspn(logEnd + 1, " ");
  std::FILE* file = std::fopen(std::string(log + 1, logEnd).c_str(), "ab");
  if (!file) return 1;
  std::fprintf(file, "%s\n", address);
  std::fclose(file);
  return 0;
}
