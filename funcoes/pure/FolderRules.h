#pragma once
// Path rules of the folder selection, apart from the file system they act on.
#include <functional>
#include <string>

// Everything up to and including the last "\" or ":" (empty when there is neither).
std::wstring FolderParentPart(const std::wstring& name);
// The executable's folder: its full path up to the last "\", that "\" removed ("C:" for an
// executable in a drive root).
std::wstring ExecutableFolder(const std::wstring& exePath);
// The root of the drive of a folder followed by "\" ("C:\"), or "\\server\share\" for a
// network path; empty when the folder has neither form.
std::wstring DriveRootOf(const std::wstring& folder);

// Creates a folder and its missing parents through the two callbacks:
// 1. an empty name raises EInOutError "Unable to create directory" CR LF "[name]";
// 2. one trailing "\" is removed; 3. an existing folder answers true;
// 4. a name shorter than 3 characters, or equal to its parent part, is created alone;
// 5. otherwise the parent part first, then the name. Failures answer false without an error.
bool CreateFolderPathWith(const std::wstring& name,
                          const std::function<bool(const std::wstring&)>& exists,
                          const std::function<bool(const std::wstring&)>& create);
