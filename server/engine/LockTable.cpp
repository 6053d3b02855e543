// Row locks and the writer gate; see LockTable.h.
#include "engine/LockTable.h"

#include <algorithm>

#include "value/OraError.h"

namespace vorn::server {

bool LockTable::lockRow(Owner owner, int64_t table, int64_t row, int level, Wait wait,
                        bool nowait) {
  std::unique_lock lock(mutex_);
  auto key = std::make_pair(table, row);
  auto deadline = std::chrono::steady_clock::now() + wait;
  bool waited = false;
  for (;;) {
    auto it = rows_.find(key);
    if (it == rows_.end()) {
      rows_.emplace(key, Entry{owner, level});
      byOwner_[owner].push_back(key);
      return waited;
    }
    if (it->second.owner == owner) return waited;
    if (nowait) raiseOra(54);
    waited = true;
    ++waiting_;
    changed_.notify_all();
    bool timedOut = changed_.wait_until(lock, deadline) == std::cv_status::timeout;
    --waiting_;
    if (timedOut) {
      auto again = rows_.find(key);
      if (again != rows_.end() && again->second.owner != owner) raiseOra(30006);
    }
  }
}

bool LockTable::holdsRow(Owner owner, int64_t table, int64_t row) const {
  std::lock_guard lock(mutex_);
  auto it = rows_.find({table, row});
  return it != rows_.end() && it->second.owner == owner;
}

void LockTable::release(Owner owner, int level) {
  std::lock_guard lock(mutex_);
  auto it = byOwner_.find(owner);
  if (it == byOwner_.end()) return;
  auto& keys = it->second;
  auto keep = std::remove_if(keys.begin(), keys.end(), [&](const auto& key) {
    auto row = rows_.find(key);
    if (row == rows_.end()) return true;
    if (row->second.level >= level) {
      rows_.erase(row);
      return true;
    }
    return false;
  });
  keys.erase(keep, keys.end());
  if (keys.empty()) byOwner_.erase(it);
  changed_.notify_all();
}

void LockTable::acquireWriter(Owner owner, Wait wait) {
  std::unique_lock lock(mutex_);
  if (writer_ == owner) return;
  bool free = writer_ == nullptr;
  if (!free) {
    ++waiting_;
    changed_.notify_all();
    free = changed_.wait_for(lock, wait, [&] { return writer_ == nullptr; });
    --waiting_;
  }
  if (!free) raiseOra(54);
  writer_ = owner;
}

void LockTable::releaseWriter(Owner owner) {
  std::lock_guard lock(mutex_);
  if (writer_ == owner) {
    writer_ = nullptr;
    changed_.notify_all();
  }
}

int LockTable::waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

void LockTable::awaitWaiting(int count) const {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return waiting_ >= count; });
}

bool LockTable::isWriter(Owner owner) const {
  std::lock_guard lock(mutex_);
  return writer_ == owner;
}

}  // namespace vorn::server
