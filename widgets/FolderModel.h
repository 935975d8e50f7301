#pragma once
// The folder a list shows and the listing its rows are read from, for the folder list and the
// file list alike: the one place that decides whether a read lists the folder or takes a
// listing already made.
//
// A folder list that moves shares the listing of the folder it moves to with its file list:
// the first of the two reads to need it makes it, the other takes it, so a big folder is
// searched once for both. Each lets go of the listing once it has read, so a big folder's
// names are kept only until both lists show them. The listing is made only when a list reads
// (never for a list whose rows nobody looks at), and a listing of another folder than the one
// shown is never taken.
//
// The model lives on the window's thread; what Take answers is handed to the pool, where the
// listing is made (a folder on a file server may take seconds to list, or not answer at all).
#include "widgets/FolderListing.h"
#include <memory>
#include <string>
#include <utility>

class TFolderModel {
public:
  // A listing to come that the lists showing one folder share.
  struct TShared;
  // What one read lists from: handed to the pool.
  class TSource {
  public:
    TSource(std::wstring folder, bool shortNames, std::shared_ptr<TShared> shared);
    // On the pool: the shared listing (made now when no read made it yet), else one made now;
    // and whether it was made now.
    std::pair<std::shared_ptr<const TFolderListing>, bool> List() const;
    // On the window's thread: whether another read of the shared listing has already waited
    // for it in vain (a server that does not answer), so this one need not wait too.
    bool Late() const;
    // On the window's thread: this read waited for the listing in vain.
    void MarkLate() const;

  private:
    std::wstring FFolder;
    bool FShortNames;
    std::shared_ptr<TShared> FShared;
  };

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
  // What one read of the rows lists from: the shared listing, else the folder itself. The model
  // keeps no hold on it.
  TSource Take();
  // A read's listing was made by that read (counted when the read shows its rows).
  void NoteListing() { ++FListings; }
  // Number of times a read listed the folder itself rather than taking a listing another list
  // had made.
  int ListingCount() const { return FListings; }

private:
  std::wstring FFolder;
  bool FShortNames;
  std::shared_ptr<TShared> FShared; // until the next read
  int FListings = 0;
};
