// How a described column is fetched: its buffer type and element size
// (the table in FieldData.h), and the buffers of a batch of rows.
#pragma once

#include "StatementCalls.h"

namespace vorn {

class TFieldData;
class TOracleSession;

// The facts of the query and its session that decide the buffers.
struct BufferRules {
  int integerPrecision = 9;
  int floatPrecision = 1000;
  bool stringFieldsOnly = false;
  bool usesOCI8 = true;
  // Only asked for when a DATE column is fetched as text.
  TOracleSession* session = nullptr;
};

class ColumnBuffers {
 public:
  // The rules of `session` (its preferences, call set and route).
  static BufferRules RulesOf(TOracleSession& session, bool stringFieldsOnly);
  // Fills the column from its description and chooses its buffer type and
  // element size. Object, REF, LOB and cursor columns pass the session's
  // CheckOCI8Feature first. True for a LONG or LONG RAW column, which
  // makes the batch one row.
  static bool Describe(TFieldData& field, const ColumnDescription& column,
                       const BufferRules& rules);
  // Buffers for `rows` rows: for a LOB column a locator per row and the
  // column's TLOBLocator, allocated under the session's environment.
  static void Allocate(TFieldData& field, int rows, TOracleSession& session);
  // Frees what Allocate took from the client library when `live` (the
  // handles still belong to the loaded library and the connection);
  // otherwise only forgets it.
  static void Release(TFieldData& field, bool live);
  // The column holds a value per row that the query's companion instance
  // reads (LOB, object and REF columns).
  static bool IsComplex(const TFieldData& field);
  // Points the companion of a LOB, object or REF column at row `row`: a
  // null object row gets an instance of the type whose atomic indicator
  // is null, a null REF row a cleared REF.
  static void PrepareRow(TFieldData& field, int row, TOracleSession& session);

 private:
  // An object column's type: a REF of its own (from the describe's REF),
  // the type descriptor pinned, and the type code of the type.
  static void TakeObjectType(TFieldData& field, client::OCIRef* source, TOracleSession& session);
  static client::OCIError* NewErrorHandle(TOracleSession& session);
};

}  // namespace vorn
