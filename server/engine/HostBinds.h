// Binds of a PL/SQL block that are not single values: a host array bound
// to an index-by table (Oracle's PL/SQL table binds), and a cursor variable
// that the block opens for the caller (OPEN :c FOR select ...).
//
// Both belong to the caller, who binds them with Statement::bindTable and
// Statement::bindCursor and keeps them alive until execute() returns.
//  - HostTable: before execute, `elements` holds what the block reads as
//    t(1) .. t(elements.size()); maxSize is the capacity of the host array.
//    After a successful execute, `elements` holds t(1) .. t(n) as the block
//    left them (n is the count that goes back to the caller; indexes the
//    block skipped are NULL). An index outside 1 .. maxSize fails with
//    ORA-06513, a text longer than elementSize with ORA-06502.
//  - HostCursor: after execute, `statement` is the query the block opened,
//    executed and ready to fetch (describe, fetch, the column accessors), or
//    null when the block did not open it. It is the caller's, and like every
//    statement it must be destroyed before its session.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/Types.h"
#include "engine/Value.h"

namespace vorn::server {

class Statement;

struct HostTable {
  TypeKind elementType = TypeKind::Number;  // Number, Varchar2 or Date
  int elementSize = 0;                      // Varchar2: longest element in bytes; 0: any
  size_t maxSize = 0;                       // elements the host array holds
  std::vector<Value> elements;
};

struct HostCursor {
  std::unique_ptr<Statement> statement;
};

}  // namespace vorn::server
