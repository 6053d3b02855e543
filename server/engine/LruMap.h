// A map from text keys to values that holds at most `capacity` entries:
// adding a key to a full map first drops the least recently used entry
// (its value is destroyed). find() and emplace() make the entry the most
// recently used one. The session's caches (compiled plans, prepared SQLite
// statements) are such maps, so that a stream of distinct statements costs
// a bounded amount of memory.
//
// Values stay at the same address until their entry is dropped.
#pragma once

#include <cassert>
#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vorn::server {

template <class V>
class LruMap {
 public:
  explicit LruMap(size_t capacity) : capacity_(capacity) { assert(capacity > 0); }
  LruMap(const LruMap&) = delete;
  LruMap& operator=(const LruMap&) = delete;

  // The value of `key`, now the most recently used; nullptr when absent.
  V* find(std::string_view key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->value;
  }

  // The value of `key`, made from `args` when absent (which may drop the
  // least recently used entry); now the most recently used either way.
  template <class... Args>
  V& emplace(std::string_view key, Args&&... args) {
    if (V* existing = find(key)) return *existing;
    if (order_.size() >= capacity_) {
      index_.erase(order_.back().key);
      order_.pop_back();
    }
    order_.emplace_front(std::string(key), std::forward<Args>(args)...);
    index_.emplace(order_.front().key, order_.begin());
    return order_.front().value;
  }

  void erase(std::string_view key) {
    auto it = index_.find(key);
    if (it == index_.end()) return;
    auto entry = it->second;
    index_.erase(it);
    order_.erase(entry);
  }

  void clear() {
    index_.clear();
    order_.clear();
  }

  size_t size() const { return order_.size(); }
  size_t capacity() const { return capacity_; }
  // Most recently used first.
  template <class F>
  void forEach(F&& f) const {
    for (const Entry& e : order_)
      f(std::string_view(e.key), e.value);
  }

 private:
  struct Entry {
    template <class... Args>
    explicit Entry(std::string k, Args&&... args)
        : key(std::move(k)), value(std::forward<Args>(args)...) {}
    std::string key;
    V value;
  };
  size_t capacity_;
  std::list<Entry> order_;  // most recently used first
  // Keys view the entries' own strings, which list nodes keep in place.
  std::unordered_map<std::string_view, typename std::list<Entry>::iterator> index_;
};

}  // namespace vorn::server
