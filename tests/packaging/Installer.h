#pragma once
// What IT and the operator see of the installed package: msiexec runs, the installed products
// of the package's upgrade code, their "Apps & features" entry, the Start-menu shortcut and the
// files, all read through the system's own interfaces.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace package {

// Runs "msiexec <arguments>" and waits for it; its exit code (STILL_ACTIVE when it hung).
DWORD RunMsiexec(const std::wstring& arguments);
// msiexec /i (or /x) of a package file, silently.
DWORD Install(const std::wstring& msi);
DWORD Uninstall(const std::wstring& msi);

// Product codes installed under the upgrade code, as Windows Installer lists them.
std::vector<std::wstring> RelatedProducts(const std::wstring& upgradeCode);
// A property of an installed product (INSTALLPROPERTY_*); empty when unknown.
std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property);

// The product's entry under ...\CurrentVersion\Uninstall, in HKCU or HKLM (Wine keeps the
// entries of per-user packages in HKLM).
struct TUninstallEntry {
  std::wstring DisplayName;
  std::wstring DisplayVersion;
  std::wstring Publisher;
  std::wstring UninstallString;
};
std::optional<TUninstallEntry> UninstallEntry(const std::wstring& productCode);

// A known folder (FOLDERID_*) of the user.
std::wstring KnownFolder(const GUID& id);
// %LOCALAPPDATA%\Programs\Replimar KORVELL and the Start-menu shortcut's path.
std::wstring InstallFolder();
std::wstring ShortcutPath();

struct TShortcut {
  std::wstring Target;
  std::wstring WorkingFolder;
  std::wstring IconFile;
};
// Reads a .lnk through the shell's link object; nullopt when it cannot be loaded.
std::optional<TShortcut> ReadShortcut(const std::wstring& path);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// The whole file; nullopt when it cannot be read.
std::optional<std::string> FileBytes(const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& subKey);

} // namespace package
