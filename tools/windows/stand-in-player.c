/* A stand-in for a movie player on the Windows demo disc. It appends the command line it received,
 * byte for byte as GetCommandLineA gives it, and its working directory to player-calls.log beside
 * its own executable, then ends at once; so a demo run shows what a real player would receive. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  char log_path[MAX_PATH + 32];
  char directory[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, log_path, MAX_PATH);
  char *slash;
  FILE *log;
  if (length == 0 || length >= MAX_PATH) return 1;
  slash = strrchr(log_path, '\\');
  strcpy(slash ? slash + 1 : log_path, "player-calls.log");
  if (!GetCurrentDirectoryA(sizeof directory, directory)) directory[0] = '\0';
  log = fopen(log_path, "ab");
  if (!log) return 1;
  fprintf(log, "command line: %s\r\nworking directory: %s\r\n", GetCommandLineA(), directory);
  fclose(log);
  return 0;
}
