// Test tool: the program an association runs, in place of the one a user
// would have, to tell the test what was opened.
//   recorder LOG [CONTENTS] "ARG"
// appends ARG and a line end to the file LOG, and with CONTENTS the bytes of
// the file ARG to the file CONTENTS; both names are of files in the
// recorder's own folder, so that the command stays short wherever the test
// runs (Wine's ShellExecute refuses an association's long command lines).
// ARG is what stands between the first and the last quote of the command
// line, as it came: by the runtime's rules "C:\" would read as C:". It is
// written in UTF-8, whatever the code pages: a name outside them must not
// come out as a look-alike.
#include <windows.h>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring besideRecorder(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(NULL, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

bool append(const wchar_t* name, const char* bytes, DWORD count) {
  // Two opens at once append whole lines, each after the other.
  HANDLE file = CreateFileW(besideRecorder(name).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes, count, &written, NULL) && written == count;
  CloseHandle(file);
  return ok;
}

std::string utf8(const std::wstring& text) {
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, NULL, 0, NULL, NULL);
  std::string bytes(size, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &bytes[0], size, NULL, NULL);
  return bytes;
}

bool readAll(const wchar_t* path, std::string* bytes) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, NULL) && got > 0) bytes->append(buffer, got);
  CloseHandle(file);
  return true;
}

}  // namespace

int main() {
  const wchar_t* line = GetCommandLineW();
  const wchar_t* rest = line;
  if (*rest == L'"') {
    rest = wcschr(rest + 1, L'"');
    rest = rest != NULL ? rest + 1 : line + wcslen(line);
  } else {
    rest += wcscspn(rest, L" \t");
  }
  const wchar_t* open = wcschr(rest, L'"');
  const wchar_t* close = wcsrchr(rest, L'"');
  if (open == NULL || close == open) return 2;
  std::vector<std::wstring> names;
  for (const wchar_t* word = rest; word < open;) {
    size_t blanks = wcsspn(word, L" \t");
    word += blanks;
    size_t length = wcscspn(word, L" \t\"");
    if (length > 0) names.push_back(std::wstring(word, length));
    word += length;
  }
  if (names.empty() || names.size() > 2) return 2;
  std::wstring arg(open + 1, close);

  // The contents first: once the line is there, so is what it stands for.
  if (names.size() == 2) {
    std::string contents;
    if (!readAll(arg.c_str(), &contents)) return 4;
    if (!append(names[1].c_str(), contents.data(), static_cast<DWORD>(contents.size()))) return 5;
  }
  std::string noted = utf8(arg) + "\n";
  return append(names[0].c_str(), noted.data(), static_cast<DWORD>(noted.size())) ? 0 : 3;
}
