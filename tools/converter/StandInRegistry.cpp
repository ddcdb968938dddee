#include "converter/StandInRegistry.h"

#include <vector>

namespace {

bool KeyIsEmpty(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

bool ReadString(HKEY root, const char* path, const char* name, std::string* value)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    std::vector<char> bytes(size + 1, '\0');
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    value->assign(bytes.data());
    return true;
}

LONG WriteString(HKEY root, const char* path, const char* name, const std::string& value)
{
    HKEY key;
    LONG status = RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            DWORD(value.size() + 1));
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
    LONG status = RegDeleteKeyA(HKEY_CLASSES_ROOT, ConverterCommandKey);
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
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PluginSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, OutputFolderValueName);
        RegCloseKey(key);
    }
    DeleteEmptyKeys(HKEY_CURRENT_USER, PluginSettingsKey, "Software\\Korvel");
}

int DeleteEmptyKeys(HKEY root, const std::string& path, const std::string& stopAt)
{
    int deleted = 0;
    std::string current = path;
    while (!current.empty() && KeyIsEmpty(root, current) && RegDeleteKeyA(root, current.c_str()) == ERROR_SUCCESS) {
        ++deleted;
        if (_stricmp(current.c_str(), stopAt.c_str()) == 0)
            break;
        size_t slash = current.rfind('\\');
        current = slash == std::string::npos ? std::string() : current.substr(0, slash);
    }
    return deleted;
}
