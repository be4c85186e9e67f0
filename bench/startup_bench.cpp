// Start-up of both programs to their window shown, against a bare QDialog
// program measured in the same run: the median wall time from process start
// to the window, and the median peak memory (resident set), on the sample
// installation and on one with 2,000 items per tab.
//
//   startup_bench [RUNS]      (default 20; offscreen, WINEPREFIX set per case)
//
// The probes (*_shown_probe, bare_dialog_probe) lie beside this program.

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Sample {
    double milliseconds;
    long peakKilobytes;
};

// Starts program with the prefix, reads its "shown" line, and waits for it.
Sample RunOnce(const fs::path& program, const fs::path& prefix, const char* argument) {
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        // Qt's chatter (the offscreen platform's notes) would drown the
        // table: it goes to a file that is shown when a run fails.
        const int log = ::open((prefix.parent_path() / "stderr.txt").c_str(),
                               O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            ::dup2(log, STDERR_FILENO);
        }
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_RUNTIME_DIR", (prefix.parent_path() / "runtime").c_str(), 1);
        ::execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
        std::perror(program.c_str());
        ::_exit(127);
    }
    ::close(output[1]);
    std::string line;
    char c = 0;
    while (::read(output[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    const auto shown = std::chrono::steady_clock::now();
    ::close(output[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (line != "shown" || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not show its window on %s\n", program.c_str(), prefix.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss};
}

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void WriteFile(const fs::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

// Replaces the sample's item files and kit lists by ones of n items per
// tab, each with its own data file, as a large modification has them.
void GrowKit(const fs::path& prefix, int n) {
    const fs::path game =
        prefix / "drive_c/Program Files (x86)/Red Storm Entertainment/Rainbow Six";
    const fs::path equipment = game / "data/kit";
    const fs::path text = game / "data/text/kit/English";
    const char* items[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm"};
    const char* kits[] = {"primarymp.txt", "secondarymp.txt", "special.txt"};
    for (int tab = 0; tab < 3; ++tab) {
        std::string item = "// generated\r\n\"header.txt\" \"HEADER\" \"\"\r\n";
        std::string kit = "// generated\r\n";
        for (int i = 0; i < n; ++i) {
            const std::string key = "gen" + std::to_string(tab) + "_" + std::to_string(i);
            const std::string mark = i % 3 == 0 ? "//" : "";
            item += mark + "\"" + key + ".txt\" \"" + key + "\" \"" + key + ".dat\"\r\n";
            kit += mark + "\"" + key + ".txt\"\r\n";
            std::string data = std::to_string(i % 40) + " 1 // name\r\nweapon\r\n";
            data += std::to_string(20 + i % 20) + " // magazine\r\n";
            data += std::to_string(600 + i % 300) + " // rate of fire\r\n";
            for (int line = 5; line <= 19; ++line) {
                data += std::to_string(line % 4) + ".5 // figure\r\n";
            }
            WriteFile(equipment / (key + ".dat"), data);
        }
        fs::permissions(equipment / items[tab], fs::perms::owner_write, fs::perm_options::add);
        fs::permissions(text / kits[tab], fs::perms::owner_write, fs::perm_options::add);
        WriteFile(equipment / items[tab], item);
        WriteFile(text / kits[tab], kit);
    }
}

struct Case {
    const char* name;
    fs::path program;
    const char* argument;  // nullptr for none
    fs::path prefix;
    std::vector<Sample> samples;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const fs::path script = fs::path(LW_SOURCE_DIR) / "scripts/make-demo-prefix.sh";

    std::string pattern = (fs::temp_directory_path() / "startup-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path work = pattern;
    const fs::path sample = work / "sample";
    const fs::path large = work / "large";
    for (const fs::path& prefix : {sample, large}) {
        const std::string command =
            "'" + script.string() + "' '" + prefix.string() + "' >/dev/null";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cannot lay out the sample installation with %s\n",
                         script.c_str());
            return 1;
        }
    }
    GrowKit(large, 2000);
    fs::create_directory(work / "runtime");
    fs::permissions(work / "runtime", fs::perms::owner_all);

    std::vector<Case> cases = {
        {"bare QDialog program", here / "bare_dialog_probe", nullptr, sample, {}},
        {"  the same with a label, a button", here / "bare_dialog_probe", "--text", sample, {}},
        {"Loadwise, sample installation", here / "loadwise_shown_probe", nullptr, sample, {}},
        {"varnopts, sample installation", here / "varnopts_shown_probe", nullptr, sample, {}},
        {"Loadwise, 2,000 items per tab", here / "loadwise_shown_probe", nullptr, large, {}},
        {"varnopts, 2,000 items per tab", here / "varnopts_shown_probe", nullptr, large, {}},
    };
    // One warm-up each, then the runs taken in turns, so that anything else
    // the machine does falls on every case alike.
    for (Case& each : cases) {
        RunOnce(each.program, each.prefix, each.argument);
    }
    for (int run = 0; run < runs; ++run) {
        for (Case& each : cases) {
            each.samples.push_back(RunOnce(each.program, each.prefix, each.argument));
        }
    }

    const auto medianTime = [](const Case& each) {
        std::vector<double> times;
        for (const Sample& s : each.samples) {
            times.push_back(s.milliseconds);
        }
        return Median(times);
    };
    const auto medianMemory = [](const Case& each) {
        std::vector<long> sizes;
        for (const Sample& s : each.samples) {
            sizes.push_back(s.peakKilobytes);
        }
        return Median(sizes) / 1024.0;
    };
    const double bareTime = medianTime(cases[0]);
    const double bareMemory = medianMemory(cases[0]);
    std::printf("start-up to window shown, median of %d runs (offscreen)\n", runs);
    std::printf("  %-32s %9s %7s %12s %7s\n", "", "time", "ratio", "peak RSS", "ratio");
    for (const Case& each : cases) {
        const double time = medianTime(each);
        const double memory = medianMemory(each);
        std::printf("  %-32s %6.1f ms %6.2fx %8.1f MiB %6.2fx\n", each.name, time, time / bareTime,
                    memory, memory / bareMemory);
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
