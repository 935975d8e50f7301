#pragma once
// The folder a list shows and the listing its rows are read from, for the folder list and the
// file list alike: the one place that decides whether a read lists the folder or takes a
// listing already made.
//
// A folder list that moves shares the listing of the folder it moves to with its file list:
// the first of the two to read its rows makes it, the other takes it, so a big folder is
// searched once for both. Each lets go of the listing once it has read, so a big folder's
// names are kept only until both lists show them. The listing is made only when a list reads
// (never for a list whose rows nobody looks at), and a listing of another folder than the one
// shown is never taken.
#include "widgets/FolderListing.h"
#include <memory>
#include <string>

class TFolderModel {
public:
  // A listing to come that the lists showing one folder share.
  struct TShared;
  // shortNames: whether the list's own reads need the entries' short names.
  explicit TFolderModel(bool shortNames) : FShortNames(shortNames) {}
  const std::wstring& Folder() const { return FFolder; }
  // Shows folder; the next read lists it.
  void Show(std::wstring folder);
  // Shows folder, and answers its listing to come for a list that follows this one there
  // (Follow); followerShortNames: whether that list needs the short names.
  std::shared_ptr<TShared> Lead(std::wstring folder, bool followerShortNames);
  // Shows the folder a leading list moved to; the next read takes the listing it shares.
  void Follow(std::wstring folder, std::shared_ptr<TShared> shared);
  // The next read lists the folder as it is now rather than take a shared listing, which may
  // have been made before the change that asks for the read.
  void ListAfresh() { FShared.reset(); }
  // The listing for one read of the rows: the shared one (made now when no list has read it
  // yet), else one made now. The caller holds it while it reads; the model keeps no hold.
  std::shared_ptr<const TFolderListing> Take();
  // Number of times Take listed the folder itself rather than taking a listing another list
  // had made.
  int ListingCount() const { return FListings; }

private:
  std::shared_ptr<const TFolderListing> List(bool shortNames);
  std::wstring FFolder;
  bool FShortNames;
  std::shared_ptr<TShared> FShared; // until the next read
  int FListings = 0;
};
