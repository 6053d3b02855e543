// A table of process-wide state inside the server library (live handles,
// open databases, version 7 areas).
//
// Such a table must outlive everything that may still use it while the
// process exits, so it is never destroyed by an ordinary static's
// destructor running early. But the library is also unloaded and loaded
// again by its clients (a client switching Oracle homes), and a table left
// behind at every unload is a leak. The rule: the table is freed when the
// library is unloaded or the process ends, if it is empty then; a table
// still holding entries is left to the process, since whatever they refer
// to may already be in its own teardown.
#pragma once

namespace vorn::server {

// T has a member `bool empty() const`.
template <class T>
class LibraryTable {
 public:
  LibraryTable() = default;
  LibraryTable(const LibraryTable&) = delete;
  LibraryTable& operator=(const LibraryTable&) = delete;
  ~LibraryTable() {
    if (table_->empty()) delete table_;
  }

  T& get() { return *table_; }

 private:
  T* const table_ = new T;
};

}  // namespace vorn::server
