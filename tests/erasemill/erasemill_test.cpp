// Erasemill.dll, loaded as the program loads it, and its overwrite step.
#include "contracts/erasemill.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "suite/erasemill/flush_behind.h"
#include "suite/erasemill/overwrite.h"
#include "suite/erasemill/random_ahead.h"
#include "suite/erasemill/random_stream.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kLinkFolder[] = L"C:\\LumaspanTests\\erasemill_links";
const std::string kOutsideText = "data outside the chosen folder";

// The names in a folder, "." and ".." aside.
std::set<std::wstring> Listing(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (FindNextFileW(find.get(), &data));
  return names;
}

std::string Contents(const std::wstring& path) {
  base::UniqueFile file(CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  std::string data;
  if (!file) return "<unreadable>";
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) data.append(chunk, got);
  return data;
}

uint32_t VolumeUnit(const wchar_t* root) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return 0;
  return sectorsPerCluster * bytesPerSector;
}

TEST(ErasemillKillFile, ErasesAFileAndLeavesNoFileOfItsNameOrSize) {
  test::ScratchFolder dir;
  std::string secret(10000, 's');
  std::wstring plain = dir.Write(L"secret.txt", secret);
  std::wstring readOnly = dir.Write(L"read-only.dat", "chosen by the user");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring empty = dir.Write(L"empty.txt");
  std::wstring single = dir.Write(L"one byte.txt", "1");
  std::wstring hidden = dir.Write(L"hidden.txt", "out of sight");
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::wstring foreign = dir.Write(L"\u00dcberweisung \u540d\u524d \u0444\u0430\u0439\u043b.txt", "non-ASCII");
  // A path of more than 259 characters, reached only in the long form.
  std::wstring deep = dir.path() + L"\\" + std::wstring(120, L'd');
  std::wstring deeper = deep + L"\\" + std::wstring(120, L'e');
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deeper).c_str(), nullptr));
  std::wstring longPath = deeper + L"\\" + std::wstring(deeper.size() < 280 ? 299 - deeper.size() : 20, L'f');
  ASSERT_GE(longPath.size(), 300u);
  ASSERT_TRUE(test::WriteFile(L"\\\\?\\" + longPath, secret));
  std::wstring bystander = dir.Write(L"keep.txt", "not chosen");

  for (const std::wstring& path : {plain, readOnly, empty, single, hidden, foreign, longPath}) {
    EXPECT_EQ(1, ErasemillKillFile(path.c_str(), 3));
  }
  // No entry under another name either: the renamed files went too.
  EXPECT_EQ((std::set<std::wstring>{L"keep.txt", deep.substr(dir.path().size() + 1)}), Listing(dir.path()));
  EXPECT_TRUE(Listing(deeper).empty());
  EXPECT_EQ("not chosen", Contents(bystander));
}

TEST(ErasemillKillFile, RefusesWhatIsNotAPlainFileAndChangesNothing) {
  test::ScratchFolder dir;
  std::wstring folder = dir.MakeFolder(L"folder");
  std::wstring inside = dir.Write(L"folder\\inside.txt", "in a folder");
  std::wstring held = dir.Write(L"held.txt", "in use");
  ASSERT_TRUE(SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring linked = dir.Write(L"linked.txt", "two names");
  ASSERT_TRUE(CreateHardLinkW((dir / L"second-name.txt").c_str(), linked.c_str(), nullptr));
  std::wstring plain = dir.Write(L"plain.txt", "plain");
  std::wstring link = std::wstring(kLinkFolder) + L"\\chosen\\link.txt";
  std::wstring outside = std::wstring(kLinkFolder) + L"\\outside.txt";
  ASSERT_EQ(kOutsideText, Contents(link)) << "the build plants the link";

  {
    // Another program has the file open, with every kind of sharing it could allow.
    base::UniqueFile open(CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open);
    EXPECT_EQ(0, ErasemillKillFile(held.c_str(), 3));
  }
  EXPECT_EQ(0, ErasemillKillFile(folder.c_str(), 3));
  EXPECT_EQ(0, ErasemillKillFile(link.c_str(), 3));
  EXPECT_EQ(0, ErasemillKillFile(linked.c_str(), 3));
  const std::wstring refused[] = {
      L"",           L"plain.txt",       dir / L"missing.txt", plain + L":stream", dir / L"*.txt",
      L"C:",         L"\\\\.\\C:",       L"\\\\?\\" + plain,   L"CON",             dir / L"NUL",
      L"C:\\",       L"\\\\.\\PhysicalDrive0",
  };
  for (const std::wstring& path : refused) EXPECT_EQ(0, ErasemillKillFile(path.c_str(), 3)) << "path " << path.size();
  EXPECT_EQ(0, ErasemillKillFile(nullptr, 3));
  EXPECT_EQ(0, ErasemillKillFile(plain.c_str(), 0));
  EXPECT_EQ(0, ErasemillKillFile(plain.c_str(), 36));

  EXPECT_EQ("in a folder", Contents(inside));
  EXPECT_EQ("in use", Contents(held));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY), GetFileAttributesW(held.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("two names", Contents(linked));
  EXPECT_EQ("two names", Contents(dir / L"second-name.txt"));
  EXPECT_EQ("plain", Contents(plain));
  EXPECT_EQ(kOutsideText, Contents(outside));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(link.c_str()));
  SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The overwrite step on a file the test holds: after each pass the whole rounded-up length holds
// that pass's pattern, on the disk before the next pass starts. The file spans three of the
// random pass's chunks, made ahead on other threads where the processor needs them.
TEST(OverwriteStream, LeavesEachPassPatternOverTheRoundedUpLength) {
  test::ScratchFolder dir;
  const uint32_t unit = VolumeUnit(L"C:\\");
  ASSERT_GT(unit, 0u);
  const size_t kChunk = 1u << 20;
  const size_t length = 2 * kChunk + 3 * unit + 123;  // the last unit mostly slack
  std::wstring path = dir.Write(L"inspected.bin", std::string(length, 'A'));
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);

  std::vector<std::string> passes;
  ASSERT_TRUE(erasemill::OverwriteStream(file.get(), 3, [&](int) {
    LARGE_INTEGER zero = {}, size = {};
    SetFilePointerEx(file.get(), zero, nullptr, FILE_BEGIN);
    GetFileSizeEx(file.get(), &size);
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ReadFile(file.get(), &data[0], static_cast<DWORD>(data.size()), &got, nullptr);
    data.resize(got);
    passes.push_back(data);
  }));

  ASSERT_EQ(3u, passes.size());
  const size_t rounded = 2 * kChunk + 4 * size_t(unit);
  EXPECT_EQ(std::string(rounded, '\0'), passes[0]);
  EXPECT_EQ(std::string(rounded, '\xFF'), passes[1]);
  ASSERT_EQ(rounded, passes[2].size());
  // Random bytes: every byte value turns up in each chunk (a fixed pattern, or the text that was
  // there, would not), and no chunk repeats another.
  const std::string chunks[3] = {passes[2].substr(0, kChunk), passes[2].substr(kChunk, kChunk),
                                 passes[2].substr(2 * kChunk)};
  for (const std::string& chunk : chunks) EXPECT_EQ(256u, std::set<unsigned char>(chunk.begin(), chunk.end()).size());
  EXPECT_NE(chunks[0], chunks[1]);
  EXPECT_NE(chunks[0].substr(0, chunks[2].size()), chunks[2]);
  EXPECT_NE(chunks[1].substr(0, chunks[2].size()), chunks[2]);
}

// A flush behind the writer that fails makes the pass fail: the system refuses to flush a handle
// that may not write, and it is asked twice while the first flush may still be under way.
TEST(FlushBehind, ReportsAFailedFlush) {
  test::ScratchFolder dir;
  std::wstring path = dir.Write(L"flushed.bin", std::string(4096, 'A'));
  base::UniqueFile writable(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  base::UniqueFile readOnly(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writable && readOnly);
  erasemill::FlushBehind good(writable.get()), bad(readOnly.get());
  for (int i = 0; i < 2; ++i) good.Ask(), bad.Ask();
  EXPECT_TRUE(good.Finish());
  EXPECT_FALSE(bad.Finish());
}

// The random pass's generator is ChaCha20 exactly: calls of four blocks give twelve blocks of the
// reference key stream (key 00..1f, nonce 00 00 00 4a 00 00 00 09), and one call that takes the
// wider paths the processor allows gives the same stream, which also proves the counter moving
// from lane to lane and from call to call.
TEST(RandomStream, IsTheChaCha20KeyStream) {
  const char kReference[] =
      "5a3db2717239785747802043b56438aca70182693b5cfaf822fd9b813363dcdaf6040713db58bf32bb2d9c7a1fafc7f8"
      "348ddf81a2657139aa2e5463ac379060872a79a6f1e45cb0590f061b457d137f8b38fe8d89376085e1e666c5d8cf5417"
      "0b7fb8d816fcb044aa019cf5c56c81140cea3dc3020397e71dc062387eb647372616a31e369afe0f9c3dda60ccf9e26e"
      "533db8cbc741ceff1fb1db3697f6fd5739ca89d28b49c241eead90fc75b84f9b547923764d1177dac08b654404731f3e"
      "45346f2bfa6885721e07b024229132dcddc4ec8949ffa0b1333e6e6b24007396a05d9bae70024191e7f171f289f94b15"
      "20b44e735eaea343992e1df06076b1b19b6a5a168c765a3dc6b3bce018bdacfe450ea2353a732479488ca90b43e9830b"
      "512944d7cdde3cf28beb5deaf8c58735787a23577ac5c4535df0a47861a9110e460ccef251889c0235f35ab507454761"
      "cb178fc8d9a87d4a45045ed22c84bb221d224100cee79687bd5223effc837cd38126fdfda81d3f353aa5e487e9a2cb32"
      "19fc59942be61f5fbd76d3664d96c9b92f86b9c28d3faf7897ae993125b3bb7a7d4fa658a33b35e5174aa75563275c62"
      "f9f87c6d1e3fae4aaac02046ef1b72067f4b6dbbf5815ffa5b91052945b147d421e82441a12a8ead53021c8974e71820"
      "07a4a686e466efa74b1473550eeee49030bffa08205ac63f81f762cfed79add0212670001504ea0c9b26b9362da01f4b"
      "156c7362f6073c3c29499426f8d694d05d84b217ca72d349899826d963451a4c1436cfa4b4f54dc100fb04f11ab967ae"
      "58e62cf13809c691afb95b4550a35abf235c5348b67eb83081e0f696e7a89d395f7e2ba6fcf363a3aebec09b80d8234c"
      "e1359b1d3033b016f58cfc2cb583cbc9ff42617f3d35cd6c2911690d227b911b770d0db00d596e5a334ab6ee0d7ad6b8"
      "25155f3ffd2c5612c71baaa1dd5f5b9ad7560db4d86dca14d114ff77ef5bfbd4a26132082dd4dc609bedbde307d9394c"
      "6c5ed1c411ec86337ec8ae65987c91719c6d10ade9db80a0980c56c1ff0628ac2276a2c8b96c1c611020ed5b652dbefa";
  uint8_t key[32], nonce[8] = {0, 0, 0, 0x4a, 0, 0, 0, 0x09};
  for (int i = 0; i < 32; ++i) key[i] = static_cast<uint8_t>(i);
  auto hex = [](const uint8_t* bytes, size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) {
      char two[3];
      snprintf(two, sizeof(two), "%02x", bytes[i]);
      text += two;
    }
    return text;
  };
  // One fill of 1792 bytes takes sixteen, eight and four blocks at a time where the processor can.
  uint8_t whole[1792], inFours[1792];
  erasemill::RandomStream stream;
  stream.Key(key, nonce);
  stream.Fill(whole, sizeof(whole));
  stream.Key(key, nonce);
  for (size_t at = 0; at < sizeof(inFours); at += 256) stream.Fill(inFours + at, 256);
  EXPECT_EQ(kReference, hex(inFours, 768));
  EXPECT_EQ(hex(inFours, sizeof(inFours)), hex(whole, sizeof(whole)))
      << "eight blocks at a time: " << erasemill::RandomStream::WideAvailable()
      << ", sixteen: " << erasemill::RandomStream::WiderAvailable();
  // Chunks made ahead by several makers come back in the stream's order.
  stream.Key(key, nonce);
  erasemill::RandomAhead ahead;
  ahead.Start(stream, 256, true);
  uint8_t chunks[768];
  for (size_t at = 0; at < sizeof(chunks); at += 256) memcpy(chunks + at, ahead.Next(), 256);
  EXPECT_EQ(kReference, hex(chunks, sizeof(chunks)));
}

}  // namespace
