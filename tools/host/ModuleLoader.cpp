#include "host/ModuleLoader.h"

#include "common/WideText.h"
#include "hostapi/HostApi.h"

namespace {

constexpr const char* PiplType = "PIPL";

// The first PIPL resource of the module, whatever its id.
BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    auto* found = reinterpret_cast<std::string*>(param);
    if (IS_INTRESOURCE(name)) {
        found->assign(1, '#');
        found->append(std::to_string(reinterpret_cast<uintptr_t>(name)));
    } else {
        found->assign(name);
    }
    return FALSE;
}

}  // namespace

std::string SystemErrorText(DWORD code)
{
    wchar_t text[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  text, DWORD(std::size(text)), nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
        --length;
    std::string message = WideToUtf8(std::wstring(text, length));
    return message.empty() ? "error " + std::to_string(code) : message + " (error " + std::to_string(code) + ")";
}

LoadedModule::~LoadedModule()
{
    Unload();
}

void LoadedModule::Unload()
{
    if (library_ != nullptr)
        FreeLibrary(library_);
    library_ = nullptr;
    entry_ = nullptr;
}

bool LoadedModule::ReadPipl(const std::string& path)
{
    // As data only: the library's code does not run before the host knows
    // what the file is.
    HMODULE data = LoadLibraryExW(Utf8ToWide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (data == nullptr) {
        error_ = "cannot open " + path + " as a module: " + SystemErrorText(GetLastError());
        return false;
    }
    std::string resourceName;
    EnumResourceNamesA(data, PiplType, TakeFirstName, reinterpret_cast<LONG_PTR>(&resourceName));
    HRSRC resource = nullptr;
    if (!resourceName.empty())
        resource = FindResourceA(data, resourceName.c_str(), PiplType);
    if (resource == nullptr) {
        FreeLibrary(data);
        error_ = path + " has no PiPL resource: it is not a plug-in module";
        return false;
    }
    HGLOBAL loaded = LoadResource(data, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(data, resource);
    std::string parseError;
    bool parsed = bytes != nullptr && ParsePipl(static_cast<const uint8_t*>(bytes), size, &pipl_, &parseError);
    FreeLibrary(data);
    if (!parsed) {
        error_ = path + ": malformed PiPL resource: " + (bytes == nullptr ? "cannot be read" : parseError);
        return false;
    }
    if (!pipl_.hasKind || pipl_.kind != FourCharCode("8BAM")) {
        std::string kind = pipl_.hasKind ? FourCharText(pipl_.kind) : std::string("missing");
        error_ = path + " is not an import module: its PiPL kind is " + kind + ", not 8BAM";
        return false;
    }
    const std::string own = FourCharText(OwnCodeProperty);
    if (!pipl_.hasEntryPoint && pipl_.hasOtherEntryPoint) {
        const char* bits = sizeof(void*) == 8 ? "64" : "32";
        const char* otherBits = sizeof(void*) == 8 ? "32" : "64";
        error_ = path + " is a module for " + otherBits + "-bit hosts (its PiPL names its entry point in '" +
                 FourCharText(OtherCodeProperty) + "', not '" + own + "'): this " + bits +
                 "-bit host needs the module built for " + bits + "-bit hosts";
        return false;
    }
    if (!pipl_.hasEntryPoint || pipl_.entryPoint.empty()) {
        error_ = path + ": its PiPL names no " + own + " entry point";
        return false;
    }
    return true;
}

bool LoadedModule::Load(const std::string& path)
{
    Unload();
    path_ = path;
    error_.clear();
    pipl_ = PiplInfo();
    if (!ReadPipl(path))
        return false;
    // The path as given, never the "\\?\" form: the module may read it back
    // with GetModuleFileNameW.
    library_ = LoadLibraryW(Utf8ToWide(path).c_str());
    if (library_ == nullptr) {
        error_ = "cannot load " + path + ": " + SystemErrorText(GetLastError());
        return false;
    }
    entry_ = reinterpret_cast<ModuleEntryPoint>(
        reinterpret_cast<void*>(GetProcAddress(library_, pipl_.entryPoint.c_str())));
    if (entry_ == nullptr) {
        error_ = path + " does not export the entry point '" + pipl_.entryPoint + "' that its PiPL names";
        Unload();
        return false;
    }
    return true;
}
