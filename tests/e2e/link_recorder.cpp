// Stands in for the web browser in the end-to-end cases, which register it as
// the shell's "open" command for http addresses, in one of two forms:
//   "<link_recorder.exe>" "<log file>" %1
//   "<link_recorder.exe>" %1            (the log is links.log beside the program)
// It appends the rest of its command line after the log file's name (or the
// program's), byte for byte, as one line of the log. The second form keeps
// the command short: the system hands a program at most about 1,000
// characters of command and address together.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Past the program's own quoted name to the quoted log name, if any.
  const char* line = GetCommandLineA();
  const char* programEnd = *line == '"' ? std::strchr(line + 1, '"') : nullptr;
  if (!programEnd) return 2;
  const char* rest = programEnd + 1 + std::strspn(programEnd + 1, " ");
  std::string log;
  if (*rest == '"') {
    const char* logEnd = std::strchr(rest + 1, '"');
    if (!logEnd) return 2;
    log.assign(rest + 1, logEnd);
    rest = logEnd + 1 + std::strspn(logEnd + 1, " ");
  } else {
    log.assign(line + 1, programEnd);
    log.replace(log.rfind('\\') + 1, std::string::npos, "links.log");
  }
  std::FILE* file = std::fopen(log.c_str(), "ab");
  if (!file) return 1;
  std::fprintf(file, "%s\n", rest);
  std::fclose(file);
  return 0;
}
