// Row objects of object tables reached by their REFs: what the call
// interface's object cache reads and writes (OCIObjectPin, OCIObjectFlush,
// OCIObjectLock, ...). Each access runs as SQL of the session, so row locks
// (FOR UPDATE, the locks of UPDATE and DELETE), constraints, the writer gate
// and the transaction work as for the session's own statements.
//
// An object is the bytes of ObjectValue.h; a new row object gets the
// identifier its REF names (the cache hands out the REF before the row is
// inserted, as Oracle's does).
#pragma once

#include <optional>

#include "engine/ObjectValue.h"
#include "engine/Value.h"

namespace vorn::server {

class Catalog;
class Session;
struct TableInfo;

enum class ObjectLock { None, Wait, NoWait };

// The object table a REF points into: ORA-22880 when there is none (the
// table was dropped) or it cannot be used.
const TableInfo& objectTableOf(const Catalog& catalog, const RefValue& ref);
// A REF to a new row object of `table` (a fresh identifier).
RefValue newObjectRef(const TableInfo& table);

// The object, nullopt when the row is gone (a dangling REF). Locking waits
// (or fails at once with NoWait, ORA-00054) as SELECT ... FOR UPDATE does.
std::optional<Value> loadObject(Session& session, const RefValue& ref, ObjectLock lock);
// INSERT, UPDATE and DELETE of the row object; ORA-21700 when UPDATE finds
// the row gone.
void insertObject(Session& session, const RefValue& ref, const Value& object);
void updateObject(Session& session, const RefValue& ref, const Value& object);
void deleteObject(Session& session, const RefValue& ref);
// Whether the session holds the row's lock.
bool objectRowLocked(Session& session, const RefValue& ref);

}  // namespace vorn::server
