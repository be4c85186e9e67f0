/* A stand-in for a modification package in the tests: appends the command
 * line it was started with, CR LF ended, to "standin_package.log" in its
 * working folder, and ends. */
#include <stdio.h>
#include <windows.h>

int main(void) {
    FILE* log = fopen("standin_package.log", "ab");
    if (log == NULL) {
        return 1;
    }
    fprintf(log, "%s\r\n", GetCommandLineA());
    return fclose(log) == 0 ? 0 : 1;
}
