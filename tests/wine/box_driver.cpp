// Runs a program under Wine and answers its message boxes, for the tests of
// the launcher's boxes on the real Win32 layer (under Xvfb).
//
// usage: box_driver.exe RECORD ANSWERS COMMAND-LINE...
// Every message box (a "#32770" window) of the started process is written
// to RECORD as "box <caption>|<text>" (line ends as "\n") and answered: OK
// boxes with IDOK, Yes/No boxes with the next word of ANSWERS ("yes,no";
// No once they run out). When the process ends, "exit=<code>" follows and
// the driver ends with 0; after 120 seconds it ends the process and itself
// with 3.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text.h"

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK findBox(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (std::string(cls) != "#32770") return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK longestStatic(HWND child, LPARAM param) {
  std::string* text = reinterpret_cast<std::string*>(param);
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") != 0) return TRUE;
  char buffer[8192] = {};
  GetWindowTextA(child, buffer, sizeof buffer);
  if (std::string(buffer).size() > text->size()) *text = buffer;
  return TRUE;
}

std::string oneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line;
}

std::string quoted(const char* arg) {
  std::string a = arg;
  if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
  std::string q = "\"";
  for (char c : a) {
    if (c == '"') q += '\\';
    q += c;
  }
  return q + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: box_driver RECORD ANSWERS COMMAND...\n");
    return 2;
  }
  std::FILE* record = std::fopen(argv[1], "wb");
  if (record == nullptr) return 2;
  std::vector<std::string> answers = zindle::splitAt(argv[2], ',');
  std::size_t nextAnswer = 0;
  std::string commandLine;
  for (int i = 3; i < argc; ++i) {
    if (i > 3) commandLine += ' ';
    commandLine += quoted(argv[i]);
  }
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info)) {
    std::fprintf(record, "start failed %lu\n", GetLastError());
    std::fclose(record);
    return 2;
  }
  CloseHandle(info.hThread);
  const DWORD deadline = GetTickCount() + 120000;
  for (;;) {
    if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) break;
    if (GetTickCount() > deadline) {
      TerminateProcess(info.hProcess, 3);
      std::fprintf(record, "timeout\n");
      std::fclose(record);
      return 3;
    }
    Search search = {info.dwProcessId, nullptr};
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) continue;
    HWND box = search.found;
    char caption[1024] = {};
    GetWindowTextA(box, caption, sizeof caption);
    std::string text;
    char buffer[8192] = {};
    if (GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer) > 0)
      text = buffer;
    else
      EnumChildWindows(box, longestStatic, reinterpret_cast<LPARAM>(&text));
    std::fprintf(record, "box %s|%s\n", caption, oneLine(text).c_str());
    std::fflush(record);
    WORD button = IDOK;
    if (GetDlgItem(box, IDYES) != nullptr) {
      std::string answer =
          nextAnswer < answers.size() ? answers[nextAnswer++] : "no";
      button = answer == "yes" ? IDYES : IDNO;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    // Wait for this box to go before looking for the next one.
    for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i)
      Sleep(25);
  }
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  std::fprintf(record, "exit=%lu\n", code);
  std::fclose(record);
  return 0;
}
