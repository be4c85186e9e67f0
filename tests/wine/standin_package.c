/* A stand-in for a modification package in the tests: it records how it was
 * started and ends at once. Each start appends one line to the file
 * "standin_package.log" in the program's own folder:
 *     <command line as GetCommandLineA gives it> TAB <working folder> CR LF
 * Copy it under any package name (VARN_FULL.EXE ...) into a folder of a
 * test prefix, start it, and read the log beside it. */
#include <string.h>
#include <windows.h>

int main(void) {
    char folder[MAX_PATH];
    char log[MAX_PATH + 32];
    char cwd[MAX_PATH];
    char line[4 * MAX_PATH + 64];
    const char* commandLine = GetCommandLineA();
    DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
    char* slash;
    HANDLE file;
    DWORD written;

    if (length == 0 || length >= MAX_PATH) {
        return 2;
    }
    slash = strrchr(folder, '\\');
    if (slash != NULL) {
        *slash = '\0';
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

    /* One write in append mode, so starts that overlap never mix their lines. */
    file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(file);
    return 0;
}
