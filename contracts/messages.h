// Report kinds (the dwData of a WM_COPYDATA report) and the private messages between pages, the
// main window and the workers. A report's text is UTF-16, zero-terminated, its fields joined by "|".
#pragma once
#include <windows.h>

namespace report_kind {

// Registry cleaning engine.
constexpr ULONG_PTR kRegistryProgress = 10000;          // text: what is being examined
constexpr ULONG_PTR kRegistryProblemBase = 10000;       // + category 1-15: "id|repair text|display text"
constexpr ULONG_PTR kRegistryCategoryBegunBase = 10015; // + category 1-15, once before its problems
constexpr int kRegistryCategories = 15;

// Cleaning engines and the cleaning pages' workers.
constexpr ULONG_PTR kCleanProgress = 20000;  // text: the object being examined
constexpr ULONG_PTR kJunkItem = 20001;       // "name|full path|size"
constexpr ULONG_PTR kJunkDriveTick = 20002;  // worker, before each drive; no text
constexpr ULONG_PTR kTraceItem = 30001;      // "name|location|size"
constexpr ULONG_PTR kTraceCategoryTick = 30002;  // worker, before each category; no text

// One-click scan worker: progress, item, tick for file associations, browser settings, ActiveX.
constexpr ULONG_PTR kFileAssocProgress = 40000, kFileAssocItem = 40001, kFileAssocTick = 40002;
constexpr ULONG_PTR kBrowserProgress = 50000, kBrowserItem = 50001, kBrowserTick = 50002;
constexpr ULONG_PTR kActiveXProgress = 60000, kActiveXItem = 60001, kActiveXTick = 60002;
constexpr ULONG_PTR kGroupFinished = 90000;
constexpr ULONG_PTR kGroupBegunBase = 90000;  // + 10 x group 1-6

// Startup manager library: "item|command line|kind".
constexpr ULONG_PTR kStartupEntry = 100001;

// Sent to the main window: lock or unlock the button menu (no data).
constexpr ULONG_PTR kMenuLock = 0;
constexpr ULONG_PTR kMenuUnlock = 1;

}  // namespace report_kind

// Replies to a report (the value the receiving window procedure returns). Only the two values below
// steer a scan; every other reply means "taken, go on" — in particular 0 and TRUE, the answers every
// ordinary receiver of WM_COPYDATA gives, so a window that knows nothing of this protocol receives
// every report. The two are tagged in their high bits so that no conventional answer (0, 1, -1, a
// small count) can be mistaken for them.
namespace report_reply {
constexpr LRESULT kGoOn = 0;                // taken; go on (so is any value but the two below)
constexpr LRESULT kStop = 0x5CA57090;       // stop this scan now
constexpr LRESULT kResend = 0x5CA57091;     // not taken yet; send the same report again shortly
}  // namespace report_reply

// The pages: each page's identifier is the command that shows it, and its idle state.
namespace page_id {
constexpr UINT kHome = 60100;
constexpr UINT kRegistryCleaner = 60101;
constexpr UINT kJunkCleaner = 60102;
constexpr UINT kTraceCleaner = 60103;
constexpr UINT kFileShredder = 60104;
constexpr UINT kOptimizeGroup = 60200;  // menu header without a page
constexpr UINT kStartupManager = 60201;
constexpr UINT kAddonManager = 60202;
constexpr UINT kSystemOptimizer = 60203;
constexpr UINT kAppOptimizer = 60204;
constexpr UINT kBackupGroup = 60300;  // menu header without a page
constexpr UINT kRegistryBackup = 60301;
constexpr UINT kFavoritesBackup = 60302;
constexpr UINT kRescueCenter = 60303;
constexpr UINT kOptions = 60400;
}  // namespace page_id

// Private messages of the pages (no parameters unless noted).
namespace page_msg {
constexpr UINT kRegistryStart = 60111;
constexpr UINT kRegistryFinished = 60121;
constexpr UINT kRegistryBack = 60131;
constexpr UINT kRegistryRepairItem = 60141;  // lParam = index of the problem
constexpr UINT kHomeScanning = 60110;        // home page state while its scan page is open
constexpr UINT kHomeFinished = 60120;
constexpr UINT kHomeBack = 60130;
constexpr UINT kHomeRepairAll = 60140;
constexpr UINT kJunkStart = 60112;
constexpr UINT kJunkFinished = 60122;
constexpr UINT kJunkBack = 60132;
constexpr UINT kTraceStart = 60113;
constexpr UINT kTraceFinished = 60123;
constexpr UINT kTraceBack = 60133;
constexpr UINT kStartupListComplete = 60211;
constexpr UINT kOptimizationDone = 60213;
}  // namespace page_msg
