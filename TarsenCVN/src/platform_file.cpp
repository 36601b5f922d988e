#include "platform_file.h"

#include <cerrno>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>

#include "text_encoding.h"
#endif

namespace tarsen {

std::FILE* OpenFile(const std::string& pathUtf8, const char* mode) {
#if defined(_WIN32)
    const std::u16string wide = Utf16FromUtf8(pathUtf8);
    const std::u16string wideMode = Utf16FromUtf8(mode);
    return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), reinterpret_cast<const wchar_t*>(wideMode.c_str()));
#else
    return std::fopen(pathUtf8.c_str(), mode);
#endif
}

bool SeekFile(std::FILE* file, std::int64_t position) {
#if defined(_WIN32)
    return _fseeki64(file, position, SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::int64_t FileLength(std::FILE* file) {
#if defined(_WIN32)
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    const std::int64_t length = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    const std::int64_t length = ftello(file);
#endif
    if (!SeekFile(file, 0)) return -1;
    return length;
}

bool RemoveFile(const std::string& pathUtf8) {
#if defined(_WIN32)
    const std::u16string wide = Utf16FromUtf8(pathUtf8);
    return _wremove(reinterpret_cast<const wchar_t*>(wide.c_str())) == 0;
#else
    return std::remove(pathUtf8.c_str()) == 0;
#endif
}

bool CanReplace(const std::string& pathUtf8) {
    errno = 0;
    if (std::FILE* f = OpenFile(pathUtf8, "r+b")) {
        std::fclose(f);
        return true;
    }
    return errno == ENOENT;
}

bool RenameReplacing(const std::string& fromUtf8, const std::string& toUtf8) {
#if defined(_WIN32)
    // rename() refuses an existing target on Windows.
    const std::u16string from = Utf16FromUtf8(fromUtf8);
    const std::u16string to = Utf16FromUtf8(toUtf8);
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(from.c_str()), reinterpret_cast<const wchar_t*>(to.c_str()),
                    MOVEFILE_REPLACE_EXISTING) != 0) {
        return true;
    }
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
#else
    return std::rename(fromUtf8.c_str(), toUtf8.c_str()) == 0;
#endif
}

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

}  // namespace tarsen
