#pragma once
// Path rules of the folder and file lists: the rows on the way down to a folder, and the file
// mask (a name is joined to a folder by JoinFolder).
#include "funcoes/pure/PathText.h"
#include <string>
#include <vector>

struct TPathRow {
  std::wstring Name; // what the row shows: the root in full ("C:\"), then each folder's name
  std::wstring Path; // the folder a double-click on the row opens
};

// The drive root (or \\server\share root) and one row per folder down to directory itself.
// directory is a full path as the system reports a current folder.
std::vector<TPathRow> PathRows(const std::wstring& directory);
// Number of "\" in the text (the subfolder rows' indentation step count).
int CountBackslashes(const std::wstring& text);
// The mask split at every ";"; each piece kept exactly as written (blanks included).
std::vector<std::wstring> SplitMask(const std::wstring& mask);
