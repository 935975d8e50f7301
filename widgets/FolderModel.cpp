#include "widgets/FolderModel.h"

struct TFolderModel::TShared {
  std::wstring Folder;
  bool ShortNames;                               // what every list that shares it needs
  std::shared_ptr<const TFolderListing> Listing; // null until the first read
};

void TFolderModel::Show(std::wstring folder) {
  FFolder = std::move(folder);
  FShared.reset();
}

std::shared_ptr<TFolderModel::TShared> TFolderModel::Lead(std::wstring folder,
                                                          bool followerShortNames) {
  Show(std::move(folder));
  FShared = std::make_shared<TShared>(TShared{FFolder, FShortNames || followerShortNames, {}});
  return FShared;
}

void TFolderModel::Follow(std::wstring folder, std::shared_ptr<TShared> shared) {
  Show(std::move(folder));
  FShared = std::move(shared);
}

std::shared_ptr<const TFolderListing> TFolderModel::Take() {
  const std::shared_ptr<TShared> shared = std::move(FShared);
  if (!shared || shared->Folder != FFolder) return List(FShortNames);
  if (!shared->Listing) shared->Listing = List(shared->ShortNames);
  return shared->Listing;
}

std::shared_ptr<const TFolderListing> TFolderModel::List(bool shortNames) {
  ++FListings;
  return std::make_shared<const TFolderListing>(FFolder, shortNames);
}
