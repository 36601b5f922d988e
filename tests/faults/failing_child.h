#pragma once
// Runs a write in a child process whose file system fails it: a file size
// limit (setrlimit RLIMIT_FSIZE, with SIGXFSZ ignored so the write returns
// EFBIG as on a full disk), or an unprivileged user for whom a read-only
// folder really is read-only even when the tests run as root. The parent
// then judges what is left on disk.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace corvan::faults {

struct Fault {
    // Bytes a file may grow to; 0 = no limit.
    rlim_t fileSizeLimit = 0;
    // Run as "nobody" when the tests run as root.
    bool unprivileged = false;
};

struct ChildOutcome {
    bool ran = false;     // the child exited normally
    std::string message;  // what the writer said; empty when it succeeded
};

// body returns the text the user would see, or empty on success; an
// exception's what() counts as that text.
inline ChildOutcome RunWithFault(const Fault& fault, const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string message;
        ::signal(SIGXFSZ, SIG_IGN);
        if (fault.fileSizeLimit > 0) {
            const rlimit limit{fault.fileSizeLimit, fault.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        }
        if (fault.unprivileged && ::geteuid() == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(4);
        }
        try {
            message = body();
        } catch (const std::exception& e) {
            message = e.what();
            if (message.empty()) message = "(exception without text)";
        }
        std::size_t done = 0;
        while (done < message.size()) {
            const ssize_t n = ::write(fds[1], message.data() + done, message.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        outcome.message.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid) outcome.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

// Every file of a folder with its bytes.
using FolderContents = std::map<std::string, std::vector<std::uint8_t>>;

inline FolderContents ReadFolder(const std::filesystem::path& folder) {
    FolderContents contents;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_regular_file()) {
            contents[entry.path().filename().string()] = testing::ReadBytes(entry.path().string());
        }
    }
    return contents;
}

// After a failed write every file that was there is there unchanged, and
// any new file is a copy of one that was (a backup): nothing half written.
inline ::testing::AssertionResult NothingLostNothingHalfWritten(const FolderContents& before,
                                                                const FolderContents& after) {
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        if (it == after.end()) return ::testing::AssertionFailure() << name << " is gone";
        if (it->second != bytes) return ::testing::AssertionFailure() << name << " was changed";
    }
    for (const auto& [name, bytes] : after) {
        if (before.count(name)) continue;
        bool copy = false;
        for (const auto& [oldName, oldBytes] : before) copy = copy || oldBytes == bytes;
        if (!copy) return ::testing::AssertionFailure() << name << " was left behind (" << bytes.size() << " bytes)";
    }
    return ::testing::AssertionSuccess();
}

// A folder the unprivileged child may write in until it is made read-only.
inline void OpenToEveryone(const std::filesystem::path& folder) {
    std::filesystem::permissions(folder, std::filesystem::perms::all);
}
inline void MakeReadOnly(const std::filesystem::path& folder) {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                             std::filesystem::perms::group_read | std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
}

}  // namespace corvan::faults
