#include "converter/StandInRegistry.h"

#include <vector>

#include "common/WideText.h"

// Wide throughout: the module reads these values wide, and a path outside
// the code page must reach it exactly.
namespace {

bool KeyIsEmpty(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

bool ReadString(HKEY root, const char* path, const char* name, std::string* value)
{
    HKEY key;
    if (RegOpenKeyExW(root, Utf8ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    std::wstring wideName = name == nullptr ? std::wstring() : Utf8ToWide(name);
    const wchar_t* valueName = name == nullptr ? nullptr : wideName.c_str();
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size);
    // Room for a terminator the stored bytes may lack.
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    *value = WideToUtf8(text.data());
    return true;
}

LONG WriteString(HKEY root, const char* path, const char* name, const std::string& value)
{
    HKEY key;
    LONG status = RegCreateKeyExW(root, Utf8ToWide(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    std::wstring wideName = name == nullptr ? std::wstring() : Utf8ToWide(name);
    std::wstring text = Utf8ToWide(value);
    status = RegSetValueExW(key, name == nullptr ? nullptr : wideName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

}  // namespace

std::string OpenCommandFor(const std::string& executablePath)
{
    return executablePath + " \"%1\"";
}

LONG RegisterStandIn(const std::string& executablePath)
{
    return WriteString(HKEY_CLASSES_ROOT, ConverterCommandKey, nullptr, OpenCommandFor(executablePath));
}

LONG UnregisterStandIn()
{
    LONG status = RegDeleteKeyW(HKEY_CLASSES_ROOT, Utf8ToWide(ConverterCommandKey).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return status;
    std::string command = ConverterCommandKey;
    DeleteEmptyKeys(HKEY_CLASSES_ROOT, command.substr(0, command.rfind('\\')), ConverterDocumentKey);
    return ERROR_SUCCESS;
}

bool ReadOpenCommand(std::string* command)
{
    return ReadString(HKEY_CLASSES_ROOT, ConverterCommandKey, nullptr, command);
}

LONG WriteOutputFolderValue(const std::string& value)
{
    return WriteString(HKEY_CURRENT_USER, PluginSettingsKey, OutputFolderValueName, value);
}

bool ReadOutputFolderValue(std::string* value)
{
    return ReadString(HKEY_CURRENT_USER, PluginSettingsKey, OutputFolderValueName, value);
}

void RemoveOutputFolderValue()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(PluginSettingsKey).c_str(), 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(key, Utf8ToWide(OutputFolderValueName).c_str());
        RegCloseKey(key);
    }
    DeleteEmptyKeys(HKEY_CURRENT_USER, PluginSettingsKey, "Software\\Korvel");
}

int DeleteEmptyKeys(HKEY root, const std::string& path, const std::string& stopAt)
{
    int deleted = 0;
    std::wstring current = Utf8ToWide(path);
    std::wstring last = Utf8ToWide(stopAt);
    while (!current.empty() && KeyIsEmpty(root, current) && RegDeleteKeyW(root, current.c_str()) == ERROR_SUCCESS) {
        ++deleted;
        if (_wcsicmp(current.c_str(), last.c_str()) == 0)
            break;
        size_t slash = current.rfind(L'\\');
        current = slash == std::wstring::npos ? std::wstring() : current.substr(0, slash);
    }
    return deleted;
}
