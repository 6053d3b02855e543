// ObjectTypeHandles: the part TOracleObject and TOracleReference share, kept
// here because both public headers hold it as a member. It is the handle
// life cycle of a wrapper over a named type in the client's object cache:
// the session it was made on, an error and a describe handle of its own, a
// REF to the type descriptor and the descriptor pinned through it. Version 8
// calls only.
//
// The handles are live while the session stays connected and the client
// library is the one they came from (a library loaded again makes every
// earlier handle unknown to it). Drop(true) gives everything back to the
// client (the descriptor unpinned, the type REF freed, then the describe
// and the error handle); Drop(false) forgets it, for handles the client has
// already let go. The owner frees what it took itself (instances, REFs of
// its own) before it drops these.
//
// Errors of the client raise EOracleError; a handle the client does not know
// raises vorn::Exception "TOracleObject: Invalid handle" (the reference's
// text as well as the object's).
#pragma once

#include <cstdint>
#include <string>

#include "vorn/client/OciTypes.h"

namespace vorn {

class RegisteredQuery;
class TOracleSession;

class ObjectTypeHandles {
 public:
  // "Not logged on" without a connected session; otherwise the session's
  // version 8 check for `feature` ("A TOracleObject instance"), then the
  // error and describe handles ("TOracleObject: Invalid handle" when the
  // client gives none, with nothing kept).
  void Open(TOracleSession* session, const char* feature);
  // Describes the type by name (any case, "TYPE" or "SCHEMA.TYPE"), then
  // takes its descriptor as TakeType does; returns "SCHEMA.TYPE".
  std::string TakeTypeByName(const std::string& typeName);
  // Copies `source` (a REF to a type descriptor) into a REF of its own and
  // pins the descriptor through it.
  void TakeType(client::OCIRef* source);
  // A type descriptor pinned elsewhere (OCITypeByName) and the REF to it,
  // each given over as soon as it exists so that Drop frees it.
  void AdoptTypeDescriptor(client::OCIType* descriptor) { typeDescriptor_ = descriptor; }
  void AdoptTypeRef(client::OCIRef* typeRef) { typeRef_ = typeRef; }
  // A new REF in the object cache, null until filled.
  client::OCIRef* NewRef() const;
  // "SCHEMA.TYPE" of a describe parameter, each part at most 30 characters:
  // a type's own name (OCI_ATTR_NAME), or the name of an attribute's type
  // (OCI_ATTR_TYPE_NAME).
  std::string TypeNameOf(void* parameter, client::ub4 nameAttribute) const;

  // The handles may be given back to the client.
  bool Live() const;
  // The client library is the one the handles came from.
  bool SameLibrary() const;
  void Drop(bool live);
  // The session goes: unregisters `owner` from it and keeps no session.
  void LeaveSession(RegisteredQuery* owner);

  // Raises for a status that is not a success (see above).
  void Check(client::sword status) const;
  // Before a call on the handles: "Not logged on" unless the session is
  // connected and the handles are live.
  void CheckLoggedOn() const;

  TOracleSession* Session() const { return session_; }
  client::OCIError* ErrorHandle() const { return errorHandle_; }
  client::OCIDescribe* DescribeHandle() const { return describeHandle_; }
  client::OCIRef* TypeRef() const { return typeRef_; }
  client::OCIType* TypeDescriptor() const { return typeDescriptor_; }

 private:
  TOracleSession* session_ = nullptr;
  client::OCIError* errorHandle_ = nullptr;
  client::OCIDescribe* describeHandle_ = nullptr;
  client::OCIRef* typeRef_ = nullptr;
  client::OCIType* typeDescriptor_ = nullptr;
  uint64_t generation_ = 0;
};

}  // namespace vorn
