// The select-list columns of a query (TFieldData) and the pieces a LONG
// value is fetched in (TLongPiece).
//
// A query describes its select list once per parse and gives every column
// a buffer for a batch of rows: ReadBuffer() rows (one when any column is
// LONG or LONG RAW) of ElementSize() bytes, an indicator per row (-1 null)
// and a returned length per row. The buffer type says how the client
// delivers the value (QueryTypes.h codes):
//
//   NUMBER                  otInteger, otFloat or otString (precision
//                           rules in OracleQuery.h)
//   DATE                    otDate (7 bytes), or otString with
//                           StringFieldsOnly
//   LONG, LONG RAW          otLong, otLongRaw: version 8 fetches them in
//                           pieces (LongPieces()), version 7 into a
//                           2000-byte buffer and the rest on demand
//   ROWID, RAW, CHAR, ...   otString (RAW as hexadecimal text)
//   objects, REFs, LOBs,    108, 110, 112-114, 116: one pointer per row
//   cursors                 (pointer-sized in this 64-bit build, where the
//                           original layout had 4 bytes), and a companion
//                           instance owned by the column
//
// The dataset reads the buffers directly (TOracleQuery::FieldValueAddress);
// everyone else goes through the query's field accessors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Collection.h"

namespace vorn {

class TLOBLocator;
class TOracleObject;
class TOracleReference;

class TLongPiece : public TCollectionItem {
  VORN_CLASS(TLongPiece, TCollectionItem)
  explicit TLongPiece(TCollection* collection, int size = 0);

  int AllocatedSize() const { return allocatedSize_; }
  // Bytes the client wrote into the piece.
  int ActualLength() const { return static_cast<int>(actualLength_); }
  const uint8_t* Buffer() const { return buffer_.get(); }

 private:
  friend class Oci8Statement;

  int32_t allocatedSize_ = 0;
  // ub4, as the client writes it.
  client::ub4 actualLength_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
};

class TFieldData : public TCollectionItem {
  VORN_CLASS(TFieldData, TCollectionItem)
  explicit TFieldData(TCollection* collection);
  ~TFieldData() override;

  // As the server describes the column.
  int DataSize() const { return dataSize_; }
  int DataType() const { return dataType_; }
  // At most 30 characters.
  const std::string& Name() const { return name_; }
  int Precision() const { return precision_; }
  int Scale() const { return scale_; }
  bool Nullable() const { return nullable_ != 0; }

  // How the column is fetched.
  int BufferType() const { return bufferType_; }
  int ElementSize() const { return elementSize_; }
  int Rows() const { return rows_; }
  uint8_t* Value(int row) { return buffer_.get() + static_cast<size_t>(row) * elementSize_; }
  const uint8_t* Value(int row) const {
    return buffer_.get() + static_cast<size_t>(row) * elementSize_;
  }
  int16_t Indicator(int row) const { return indicators_[static_cast<size_t>(row)]; }
  int ReturnedLength(int row) const { return lengths_[static_cast<size_t>(row)]; }

  // Version 8 LONG and LONG RAW: the pieces of the current row's value.
  const TTypedCollection<TLongPiece>& LongPieces() const { return longPieces_; }
  // The sum of the pieces' lengths.
  int64_t LongLength() const;

  // Object and REF columns: "schema.type", and the type code of an object.
  const std::string& TypeName() const { return typeName_; }
  int ObjectTypeCode() const { return objectTypeCode_; }

  // The companion instance of a LOB, object or REF column; owned by the
  // column, null until those columns are fetched.
  TLOBLocator* LOBLocator() const { return lobLocator_; }
  TOracleObject* OracleObject() const { return oracleObject_; }
  TOracleReference* OracleReference() const { return oracleReference_; }

 private:
  friend class TOracleQuery;
  friend class ColumnBuffers;
  friend class Oci8Statement;
  friend class Oci7Cursor;

  // Drops the pieces of the last LONG value.
  void ResetLongPieces() { longPieces_.Clear(); }

  int32_t dataSize_ = 0;
  int16_t dataType_ = 0;
  std::string name_;
  int16_t precision_ = 0;
  int16_t scale_ = 0;
  int16_t nullable_ = 0;
  int16_t bufferType_ = 0;
  int32_t elementSize_ = 0;
  int32_t rows_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
  std::vector<int16_t> indicators_;
  std::vector<client::ub2> lengths_;
  TTypedCollection<TLongPiece> longPieces_;
  // Where the client reports on a piece; nobody reads it.
  client::ub2 pieceReturnCode_ = 0;
  // Object and REF columns: the type descriptor and its reference, and
  // the handles that free them.
  client::OCIType* typeDescriptor_ = nullptr;
  client::OCIRef* typeReference_ = nullptr;
  client::OCIEnv* typeEnvironment_ = nullptr;
  client::OCIError* typeErrorHandle_ = nullptr;
  // LOB columns: the descriptor type of the rows' locators.
  client::ub4 descriptorType_ = 0;
  // Object columns: the per-row null structures.
  std::vector<void*> nullStructures_;
  std::string typeName_;
  int objectTypeCode_ = 0;
  // The companion, owned through `companion_`; the typed pointers name it.
  std::unique_ptr<TObject> companion_;
  TLOBLocator* lobLocator_ = nullptr;
  TOracleObject* oracleObject_ = nullptr;
  TOracleReference* oracleReference_ = nullptr;
  // Version 8 define handle, and version 8 cursor columns' statement
  // handles, one per row.
  client::OCIDefine* defineHandle_ = nullptr;
  std::vector<client::OCIStmt*> cursorHandles_;
};

}  // namespace vorn
