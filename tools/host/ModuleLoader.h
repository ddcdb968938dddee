// Loads an import module the way a host does: reads its PiPL first, refuses
// anything that is not an import module, then loads the library and finds
// the entry point that the PiPL names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "host/PiplReader.h"

typedef void(__cdecl* ModuleEntryPoint)(int16_t selector, void* block, intptr_t* data, int16_t* result);

class LoadedModule {
public:
    LoadedModule() = default;
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // False with Error() set when the file cannot be used; a module loaded
    // before is unloaded first.
    bool Load(const std::string& path);
    void Unload();

    bool IsLoaded() const { return entry_ != nullptr; }
    const std::string& Error() const { return error_; }
    const std::string& Path() const { return path_; }
    const PiplInfo& Pipl() const { return pipl_; }
    ModuleEntryPoint Entry() const { return entry_; }
    HMODULE Handle() const { return library_; }

private:
    bool ReadPipl(const std::string& path);

    std::string path_;
    std::string error_;
    PiplInfo pipl_;
    HMODULE library_ = nullptr;
    ModuleEntryPoint entry_ = nullptr;
};

// The text of a Windows error code, without the trailing line break.
std::string SystemErrorText(DWORD code);
