/* A stand-in for a modification package in the tests: it records how it was
 * started and ends. Each start appends one line to the file
 * "standin_package.log" in the program's own folder:
 *     <command line as GetCommandLineA gives it> TAB <working folder> CR LF
 * Copy it under any package name (VARN_FULL.EXE ...) into a folder of a
 * test prefix, start it, and read the log beside it.
 *
 * With STANDIN_PACKAGE_WAIT_MS set it works that long before it ends, as a
 * real package does, and appends its start and its end to
 * "standin_package.times" beside it:
 *     <program name> TAB start|end TAB <milliseconds of the system clock> CR LF */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

/* One write in append mode, so lines of starts that overlap never mix. */
static int AppendLine(const char* file, const char* line) {
    DWORD written;
    HANDLE handle = CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        return 1;
    }
    WriteFile(handle, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(handle);
    return 0;
}

static void AppendTime(const char* folder, const char* name, const char* what) {
    char file[MAX_PATH + 32];
    char line[MAX_PATH + 64];
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    snprintf(file, sizeof file, "%s\\standin_package.times", folder);
    snprintf(line, sizeof line, "%s\t%s\t%llu\r\n", name, what,
             ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000);
    AppendLine(file, line);
}

int main(void) {
    char folder[MAX_PATH];
    char log[MAX_PATH + 32];
    char cwd[MAX_PATH];
    char line[4 * MAX_PATH + 64];
    char wait[32];
    const char* commandLine = GetCommandLineA();
    DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
    DWORD waitLength = GetEnvironmentVariableA("STANDIN_PACKAGE_WAIT_MS", wait, sizeof wait);
    const char* name = "";
    char* slash;

    if (length == 0 || length >= MAX_PATH) {
        return 2;
    }
    slash = strrchr(folder, '\\');
    if (slash != NULL) {
        *slash = '\0';
        name = slash + 1;
    }
    strcpy(log, folder);
    strcat(log, "\\standin_package.log");
    if (GetCurrentDirectoryA(MAX_PATH, cwd) == 0) {
        cwd[0] = '\0';
    }
    if (strlen(commandLine) + strlen(cwd) + 4 > sizeof line) {
        return 3;
    }
    strcpy(line, commandLine);
    strcat(line, "\t");
    strcat(line, cwd);
    strcat(line, "\r\n");
    if (AppendLine(log, line) != 0) {
        return 1;
    }
    if (waitLength > 0 && waitLength < sizeof wait) {
        AppendTime(folder, name, "start");
        Sleep((DWORD)atoi(wait));
        AppendTime(folder, name, "end");
    }
    return 0;
}
