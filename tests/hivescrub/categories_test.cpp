// Each category against one seeded invalid entry (or a few kinds of them) and valid look-alikes:
// exactly the invalid ones are reported with the category's code, and repairing them then importing
// the undo file restores the keys byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include "seeds.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using hstest::Expected;
using test::RegistrySandbox;

const std::wstring kHklm = L"HKEY_LOCAL_MACHINE\\";
const std::wstring kHkcu = L"HKEY_CURRENT_USER\\";
const std::wstring kClsid = L"Software\\Classes\\CLSID\\";
const std::wstring kTypeLib = L"Software\\Classes\\TypeLib\\";
const std::wstring kCurrentVersion = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

std::wstring Guid(int n) {
  wchar_t text[40];
  swprintf(text, 40, L"{4C554D41-0000-4000-8000-%012d}", n);
  return text;
}

TEST(ActiveX, ReportsClassesAppIdsAndTypeLibrariesWhoseTargetsAreMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring dll = files.Write(L"here.dll", "x"), exe = files.Write(L"server.exe", "x");
  std::wstring tlb = files.Write(L"here.tlb", "x");
  std::wstring gone = files / L"gone.dll";

  RegistrySandbox missingServer(HKEY_LOCAL_MACHINE, kClsid + Guid(1));
  missingServer.SetString(L"InprocServer32", nullptr, gone);
  missingServer.SetString(L"", nullptr, L"A class whose server is gone");
  RegistrySandbox presentServer(HKEY_LOCAL_MACHINE, kClsid + Guid(2));
  presentServer.SetString(L"InprocServer32", nullptr, dll);
  RegistrySandbox oneServerLeft(HKEY_LOCAL_MACHINE, kClsid + Guid(3));
  oneServerLeft.SetString(L"InprocServer32", nullptr, gone);
  oneServerLeft.SetString(L"LocalServer32", nullptr, L"\"" + exe + L"\" /automation");
  RegistrySandbox danglingAppId(HKEY_LOCAL_MACHINE, kClsid + Guid(4));
  danglingAppId.SetString(L"InprocServer32", nullptr, dll);
  danglingAppId.SetString(L"", L"AppID", Guid(40));
  RegistrySandbox goodAppId(HKEY_LOCAL_MACHINE, kClsid + Guid(5));
  goodAppId.SetString(L"InprocServer32", nullptr, dll);
  goodAppId.SetString(L"", L"AppID", Guid(50));
  RegistrySandbox appId(HKEY_LOCAL_MACHINE, L"Software\\Classes\\AppID\\" + Guid(50));
  appId.SetString(L"", nullptr, L"present");
  RegistrySandbox missingLib(HKEY_LOCAL_MACHINE, kTypeLib + Guid(6));
  missingLib.SetString(L"1.0\\0\\win64", nullptr, files / L"gone.tlb");
  missingLib.SetString(L"1.0\\FLAGS", nullptr, L"0");
  RegistrySandbox presentLib(HKEY_LOCAL_MACHINE, kTypeLib + Guid(7));
  presentLib.SetString(L"1.0\\0\\win64", nullptr, tlb);
  presentLib.SetString(L"2.0\\0\\win32", nullptr, dll + L"\\3");  // the third library inside the DLL

  auto problems = hstest::ExpectExactly(
      1, {{101, kHklm + kClsid + Guid(1), L"Server file not found: " + gone},
          {102, kHklm + kClsid + Guid(4) + L" [AppID]", L"AppID not found: " + Guid(40)},
          {103, kHklm + kTypeLib + Guid(6) + L"\\1.0", L"gone.tlb"}});
  hstest::RepairAndUndo(1, problems, {kHklm + kClsid + Guid(1), kHklm + kClsid + Guid(4), kHklm + kTypeLib + Guid(6)},
                        program);
}

TEST(SoftwareSettings, ReportsProgramKeysWhoseInstallFolderIsMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring here = files.MakeFolder(L"Here");
  RegistrySandbox vendor(HKEY_CURRENT_USER, L"Software\\LumaspanTestVendor");
  vendor.SetString(L"", L"InstallPath", files / L"GoneVendor");  // the vendor's key keeps its products
  vendor.SetString(L"Gone", L"InstallDir", files / L"Gone");
  vendor.SetString(L"Gone", L"Window", L"maximized");
  vendor.SetString(L"Here", L"InstallDir", here);
  vendor.SetString(L"Unrelated", L"Folder", files / L"NotAnInstallFolder");

  const std::wstring key = kHkcu + L"Software\\LumaspanTestVendor";
  auto problems = hstest::ExpectExactly(2, {{201, key + L" [InstallPath]", L"GoneVendor"},
                                            {201, key + L"\\Gone", L"Install folder not found: " + (files / L"Gone")}});
  hstest::RepairAndUndo(2, problems, {key}, program);
}

TEST(Sounds, ReportsEventSoundsNamingMissingFiles) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring wav = files.Write(L"here.wav", "RIFF");
  RegistrySandbox app(HKEY_CURRENT_USER, L"AppEvents\\Schemes\\Apps\\LumaspanTest");
  app.SetString(L"Gone\\.Current", nullptr, files / L"gone.wav");
  app.SetString(L"Gone\\.Default", nullptr, files / L"other.wav");  // only the current scheme is judged
  app.SetString(L"Here\\.Current", nullptr, wav);
  app.SetString(L"Silent\\.Current", nullptr, L"");
  app.SetString(L"Media\\.Current", nullptr, L"lumaspan-no-such-sound.wav");  // looked up in Windows\Media

  const std::wstring key = kHkcu + L"AppEvents\\Schemes\\Apps\\LumaspanTest";
  auto problems = hstest::ExpectExactly(
      3, {{301, key + L"\\Gone\\.Current [(Default)]", L"Sound file not found: " + (files / L"gone.wav")},
          {301, key + L"\\Media\\.Current [(Default)]", L"lumaspan-no-such-sound.wav"}});
  hstest::RepairAndUndo(3, problems, {key}, program);
}

TEST(MruLists, ReportsMuiCacheAndOpenSaveEntriesNamingMissingFiles) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"here.exe", "MZ"), doc = files.Write(L"here.txt", "x");
  const std::wstring mui = L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
  const std::wstring mru = kCurrentVersion + L"Explorer\\ComDlg32\\OpenSaveMRU";
  RegistrySandbox cache(HKEY_CURRENT_USER, mui);
  cache.SetString(L"", (files / L"gone.exe.FriendlyAppName").c_str(), L"Gone");
  cache.SetString(L"", (exe + L".FriendlyAppName").c_str(), L"Here");
  cache.SetString(L"", L"LangID", L"not a path");
  RegistrySandbox history(HKEY_CURRENT_USER, mru);
  history.SetString(L"txt", L"a", files / L"gone.txt");
  history.SetString(L"txt", L"b", doc);
  history.SetString(L"txt", L"MRUList", L"ab");

  auto problems = hstest::ExpectExactly(
      4, {{401, kHkcu + mui + L" [" + (files / L"gone.exe.FriendlyAppName") + L"]", files / L"gone.exe"},
          {402, kHkcu + mru + L"\\txt [a]", L"File not found: " + (files / L"gone.txt")}});
  hstest::RepairAndUndo(4, problems, {kHkcu + mui, kHkcu + mru}, program);
}

TEST(HelpFiles, ReportsHelpValuesNamingMissingFiles) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  files.Write(L"lumaspan-here.chm", "ITSF");
  const std::wstring help = L"Software\\Microsoft\\Windows\\HTML Help";
  RegistrySandbox list(HKEY_LOCAL_MACHINE, help);
  list.SetString(L"", L"lumaspan-gone.chm", files.path());
  list.SetString(L"", L"lumaspan-here.chm", files.path() + L"\\");

  auto problems = hstest::ExpectExactly(5, {{501, kHklm + help + L" [lumaspan-gone.chm]", L"lumaspan-gone.chm"}});
  hstest::RepairAndUndo(5, problems, {kHklm + help}, program);
}

TEST(SharedPrograms, ReportsSharedDllsThatAreMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring dll = files.Write(L"here.dll", "MZ");
  const std::wstring shared = kCurrentVersion + L"SharedDLLs";
  RegistrySandbox list(HKEY_LOCAL_MACHINE, shared);
  list.SetDword(L"", (files / L"gone.dll").c_str(), 2);
  list.SetDword(L"", dll.c_str(), 1);

  auto problems =
      hstest::ExpectExactly(6, {{601, kHklm + shared + L" [" + (files / L"gone.dll") + L"]", L"gone.dll"}});
  hstest::RepairAndUndo(6, problems, {kHklm + shared}, program);
}

TEST(StartupPrograms, ReportsRunEntriesWhoseProgramIsMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"here.exe", "MZ");
  std::wstring spaced = files.Write(L"Old App\\present.exe", "MZ");
  RegistrySandbox run(HKEY_CURRENT_USER, kCurrentVersion + L"Run");
  run.SetString(L"", L"Gone", L"\"" + (files / L"gone.exe") + L"\" /min");
  run.SetString(L"", L"Here", exe + L" /min");
  run.SetString(L"", L"Spaced", spaced + L" -x");  // unquoted, with spaces, found as Windows finds it
  run.SetString(L"", L"System", L"notepad.exe");
  run.SetString(L"", L"Expanded", L"%SystemRoot%\\notepad.exe", REG_EXPAND_SZ);
  run.SetString(L"", L"Dll", L"rundll32.exe \"" + (files / L"gone.dll") + L"\",Start");
  RegistrySandbox runOnce(HKEY_LOCAL_MACHINE, kCurrentVersion + L"RunOnce");
  runOnce.SetString(L"", L"Unquoted", (files / L"Old App\\gone.exe") + L" -x");

  auto problems = hstest::ExpectExactly(
      7, {{701, kHkcu + kCurrentVersion + L"Run [Gone]", L"Program not found: " + (files / L"gone.exe")},
          {701, kHkcu + kCurrentVersion + L"Run [Dll]", L"Program not found: " + (files / L"gone.dll")},
          {701, kHklm + kCurrentVersion + L"RunOnce [Unquoted]", files / L"Old App\\gone.exe"}});
  hstest::RepairAndUndo(7, problems, {kHkcu + kCurrentVersion + L"Run", kHklm + kCurrentVersion + L"RunOnce"}, program);
}

TEST(ApplicationPaths, ReportsAppPathsWhoseProgramIsMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"here.exe", "MZ");
  const std::wstring paths = kCurrentVersion + L"App Paths\\";
  RegistrySandbox gone(HKEY_LOCAL_MACHINE, paths + L"lumaspan-gone.exe");
  gone.SetString(L"", nullptr, files / L"gone.exe");
  gone.SetString(L"", L"Path", files.path());
  RegistrySandbox here(HKEY_LOCAL_MACHINE, paths + L"lumaspan-here.exe");
  here.SetString(L"", nullptr, L"\"" + exe + L"\"");

  auto problems = hstest::ExpectExactly(8, {{801, kHklm + paths + L"lumaspan-gone.exe", L"gone.exe"}});
  hstest::RepairAndUndo(8, problems, {kHklm + paths + L"lumaspan-gone.exe"}, program);
}

TEST(FileAssociations, ReportsExtensionsWithoutClassAndClassesWithoutProgram) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"viewer.exe", "MZ");
  const std::wstring classes = L"Software\\Classes\\";
  RegistrySandbox goneExt(HKEY_LOCAL_MACHINE, classes + L".lumaspangone");
  goneExt.SetString(L"", nullptr, L"Lumaspan.NoSuchClass");
  goneExt.SetString(L"", L"Content Type", L"text/plain");
  RegistrySandbox hereExt(HKEY_LOCAL_MACHINE, classes + L".lumaspanhere");
  hereExt.SetString(L"", nullptr, L"Lumaspan.Here");
  RegistrySandbox here(HKEY_LOCAL_MACHINE, classes + L"Lumaspan.Here");
  here.SetString(L"shell\\open\\command", nullptr, L"\"" + exe + L"\" \"%1\"");
  RegistrySandbox gone(HKEY_LOCAL_MACHINE, classes + L"Lumaspan.Gone");
  gone.SetString(L"", nullptr, L"A class whose program is gone");
  gone.SetString(L"shell\\open\\command", nullptr, L"\"" + (files / L"gone.exe") + L"\" \"%1\"");
  gone.SetString(L"shell\\edit\\command", nullptr, L"\"" + exe + L"\" \"%1\"");
  RegistrySandbox delegated(HKEY_LOCAL_MACHINE, classes + L"Lumaspan.Delegated");
  delegated.SetString(L"shell\\open\\command", nullptr, L"");
  delegated.SetString(L"shell\\open\\command", L"DelegateExecute", Guid(9));

  auto problems = hstest::ExpectExactly(
      9, {{901, kHklm + classes + L".lumaspangone [(Default)]", L"Class not found: Lumaspan.NoSuchClass"},
          {902, kHklm + classes + L"Lumaspan.Gone\\shell\\open", files / L"gone.exe"}});
  hstest::RepairAndUndo(9, problems, {kHklm + classes + L".lumaspangone", kHklm + classes + L"Lumaspan.Gone"}, program);
}

TEST(SystemServices, ReportsWin32ServicesWhoseProgramIsMissingAndDisablesThem) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"service.exe", "MZ");
  const std::wstring services = L"SYSTEM\\CurrentControlSet\\Services\\";
  RegistrySandbox gone(HKEY_LOCAL_MACHINE, services + L"LumaspanGone");
  gone.SetDword(L"", L"Type", SERVICE_WIN32_OWN_PROCESS);
  gone.SetDword(L"", L"Start", SERVICE_DEMAND_START);
  gone.SetString(L"", L"ImagePath", L"\"" + (files / L"gone.exe") + L"\" -service", REG_EXPAND_SZ);
  RegistrySandbox here(HKEY_LOCAL_MACHINE, services + L"LumaspanHere");
  here.SetDword(L"", L"Type", SERVICE_WIN32_OWN_PROCESS);
  here.SetDword(L"", L"Start", SERVICE_DEMAND_START);
  here.SetString(L"", L"ImagePath", exe);
  RegistrySandbox driver(HKEY_LOCAL_MACHINE, services + L"LumaspanDriver");
  driver.SetDword(L"", L"Type", SERVICE_KERNEL_DRIVER);
  driver.SetString(L"", L"ImagePath", L"system32\\drivers\\lumaspan-gone.sys");
  RegistrySandbox disabled(HKEY_LOCAL_MACHINE, services + L"LumaspanDisabled");
  disabled.SetDword(L"", L"Type", SERVICE_WIN32_SHARE_PROCESS);
  disabled.SetDword(L"", L"Start", SERVICE_DISABLED);
  disabled.SetString(L"", L"ImagePath", files / L"gone.exe");

  auto problems = hstest::ExpectExactly(
      10, {{1001, kHklm + services + L"LumaspanGone", L"Service program not found: " + (files / L"gone.exe")}});
  ASSERT_EQ(1u, problems.size());
  EXPECT_EQ(0u, problems[0].repair.find(L"DisableService;"));
  hstest::RepairAndUndo(10, problems, {kHklm + services + L"LumaspanGone"}, program);
}

TEST(FileExtensions, ReportsOpenWithListsNamingNothingThatExists) {
  test::ProgramFolder program;
  const std::wstring exts = kCurrentVersion + L"Explorer\\FileExts\\";
  RegistrySandbox gone(HKEY_CURRENT_USER, exts + L".lumaspangone");
  gone.SetString(L"OpenWithList", L"a", L"lumaspan-no-such-program.exe");
  gone.SetString(L"OpenWithList", L"MRUList", L"a");
  gone.SetRaw(L"OpenWithProgids", L"Lumaspan.NoSuchClass", REG_NONE, nullptr, 0);
  RegistrySandbox here(HKEY_CURRENT_USER, exts + L".lumaspanhere");
  here.SetString(L"OpenWithList", L"a", L"lumaspan-no-such-program.exe");
  here.SetString(L"OpenWithList", L"b", L"notepad.exe");
  RegistrySandbox chosen(HKEY_CURRENT_USER, exts + L".lumaspanchosen");
  chosen.SetString(L"OpenWithList", L"a", L"lumaspan-no-such-program.exe");
  chosen.SetString(L"UserChoice", L"Progid", L"Lumaspan.NoSuchClass");

  auto problems = hstest::ExpectExactly(
      11, {{1101, kHkcu + exts + L".lumaspangone", L"lumaspan-no-such-program.exe, Lumaspan.NoSuchClass"}});
  hstest::RepairAndUndo(11, problems, {kHkcu + exts + L".lumaspangone"}, program);
}

TEST(Fonts, ReportsFontsWhoseFileIsNeitherPresentNorInTheFontsFolder) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring font = files.Write(L"here.ttf", "x");
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  ASSERT_TRUE(test::FileExists(std::wstring(windows) + L"\\Fonts\\tahoma.ttf"));
  const std::wstring fonts = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  RegistrySandbox list(HKEY_LOCAL_MACHINE, fonts);
  list.SetString(L"", L"Lumaspan Gone (TrueType)", L"lumaspan-gone.ttf");
  list.SetString(L"", L"Lumaspan Here (TrueType)", font);
  list.SetString(L"", L"Tahoma (TrueType)", L"tahoma.ttf");
  list.SetString(L"", L"Lumaspan Moved (TrueType)", files / L"Old\\tahoma.ttf");

  auto problems = hstest::ExpectExactly(12, {{1201, kHklm + fonts + L" [Lumaspan Gone (TrueType)]", L"lumaspan-gone.ttf"}});
  hstest::RepairAndUndo(12, problems, {kHklm + fonts}, program);
}

TEST(FilesAndFolders, ReportsInstallerFoldersThatAreMissing) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring here = files.MakeFolder(L"Here") + L"\\";
  const std::wstring folders = kCurrentVersion + L"Installer\\Folders";
  RegistrySandbox list(HKEY_LOCAL_MACHINE, folders);
  list.SetString(L"", (files / L"Gone\\").c_str(), L"");
  list.SetString(L"", here.c_str(), L"");

  auto problems = hstest::ExpectExactly(13, {{1301, kHklm + folders + L" [" + (files / L"Gone\\") + L"]", L"Gone"}});
  hstest::RepairAndUndo(13, problems, {kHklm + folders}, program);
}

TEST(ObsoleteSoftware, ReportsUninstallEntriesWhoseProgramAndFolderAreBothGone) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  std::wstring folder = files.MakeFolder(L"Half");
  const std::wstring uninstall = kCurrentVersion + L"Uninstall\\";
  RegistrySandbox gone(HKEY_LOCAL_MACHINE, uninstall + L"LumaspanGone");
  gone.SetString(L"", L"DisplayName", L"Lumaspan Gone");
  gone.SetString(L"", L"UninstallString", L"\"" + (files / L"Gone\\uninst.exe") + L"\" /S");
  gone.SetString(L"", L"InstallLocation", files / L"Gone");
  RegistrySandbox half(HKEY_LOCAL_MACHINE, uninstall + L"LumaspanHalf");
  half.SetString(L"", L"UninstallString", files / L"Half\\uninst.exe");
  half.SetString(L"", L"InstallLocation", folder);
  RegistrySandbox msi(HKEY_LOCAL_MACHINE, uninstall + L"LumaspanMsi");
  msi.SetString(L"", L"UninstallString", files / L"Msi\\uninst.exe");
  msi.SetDword(L"", L"WindowsInstaller", 1);

  auto problems = hstest::ExpectExactly(14, {{1401, kHklm + uninstall + L"LumaspanGone", L"uninst.exe"}});
  hstest::RepairAndUndo(14, problems, {kHklm + uninstall + L"LumaspanGone"}, program);
}

TEST(EmptyKeys, ReportsEmptyKeysOneOrTwoLevelsDownOutsideTheSafelist) {
  test::ProgramFolder program;
  RegistrySandbox empty(HKEY_CURRENT_USER, L"Software\\LumaspanEmpty");
  empty.CreateKey(L"");
  RegistrySandbox parent(HKEY_CURRENT_USER, L"Software\\LumaspanParent");
  parent.SetString(L"", L"Setting", L"1");
  parent.CreateKey(L"EmptyChild");
  parent.CreateKey(L"Full\\Deeper");  // three levels down: not judged
  RegistrySandbox full(HKEY_CURRENT_USER, L"Software\\LumaspanFull");
  full.SetDword(L"", L"Value", 1);
  RegistrySandbox policy(HKEY_CURRENT_USER, L"Software\\Policies\\LumaspanEmpty");
  policy.CreateKey(L"");

  auto problems = hstest::ExpectExactly(15, {{1501, kHkcu + L"Software\\LumaspanEmpty", L"Empty key"},
                                             {1501, kHkcu + L"Software\\LumaspanParent\\EmptyChild", L"Empty key"}});
  hstest::RepairAndUndo(15, problems, {kHkcu + L"Software\\LumaspanEmpty", kHkcu + L"Software\\LumaspanParent"}, program);
}

}  // namespace
