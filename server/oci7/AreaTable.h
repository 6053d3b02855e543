// The process-wide table of the data areas the library knows: the state
// behind each logged-on logon data area and each open cursor data area,
// keyed by the area's address. A caller may move or copy an area's bytes,
// but only the address it logged on or opened with is known here; an
// address the table does not hold is "not logged on" (ORA-01012) or an
// "invalid cursor" (ORA-01001) whatever its check byte says.
//
// Entries are shared: a call holds its entry while it runs, so another
// thread closing the area does not pull the state from under it. The
// table's own mutex is held only while the maps change or are read, never
// while an environment's mutex is being taken (calls take that one
// afterwards), so the two never wait for each other in opposite orders.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "oci.h"

namespace vorn::server::oci7 {

class CursorArea;
class LogonArea;

class AreaTable {
 public:
  std::shared_ptr<LogonArea> logon(const Lda_Def* lda);
  std::shared_ptr<CursorArea> cursor(const Cda_Def* cda);

  // Replaces whatever state the address had; returns the state replaced.
  std::shared_ptr<LogonArea> putLogon(const Lda_Def* lda, std::shared_ptr<LogonArea> logon);
  std::shared_ptr<CursorArea> putCursor(const Cda_Def* cda, std::shared_ptr<CursorArea> cursor);

  // Removes an entry and hands it back (null when there was none).
  std::shared_ptr<LogonArea> takeLogon(const Lda_Def* lda);
  std::shared_ptr<CursorArea> takeCursor(const Cda_Def* cda);
  // Removes the cursors opened on `logon` and hands them back.
  std::vector<std::shared_ptr<CursorArea>> takeCursorsOf(const LogonArea* logon);
  // No logon or cursor has state here.
  bool empty() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<const void*, std::shared_ptr<LogonArea>> logons_;
  std::unordered_map<const void*, std::shared_ptr<CursorArea>> cursors_;
};

// The one table of the process (never destroyed: areas may still be in use
// while the process exits).
AreaTable& areas();

}  // namespace vorn::server::oci7
