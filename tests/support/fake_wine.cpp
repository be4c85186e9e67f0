#include "support/fake_wine.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace testsupport {
namespace {

void WriteScript(const fs::path& file, const std::string& body) {
    std::ofstream(file) << "#!/bin/sh\n" << body;
    fs::permissions(file, fs::perms::owner_all);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\x1f');) {
        fields.push_back(field);
    }
    return fields;
}

std::vector<std::vector<std::string>> LogLines(const fs::path& log) {
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(Fields(line));
    }
    return lines;
}

}  // namespace

FakeWine::FakeWine(const std::string& body) {
    const std::string log = (folder_.path() / "wine.log").string();
    // Each record is built first and appended with one printf, so records of
    // programs running side by side never interleave.
    WriteScript(program(), "s=$(printf 'start\\037%s\\037%s\\037%s' \"$$\" \"$(pwd -P)\" "
                           "\"$WINEPREFIX\")\n"
                           "for a in \"$@\"; do s=$(printf '%s\\037%s' \"$s\" \"$a\"); done\n"
                           "printf '%s\\n' \"$s\" >> '" +
                               log + "'\n(\n" + body + "\n)\nstatus=$?\n" +
                               "printf 'end\\037%s\\037%s\\n' \"$$\" \"$status\" >> '" + log +
                               "'\nexit $status\n");
    WriteScript(folder_.path() / "xdg-open",
                "printf '%s\\n' \"$1\" >> '" + (folder_.path() / "opened.log").string() + "'\n");
    wine_ = std::make_unique<ScopedEnvironment>("WINE", program().string());
    const char* path = std::getenv("PATH");
    path_ = std::make_unique<ScopedEnvironment>(
        "PATH", folder_.path().string() + ":" + (path != nullptr ? path : ""));
}

std::vector<WineEvent> FakeWine::Events() const {
    std::vector<WineEvent> events;
    for (const auto& fields : LogLines(folder_.path() / "wine.log")) {
        if (fields.size() >= 2) {
            events.push_back({fields[0], std::atol(fields[1].c_str())});
        }
    }
    return events;
}

std::vector<WineCall> FakeWine::Calls() const {
    std::vector<WineCall> calls;
    for (const auto& fields : LogLines(folder_.path() / "wine.log")) {
        if (fields.size() >= 4 && fields[0] == "start") {
            WineCall call;
            call.pid = std::atol(fields[1].c_str());
            call.folder = fields[2];
            call.prefix = fields[3];
            call.arguments.assign(fields.begin() + 4, fields.end());
            calls.push_back(call);
        } else if (fields.size() >= 3 && fields[0] == "end") {
            for (auto& call : calls) {
                if (call.pid == std::atol(fields[1].c_str()) && !call.ended) {
                    call.ended = true;
                    call.status = std::atoi(fields[2].c_str());
                }
            }
        }
    }
    return calls;
}

std::vector<WineCall> FakeWine::WaitForCalls(std::size_t count, bool ended) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        std::vector<WineCall> calls = Calls();
        std::size_t done = 0;
        for (const auto& call : calls) {
            done += (!ended || call.ended) ? 1 : 0;
        }
        if (done >= count || std::chrono::steady_clock::now() > deadline) {
            return calls;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::vector<std::string> FakeWine::Opened(std::size_t expected) const {
    const fs::path log = folder_.path() / "opened.log";
    const auto deadline = std::chrono::steady_clock::now() +
                          (expected == 0 ? std::chrono::milliseconds(300) : std::chrono::seconds(20));
    std::vector<std::string> opened;
    while (std::chrono::steady_clock::now() < deadline) {
        opened.clear();
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            opened.push_back(line);
        }
        if (expected > 0 && opened.size() >= expected) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return opened;
}

}  // namespace testsupport
