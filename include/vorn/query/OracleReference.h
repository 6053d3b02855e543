// TOracleReference: one REF to objects of a named type, in the client's
// object cache. Version 8 calls only.
//
// A query's REF column (type 110) has one TOracleReference that always
// stands for the current row's REF (TOracleQuery::ReferenceField); a null
// value there is a cleared REF. One made with a type name ("PERSON_T" or
// "SCOTT.PERSON_T") is null until a statement fills it; bound as an
// otReference variable (SetComplexVariable) it gives its REF to an INSERT,
// an UPDATE or a condition; an output variable that comes back null makes
// it null.
//
// "Not logged on" without a connected session; errors of the client raise
// EOracleError, a handle the client does not know vorn::Exception
// "TOracleObject: Invalid handle".
#pragma once

#include <string>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Object.h"
#include "vorn/query/ObjectTypeHandles.h"
#include "vorn/session/SessionClients.h"

namespace vorn {

class TOracleSession;

class TOracleReference : public TObject, private RegisteredQuery {
  VORN_CLASS(TOracleReference, TObject)
  TOracleReference(TOracleSession* session, const std::string& typeName);
  ~TOracleReference() override;

  TOracleSession* Session() const { return handles_.Session(); }
  // "SCHEMA.TYPE" as the describe of the type gives it.
  const std::string& TypeName() const { return typeName_; }

  bool IsNull();
  // Makes the REF null.
  void Clear();
  // The REF as hexadecimal text (OCIRefToHex); empty for a null REF.
  std::string Hex();

  // Where the REF in use is kept: the reference's own, or the current row's
  // slot of a query column. Binding passes this address.
  client::OCIRef** RefAddress() const { return address_; }
  // The type descriptor of the objects the REF points to (pinned).
  client::OCIType* TypeDescriptor() const { return handles_.TypeDescriptor(); }

 private:
  friend class TOracleQuery;
  friend class ColumnBuffers;

  struct ColumnReference {};
  TOracleReference(TOracleSession* session, const std::string& typeName, ColumnReference);

  void Setup(TOracleSession* session, const std::string& typeName);
  // Points the reference at a row's slot (a query column), making a REF
  // there when it is empty and clearing it when the row's value is null.
  void PointAt(client::OCIRef** slot, bool null);
  // Frees the reference's own REF and the handles when `live`, otherwise
  // forgets them.
  void DropHandles(bool live);
  void Check(client::sword status) const { handles_.Check(status); }
  void Prepare() const;

  void CloseForLogOff() override;
  void DetachFromSession() override;

  client::OCIRef* ownRef_ = nullptr;
  client::OCIRef** address_ = &ownRef_;
  ObjectTypeHandles handles_;
  std::string typeName_;
  bool columnReference_ = false;
};

}  // namespace vorn
