#pragma once
// Ends running processes by the name of their executable.
#include <cstdint>
#include <string>

// Requests termination (exit code 0) of every process whose executable matches name, ignoring
// the case of ASCII letters only: by the file-name part of the process list's executable text,
// or failing that by the whole text (so a name with a folder matches only the whole text).
// No process is exempt, the caller included. Does not wait for the processes to exit.
// Returns the outcome of the last request (nonzero for success), 0 when none matched or the
// last match could not be opened or ended. Raises nothing.
int32_t TerminateProcessByName(const std::wstring& name);
