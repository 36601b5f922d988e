#include "report/report_template.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "data/file_error.h"

namespace corvan {

namespace fs = std::filesystem;

namespace {

std::string SearchPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
#ifdef _WIN32
    const char separator = ';';
    const std::string name = program + ".exe";
#else
    const char separator = ':';
    const std::string& name = program;
#endif
    std::string all = path;
    std::size_t start = 0;
    while (start <= all.size()) {
        const std::size_t end = all.find(separator, start);
        const std::string dir = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty()) {
            std::error_code ec;
            const fs::path candidate = fs::path(dir) / name;
            if (fs::is_regular_file(candidate, ec)) return candidate.string();
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("corvan-template-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::string FileUrl(const fs::path& p) {
    std::string s = fs::absolute(p).generic_string();
    std::string out = s.size() > 1 && s[1] == ':' ? "file:///" : "file://";
    for (unsigned char c : s) {
        if (std::isalnum(c) || std::strchr("/-_.~:", c)) {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

}  // namespace

std::string FindOfficeConverter() {
    if (const char* configured = std::getenv("CORVAN_SOFFICE")) {
        std::error_code ec;
        if (*configured && fs::is_regular_file(configured, ec)) return configured;
        return {};
    }
    std::string found = SearchPath("soffice");
#ifdef _WIN32
    if (found.empty()) {
        for (const char* base : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
            const char* dir = std::getenv(base);
            if (!dir) continue;
            std::error_code ec;
            const fs::path candidate = fs::path(dir) / "LibreOffice" / "program" / "soffice.exe";
            if (fs::is_regular_file(candidate, ec)) return candidate.string();
        }
    }
#endif
    return found;
}

bool IsBinaryWordFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    unsigned char magic[8] = {};
    in.read(reinterpret_cast<char*>(magic), sizeof magic);
    static constexpr unsigned char kCompoundFile[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return in.gcount() == 8 && std::memcmp(magic, kCompoundFile, 8) == 0;
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
#ifdef _WIN32
    // The C runtime joins the arguments with spaces; quote each one.
    std::vector<std::string> quoted;
    quoted.push_back("\"" + program + "\"");
    for (const std::string& a : arguments) quoted.push_back("\"" + a + "\"");
    std::vector<const char*> argv;
    for (const std::string& q : quoted) argv.push_back(q.c_str());
    argv.push_back(nullptr);
    const intptr_t status = _spawnv(_P_WAIT, program.c_str(), argv.data());
    return status < 0 ? -1 : static_cast<int>(status);
#else
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The converter talks on both streams; the command line's own output
    // must stay clean.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

OfficePackage ReadReportTemplate(const std::string& fileName) {
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec)) throw FileError(fileName, "template not found");
    {
        std::ifstream probe(fileName, std::ios::binary);
        if (!probe) throw FileError(fileName, std::string("cannot be opened: ") + std::strerror(errno));
    }
    if (!IsBinaryWordFile(fileName)) return OfficePackage::Read(fileName);

    const std::string converter = FindOfficeConverter();
    if (converter.empty()) throw FileError(fileName, kNoConverterReason);
    TemporaryFolder work;
    // A plain name in a private folder: the converter names its output after
    // the input and must not meet another instance's profile.
    const fs::path input = work.Path() / "template.dot";
    fs::copy_file(fileName, input, ec);
    if (ec) throw FileError(fileName, "cannot be copied for conversion: " + ec.message());
    const int status =
        RunProgram(converter, {"--headless", "--norestore", "--nologo",
                               "-env:UserInstallation=" + FileUrl(work.Path() / "profile"), "--convert-to", "docx",
                               "--outdir", work.Path().string(), input.string()});
    const fs::path output = work.Path() / "template.docx";
    if (status != 0 || !fs::is_regular_file(output, ec))
        throw FileError(fileName, "LibreOffice could not convert the template to .docx");
    return OfficePackage::Read(output.string());
}

}  // namespace corvan
