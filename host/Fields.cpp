// TFields: the ordered field list of a dataset with a name index.
#include "vorn/host/Fields.h"

#include <algorithm>
#include <unordered_map>

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"
#include "vorn/host/Strings.h"

namespace vorn {

namespace {

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Hashing and equality that ignore ASCII case, usable with string_view keys
// so that a lookup allocates nothing.
struct CaseInsensitiveHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const noexcept {
    size_t hash = 14695981039346656037ull;
    for (char c : text) {
      hash ^= static_cast<unsigned char>(FoldCase(c));
      hash *= 1099511628211ull;
    }
    return hash;
  }
};

struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
  }
};

}  // namespace

class TFields::NameIndex {
 public:
  std::unordered_map<std::string, TField*, CaseInsensitiveHash, CaseInsensitiveEqual> byName;
  bool valid = false;
};

TFields::TFields(TDataSet* dataSet) : dataSet_(dataSet), names_(std::make_unique<NameIndex>()) {}

TFields::~TFields() {
  // Fields outlive the list only when someone else owns them; they must not
  // call back into it.
  for (TField* field : list_)
    field->dataSet_ = nullptr;
}

TField* TFields::Fields(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(FormatDbMessage(SListIndexError, {index}));
  }
  return list_[static_cast<size_t>(index)];
}

int TFields::IndexOf(const TField* field) const {
  auto it = std::find(list_.begin(), list_.end(), field);
  return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

TField* TFields::FindField(std::string_view name) const {
  if (!names_->valid) {
    names_->byName.clear();
    for (TField* field : list_)
      names_->byName.emplace(field->FieldName(), field);
    names_->valid = true;
  }
  auto it = names_->byName.find(name);
  return it == names_->byName.end() ? nullptr : it->second;
}

TField* TFields::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (field == nullptr) DatabaseErrorFmt(SFieldNotFound, {name}, dataSet_);
  return field;
}

TField* TFields::FieldByNumber(int fieldNo) const {
  for (TField* field : list_) {
    if (field->FieldNo() == fieldNo) return field;
  }
  return nullptr;
}

void TFields::GetFieldNames(TStrings& names) const {
  names.BeginUpdate();
  try {
    names.Clear();
    for (TField* field : list_)
      names.Add(field->FieldName());
  } catch (...) {
    names.EndUpdate();
    throw;
  }
  names.EndUpdate();
}

void TFields::Clear() {
  if (list_.empty()) return;
  while (!list_.empty()) {
    TField* field = list_.back();
    list_.pop_back();
    field->dataSet_ = nullptr;
    delete field;
  }
  names_->valid = false;
  Changed();
}

void TFields::CheckFieldName(const std::string& name, const TField* except) const {
  if (name.empty()) DatabaseError(SFieldNameMissing, dataSet_);
  TField* existing = FindField(name);
  if (existing != nullptr && existing != except) {
    DatabaseErrorFmt(SDuplicateFieldName, {name}, dataSet_);
  }
}

void TFields::Add(TField* field) {
  list_.push_back(field);
  field->dataSet_ = dataSet_;
  names_->valid = false;
  Changed();
}

void TFields::Remove(TField* field) {
  auto it = std::find(list_.begin(), list_.end(), field);
  if (it == list_.end()) return;
  list_.erase(it);
  field->dataSet_ = nullptr;
  names_->valid = false;
  Changed();
}

void TFields::SetFieldIndex(TField* field, int index) {
  int current = IndexOf(field);
  if (current < 0) return;
  index = std::clamp(index, 0, Count() - 1);
  if (index == current) return;
  list_.erase(list_.begin() + current);
  list_.insert(list_.begin() + index, field);
}

void TFields::NamesChanged() {
  names_->valid = false;
  Changed();
}

void TFields::Changed() {
  if (dataSet_ != nullptr && !(dataSet_->ComponentState() & csDestroying)) {
    dataSet_->DataEvent(deFieldListChange, 0);
  }
}

}  // namespace vorn
