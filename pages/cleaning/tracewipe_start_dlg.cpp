#include "pages/cleaning/tracewipe_start_dlg.h"

#include <algorithm>

#include "base/product.h"
#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/tree_icons.h"

using namespace cleaning_pages;

namespace {

// Posted after the keyboard toggled a group's box: its categories follow the group's new state.
constexpr UINT kSyncGroup = WM_APP + 1;

const CCleaningStartDlg::Setup kSetup = {
    IDD_TRACEWIPE_START,
    page_id::kTraceCleaner,
    page_msg::kTraceStart,
    page_msg::kTraceFinished,
    page_msg::kTraceBack,
    report_kind::kTraceItem,
    report_kind::kTraceCategoryTick,
    L"Features:Delete history records to protect your personal information.",
    L"Please select at least one option from the list that needs to be scanned for evidence files.",
    &TracewipeSetLastScanTime,
    &TracewipeSetLastScanDate,
    &TracewipeGetLastScanDate,
};

class TraceScanJob : public ScanJob {
 public:
  TraceScanJob(HWND window, UINT endMessage, std::vector<TraceCategory> categories, size_t pacedItems)
      : ScanJob(window, endMessage, report_kind::kTraceItem, pacedItems), categories_(std::move(categories)) {}

 protected:
  void Run() override {
    for (size_t i = 0; i < categories_.size(); ++i) {
      if (!Tick(report_kind::kTraceCategoryTick) || !GoOn()) return;
      TracewipeGetEvidenceFile(reportWindow(), categories_[i].group, categories_[i].selected, static_cast<int>(i));
    }
  }

 private:
  const std::vector<TraceCategory> categories_;
};

}  // namespace

CTracewipeStartDlg::CTracewipeStartDlg() : CCleaningStartDlg(kSetup) {}

CTracewipeStartDlg::~CTracewipeStartDlg() {
  // The tree does not own its pictures, and outlives this part of the object.
  if (HWND tree = Tree()) TreeView_SetImageList(tree, nullptr, TVSIL_NORMAL);
}

HWND CTracewipeStartDlg::Tree() const { return hwnd() ? GetDlgItem(hwnd(), IDC_CATEGORY_TREE) : nullptr; }

HTREEITEM CTracewipeStartDlg::GroupNode(int group) const {
  return group >= 0 && group < kTraceGroups ? groups_[group] : nullptr;
}

HTREEITEM CTracewipeStartDlg::CategoryNode(int index) const {
  return index >= 0 && index < kTraceCategories ? nodes_[index] : nullptr;
}

bool CTracewipeStartDlg::IsNodeChecked(HTREEITEM node) const {
  return node && TreeView_GetCheckState(Tree(), node) == 1;
}

void CTracewipeStartDlg::SetNodeChecked(HTREEITEM node, bool checked) {
  if (node) TreeView_SetCheckState(Tree(), node, checked ? TRUE : FALSE);
}

int CTracewipeStartDlg::GroupOf(HTREEITEM node) const {
  for (int g = 0; g < kTraceGroups; ++g) {
    if (node && groups_[g] == node) return g;
  }
  return -1;
}

void CTracewipeStartDlg::OnInitPage() {
  HWND tree = Tree();
  PlaceControl(hwnd(), IDC_CATEGORY_TREE, kChoiceRect.left, kChoiceRect.top, kChoiceRect.right - kChoiceRect.left,
               kChoiceRect.bottom - kChoiceRect.top);
  // The check boxes are turned on after creation and before the tree is filled, as the control asks.
  SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_CHECKBOXES);
  SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(fonts().regular.get()), FALSE);
  icons_.reset(MakeTreeIcons());
  if (icons_) TreeView_SetImageList(tree, icons_.get(), TVSIL_NORMAL);
  TreeView_SetItemHeight(tree, 20);

  for (int g : kTraceGroupOrder) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(kTraceGroupNames[g]);
    insert.item.iImage = insert.item.iSelectedImage = g + 1;
    groups_[g] = TreeView_InsertItem(tree, &insert);
    for (int i = 0; i < kTraceCategories; ++i) {
      if (kTraceCategoryTable[i].group != g) continue;
      insert.hParent = groups_[g];
      insert.item.pszText = const_cast<wchar_t*>(kTraceCategoryTable[i].text);
      insert.item.iImage = insert.item.iSelectedImage = 0;
      nodes_[i] = TreeView_InsertItem(tree, &insert);
    }
    TreeView_Expand(tree, groups_[g], TVE_EXPAND);
  }
  TreeView_SelectItem(tree, groups_[0]);
  TreeView_EnsureVisible(tree, groups_[0]);
  SetFocus(tree);
  CheckAll(true);
}

void CTracewipeStartDlg::CheckAll(bool checked) {
  for (HTREEITEM node : groups_) SetNodeChecked(node, checked);
  for (HTREEITEM node : nodes_) SetNodeChecked(node, checked);
}

void CTracewipeStartDlg::SetGroup(int group, bool checked) {
  for (int i = 0; i < kTraceCategories; ++i) {
    if (kTraceCategoryTable[i].group == group) SetNodeChecked(nodes_[i], checked);
  }
}

void CTracewipeStartDlg::OnTreeClick() {
  DWORD at = GetMessagePos();
  TVHITTESTINFO hit = {};
  hit.pt = ui::PointFromLParam(at);
  ScreenToClient(Tree(), &hit.pt);
  HTREEITEM node = TreeView_HitTest(Tree(), &hit);
  int group = GroupOf(node);
  // Only a click on the group's own box changes it, so only then do its categories follow; the
  // control toggles the box after this notification.
  if (group < 0 || !(hit.flags & TVHT_ONITEMSTATEICON)) return;
  SetGroup(group, !IsNodeChecked(node));
}

bool CTracewipeStartDlg::PrepareScan() {
  categories_.assign(kTraceCategories, TraceCategory());
  bool any = false;
  for (int i = 0; i < kTraceCategories; ++i) {
    categories_[i].group = kTraceCategoryTable[i].group;
    categories_[i].selected = IsNodeChecked(nodes_[i]) ? 1 : 0;
    any = any || categories_[i].selected;
  }
  return any;
}

std::shared_ptr<ScanJob> CTracewipeStartDlg::MakeJob() {
  return std::make_shared<TraceScanJob>(hwnd(), page_msg::kTraceFinished, categories_, PacedItems());
}

std::unique_ptr<CCleaningResultsDlg> CTracewipeStartDlg::MakeResultPage() {
  return std::make_unique<CTracewipeScanDlg>();
}

bool CTracewipeStartDlg::CleanItem(const FoundItem& item) {
  int outcome = TracewipeCleanEvidenceFile(item.name.c_str(), item.location.c_str());
  if (outcome == 2) {
    const wchar_t* browser = BrowserOfLocation(item.location);
    if (browser && std::find(heldBrowsers_.begin(), heldBrowsers_.end(), browser) == heldBrowsers_.end()) {
      heldBrowsers_.push_back(browser);
    }
  }
  return outcome == 1;
}

int CTracewipeStartDlg::CategoryOfItem(size_t item) const {
  auto after = std::upper_bound(firstItems_.begin(), firstItems_.end(), item);
  return after == firstItems_.begin() ? -1 : static_cast<int>(after - firstItems_.begin()) - 1;
}

bool CTracewipeStartDlg::ConfirmCleaning(std::vector<size_t>* items) {
  heldBrowsers_.clear();
  auto isPassword = [this](size_t item) {
    int category = CategoryOfItem(item);
    return category >= 0 && category < kTraceCategories && kTraceCategoryTable[category].passwords;
  };
  if (std::none_of(items->begin(), items->end(), isPassword)) return true;
  if (MessageBoxW(ScanPage() ? ScanPage()->hwnd() : hwnd(),
                  L"The selection includes saved passwords. They cannot be restored. Remove them too?", product::kCaption,
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    return true;
  }
  items->erase(std::remove_if(items->begin(), items->end(), isPassword), items->end());
  return true;
}

std::wstring CTracewipeStartDlg::LeftBehindNote() {
  if (heldBrowsers_.empty()) return std::wstring();
  std::wstring names;
  for (size_t i = 0; i < heldBrowsers_.size(); ++i) {
    if (i > 0) names += i + 1 == heldBrowsers_.size() ? L" and " : L", ";
    names += heldBrowsers_[i];
  }
  bool one = heldBrowsers_.size() == 1;
  return names + (one ? L" is running and keeps its files open. Close it" : L" are running and keep their files open. Close them") +
         L" and click \"Clean\" again.";
}

void CTracewipeStartDlg::OnScanOpened() {
  ticks_ = 0;
  firstItems_.clear();
}

void CTracewipeStartDlg::OnProgress(ULONG_PTR kind, std::wstring_view) {
  if (kind != report_kind::kTraceCategoryTick) return;
  firstItems_.push_back(FoundItems().size());
  int index = ticks_++;
  if (index < static_cast<int>(categories_.size()) && categories_[index].selected && ScanPage()) {
    ScanPage()->SetCurrentCategory(kTraceCategoryTable[index].text);
  }
}

bool CTracewipeStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kSyncGroup) {
    int group = static_cast<int>(wParam);
    if (GroupNode(group)) SetGroup(group, IsNodeChecked(groups_[group]));
    return true;
  }
  return CCleaningStartDlg::OnMessage(message, wParam, lParam, result);
}

bool CTracewipeStartDlg::OnNotify(NMHDR& header, LRESULT&) {
  if (header.idFrom == IDC_CATEGORY_TREE && header.code == NM_CLICK) {
    OnTreeClick();
  } else if (header.idFrom == IDC_CATEGORY_TREE && header.code == TVN_KEYDOWN &&
             reinterpret_cast<const NMTVKEYDOWN*>(&header)->wVKey == VK_SPACE) {
    int group = GroupOf(TreeView_GetSelection(Tree()));
    if (group >= 0) PostMessageW(hwnd(), kSyncGroup, static_cast<WPARAM>(group), 0);
  }
  return false;  // and the tree's own handling
}
