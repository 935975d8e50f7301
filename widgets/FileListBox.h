#pragma once
// A list of the files of one folder that match a mask (";"-separated patterns, each used as
// written). Folders, hidden and system files are left out; rows stay sorted by name.
#include "widgets/FolderModel.h"
#include "widgets/ListControl.h"
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TFileListBox : public TListControl {
public:
  const std::wstring& Directory() const { return FModel.Folder(); }
  // A different folder (in full form, FullFolder) is read; the same one (case ignored) changes
  // nothing. Raises EInOutError when the folder answers that it is not there.
  void SetDirectory(const std::wstring& folder);
  // SetDirectory for a folder list that has moved to folder: the list's next read takes the
  // folder list's listing of it instead of searching the folder again. A change of the mask or
  // of the folder by any other way, or a new window, lists afresh.
  void FollowDirectory(const std::wstring& folder, std::shared_ptr<TFolderModel::TShared> listing);
  const std::wstring& Mask() const { return FMask; }
  // A different text reads the folder again; the same text changes nothing.
  void SetMask(const std::wstring& mask);
  // Number of times the folder was read (the "only when it changes" rule is observable). Asking
  // does not count as looking at the rows.
  int ReadCount() const { return FReads; }
  // Number of times a read of this list listed the folder itself rather than taking a listing
  // its folder list had already made.
  int ListingCount() const { return FModel.ListingCount(); }

protected:
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override;
  TRead PrepareRead() override;

private:
  // One read's rows, made on the pool: the names point into the listings it holds.
  struct TFileRows {
    std::shared_ptr<const TFolderListing> Listing;
    std::vector<TFolderListing> Searched;
    std::vector<std::wstring_view> Names;
    bool Listed = false;  // the read made its listing
    std::wstring Missing; // why the folder could not be read
  };
  static TFileRows FileRows(const std::wstring& folder, const TFolderModel::TSource& source,
                            const std::wstring& mask, LCID locale);
  void ShowRows(const std::shared_ptr<const TFileRows>& rows);
  // The short names come with the listing: the mask matches them, as the system's search does.
  TFolderModel FModel{true};
  std::wstring FMask = L"*.*";
  int FReads = 0;
};
