#pragma once
// Loads the converter library by file name at run time, as the desktop
// program does for every import, and finds its entries by name. Header-only
// so a caller needs no link dependency on the library; the only platform
// calls of the callers live here.

#include <string>

#include "tarsen_cvn.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace tarsen {

#if defined(_WIN32)
inline constexpr const char* kTarsenLibraryFileName = "TarsenCVN.dll";
#elif defined(__APPLE__)
inline constexpr const char* kTarsenLibraryFileName = "libTarsenCVN.dylib";
#else
inline constexpr const char* kTarsenLibraryFileName = "libTarsenCVN.so";
#endif

using TarsenConvertFunction = int32_t (*)(const char*, const TarsenOptions*, const TarsenCallbacks*);
using CreateCvnFilesFunction = int32_t(TARSEN_STDCALL*)(const char16_t*);

// One loaded copy of the library; unloaded when the object goes.
class TarsenLibrary {
public:
    TarsenLibrary() = default;
    TarsenLibrary(const TarsenLibrary&) = delete;
    TarsenLibrary& operator=(const TarsenLibrary&) = delete;
    ~TarsenLibrary() { Unload(); }

    // Tries the normal library search first, then the folder of the running
    // program, where the build and an installation put the library.
    bool Load() {
        Unload();
        handle_ = Open(kTarsenLibraryFileName);
        if (!handle_) {
            const std::string beside = ProgramFolder();
            if (!beside.empty()) handle_ = Open((beside + kTarsenLibraryFileName).c_str());
        }
        return handle_ != nullptr;
    }

    bool Loaded() const { return handle_ != nullptr; }
    // Why the last Load failed, as the system says it.
    const std::string& LoadError() const { return error_; }

    TarsenConvertFunction Convert() const { return reinterpret_cast<TarsenConvertFunction>(Symbol("TarsenConvert")); }
    CreateCvnFilesFunction CreateCvnFiles() const {
#if defined(_WIN32) && !defined(_WIN64)
        return reinterpret_cast<CreateCvnFilesFunction>(Symbol("_CreateCVNFiles@4"));
#else
        return reinterpret_cast<CreateCvnFilesFunction>(Symbol("CreateCVNFiles"));
#endif
    }

    void Unload() {
        if (!handle_) return;
#if defined(_WIN32)
        FreeLibrary(static_cast<HMODULE>(handle_));
#else
        dlclose(handle_);
#endif
        handle_ = nullptr;
    }

private:
    void* Open(const char* name) {
#if defined(_WIN32)
        void* h = reinterpret_cast<void*>(LoadLibraryA(name));
        if (!h) error_ = "error " + std::to_string(GetLastError());
#else
        void* h = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (!h) {
            const char* e = dlerror();
            error_ = e ? e : "unknown error";
        }
#endif
        return h;
    }

    void* Symbol(const char* name) const {
        if (!handle_) return nullptr;
#if defined(_WIN32)
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
        return dlsym(handle_, name);
#endif
    }

    static std::string ProgramFolder() {
#if defined(_WIN32)
        char buf[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return {};
        std::string path(buf, n);
        const auto slash = path.find_last_of("\\/");
#elif defined(__linux__)
        char buf[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) return {};
        std::string path(buf, static_cast<std::size_t>(n));
        const auto slash = path.find_last_of('/');
#else
        std::string path;
        const auto slash = std::string::npos;
#endif
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }

    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace tarsen
