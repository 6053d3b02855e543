// The columns of a query and the pieces of LONG values; see FieldData.h.
#include "vorn/query/FieldData.h"

namespace vorn {

TLongPiece::TLongPiece(TCollection* collection, int size)
    : TCollectionItem(collection),
      allocatedSize_(size),
      buffer_(size > 0 ? new uint8_t[static_cast<size_t>(size)] : nullptr) {}

TFieldData::TFieldData(TCollection* collection) : TCollectionItem(collection) {}

TFieldData::~TFieldData() = default;

int64_t TFieldData::LongLength() const {
  int64_t length = 0;
  for (int i = 0; i < longPieces_.Count(); ++i)
    length += longPieces_.Items(i)->ActualLength();
  return length;
}

}  // namespace vorn
