// Test tool: asks the notification area about a window's icon, or makes it
// forget the icon, as a restarting taskbar does.
//   traypoke has CLASS ID      exit 0 when the shell holds the icon, 1 if not
//   traypoke forget CLASS ID   exit 0 when the shell dropped the icon
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int usage() {
  fprintf(stderr, "usage: traypoke has|forget CLASS ID\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  HWND hwnd = FindWindowA(argv[2], NULL);
  if (hwnd == NULL) {
    fprintf(stderr, "traypoke: no window of class %s\n", argv[2]);
    return 3;
  }
  NOTIFYICONDATAA data;
  memset(&data, 0, sizeof(data));
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = hwnd;
  data.uID = static_cast<UINT>(strtoul(argv[3], NULL, 0));
  // A modify that changes nothing succeeds only for an icon the shell holds.
  if (strcmp(argv[1], "has") == 0) return Shell_NotifyIconA(NIM_MODIFY, &data) ? 0 : 1;
  if (strcmp(argv[1], "forget") == 0) return Shell_NotifyIconA(NIM_DELETE, &data) ? 0 : 1;
  return usage();
}
