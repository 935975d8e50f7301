// Soak: the program follows the stand-in of the mirroring tool for a long time (10 minutes, or
// REPLIMAR_SOAK_SECONDS) while this test keeps changing the source. Afterwards the destination
// equals the source, and the program's handles, GDI objects and private memory have grown by no
// more than a small bound. Disabled by default; scripts/soak.sh runs it.
#include "tests/e2e/MirrorFixture.h"
#include <psapi.h>
#include <cstdio>
#include <map>
#include <random>
#include <gtest/gtest.h>

namespace {

using namespace e2e;

struct TUsage {
  DWORD Handles = 0;
  DWORD GdiObjects = 0;
  DWORD UserObjects = 0;
  SIZE_T PrivateBytes = 0;
};

TUsage UsageOf(HANDLE process) {
  TUsage usage;
  GetProcessHandleCount(process, &usage.Handles);
  usage.GdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  usage.UserObjects = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof(memory)))
    usage.PrivateBytes = memory.PrivateUsage;
  return usage;
}

void Print(const char* when, const TUsage& usage) {
  std::printf("[soak] %s: handles %lu, GDI objects %lu, USER objects %lu, private bytes %llu\n",
              when, static_cast<unsigned long>(usage.Handles),
              static_cast<unsigned long>(usage.GdiObjects),
              static_cast<unsigned long>(usage.UserObjects),
              static_cast<unsigned long long>(usage.PrivateBytes));
  std::fflush(stdout);
}

// Relative path -> content of every file below folder.
void Collect(const std::wstring& folder, const std::wstring& relative,
             std::map<std::wstring, std::string>& files) {
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Collect(folder + L"\\" + name, relative + name + L"\\", files);
    else
      files[relative + name] = ReadFileBytes(folder + L"\\" + name);
  } while (FindNextFileW(find.Get(), &entry));
}

std::map<std::wstring, std::string> Tree(const std::wstring& folder) {
  std::map<std::wstring, std::string> files;
  Collect(folder, L"", files);
  return files;
}

int SoakSeconds() {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"REPLIMAR_SOAK_SECONDS", value, 16);
  return length == 0 || length >= 16 ? 600 : _wtoi(value);
}

// Writes a file as an editor would, waiting while the tool holds it for a copy (it shares it
// for reading only).
void WriteWhenFree(const std::wstring& path, const std::string& content) {
  UniqueFileHandle file;
  const bool opened = WaitFor(
      [&] {
        file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.Valid();
      },
      std::chrono::seconds(10));
  ASSERT_TRUE(opened) << "cannot write " << Utf8(path);
  DWORD written = 0;
  ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

class Soak : public TMirrorTest {};

TEST_F(Soak, DISABLED_FollowsForTenMinutesWhileTheSourceChanges) {
  const std::wstring sub = FSource + L"\\sub";
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
  for (int i = 0; i < 20; ++i)
    WriteFile(FSource + L"\\inicial" + std::to_wstring(i) + L".txt", std::string(1000 + i, 'i'));
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(L"Sincronizar Agora")));
  ASSERT_TRUE(WaitFor([&] { return Tree(FDestination) == Tree(FSource); }, kStartTimeout))
      << "the first mirror did not arrive";
  // Let the first passes allocate what they keep (pane, follower buffers) before measuring.
  ASSERT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout));
  const TUsage start = UsageOf(FApp->Process());
  Print("start", start);

  std::mt19937 random(20240607);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(SoakSeconds());
  long created = 0, changed = 0, removed = 0, rounds = 0;
  while (std::chrono::steady_clock::now() < end) {
    ++rounds;
    const int slot = static_cast<int>(random() % 60);
    const std::wstring path = (slot % 2 ? sub : FSource) + L"\\f" + std::to_wstring(slot) + L".dat";
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      WriteWhenFree(path, std::string(random() % 5000, static_cast<char>('a' + slot % 26)));
      ++created;
    } else if (random() % 3 == 0) {
      DeleteFileW(path.c_str());
      ++removed;
    } else {
      WriteWhenFree(path, std::to_string(rounds) + std::string(random() % 5000, 'm'));
      ++changed;
    }
    ASSERT_TRUE(FApp->Running()) << "the program ended during the soak";
    WaitFor([] { return false; }, std::chrono::milliseconds(150)); // the operator's pace
  }
  std::printf("[soak] %d s, %ld rounds: %ld files created, %ld changed, %ld removed\n",
              SoakSeconds(), rounds, created, changed, removed);

  const auto source = Tree(FSource);
  EXPECT_TRUE(WaitFor([&] { return Tree(FDestination) == source; }, std::chrono::seconds(60)))
      << "destination differs from the source: " << Tree(FDestination).size() << " files against "
      << source.size();
  std::printf("[soak] source and destination: %zu files each, equal: %s\n", source.size(),
              Tree(FDestination) == source ? "yes" : "no");
  const TUsage finish = UsageOf(FApp->Process());
  Print("end", finish);
  // Wine answers these queries about another process with zeros: then they measure nothing,
  // and the run says so instead of passing on them.
  if (start.Handles == 0 && start.PrivateBytes == 0)
    std::printf("[soak] handle, GDI and memory figures are not available on this system\n");
  if (start.Handles) {
    EXPECT_LE(finish.Handles, start.Handles + 20);
  }
  if (start.GdiObjects) {
    EXPECT_LE(finish.GdiObjects, start.GdiObjects + 20);
  }
  if (start.UserObjects) {
    EXPECT_LE(finish.UserObjects, start.UserObjects + 20);
  }
  if (start.PrivateBytes) {
    EXPECT_LE(finish.PrivateBytes, start.PrivateBytes + 16u * 1024 * 1024);
  }
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(L"Limpar Log"))) << "the window stays usable";
  FApp->Click(FApp->Button(L"Interromper"));
  EXPECT_EQ(FApp->Close(), 0u);
}

} // namespace
