// One entry of a call table: the address of a client library export, typed
// with the export's C prototype, and the only way the rest of Vorn calls
// into the client library.
//
// An entry is called like the function itself:
//
//   sword status = Oci8().OCITransCommit(serviceContext, errorHandle, OCI_DEFAULT);
//
// Calling an entry that the loaded library did not provide (or any entry
// while no library is loaded) raises vorn::Exception naming the call,
// instead of jumping through an empty address. The check is one load and
// one test, cheap enough for the fetch path.
//
// Entries are filled when the library is loaded and emptied when it is
// unloaded, by the loader alone (ClientLibrary.h); nobody else can set
// them. Reading an entry while another thread loads or unloads the library
// is safe in itself, but calling into a library that another thread is
// unloading is not: unloading is meant for the end of the program and for
// moments when no session is connected.
#pragma once

#include <atomic>

namespace vorn::client {

class CallTableBinder;

class ClientEntryBase {
 public:
  explicit constexpr ClientEntryBase(const char* name) noexcept : name_(name) {}
  ClientEntryBase(const ClientEntryBase&) = delete;
  ClientEntryBase& operator=(const ClientEntryBase&) = delete;

  // The export's name, as the library is asked for it.
  const char* Name() const { return name_; }
  // True when the loaded library provided the export.
  bool Resolved() const { return address_.load(std::memory_order_acquire) != nullptr; }

 protected:
  using Address = void (*)();

  Address LoadAddress() const { return address_.load(std::memory_order_acquire); }
  // Raises the exception for a call through this entry while it is empty.
  [[noreturn]] void RaiseUnavailable() const;

 private:
  friend class CallTableBinder;

  // Mutable: what an entry is (its name and prototype) never changes; what
  // it points to follows the library that is loaded.
  mutable std::atomic<Address> address_{nullptr};
  const char* name_;
};

template <typename Signature>
class ClientEntry;

template <typename Result, typename... Args>
class ClientEntry<Result(Args...)> final : public ClientEntryBase {
 public:
  using ClientEntryBase::ClientEntryBase;
  using Function = Result (*)(Args...);

  Result operator()(Args... args) const {
    const Address address = LoadAddress();
    if (address == nullptr) [[unlikely]] {
      RaiseUnavailable();
    }
    // The address came from the export of this very name, whose C
    // prototype Signature copies.
    return reinterpret_cast<Function>(address)(args...);
  }
};

}  // namespace vorn::client
