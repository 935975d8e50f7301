// The Windows Installer package as IT deploys it, in a prefix of its own: a silent install
// puts the program, its Start-menu shortcut and its "Apps & features" entry in place and the
// program starts from the shortcut; a newer package replaces the older one in place; a silent
// removal takes away what the package installed and leaves the operator's settings and folders.
#include "tests/TestPrefix.h"
#include "tests/e2e/Operator.h"
#include "tests/packaging/Installer.h"
#include <gtest/gtest.h>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

using namespace package;

const std::wstring kPackage = REPLIMAR_MSI_PATH;           // version 1.0.0.0
const std::wstring kUpgradePackage = REPLIMAR_UPGRADE_MSI; // 1.0.1.0, built by the test
const std::wstring kBuiltExe = REPLIMAR_EXE_PATH;          // the program in kPackage
const std::wstring kUpgradeExe = REPLIMAR_UPGRADE_EXE;     // the program in kUpgradePackage
const std::wstring kRebuiltPackage = REPLIMAR_REBUILT_MSI; // 1.0.0.0 again, another program
const std::wstring kRebuiltExe = REPLIMAR_REBUILT_EXE;
const std::wstring kPatchPackage = REPLIMAR_PATCH_MSI; // 1.0.0.1
const std::wstring kPatchExe = REPLIMAR_PATCH_EXE;
const std::wstring kIcon = REPLIMAR_ICON_PATH; // the program's main icon
const std::wstring kUpgradeCode = L"{" REPLIMAR_UPGRADE_CODE L"}";
const std::wstring kSettingsKey = L"Software\\Zelvora\\REPLIMAR";

std::wstring InstalledExe() {
  return InstallFolder() + L"\\ReplimarKORVELL.exe";
}

// A path to compare: lower case, without a trailing backslash.
std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  if (!text.empty() && text.back() == L'\\') text.pop_back();
  return text;
}

class Package : public ::testing::Test {
protected:
  // Each test starts with nothing of the package installed, and leaves nothing behind.
  void SetUp() override {
    // Installs, removes and deletes the tool's settings: only in the test prefix.
    REPLIMAR_REQUIRE_TEST_PREFIX();
    RemoveAny();
  }
  void TearDown() override {
    if (testprefix::InsideTestPrefix()) RemoveAny();
  }

  static void RemoveAny() {
    for (const auto& msi : {kUpgradePackage, kPatchPackage, kRebuiltPackage, kPackage})
      if (!RelatedProducts(kUpgradeCode).empty()) Uninstall(msi);
    ASSERT_TRUE(RelatedProducts(kUpgradeCode).empty()) << "a package stayed installed";
  }

  // The one installed product of the package's upgrade code.
  static std::wstring TheProduct() {
    const auto products = RelatedProducts(kUpgradeCode);
    EXPECT_EQ(products.size(), 1u) << "one entry in \"Apps & features\"";
    return products.empty() ? std::wstring() : products.front();
  }

  // Starts what the Start-menu shortcut points at, as the operator does, and closes it.
  static void StartFromShortcutAndClose() {
    const auto shortcut = ReadShortcut(ShortcutPath());
    ASSERT_TRUE(shortcut);
    e2e::TOperator app(shortcut->Target);
    ASSERT_TRUE(app.Started()) << e2e::Utf8(app.Failure());
    EXPECT_EQ(e2e::WindowText(app.MainWindow()), e2e::kMainCaption);
    EXPECT_EQ(app.Close(), 0u);
  }
};

TEST_F(Package, SilentInstallPlacesProgramShortcutAndEntry) {
  ASSERT_EQ(Install(kPackage), 0u);

  EXPECT_EQ(FileBytes(InstalledExe()), FileBytes(kBuiltExe)) << e2e::Utf8(InstalledExe());

  const auto shortcut = ReadShortcut(ShortcutPath());
  ASSERT_TRUE(shortcut) << e2e::Utf8(ShortcutPath());
  EXPECT_EQ(Lower(shortcut->Target), Lower(InstalledExe()));
  EXPECT_EQ(Lower(shortcut->WorkingFolder), Lower(InstallFolder()));
  EXPECT_EQ(FileBytes(shortcut->IconFile), FileBytes(kIcon))
      << "the shortcut shows the program's icon: " << e2e::Utf8(shortcut->IconFile);
  EXPECT_GT(ExtractIconExW(shortcut->IconFile.c_str(), -1, nullptr, nullptr, 0), 0u);

  const std::wstring product = TheProduct();
  EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_PRODUCTNAME), L"Replimar KORVELL");
  EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), L"1.0.0.0");
  EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_PUBLISHER), L"Zelvora");
  const auto entry = UninstallEntry(product);
  ASSERT_TRUE(entry) << "no Uninstall entry for " << e2e::Utf8(product);
  EXPECT_EQ(entry->DisplayName, L"Replimar KORVELL");
  EXPECT_EQ(entry->DisplayVersion, L"1.0.0.0");
  EXPECT_EQ(entry->Publisher, L"Zelvora");
  // "Apps & features" takes the icon of an installed package from Windows Installer.
  const std::wstring productIcon = ProductInfo(product, INSTALLPROPERTY_PRODUCTICON);
  EXPECT_EQ(FileBytes(productIcon), FileBytes(kIcon))
      << "the entry shows the program's icon: " << e2e::Utf8(productIcon);
  EXPECT_NE(Lower(entry->UninstallString).find(L"msiexec"), std::wstring::npos);

  StartFromShortcutAndClose();

  // The same package a second time (another PC in the same rollout, a repeated policy run).
  EXPECT_EQ(Install(kPackage), 0u);
  EXPECT_EQ(TheProduct(), product);
}

TEST_F(Package, NewerPackageReplacesTheOlderInPlace) {
  ASSERT_EQ(Install(kPackage), 0u);
  const std::wstring older = TheProduct();
  ASSERT_NE(FileBytes(kUpgradeExe), FileBytes(kBuiltExe)) << "the two programs differ";

  ASSERT_EQ(Install(kUpgradePackage), 0u);
  const std::wstring newer = TheProduct();
  EXPECT_NE(newer, older);
  EXPECT_EQ(ProductInfo(newer, INSTALLPROPERTY_VERSIONSTRING), L"1.0.1.0");
  EXPECT_FALSE(UninstallEntry(older)) << "the older entry is gone";
  ASSERT_TRUE(UninstallEntry(newer));
  EXPECT_EQ(UninstallEntry(newer)->DisplayVersion, L"1.0.1.0");
  EXPECT_EQ(FileBytes(InstalledExe()), FileBytes(kUpgradeExe)) << "the new program is in place";
  EXPECT_EQ(Lower(ReadShortcut(ShortcutPath()).value_or(TShortcut{}).Target),
            Lower(InstalledExe()));

  // The older package cannot come back over the newer one.
  EXPECT_NE(Install(kPackage), 0u);
  EXPECT_EQ(TheProduct(), newer);
  EXPECT_EQ(FileBytes(InstalledExe()), FileBytes(kUpgradeExe));
}

// IT rebuilds a package without raising the version, or raises only the fourth number (which
// Windows Installer does not compare): each one still replaces what is installed.
TEST_F(Package, SameOrPatchVersionPackageReplacesTheInstalledOne) {
  ASSERT_EQ(Install(kPackage), 0u);
  std::wstring previous = TheProduct();
  struct TStep {
    const std::wstring& Msi;
    const std::wstring& Exe;
    const wchar_t* Version;
  };
  const TStep steps[] = {{kRebuiltPackage, kRebuiltExe, L"1.0.0.0"},
                         {kPatchPackage, kPatchExe, L"1.0.0.1"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(e2e::Utf8(step.Msi));
    ASSERT_NE(FileBytes(step.Exe), FileBytes(InstalledExe())) << "the programs differ";
    ASSERT_EQ(Install(step.Msi), 0u);
    EXPECT_EQ(FileBytes(InstalledExe()), FileBytes(step.Exe)) << "the new program is in place";
    const std::wstring current = TheProduct();
    EXPECT_NE(current, previous) << "each build is a product of its own";
    EXPECT_EQ(ProductInfo(current, INSTALLPROPERTY_VERSIONSTRING), step.Version);
    EXPECT_FALSE(UninstallEntry(previous)) << "the replaced entry is gone";
    ASSERT_TRUE(UninstallEntry(current));
    EXPECT_EQ(UninstallEntry(current)->DisplayVersion, step.Version);
    previous = current;
  }
  StartFromShortcutAndClose();
}

// The per-user folders the package made go with it; one that holds anything else stays.
TEST_F(Package, RemovalTakesTheProgramsFolderOnlyWhenItMadeIt) {
  const std::wstring programs = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs";
  const std::wstring other = programs + L"\\Other Program";
  struct TCase {
    bool OtherProgram;
  };
  for (const TCase c : {TCase{false}, TCase{true}}) {
    SCOPED_TRACE(c.OtherProgram ? "another program in Programs" : "Programs made by the package");
    RemoveDirectoryW(other.c_str());
    RemoveDirectoryW(programs.c_str());
    ASSERT_FALSE(FolderExists(programs));
    if (c.OtherProgram) {
      ASSERT_TRUE(CreateDirectoryW(programs.c_str(), nullptr));
      ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    }
    ASSERT_EQ(Install(kPackage), 0u);
    ASSERT_TRUE(FolderExists(InstallFolder()));
    ASSERT_EQ(Uninstall(kPackage), 0u);
    EXPECT_FALSE(FolderExists(InstallFolder()));
    EXPECT_EQ(FolderExists(programs), c.OtherProgram);
    EXPECT_EQ(FolderExists(other), c.OtherProgram);
  }
  RemoveDirectoryW(other.c_str());
}

TEST_F(Package, SilentRemovalKeepsTheOperatorsSettingsAndFolders) {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
  ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
  ASSERT_EQ(Install(kPackage), 0u);
  const std::wstring product = TheProduct();
  StartFromShortcutAndClose();
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey)) << "the run stored its settings";
  // With no stored destination the program made its default destination folder.
  ASSERT_TRUE(FolderExists(L"C:\\TMP"));

  ASSERT_EQ(Uninstall(kPackage), 0u);
  EXPECT_TRUE(RelatedProducts(kUpgradeCode).empty());
  EXPECT_FALSE(UninstallEntry(product));
  EXPECT_FALSE(FileExists(InstalledExe()));
  EXPECT_FALSE(FolderExists(InstallFolder()));
  EXPECT_FALSE(FileExists(ShortcutPath()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Zelvora\\ReplimarKORVELL Package"))
      << "the package's own key goes with it";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey)) << "the operator's settings stay";
  EXPECT_TRUE(FolderExists(L"C:\\TMP")) << "the destination folder stays";
}

} // namespace
