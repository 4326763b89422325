// The main window's thirteen pages: for each, its identifier (the page command that shows it), the
// name the main window records, how the page is made, and the message with which the splash
// creates it in advance. Each tool's page takes its place here by replacing one line of
// page_table.cpp.
#pragma once
#include <windows.h>

#include <cstddef>

#include "contracts/messages.h"
#include "ui/page.h"

// Sent by the splash to the main window (same thread): create the page, then hide it.
namespace preload_msg {
constexpr UINT kRegistryCleaner = 70001;
constexpr UINT kJunkCleaner = 70002;
constexpr UINT kTraceCleaner = 70003;
constexpr UINT kFileShredder = 70004;
constexpr UINT kSystemOptimizer = 70008;
constexpr UINT kAppOptimizer = 70009;
constexpr UINT kStartupManager = 70011;
constexpr UINT kAddonManager = 70012;
constexpr UINT kRegistryBackup = 70013;
constexpr UINT kFavoritesBackup = 70014;
constexpr UINT kOptions = 70015;
}  // namespace preload_msg

struct PageSlot {
  UINT id;                    // the page command that shows the page
  const wchar_t* name;        // recorded when the page is chosen
  ui::Page* (*create)();      // a new page object, or null when it cannot be made
  UINT preload;               // the splash's message for it; 0: not made in advance
  const wchar_t* splashText;  // the splash's status while the page is made
  bool resetOnLeave;          // back to its start view whenever the user leaves it
};

struct PageTable {
  const PageSlot* slots;
  size_t count;
  const PageSlot* Find(UINT id) const;
  const PageSlot* FindPreload(UINT message) const;
  int IndexOf(UINT id) const;  // -1 when the table has no such page
};

// The program's pages, in menu order; the splash makes them in this order.
PageTable DefaultPageTable();

// The recorded name of a menu header without a page (60200, 60300), or null.
const wchar_t* HeaderPageName(UINT command);

// Makes a page of class T, or null (the slot stays empty and the next switch tries again).
template <typename T>
ui::Page* MakePage() {
  try {
    return new T;
  } catch (...) {
    return nullptr;
  }
}
