#include "widgets/FolderModel.h"
#include <mutex>

struct TFolderModel::TShared {
  std::wstring Folder;
  bool ShortNames;   // what every list that shares it needs
  bool Late = false; // on the window's thread only
  std::mutex Lock;   // the reads on the pool: one makes the listing, the other waits for it
  std::shared_ptr<const TFolderListing> Listing; // null until the first read has made it
};

TFolderModel::TSource::TSource(std::wstring folder, bool shortNames,
                               std::shared_ptr<TShared> shared)
    : FFolder(std::move(folder)), FShortNames(shortNames), FShared(std::move(shared)) {}

std::pair<std::shared_ptr<const TFolderListing>, bool> TFolderModel::TSource::List() const {
  if (!FShared) return {std::make_shared<const TFolderListing>(FFolder, FShortNames), true};
  const std::lock_guard<std::mutex> lock(FShared->Lock);
  if (FShared->Listing) return {FShared->Listing, false};
  FShared->Listing = std::make_shared<const TFolderListing>(FFolder, FShortNames);
  return {FShared->Listing, true};
}

bool TFolderModel::TSource::Late() const {
  return FShared && FShared->Late;
}

void TFolderModel::TSource::MarkLate() const {
  if (FShared) FShared->Late = true;
}

void TFolderModel::Show(std::wstring folder) {
  FFolder = std::move(folder);
  FShared.reset();
}

std::shared_ptr<TFolderModel::TShared> TFolderModel::Lead(std::wstring folder,
                                                          bool followerShortNames) {
  Show(std::move(folder));
  FShared = std::make_shared<TShared>();
  FShared->Folder = FFolder;
  FShared->ShortNames = FShortNames || followerShortNames;
  return FShared;
}

void TFolderModel::Follow(std::wstring folder, std::shared_ptr<TShared> shared) {
  Show(std::move(folder));
  FShared = std::move(shared);
}

TFolderModel::TSource TFolderModel::Take() {
  std::shared_ptr<TShared> shared = std::move(FShared);
  if (!shared || shared->Folder != FFolder) return TSource(FFolder, FShortNames, nullptr);
  const bool shortNames = shared->ShortNames;
  return TSource(FFolder, shortNames, std::move(shared));
}
