// Replacing the entries of a folder so that a failure half-way loses nothing: the entries to be
// replaced are first moved aside into a holding folder, and moved back if anything fails.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace bookvault {

class Holding {
 public:
  // A holding folder that is dropped once the replacement is done.
  explicit Holding(std::wstring folder) : folder_(std::move(folder)), keep_(false) {}
  // A holding folder that keeps what it took: it must not exist yet, and after the replacement it
  // holds every taken entry that differs from what replaced it.
  struct Kept {};
  Holding(std::wstring folder, Kept) : folder_(std::move(folder)), keep_(true) {}
  Holding(const Holding&) = delete;
  Holding& operator=(const Holding&) = delete;

  // Makes the holding folder fresh and empty. A leftover of an interrupted call holds entries that
  // the call now running replaces anyway. A kept holding folder is only ever made new.
  bool Open();
  // Moves an entry into the holding folder, remembering where it came from.
  bool Take(const std::wstring& entry);
  // Moves every entry taken back where it came from, and removes the holding folder once it is
  // empty again; false when something could not go back (it then stays in the holding folder).
  bool Undo();
  // The replacement in target is done: deletes the holding folder with everything it holds, or,
  // when kept, only the taken entries that stand the same under target now, and the folder when
  // nothing else stayed in it.
  void Release(const std::wstring& target);
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_;
  bool keep_;
  std::vector<std::wstring> taken_;
};

// Replaces the entries `old` of folder `target` by the entries named `incoming`: first everything
// in the way (the old entries, and whatever stands under an incoming name) is moved into holding;
// then bring(name) puts each incoming entry in place under target. If any step fails, what was
// brought in is deleted and the old entries are moved back, so target ends either fully replaced
// or as it was.
bool ReplaceEntries(const std::wstring& target, const std::vector<std::wstring>& old,
                    const std::vector<std::wstring>& incoming, Holding& holding,
                    const std::function<bool(const std::wstring& name)>& bring);

}  // namespace bookvault
