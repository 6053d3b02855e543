// The variable list and its items; see Variables.h. The operations that
// declare and set variables are the query's (QueryVariables.cpp).
#include "vorn/query/Variables.h"

#include <cstring>

#include "VariableStream.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

TVariableData::TVariableData(TCollection* collection) : TCollectionItem(collection) {}

TVariableData::~TVariableData() = default;

TVariables::TVariables(TOracleQuery* query) : query_(query), items_(this) {}

TVariables::~TVariables() = default;

std::string TVariables::StoredName(std::string_view name) {
  std::string stored = AnsiUpperCase(name);
  if (stored.empty() || stored.front() != ':') stored.insert(stored.begin(), ':');
  return stored;
}

int TVariables::IndexOf(std::string_view name) const {
  const std::string stored = StoredName(name);
  for (int i = 0; i < items_.Count(); ++i) {
    if (items_.Items(i)->name_ == stored) return i;
  }
  return -1;
}

TVariableData* TVariables::Find(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : items_.Items(index);
}

void TVariables::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TVariables*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  TMemoryStream stream;
  other->SaveToStream(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
  // The stream keeps element 0 of scalars; arrays, tables and the
  // references of complex variables are copied as they are.
  for (int i = 0; i < other->Count(); ++i) {
    const TVariableData& from = *other->Items(i);
    TVariableData& to = *Items(i);
    if (from.isComplex_) {
      to.instance_ = from.instance_;
      to.indicators_ = from.indicators_;
      continue;
    }
    to.elementSize_ = from.elementSize_;
    to.elementCount_ = from.elementCount_;
    to.lowBound_ = from.lowBound_;
    to.length_ = from.length_;
    to.tableCount_ = from.tableCount_;
    to.indicators_ = from.indicators_;
    const size_t bytes = static_cast<size_t>(from.elementSize_) * from.elementCount_;
    to.buffer_.reset();
    if (from.buffer_ != nullptr) {
      to.buffer_ = std::make_unique<uint8_t[]>(std::max<size_t>(bytes, 1));
      std::memcpy(to.buffer_.get(), from.buffer_.get(), bytes);
    }
  }
}

void TVariables::SaveToStream(TStream& stream) const {
  VariableStream::Write(*this, stream);
}

void TVariables::LoadFromStream(TStream& stream) {
  VariableStream::Read(*this, stream);
}

bool TVariables::DiffersFrom(const TVariables* ancestor) const {
  if (ancestor == nullptr) return Count() > 0;
  TMemoryStream mine;
  TMemoryStream theirs;
  SaveToStream(mine);
  ancestor->SaveToStream(theirs);
  return mine.Bytes() != theirs.Bytes();
}

void TVariables::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TVariables*>(filer.Ancestor());
  filer.DefineBinaryProperty(
      "Data", [this](TStream& stream) { LoadFromStream(stream); },
      [this](TStream& stream) { SaveToStream(stream); }, DiffersFrom(ancestor));
}

}  // namespace vorn
