// A fresh folder under the user's temporary folder, removed with everything
// in it (read-only and hidden files included) when the object goes.
#pragma once

#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Path() + "\" + name.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// Removes a folder and everything in it; true when it is gone.
bool RemoveFolderTree(const std::string& folder);

// Writes bytes into a file; false on failure.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
