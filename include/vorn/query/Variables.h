// The variables of a statement: TVariables, the collection every
// TOracleQuery owns, and its items, TVariableData.
//
// A variable is a bind variable, whose value travels to and from the
// server when the statement runs, or a substitution variable (otSubst),
// whose text replaces its colon-prefixed name in the SQL before parsing.
// Names are stored upper-cased with a leading colon (":RESULT"); lookups
// accept any case, with or without the colon. Variables are declared, set,
// read and deleted through the query (OracleQuery.h); this header is what
// the query, the dataset and the stream format see of them.
//
// A variable holds one element, N elements (an Array DML array, made by
// assigning a variant array), or a PL/SQL table (DeclarePLSQLTable) of
// which TableCount() elements are in use. Each element has an indicator:
// -1 null, 0 set. Complex variables (QueryTypes.h) hold a reference to an
// instance that the caller owns; all others own their value buffer.
//
// Stream format (TVariables::DefineProperties, property "Data", all
// integers 32-bit little-endian): version 3, count, then per variable the
// name length, the name bytes, the type code, the data length (0 for a
// null element 0; the text length + 1 for codes 1, 5, 10 and 97; else the
// element size), the data of element 0, the table flag, and for a table
// its size and string size. Reading rejects a malformed stream with
// EReadError "Invalid stream of Query variables" and leaves the list
// empty (so does a table beyond 65536 elements or 64 MiB, which no form
// stores); a newer version raises "Invalid version of Query variables".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Collection.h"
#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleQuery;
class TStream;

class TVariableData : public TCollectionItem {
  VORN_CLASS(TVariableData, TCollectionItem)
  explicit TVariableData(TCollection* collection);
  ~TVariableData() override;

  // Upper case with a leading colon.
  const std::string& Name() const { return name_; }
  int TypeCode() const { return typeCode_; }
  // Bytes per element of the value buffer.
  int ElementSize() const { return elementSize_; }
  // 1 for a scalar, N for an Array DML array, the size of a PL/SQL table.
  int ElementCount() const { return elementCount_; }
  // The low bound of the variant array last assigned (0 for a scalar).
  int LowBound() const { return lowBound_; }
  // Bytes of the value of an otSubst, otLong or otLongRaw variable.
  int Length() const { return static_cast<int>(length_); }
  bool IsPLSQLTable() const { return isPLSQLTable_; }
  // Elements of a PL/SQL table in use; the client updates it at execution.
  int TableCount() const { return static_cast<int>(tableCount_); }
  bool OwnsBuffer() const { return ownsBuffer_; }
  bool IsComplex() const { return isComplex_; }

  // The value buffer: ElementCount() elements of ElementSize() bytes.
  // Null for complex variables and before a long value is assigned.
  uint8_t* Buffer() { return buffer_.get(); }
  const uint8_t* Buffer() const { return buffer_.get(); }
  uint8_t* Element(int index) { return buffer_.get() + static_cast<size_t>(index) * elementSize_; }
  const uint8_t* Element(int index) const {
    return buffer_.get() + static_cast<size_t>(index) * elementSize_;
  }
  // The instance a complex variable refers to; never owned.
  TObject* Instance() const { return instance_; }
  int16_t* Indicators() { return indicators_.data(); }
  bool IsNull(int index) const { return indicators_.at(static_cast<size_t>(index)) == -1; }

 private:
  friend class TOracleQuery;
  friend class TVariables;
  friend class VariableValues;
  friend class VariableStream;
  friend class Oci8Statement;
  friend class Oci7Cursor;

  std::string name_;
  int16_t typeCode_ = 0;
  int32_t elementSize_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
  TObject* instance_ = nullptr;
  std::vector<int16_t> indicators_{-1};
  uint32_t length_ = 0;
  int32_t lowBound_ = 0;
  int32_t elementCount_ = 1;
  bool isPLSQLTable_ = false;
  // ub4, as the client reads and writes it.
  client::ub4 tableCount_ = 0;
  bool ownsBuffer_ = true;
  bool isComplex_ = false;
  // The actual length passed for long values (ub2, as the client reads
  // it), kept equal to length_ while it fits.
  client::ub2 bindLength_ = 0;
  // Version 8: the bind handle and what it was last bound with; a
  // variable whose buffer did not move is not bound again. Forgotten
  // whenever the statement handle is replaced.
  client::OCIBind* bindHandle_ = nullptr;
  const void* boundAddress_ = nullptr;
  const void* boundIndicators_ = nullptr;
  int32_t boundSize_ = 0;
};

class TVariables : public TPersistent {
  VORN_CLASS(TVariables, TPersistent)
  explicit TVariables(TOracleQuery* query);
  ~TVariables() override;

  TOracleQuery* Query() const { return query_; }
  int Count() const { return items_.Count(); }
  TVariableData* Items(int index) const { return items_.Items(index); }
  // Case-insensitive, with or without the leading colon; -1 / nullptr when
  // absent.
  int IndexOf(std::string_view name) const;
  TVariableData* Find(std::string_view name) const;

  // Copies the declarations and values of another TVariables (the
  // references of complex variables are copied as references).
  void Assign(const TPersistent* source) override;

  // The stream format above, as a form stores it.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

  // The stored form of a name: upper case with a leading colon.
  static std::string StoredName(std::string_view name);

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  friend class TOracleQuery;
  friend class VariableStream;

  // Whether the list must be stored: no ancestor and at least one variable,
  // or a difference from the ancestor's list.
  bool DiffersFrom(const TVariables* ancestor) const;

  TOracleQuery* query_;
  TTypedCollection<TVariableData> items_;
};

}  // namespace vorn
