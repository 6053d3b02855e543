// The table of known data areas; see AreaTable.h.
#include "AreaTable.h"

#include "CursorArea.h"
#include "LogonArea.h"
#include "value/LibraryTable.h"

namespace vorn::server::oci7 {

std::shared_ptr<LogonArea> AreaTable::logon(const Lda_Def* lda) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = logons_.find(lda);
  return it == logons_.end() ? nullptr : it->second;
}

std::shared_ptr<CursorArea> AreaTable::cursor(const Cda_Def* cda) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = cursors_.find(cda);
  return it == cursors_.end() ? nullptr : it->second;
}

std::shared_ptr<LogonArea> AreaTable::putLogon(const Lda_Def* lda,
                                               std::shared_ptr<LogonArea> logon) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<LogonArea>& slot = logons_[lda];
  std::shared_ptr<LogonArea> old = std::move(slot);
  slot = std::move(logon);
  return old;
}

std::shared_ptr<CursorArea> AreaTable::putCursor(const Cda_Def* cda,
                                                 std::shared_ptr<CursorArea> cursor) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<CursorArea>& slot = cursors_[cda];
  std::shared_ptr<CursorArea> old = std::move(slot);
  slot = std::move(cursor);
  return old;
}

std::shared_ptr<LogonArea> AreaTable::takeLogon(const Lda_Def* lda) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = logons_.find(lda);
  if (it == logons_.end()) return nullptr;
  std::shared_ptr<LogonArea> taken = std::move(it->second);
  logons_.erase(it);
  return taken;
}

std::shared_ptr<CursorArea> AreaTable::takeCursor(const Cda_Def* cda) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = cursors_.find(cda);
  if (it == cursors_.end()) return nullptr;
  std::shared_ptr<CursorArea> taken = std::move(it->second);
  cursors_.erase(it);
  return taken;
}

std::vector<std::shared_ptr<CursorArea>> AreaTable::takeCursorsOf(const LogonArea* logon) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::shared_ptr<CursorArea>> taken;
  for (auto it = cursors_.begin(); it != cursors_.end();) {
    if (&it->second->logon() == logon) {
      taken.push_back(std::move(it->second));
      it = cursors_.erase(it);
    } else {
      ++it;
    }
  }
  return taken;
}

bool AreaTable::empty() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return logons_.empty() && cursors_.empty();
}

AreaTable& areas() {
  static LibraryTable<AreaTable> table;
  return table.get();
}

}  // namespace vorn::server::oci7
