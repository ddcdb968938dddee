// Real folders and files for tests, removed again with everything in them.
// Paths are UTF-8 (common/WideFiles.h): any name Windows allows.
#pragma once

#include <string>

// A fresh folder under the user's temporary folder. The destructor removes it
// with all it holds, read-only files and paths past 259 characters included.
class TempFolder {
public:
    explicit TempFolder(const char* label = "ombrix-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path of the folder, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Full path of something inside the folder.
    std::string Inside(const std::string& relative) const;
    // Create a folder or a file inside (parent folders must exist); return
    // its full path. Both work past 259 characters.
    std::string MakeFolder(const std::string& relative) const;
    std::string MakeFile(const std::string& relative, const std::string& content = "x") const;

private:
    std::string path_;
};

// Whether a file or folder exists at path (any length).
bool PathExists(const std::string& path);
// Whether path exists and is a folder.
bool FolderExists(const std::string& path);
// Removes path and everything below it, whatever the attributes (any length).
void RemoveTree(const std::string& path);
