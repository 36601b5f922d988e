#pragma once
// Starting the simulator and the command line from a test (POSIX): output
// goes to files in a scratch folder so a test can read it while it runs.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace corvan::test {

inline std::string ReadText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class Process {
public:
    Process(const std::vector<std::string>& argv, const std::filesystem::path& out, const std::filesystem::path& err)
        : out_(out), err_(err) {
        // Left over from an earlier run, they would be read as this one's.
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(o, 1);
            ::dup2(e, 2);
            std::vector<char*> args;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
    }
    ~Process() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            Wait(5000);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Exit status, or nullopt when it is still running after timeoutMs.
    std::optional<int> Wait(int timeoutMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!status_) {
            int st = 0;
            const pid_t r = ::waitpid(pid_, &st, WNOHANG);
            if (r == pid_) {
                status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
                break;
            }
            if (std::chrono::steady_clock::now() >= until) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return status_;
    }

    // The first line the process printed, waiting up to timeoutMs.
    std::string FirstLine(int timeoutMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < until) {
            const std::string text = std::filesystem::exists(out_) ? ReadText(out_) : std::string();
            const auto nl = text.find('\n');
            if (nl != std::string::npos) return text.substr(0, nl);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return {};
    }

    void Kill() { ::kill(pid_, SIGKILL); }
    void Signal(int signal) { ::kill(pid_, signal); }
    std::string Out() const { return ReadText(out_); }
    std::string Err() const { return ReadText(err_); }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path out_;
    std::filesystem::path err_;
};

inline std::filesystem::path ScratchDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("corvan-inst-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace corvan::test
