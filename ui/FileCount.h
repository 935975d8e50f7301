#pragma once
// The number of files below a folder, for the gauge's maximum.
#include <cstdint>
#include <string>

// Every entry that is not a folder counts, hidden and system ones included; folders and links
// to folders are entered, a link that leads back to a folder on the current path is not
// entered again. A folder that cannot be listed adds 0. path has no trailing "\" ("C:" for a
// drive root).
int32_t CountFilesIn(const std::wstring& path);
