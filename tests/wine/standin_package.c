/* A stand-in for a modification package in the tests: appends the command
 * line it was started with, CR LF ended, to "standin_package.log" in its
 * working folder. With STANDIN_PACKAGE_WAIT_MS set it works that long before
 * it ends, as a real package does, and appends "<its file name> start|end
 * <milliseconds of the system clock>" lines to "standin_package.times". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static void AppendTime(const char* name, const char* what) {
    FILETIME now;
    FILE* times = fopen("standin_package.times", "ab");
    GetSystemTimeAsFileTime(&now);
    if (times != NULL) {
        fprintf(times, "%s %s %llu\r\n", name, what,
                ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000);
        fclose(times);
    }
}

int main(void) {
    char path[MAX_PATH] = "", wait[32];
    const DWORD waitLength = GetEnvironmentVariableA("STANDIN_PACKAGE_WAIT_MS", wait, sizeof wait);
    FILE* log = fopen("standin_package.log", "ab");
    if (log == NULL || fprintf(log, "%s\r\n", GetCommandLineA()) < 0 || fclose(log) != 0) {
        return 1;
    }
    if (waitLength > 0 && waitLength < sizeof wait) {
        GetModuleFileNameA(NULL, path, MAX_PATH);
        const char* name = strrchr(path, '\\') != NULL ? strrchr(path, '\\') + 1 : path;
        AppendTime(name, "start");
        Sleep((DWORD)atoi(wait));
        AppendTime(name, "end");
    }
    return 0;
}
