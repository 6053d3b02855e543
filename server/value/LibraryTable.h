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
// to may already be in its own teardown. (A client that unloads the library
// while it still holds handles abandons them, as with any client library;
// under LeakSanitizer such a table is marked as deliberately kept, so what
// it holds is not reported. While the library is loaded the table is
// reachable anyway.)
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORN_LIBRARY_TABLE_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VORN_LIBRARY_TABLE_LSAN 1
#endif
#ifdef VORN_LIBRARY_TABLE_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace vorn::server {

// T has a member `bool empty() const`.
template <class T>
class LibraryTable {
 public:
  LibraryTable() = default;
  LibraryTable(const LibraryTable&) = delete;
  LibraryTable& operator=(const LibraryTable&) = delete;
  ~LibraryTable() {
    if (table_->empty()) {
      delete table_;
    } else {
#ifdef VORN_LIBRARY_TABLE_LSAN
      __lsan_ignore_object(table_);
#endif
    }
  }

  T& get() { return *table_; }

 private:
  T* const table_ = new T;
};

}  // namespace vorn::server
