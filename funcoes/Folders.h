#pragma once
// The folder calls: tests, creation, the process's current folder (read only: the lists no
// longer enter their folders), the texts of a folder that
// cannot be opened, and the two folder variables of the folder buttons. The path text they
// work on is in funcoes/pure/PathText.
#include <string>

// True when a folder of that name exists. A link or junction is opened to check that it
// leads somewhere. A name past MAX_PATH is asked in its "\\?\" form.
bool FolderExists(const std::wstring& name);
// Compares two folder names as the file system does: letter case ignored (CompareStringOrdinal).
bool SameFolder(const std::wstring& a, const std::wstring& b);
// Creates the folder and any missing parents; true on success. An empty name raises
// EInOutError "Unable to create directory" CR LF "[]"; other failures answer false, among them
// a name longer than the system takes in any form (kLongestPath). Folders past MAX_PATH - 12
// are created through their "\\?\" form.
bool CreateFolderPath(const std::wstring& name);

// "Cannot open folder "name". " followed by the system's text for the error code.
std::wstring CannotOpenFolderText(const std::wstring& name, unsigned long error);
// Why FolderExists is false for name, in the words of CannotOpenFolderText.
std::wstring FolderMissingText(const std::wstring& name);
// The folder itself when it exists, else its nearest parent that does; empty when none does
// (a drive that is not there).
std::wstring NearestExistingFolder(const std::wstring& name);

// The current folder as the system reports it (no trailing "\" except a drive root).
std::wstring CurrentFolder();
// The folder's full form, as the lists show it: a relative name taken from the current folder,
// "." and ".." resolved, no trailing "\" except a drive root. Only the text is worked on (no
// call reaches the folder's file system, so a server that does not answer holds nothing).
// Raises EInOutError naming the folder when the name cannot be made full.
std::wstring FullFolder(const std::wstring& folder);

// The folder each button last dealt with; empty at start, used only by its own button.
extern std::wstring RaizOrigem;
extern std::wstring RaizDestino;
