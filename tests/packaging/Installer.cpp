#include "tests/packaging/Installer.h"
#include "funcoes/Handles.h"
#include "widgets/ComPtr.h"
#include <knownfolders.h>
#include <msi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace package {

namespace {

// An install or removal under Wine takes a few seconds; this leaves room for a slow host.
constexpr DWORD kMsiexecTimeoutMs = 180000;

class TComScope {
public:
  TComScope() : FOk(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (FOk) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  bool FOk;
};

std::wstring StringValue(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

} // namespace

DWORD RunMsiexec(const std::wstring& arguments) {
  std::wstring commandLine = L"msiexec.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return GetLastError();
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  if (WaitForSingleObject(process.Get(), kMsiexecTimeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

DWORD Install(const std::wstring& msi) {
  return RunMsiexec(L"/i \"" + msi + L"\" /qn");
}

DWORD Uninstall(const std::wstring& msi) {
  return RunMsiexec(L"/x \"" + msi + L"\" /qn");
}

std::vector<std::wstring> RelatedProducts(const std::wstring& upgradeCode) {
  std::vector<std::wstring> products;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, code) == ERROR_SUCCESS; ++i)
    products.emplace_back(code);
  return products;
}

std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property) {
  DWORD size = 0;
  wchar_t empty[1] = {};
  const UINT first = MsiGetProductInfoW(productCode.c_str(), property, empty, &size);
  if (first != ERROR_MORE_DATA && first != ERROR_SUCCESS) return {};
  std::wstring text(size + 1, L'\0');
  size = static_cast<DWORD>(text.size());
  if (MsiGetProductInfoW(productCode.c_str(), property, text.data(), &size) != ERROR_SUCCESS)
    return {};
  text.resize(size);
  return text;
}

std::optional<TUninstallEntry> UninstallEntry(const std::wstring& productCode) {
  const std::wstring path =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    UniqueHKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) continue;
    TUninstallEntry entry;
    entry.DisplayName = StringValue(key.Get(), L"DisplayName");
    entry.DisplayVersion = StringValue(key.Get(), L"DisplayVersion");
    entry.Publisher = StringValue(key.Get(), L"Publisher");
    entry.UninstallString = StringValue(key.Get(), L"UninstallString");
    return entry;
  }
  return std::nullopt;
}

std::wstring KnownFolder(const GUID& id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

std::wstring InstallFolder() {
  return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Replimar KORVELL";
}

std::wstring ShortcutPath() {
  return KnownFolder(FOLDERID_Programs) + L"\\Replimar KORVELL.lnk";
}

std::optional<TShortcut> ReadShortcut(const std::wstring& path) {
  TComScope com;
  TComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
    return std::nullopt;
  TComPtr<IPersistFile> file;
  if (FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ))) return std::nullopt;
  TShortcut shortcut;
  wchar_t text[MAX_PATH] = {};
  if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) shortcut.Target = text;
  text[0] = L'\0';
  if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) shortcut.WorkingFolder = text;
  text[0] = L'\0';
  int index = 0;
  if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index))) shortcut.IconFile = text;
  return shortcut;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> FileBytes(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return std::nullopt;
  return bytes;
}

bool KeyExists(HKEY root, const std::wstring& subKey) {
  UniqueHKey key;
  return RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

} // namespace package
