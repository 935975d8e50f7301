#include "ui/pure/CommandLineArgs.h"

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

} // namespace

std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view commandLine) {
  const std::wstring_view line = commandLine.substr(0, commandLine.find(L'\0'));
  std::vector<std::wstring> args;
  size_t i = 0;
  const size_t n = line.size();

  // The program: no escapes, so a path such as "C:\Tools\" keeps its "\".
  std::wstring program;
  if (i < n && line[i] == L'"') {
    ++i;
    while (i < n && line[i] != L'"')
      program.push_back(line[i++]);
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(line[i]))
      program.push_back(line[i++]);
  }
  args.push_back(std::move(program));

  for (;;) {
    while (i < n && IsBlank(line[i]))
      ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      if (line[i] == L'\\') {
        size_t count = 0;
        while (i < n && line[i] == L'\\') {
          ++count;
          ++i;
        }
        if (i < n && line[i] == L'"') {
          arg.append(count / 2, L'\\');
          if (count % 2) {
            arg.push_back(L'"');
            ++i;
          }
        } else {
          arg.append(count, L'\\');
        }
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < n && line[i + 1] == L'"') {
          arg.push_back(L'"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg.push_back(line[i++]);
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}
