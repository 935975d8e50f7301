#include "funcoes/pure/CommandLineArgs.h"

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// The program's name: up to the closing quote when it starts with one, else up to a blank;
// backslashes and quotes have no other meaning in it.
std::wstring TakeProgram(std::wstring_view line, size_t& i) {
  std::wstring program;
  const size_t n = line.size();
  if (i < n && line[i] == L'"') {
    ++i;
    while (i < n && line[i] != L'"')
      program.push_back(line[i++]);
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(line[i]))
      program.push_back(line[i++]);
  }
  return program;
}

// One argument after the program, from line[i] (not blank) to the blank that ends it.
std::wstring TakeArgument(std::wstring_view line, size_t& i) {
  const size_t n = line.size();
  std::wstring arg;
  int quotes = 0; // 1 while inside quotes
  size_t backslashes = 0;
  while (i < n && !(IsBlank(line[i]) && quotes == 0)) {
    const wchar_t c = line[i++];
    if (c == L'\\') {
      arg += c;
      ++backslashes;
    } else if (c == L'"') {
      if (backslashes % 2 == 0) {
        arg.resize(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        arg.resize(arg.size() - backslashes / 2 - 1);
        arg += L'"';
      }
      backslashes = 0;
      // Counting on from the quote just read (and the opening one, if any).
      for (; i < n && line[i] == L'"'; ++i) {
        if (++quotes == 3) {
          arg += L'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      arg += c;
      backslashes = 0;
    }
  }
  return arg;
}

} // namespace

std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view commandLine) {
  const std::wstring_view line = commandLine.substr(0, commandLine.find(L'\0'));
  size_t i = 0;
  std::vector<std::wstring> args{TakeProgram(line, i)};
  for (;;) {
    while (i < line.size() && IsBlank(line[i]))
      ++i;
    if (i >= line.size()) break;
    args.push_back(TakeArgument(line, i));
  }
  return args;
}
