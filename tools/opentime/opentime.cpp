// opentime: measures how long a Windows program takes to show a file. For each run it starts the program and
// times, from CreateProcessA, the appearance of its top-level window, the return of WaitForInputIdle, the first
// drawn text in its view (read back from the screen) and the file's name in its title, and reads the program's
// peak working set; then it closes the program. Prints every run, then the median and range of each measure.
//   opentime [--runs N] [--warmup N] [--timeout SECONDS] [--title TEXT] PROGRAM [ARGUMENT...]
// --title defaults to the file name of the last argument; --warmup runs are made first and not counted.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/handles.h"
#include "framework/dib_canvas.h"

namespace mosaikon {
namespace {

constexpr int kProbeWidth = 480;       // enough for several words of the first lines
constexpr int kProbeHeight = 96;       // a handful of text rows at any usual cell size
constexpr int kTextChangesPerRow = 8;  // average colour changes per pixel row that only text reaches
// The wait between two looks at the window: short against the times measured, long enough that reading the
// screen back takes no noticeable share of the processor from the program being timed.
constexpr DWORD kPollMs = 5;
constexpr DWORD kCloseWaitMs = 15000;

class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Ms() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
  LARGE_INTEGER start_;
};

struct Options {
  int runs = 5;
  int warmup = 1;
  DWORD timeoutMs = 120000;
  std::string title;
  std::string commandLine;
};

// Times of one run in milliseconds from CreateProcessA; negative when not reached.
struct RunTimes {
  double window = -1;
  double idle = -1;
  double drawn = -1;
  double titled = -1;
  double peakMb = -1;  // peak working set once everything was seen, when the system tells
};

// Quotes an argument the way the C runtime splits command lines.
std::string Quote(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
  auto it = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

struct TopLevelSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == search->processId && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  HWND largest;
  LONG area;
};

BOOL CALLBACK FindLargestChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  RECT client;
  if (IsWindowVisible(window) && GetClientRect(window, &client)) {
    const LONG area = (client.right - client.left) * (client.bottom - client.top);
    if (area > search->area) {
      search->largest = window;
      search->area = area;
    }
  }
  return TRUE;
}

// The screen rectangle whose pixels tell whether the program has drawn the file: the top-left part of its
// largest visible child (the text view of a viewer or editor), or of the client area when it has no child.
bool ProbeRect(HWND topLevel, RECT& probe) {
  ChildSearch search{topLevel, 0};
  EnumChildWindows(topLevel, FindLargestChild, reinterpret_cast<LPARAM>(&search));
  RECT client;
  if (!GetClientRect(search.largest, &client)) return false;
  POINT origin{0, 0};
  ClientToScreen(search.largest, &origin);
  probe.left = origin.x;
  probe.top = origin.y;
  probe.right = origin.x + std::min<LONG>(client.right, kProbeWidth);
  probe.bottom = origin.y + std::min<LONG>(client.bottom, kProbeHeight);
  return probe.right - probe.left >= 16 && probe.bottom - probe.top >= 16;
}

// Whether the rectangle shows drawn text. Glyphs make many colour changes along each pixel row; an area being
// erased or filled in bands, a blinking caret or a frame make only a few, so those do not count as drawn.
bool ShowsText(const RECT& probe) {
  const int width = probe.right - probe.left;
  const int height = probe.bottom - probe.top;
  WindowDC screen(nullptr);
  if (!screen.get()) return false;
  DibCanvas capture(width, height, 32, screen.get());
  if (!capture.ok() || !BitBlt(capture.dc(), 0, 0, width, height, screen.get(), probe.left, probe.top, SRCCOPY)) {
    return false;
  }
  GdiFlush();
  long changes = 0;
  for (int y = 0; y < height; ++y) {
    const DWORD* row = static_cast<const DWORD*>(capture.bits()) + static_cast<std::size_t>(y) * width;
    for (int x = 1; x < width; ++x) changes += ((row[x] ^ row[x - 1]) & 0xFFFFFF) != 0;
  }
  return changes >= kTextChangesPerRow * height;
}

bool ReadWindowTitle(HWND window, std::string& title) {
  char buffer[1024];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  title.assign(buffer, length > 0 ? length : 0);
  return length > 0;
}

// Closes the program the way a user would, and ends it when it does not go.
void CloseProgram(HANDLE process, HWND topLevel) {
  if (topLevel) PostMessageA(topLevel, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, topLevel ? kCloseWaitMs : 0) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "opentime: the program did not close; ending it\n");
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kCloseWaitMs);
  }
}

bool RunOnce(const Options& options, RunTimes& times) {
  times = RunTimes{};
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::vector<char> commandLine(options.commandLine.begin(), options.commandLine.end());
  commandLine.push_back('\0');
  Stopwatch clock;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "opentime: cannot start %s (error %lu)\n", options.commandLine.c_str(), GetLastError());
    return false;
  }
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);

  // WaitForInputIdle blocks, so it waits beside the loop that watches the window.
  std::atomic<double> idle{-1};
  std::thread idleWaiter([&] {
    if (WaitForInputIdle(process.get(), options.timeoutMs) == 0) idle = clock.Ms();
  });

  HWND topLevel = nullptr;
  bool exited = false;
  std::string title;
  for (;;) {
    if (!topLevel) {
      TopLevelSearch search{info.dwProcessId, nullptr};
      EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        topLevel = search.found;
        times.window = clock.Ms();
      }
    }
    if (topLevel && times.titled < 0 && ReadWindowTitle(topLevel, title) && ContainsNoCase(title, options.title)) {
      times.titled = clock.Ms();
    }
    RECT probe;
    if (topLevel && times.drawn < 0 && ProbeRect(topLevel, probe) && ShowsText(probe)) {
      times.drawn = clock.Ms();
    }
    if (times.window >= 0 && times.titled >= 0 && times.drawn >= 0 && idle >= 0) break;
    if (clock.Ms() > options.timeoutMs) break;
    if (WaitForSingleObject(process.get(), kPollMs) == WAIT_OBJECT_0) {
      exited = true;
      break;
    }
  }
  idleWaiter.join();
  times.idle = idle;
  if (exited) {
    std::fprintf(stderr, "opentime: the program ended by itself\n");
    return false;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process.get(), &memory, sizeof memory)) {
    times.peakMb = static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20);
  }
  CloseProgram(process.get(), topLevel);
  return times.window >= 0 && times.idle >= 0 && times.drawn >= 0 && times.titled >= 0;
}

struct Summary {
  double median;
  double low;
  double high;
};

Summary Summarize(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

bool ParseOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    const std::string name = argv[i];
    if (name == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (name == "--runs") {
      options.runs = std::atoi(value);
    } else if (name == "--warmup") {
      options.warmup = std::atoi(value);
    } else if (name == "--timeout") {
      options.timeoutMs = static_cast<DWORD>(std::atoi(value)) * 1000;
    } else if (name == "--title") {
      options.title = value;
    } else {
      return false;
    }
  }
  if (i >= argc || options.runs < 1 || options.warmup < 0 || options.timeoutMs == 0) return false;
  for (int first = i; i < argc; ++i) {
    if (i > first) options.commandLine += ' ';
    options.commandLine += Quote(argv[i]);
  }
  if (options.title.empty()) options.title = FileNamePart(argv[argc - 1]);
  return true;
}

int Run(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: opentime [--runs N] [--warmup N] [--timeout SECONDS] [--title TEXT] PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::printf("command: %s\n", options.commandLine.c_str());
  std::vector<double> window, idle, drawn, titled;
  for (int run = -options.warmup; run < options.runs; ++run) {
    RunTimes times;
    if (!RunOnce(options, times)) {
      std::fprintf(stderr, "opentime: run %d incomplete: window %.1f idle %.1f drawn %.1f title %.1f ms\n", run + 1,
                   times.window, times.idle, times.drawn, times.titled);
      return 1;
    }
    std::printf("%s %d: window %8.1f ms  input-idle %8.1f ms  drawn %8.1f ms  title %8.1f ms  peak %7.1f MB\n",
                run < 0 ? "warm-up" : "run", run < 0 ? run + options.warmup + 1 : run + 1, times.window, times.idle,
                times.drawn, times.titled, times.peakMb);
    std::fflush(stdout);
    if (run < 0) continue;
    window.push_back(times.window);
    idle.push_back(times.idle);
    drawn.push_back(times.drawn);
    titled.push_back(times.titled);
  }
  const struct {
    const char* name;
    const std::vector<double>& values;
  } measures[] = {{"window", window}, {"input-idle", idle}, {"drawn", drawn}, {"title", titled}};
  for (const auto& measure : measures) {
    const Summary summary = Summarize(measure.values);
    std::printf("%-10s median %8.1f ms  range %8.1f .. %8.1f ms  (%d runs)\n", measure.name, summary.median,
                summary.low, summary.high, options.runs);
  }
  return 0;
}

}  // namespace
}  // namespace mosaikon

int main(int argc, char** argv) {
  return mosaikon::Run(argc, argv);
}
