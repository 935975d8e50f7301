#pragma once
// A list of the files of one folder that match a mask (";"-separated patterns, each used as
// written). Folders, hidden and system files are left out; rows stay sorted by name.
#include "widgets/ListControl.h"
#include <string>
#include <vector>

class TFileListBox : public TListControl {
public:
  const std::wstring& Directory() const { return FDirectory; }
  // A different folder is entered and read (reading makes it the current folder again); the
  // same one (case ignored) changes nothing.
  void SetDirectory(const std::wstring& folder);
  const std::wstring& Mask() const { return FMask; }
  // A different text reads the folder again; the same text changes nothing.
  void SetMask(const std::wstring& mask);
  // Number of times the folder was read (the "only when it changes" rule is observable). Asking
  // does not count as looking at the rows.
  int ReadCount() const { return FReads; }

protected:
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override;
  void ReadRows() override;

private:
  std::wstring FDirectory;
  std::wstring FMask = L"*.*";
  int FReads = 0;
};
