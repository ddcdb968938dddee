#!/usr/bin/env python3
"""Checks that a built module reaches files, folders, processes and the
registry through the wide (UTF-16) functions only.

Windows hands an 8-bit ("A") function a path converted to the ANSI code
page, where a name the code page cannot hold becomes another name, or
another file. The module's import table may therefore hold no path-taking
8-bit function, unless a library linked in brings it with an entry point
that the module never calls; each such exception is listed below with its
reason, and one that is no longer imported is reported too, so that the list
stays true.

Usage: check-module-paths.py MODULE win32|win64
"""
import re
import subprocess
import sys

# The 8-bit functions that take a path, a file or folder name, a command
# line or a registry value that may hold one.
PATH_TAKING = re.compile(r"""^(
    (Create|Open)File(2)?A | CreateDirectory(Ex)?A | RemoveDirectoryA | DeleteFileA |
    (Copy|Move|Replace)File(Ex|WithProgress)?A | FindFirstFile(Ex)?A | FindNextFileA |
    GetFileAttributes(Ex)?A | SetFileAttributesA | GetFullPathNameA | GetLongPathNameA |
    GetShortPathNameA | Get(Current|System|Windows|Temp)DirectoryA | GetTempPathA | GetTempFileNameA |
    SetCurrentDirectoryA | SearchPathA | CreateProcess(AsUser)?A | WinExecA? | ShellExecute(Ex)?A |
    GetModuleFileName(Ex)?A | GetModuleHandle(Ex)?A | LoadLibrary(Ex)?A |
    Reg\w+A | SHGetFolderPathA | GetPrivateProfile\w*A | WritePrivateProfile\w*A |
    _?fopen | _?fopen_s | freopen | _sopen | _open | _creat | _findfirst\w* | _findnext\w* |
    remove | rename | _unlink | unlink | _mkdir | _rmdir | _chdir | _getcwd | _fullpath |
    _access | _stat\w* | _spawn\w* | _exec\w* | system | _popen | _tempnam | tmpnam
)$""", re.X)

# What a library brings in with an entry point the module never calls.
EXCEPTIONS = {
    "LoadLibraryA": "the decoder's set-up loads plug-in files from a folder; the module sets it up "
                    "with its built-in formats only (FreeImage_Initialise(TRUE))",
    # 64-bit and 32-bit names of the same search.
    "_findfirst64": "the same plug-in folder search of the decoder's set-up, never run",
    "_findnext64": "the same plug-in folder search of the decoder's set-up, never run",
    "_findfirst": "the same plug-in folder search of the decoder's set-up, never run",
    "_findnext": "the same plug-in folder search of the decoder's set-up, never run",
    "GetModuleHandleA": "the 32-bit C++ runtime's start-up looks for the shared GCC runtime by its fixed "
                        "ASCII name (libgcc_s_dw2-1.dll) to register its unwind tables; no path",
    "fopen": "the decoder's loading by file name (FreeImage_Load, FreeImage_GetFileType); the module "
             "hands it a file it opened by its wide path (FreeImage_LoadFromHandle)",
    "remove": "the PNG library's writing to a named file, which the module never writes",
}


def imports_of(module, arch):
    objdump = {"win32": "i686-w64-mingw32-objdump", "win64": "x86_64-w64-mingw32-objdump"}[arch]
    dump = subprocess.run([objdump, "-p", module], check=True, capture_output=True, text=True).stdout
    names, dll = [], None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        m = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\w+)$", line)
        if dll and m:
            names.append(m.group(1))
    return names


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("win32", "win64"):
        sys.exit("usage: check-module-paths.py MODULE win32|win64")
    names = imports_of(sys.argv[1], sys.argv[2])
    if not names:
        sys.exit(f"{sys.argv[1]}: no imports read")
    path_taking = sorted({n for n in names if PATH_TAKING.match(n)})
    forbidden = [n for n in path_taking if n not in EXCEPTIONS]
    for name in path_taking:
        if name in EXCEPTIONS:
            print(f"allowed: {name}: {EXCEPTIONS[name]}")
    for name in sorted(set(EXCEPTIONS) - set(path_taking)):
        print(f"note: {name} is listed as an exception but not imported by this module")
    if forbidden:
        sys.exit("8-bit path functions imported: " + " ".join(forbidden))
    wide = sorted(n for n in names if re.match(r"(FindFirstFile|CreateProcess|DeleteFile|RemoveDirectory|"
                                               r"GetModuleFileName|RegEnumValue)W$", n))
    print(f"{len(names)} imports, no 8-bit path function but the exceptions; wide: {' '.join(wide)}")


if __name__ == "__main__":
    main()
