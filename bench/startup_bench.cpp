// Start-up of both programs to their window shown, against a bare QDialog
// program measured in the same run: the median wall time from process start
// to the window, the median processor time (user and system) of the run,
// which other work on the machine disturbs less, and the median peak memory
// (resident set), on the sample installation, on one with 2,000 items per
// tab, on one whose registry is a real Wine 8 prefix's (1.7 MB), and on that
// one while a wineserver runs for it: then every key is read through `$WINE
// reg export`, here a stand-in that answers after LW_BENCH_REG_SECONDS
// (default 0.1, what a real `wine reg export` of one key takes with its
// server running), and the table also gives how many reg commands a start
// ran.
//
//   startup_bench [RUNS] [OTHER]   (RUNS default 20; WINEPREFIX set per case;
//                                  offscreen unless QT_QPA_PLATFORM names another)
//
// OTHER, the bench folder of another build (an earlier commit's, say), adds
// each program case again with that build's probes, its runs taken in turns
// with the others', so that two builds compare on the same machine state.
//
// The probes (*_shown_probe, bare_dialog_probe) lie beside this program.

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/wineserver.h"

namespace fs = std::filesystem;

namespace {

struct Sample {
    double milliseconds;
    long peakKilobytes;
    double cpuMilliseconds;  // user and system time of the whole run
};

// Starts program with the prefix, reads its "shown" line, and waits for it.
Sample RunOnce(const fs::path& program, const fs::path& prefix, const char* argument,
               const std::vector<std::pair<std::string, std::string>>& environment) {
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
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // unless the caller chose one (xcb)
        ::setenv("XDG_RUNTIME_DIR", (prefix.parent_path() / "runtime").c_str(), 1);
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
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
    const auto cpu = [](const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    return {std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss,
            cpu(usage.ru_utime) + cpu(usage.ru_stime)};
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

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The blocks ("[key] stamp" and the lines up to the next key) of a registry
// file, the header lines before them as one block.
std::vector<std::string> Blocks(const std::string& content) {
    std::vector<std::string> blocks(1);
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        if (content[start] == '[') {
            blocks.emplace_back();
        }
        blocks.back().append(content, start, end - start);
        start = end;
    }
    return blocks;
}

// The sample's registry inside a real Wine 8 prefix's system.reg: the real
// file's blocks, but the game's and the modification's keys the sample's.
void UseRealRegistry(const fs::path& prefix) {
    const fs::path real = prefix / "real.reg";
    const std::string unpack =
        "gzip -dc '" LW_SOURCE_DIR "/fixtures/wine8-win64-system.reg.gz' > '" + real.string() + "'";
    if (std::system(unpack.c_str()) != 0) {
        std::fprintf(stderr, "cannot unpack the Wine 8 registry fixture\n");
        std::exit(1);
    }
    std::string content;
    for (const std::string& block : Blocks(ReadFile(real))) {
        if (block.find("Red Storm Entertainment") == std::string::npos &&
            block.find("\\\\TORV\\\\") == std::string::npos) {
            content += block;
        }
    }
    const std::vector<std::string> sample = Blocks(ReadFile(prefix / "system.reg"));
    for (std::size_t i = 1; i < sample.size(); ++i) {
        content += sample[i];
    }
    fs::remove(real);
    WriteFile(prefix / "system.reg", content);
    // As a prefix's registry is: written some time before the programs start.
    fs::last_write_time(prefix / "system.reg",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// What `reg export` would write for a key of the sample: UTF-16LE with its
// mark, the key's block and its subkeys'.
std::string ExportOf(const std::vector<std::pair<std::string, std::string>>& keys) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    for (const auto& [key, values] : keys) {
        text += "\r\n[HKEY_LOCAL_MACHINE\\" + key + "]\r\n" + values;
    }
    std::string bytes = "\xff\xfe";
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// A wineserver for the prefix as the programs see one (a write lock on its
// lock file, held until the benchmark ends), and a stand-in wine whose
// `reg export` answers for the sample's keys after a real one's time and
// logs each call. Returns the environment a program needs to use it.
std::vector<std::pair<std::string, std::string>> ServeRegistry(const fs::path& work,
                                                               const fs::path& prefix) {
    std::ofstream(prefix / "wineserver") << (work / "server").string();
    const fs::path lockFile = platform::WineserverLockFiles(prefix).at(1);
    fs::create_directories(lockFile.parent_path());
    const int lock = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct flock range {};
    range.l_type = F_WRLCK;
    if (lock < 0 || ::fcntl(lock, F_OFD_SETLK, &range) != 0) {
        std::perror(lockFile.c_str());
        std::exit(1);
    }
    const fs::path exports = work / "exports";
    fs::create_directories(exports);
    // The sample's values, from its system.reg (the view's Wow6432Node left out).
    std::vector<std::pair<std::string, std::string>> keys;
    for (const std::string& block : Blocks(ReadFile(prefix / "system.reg"))) {
        const std::size_t node = block.find("Wow6432Node\\\\");
        if (block[0] != '[' || node == std::string::npos ||
            (block.find("Red Storm") == std::string::npos &&
             block.find("TORV") == std::string::npos)) {
            continue;
        }
        std::string name = "SOFTWARE\\" + block.substr(node + 13, block.find(']') - node - 13);
        for (std::size_t at = 0; (at = name.find("\\\\", at)) != std::string::npos; ++at) {
            name.erase(at, 1);
        }
        keys.emplace_back(name, block.substr(block.find('\n') + 1));
    }
    // An export for each key and for each vendor key, named as the stand-in looks them up.
    const auto fileName = [](std::string key) {
        for (char& c : key) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                            : '_';
        }
        return key;
    };
    for (const std::string vendor : {"SOFTWARE\\Red Storm Entertainment", "SOFTWARE\\TORV"}) {
        std::vector<std::pair<std::string, std::string>> below{{vendor, ""}};
        for (const auto& key : keys) {
            if (key.first.starts_with(vendor + "\\")) {
                below.push_back(key);
                WriteFile(exports / fileName(key.first), ExportOf({key}));
            }
        }
        WriteFile(exports / fileName(vendor), ExportOf(below));
    }
    const fs::path wine = work / "wine";
    WriteFile(wine,
              "#!/bin/sh\n"
              "echo \"$*\" >> \"$LW_BENCH_REG_LOG\"\n"
              "sleep \"${LW_BENCH_REG_SECONDS:-0.1}\"\n"
              "[ \"$1 $2\" = 'reg export' ] || exit 0\n"
              "name=$(printf %s \"$3\" | sed 's/^HKLM.//' | tr A-Z a-z | tr -c 'a-z0-9' _)\n"
              "out=$(printf %s \"$4\" | sed 's/^....unix//; s|\\\\|/|g')\n"
              "[ -f '" +
                  exports.string() + "'/\"$name\" ] && exec cp '" + exports.string() +
                  "'/\"$name\" \"$out\"\n"
                  "echo 'reg: Unable to find the specified registry key' >&2\n"
                  "exit 1\n");
    fs::permissions(wine, fs::perms::owner_all);
    return {{"WINE", wine.string()}};
}

struct Case {
    const char* name;
    fs::path program;
    const char* argument;  // nullptr for none
    fs::path prefix;
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<Sample> samples;
    fs::path regLog;  // the stand-in wine's calls, when it serves the registry
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
    const fs::path real = work / "real";
    const fs::path served = work / "served";
    for (const fs::path& prefix : {sample, large, real, served}) {
        const std::string command =
            "'" + script.string() + "' '" + prefix.string() + "' >/dev/null";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cannot lay out the sample installation with %s\n",
                         script.c_str());
            return 1;
        }
    }
    GrowKit(large, 2000);
    UseRealRegistry(real);
    UseRealRegistry(served);
    auto server = ServeRegistry(work, served);
    const auto withLog = [&](const char* name) {
        auto environment = server;
        environment.emplace_back("LW_BENCH_REG_LOG", (work / name).string());
        return environment;
    };
    fs::create_directory(work / "runtime");
    fs::permissions(work / "runtime", fs::perms::owner_all);

    std::vector<Case> cases = {
        {"bare QDialog program", here / "bare_dialog_probe", nullptr, sample, {}, {}, {}},
        {"  the same with a label, a button",
         here / "bare_dialog_probe",
         "--text",
         sample,
         {},
         {},
         {}},
        {"Loadwise, sample installation",
         here / "loadwise_shown_probe",
         nullptr,
         sample,
         {},
         {},
         {}},
        {"varnopts, sample installation",
         here / "varnopts_shown_probe",
         nullptr,
         sample,
         {},
         {},
         {}},
        {"Loadwise, 2,000 items per tab",
         here / "loadwise_shown_probe",
         nullptr,
         large,
         {},
         {},
         {}},
        {"varnopts, 2,000 items per tab",
         here / "varnopts_shown_probe",
         nullptr,
         large,
         {},
         {},
         {}},
        {"Loadwise, real Wine registry", here / "loadwise_shown_probe", nullptr, real, {}, {}, {}},
        {"varnopts, real Wine registry", here / "varnopts_shown_probe", nullptr, real, {}, {}, {}},
        {"Loadwise, the same, server runs",
         here / "loadwise_shown_probe",
         nullptr,
         served,
         withLog("loadwise-reg.log"),
         {},
         work / "loadwise-reg.log"},
        {"varnopts, the same, server runs",
         here / "varnopts_shown_probe",
         nullptr,
         served,
         withLog("varnopts-reg.log"),
         {},
         work / "varnopts-reg.log"},
    };
    if (argc > 2) {
        const fs::path other = fs::absolute(argv[2]);
        std::vector<Case> all;
        for (const Case& each : cases) {
            all.push_back(each);
            if (each.program.filename() == "bare_dialog_probe") {
                continue;
            }
            Case twin = each;
            twin.name = "    the same, OTHER build";
            twin.program = other / each.program.filename();
            if (!each.regLog.empty()) {
                twin.regLog += ".other";
                for (auto& [name, value] : twin.environment) {
                    if (name == "LW_BENCH_REG_LOG") {
                        value = twin.regLog.string();
                    }
                }
            }
            all.push_back(twin);
        }
        cases = std::move(all);
    }
    // One warm-up each, then the runs taken in turns, so that anything else
    // the machine does falls on every case alike.
    for (Case& each : cases) {
        RunOnce(each.program, each.prefix, each.argument, each.environment);
    }
    for (int run = 0; run < runs; ++run) {
        for (Case& each : cases) {
            each.samples.push_back(
                RunOnce(each.program, each.prefix, each.argument, each.environment));
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
    const auto medianCpu = [](const Case& each) {
        std::vector<double> times;
        for (const Sample& s : each.samples) {
            times.push_back(s.cpuMilliseconds);
        }
        return Median(times);
    };
    const double bareTime = medianTime(cases[0]);
    const double bareCpu = medianCpu(cases[0]);
    const double bareMemory = medianMemory(cases[0]);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("start-up to window shown, median of %d runs (%s)\n", runs,
                platform != nullptr ? platform : "offscreen");
    std::printf("  %-32s %9s %7s %9s %7s %12s %7s %6s\n", "", "time", "ratio", "CPU", "ratio",
                "peak RSS", "ratio", "reg");
    for (const Case& each : cases) {
        const double time = medianTime(each);
        const double memory = medianMemory(each);
        const double cpu = medianCpu(each);
        std::printf("  %-32s %6.1f ms %6.2fx %6.1f ms %6.2fx %8.1f MiB %6.2fx", each.name, time,
                    time / bareTime, cpu, cpu / bareCpu, memory, memory / bareMemory);
        if (!each.regLog.empty()) {  // reg commands per start, the warm-up's included
            const std::string log = ReadFile(each.regLog);
            const auto calls = std::count(log.begin(), log.end(), '\n');
            std::printf(" %6.1f", static_cast<double>(calls) / (runs + 1));
        }
        std::printf("\n");
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
