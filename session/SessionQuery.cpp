// The process-wide factory of the session's own queries; see SessionQuery.h.
#include "vorn/session/SessionQuery.h"

#include <mutex>
#include <utility>

#include "vorn/host/Exceptions.h"

namespace vorn {

namespace {

struct FactorySlot {
  std::mutex mutex;
  SessionQueryFactory factory;
};

FactorySlot& Slot() {
  static FactorySlot slot;
  return slot;
}

}  // namespace

SessionQueryFactory SetSessionQueryFactory(SessionQueryFactory factory) {
  FactorySlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  std::swap(slot.factory, factory);
  return factory;
}

std::unique_ptr<SessionQuery> CreateSessionQuery(TOracleSession& session) {
  SessionQueryFactory factory;
  {
    FactorySlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    factory = slot.factory;
  }
  if (!factory) {
    throw Exception("TOracleSession cannot run statements: no query engine is linked in");
  }
  std::unique_ptr<SessionQuery> query = factory(session);
  if (!query) throw Exception("TOracleSession cannot run statements: the query engine made none");
  return query;
}

}  // namespace vorn
