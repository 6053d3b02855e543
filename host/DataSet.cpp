// TDataSet: construction, opening and closing, states, data events and
// DisableControls, fields and definitions, calculated fields, and the event
// hooks. The record window and navigation are in DataSetWindow.cpp, the
// modification sequences in DataSetEditing.cpp.
#include "vorn/host/DataSet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "vorn/host/Application.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/BooleanField.h"
#include "vorn/host/DataLink.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/DateTimeFields.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/StringField.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

[[noreturn]] void DestroyedWhileOpen(const std::string& name) {
  std::fprintf(stderr,
               "TDataSet%s%s destroyed while open: a TDataSet descendant must call "
               "Destroying() and Close() at the start of its destructor\n",
               name.empty() ? "" : " ", name.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner),
      fieldDefs_(std::make_unique<TFieldDefs>(this)),
      fields_(std::make_unique<TFields>(this)) {}

TDataSet::~TDataSet() {
  Destroying();
  // Only the descendant can free its record buffers and cursor, and C++ no
  // longer reaches its overrides from here: a dataset still open now was
  // left open by a descendant's destructor. Going on would leak every
  // window buffer and leave data sources pointing at a half-destroyed
  // dataset, so the mistake stops the program in every build, with a
  // message naming it.
  if (!buffers_.empty() || Active()) DestroyedWhileOpen(Name());
  state_ = dsInactive;
  while (!dataSources_.empty())
    RemoveDataSource(dataSources_.back());
  // Fields owned here (the default ones) go with the owned components while
  // the dataset is still whole; fields owned elsewhere are only detached.
  DestroyComponents();
  fields_.reset();
}

// --- Opening and closing

void TDataSet::SetActive(bool active) {
  if (ComponentState() & csReading) {
    streamedActive_ = active;
    return;
  }
  if (active == Active()) return;
  const bool destroying = (ComponentState() & csDestroying) != 0;
  if (active) {
    DoBeforeOpen();
    OpenCursor();
    SetState(dsBrowse);
    DoAfterOpen();
    if (!IsEmpty()) DoAfterScroll();
  } else {
    if (!destroying) DoBeforeClose();
    SetState(dsInactive);
    CloseCursor();
    if (!destroying) DoAfterClose();
  }
}

void TDataSet::OpenCursor() {
  try {
    defaultFields_ = FieldCount() == 0;
    InternalOpen();
    if (IsCursorOpen()) {
      ClearBuffers();
      UpdateBufferCount();
      bof_ = true;
    }
  } catch (...) {
    // The first failure is the one to report; closing what was opened must
    // not replace it.
    try {
      CloseCursor();
    } catch (...) {
    }
    throw;
  }
}

void TDataSet::CloseCursor() {
  FreeFieldBuffers();
  ClearBuffers();
  for (TRecordBuffer& buffer : buffers_) {
    if (buffer != nullptr) FreeRecordBuffer(buffer);
  }
  buffers_.clear();
  InternalClose();
  bufferCount_ = 0;
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  try {
    if (streamedActive_) SetActive(true);
  } catch (...) {
    if (!(ComponentState() & csDesigning)) throw;
    InternalHandleException();
  }
}

void TDataSet::InternalHandleException() {
  Application().HandleException(this);
}

// --- States

void TDataSet::SetState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  modified_ = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
  TDataSetState previous = state_;
  state_ = state;
  ++disableCount_;
  return previous;
}

void TDataSet::RestoreState(TDataSetState state) {
  state_ = state;
  if (disableCount_ > 0) --disableCount_;
}

TDataSetState TDataSet::SwapState(TDataSetState state) {
  TDataSetState previous = state_;
  state_ = state;
  return previous;
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError(SDataSetClosed, this);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(SDataSetOpen, this);
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError(SDataSetReadOnly, this);
}

// --- Data events

void TDataSet::DisableControls() {
  if (disableCount_ == 0) {
    disableState_ = state_;
    enableEvent_ = deDataSetChange;
  }
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ != 0) return;
  if (disableState_ != state_) DataEvent(deUpdateState, 0);
  if (disableState_ != dsInactive && state_ != dsInactive) DataEvent(enableEvent_, 0);
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  bool notifySources = !ControlsDisabled() && state_ != dsBlockRead;
  switch (event) {
    case deFieldChange: {
      auto* field = reinterpret_cast<TField*>(info);
      if (field == nullptr) break;
      if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) modified_ = true;
      // Calculated fields follow data changes at once; assignments made by
      // OnCalcFields are not data changes, so this does not recurse.
      if (state_ != dsSetKey && field->FieldKind() == fkData && calcFieldCount_ > 0 &&
          autoCalcFields_) {
        CalculateFields(ActiveBuffer());
      }
      field->Change();
      break;
    }
    case dePropertyChange:
      fieldDefs_->SetUpdated(false);
      break;
    case deLayoutChange:
      if (ControlsDisabled()) enableEvent_ = deLayoutChange;
      break;
    case deUpdateState:
      if (ControlsDisabled()) {
        event = deDisabledStateChange;
        info = Active() ? 1 : 0;
        notifySources = true;
      }
      break;
    default:
      break;
  }
  if (!notifySources) return;
  // A handler may attach or detach sources; the sources of this moment hear
  // the event.
  std::vector<TDataSource*> sources = dataSources_;
  for (TDataSource* source : sources) {
    if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end()) {
      source->DataEvent(event, info);
    }
  }
}

void TDataSet::AddDataSource(TDataSource* dataSource) {
  dataSources_.push_back(dataSource);
  dataSource->dataSet_ = this;
  UpdateBufferCount();
  dataSource->UpdateState();
}

void TDataSet::RemoveDataSource(TDataSource* dataSource) {
  dataSource->dataSet_ = nullptr;
  dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), dataSource),
                     dataSources_.end());
  dataSource->UpdateState();
  UpdateBufferCount();
}

// --- Fields and definitions

void TDataSet::InitFieldDefs() {
  InternalInitFieldDefs();
  fieldDefs_->SetUpdated(true);
}

TFieldClass TDataSet::GetFieldClass(TFieldType type) {
  switch (type) {
    case ftString:
      return [](TComponent* owner) -> TField* { return new TStringField(owner); };
    case ftSmallint:
      return [](TComponent* owner) -> TField* { return new TSmallintField(owner); };
    case ftInteger:
      return [](TComponent* owner) -> TField* { return new TIntegerField(owner); };
    case ftWord:
      return [](TComponent* owner) -> TField* { return new TWordField(owner); };
    case ftLargeint:
      return [](TComponent* owner) -> TField* { return new TLargeintField(owner); };
    case ftBoolean:
      return [](TComponent* owner) -> TField* { return new TBooleanField(owner); };
    case ftFloat:
      return [](TComponent* owner) -> TField* { return new TFloatField(owner); };
    case ftCurrency:
      return [](TComponent* owner) -> TField* { return new TCurrencyField(owner); };
    case ftBCD:
      return [](TComponent* owner) -> TField* { return new TBCDField(owner); };
    case ftDate:
      return [](TComponent* owner) -> TField* { return new TDateField(owner); };
    case ftTime:
      return [](TComponent* owner) -> TField* { return new TTimeField(owner); };
    case ftDateTime:
      return [](TComponent* owner) -> TField* { return new TDateTimeField(owner); };
    case ftBlob:
      return [](TComponent* owner) -> TField* { return new TBlobField(owner); };
    case ftMemo:
      return [](TComponent* owner) -> TField* { return new TMemoField(owner); };
    default:
      return nullptr;
  }
}

void TDataSet::CreateFields() {
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    TFieldDef* def = fieldDefs_->Items(i);
    if (def->DataType() != ftUnknown && !(def->Attributes() & faHiddenCol)) def->CreateField(this);
  }
}

void TDataSet::DestroyFields() {
  fields_->Clear();
}

void TDataSet::BindFields(bool binding) {
  calcFieldsSize_ = 0;
  calcFieldCount_ = 0;
  for (TField* field : *fields_) {
    if (!binding) {
      field->fieldNo_ = 0;
      continue;
    }
    if (field->FieldKind() == fkCalculated || field->FieldKind() == fkLookup) {
      field->fieldNo_ = -1;
      field->offset_ = calcFieldsSize_;
      // One byte more than the value: room for the descendant's null flag.
      calcFieldsSize_ += field->DataSize() + 1;
      ++calcFieldCount_;
      continue;
    }
    const TFieldDef* def = fieldDefs_->Find(field->FieldName());
    if (def == nullptr) DatabaseErrorFmt(SFieldNotFound, {field->DisplayName()}, this);
    if (def->DataType() != field->DataType()) {
      DatabaseErrorFmt(
          SFieldTypeMismatch,
          {field->DisplayName(), FieldTypeName(field->DataType()), FieldTypeName(def->DataType())},
          this);
    }
    field->fieldNo_ = def->FieldNo();
  }
}

void TDataSet::FreeFieldBuffers() {
  for (TField* field : *fields_)
    field->FreeBuffers();
}

void TDataSet::GetFieldList(std::vector<TField*>& list, std::string_view fieldNames) const {
  list.clear();
  size_t position = 0;
  while (position < fieldNames.size()) {
    size_t end = fieldNames.find(';', position);
    if (end == std::string_view::npos) end = fieldNames.size();
    list.push_back(FieldByName(Trim(fieldNames.substr(position, end - position))));
    position = end + 1;
  }
}

void TDataSet::GetFieldNames(TStrings& names) const {
  fields_->GetFieldNames(names);
}

Variant TDataSet::FieldValues(const std::string& fieldNames) const {
  std::vector<TField*> list;
  GetFieldList(list, fieldNames);
  if (list.size() == 1) return list[0]->Value();
  Variant values = VarArrayCreate(0, static_cast<int>(list.size()) - 1, varVariant);
  for (size_t i = 0; i < list.size(); ++i)
    values.PutElement(static_cast<int>(i), list[i]->Value());
  return values;
}

void TDataSet::SetFieldValues(const std::string& fieldNames, const Variant& values) {
  std::vector<TField*> list;
  GetFieldList(list, fieldNames);
  if (list.size() == 1) {
    list[0]->SetValue(values);
    return;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    list[i]->SetValue(values.GetElement(values.LowBound() + static_cast<int>(i)));
  }
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField* /*field*/, TBlobStreamMode /*mode*/) {
  return nullptr;
}

void TDataSet::CloseBlob(TField* /*field*/) {}

// --- Calculated fields

void TDataSet::GetCalcFields(TRecordBuffer buffer) {
  if (calcFieldCount_ == 0) return;
  TDataSetState saved = SwapState(dsCalcFields);
  try {
    CalculateFields(buffer);
  } catch (...) {
    SwapState(saved);
    throw;
  }
  SwapState(saved);
}

void TDataSet::CalculateFields(TRecordBuffer buffer) {
  calcBuffer_ = buffer;
  // Lookup fields keep their kind but are not computed by this framework.
  if (state_ != dsInternalCalc) ClearCalcFields(buffer);
  DoOnCalcFields();
}

void TDataSet::ClearCalcFields(TRecordBuffer /*buffer*/) {}

// --- Searching, filtering, status

void TDataSet::SetRecNo(int /*recNo*/) {}

bool TDataSet::Locate(const std::string& /*keyFields*/, const Variant& /*keyValues*/,
                      TLocateOptions /*options*/) {
  return false;
}

Variant TDataSet::Lookup(const std::string& /*keyFields*/, const Variant& /*keyValues*/,
                         const std::string& /*resultFields*/) {
  return Null();
}

void TDataSet::SetFiltered(bool value) {
  filtered_ = value;
}

void TDataSet::SetFilterText(const std::string& value) {
  filterText_ = value;
}

void TDataSet::SetFilterOptions(TFilterOptions value) {
  filterOptions_ = value;
}

TUpdateStatus TDataSet::UpdateStatus() {
  return usUnmodified;
}

// --- Event hooks

#define VORN_FIRE(Hook, member) \
  void TDataSet::Hook() {       \
    if (member) member(this);   \
  }

VORN_FIRE(DoBeforeOpen, beforeOpen_)
VORN_FIRE(DoAfterOpen, afterOpen_)
VORN_FIRE(DoBeforeClose, beforeClose_)
VORN_FIRE(DoAfterClose, afterClose_)
VORN_FIRE(DoBeforeInsert, beforeInsert_)
VORN_FIRE(DoAfterInsert, afterInsert_)
VORN_FIRE(DoBeforeEdit, beforeEdit_)
VORN_FIRE(DoAfterEdit, afterEdit_)
VORN_FIRE(DoBeforePost, beforePost_)
VORN_FIRE(DoAfterPost, afterPost_)
VORN_FIRE(DoBeforeCancel, beforeCancel_)
VORN_FIRE(DoAfterCancel, afterCancel_)
VORN_FIRE(DoBeforeDelete, beforeDelete_)
VORN_FIRE(DoAfterDelete, afterDelete_)
VORN_FIRE(DoBeforeScroll, beforeScroll_)
VORN_FIRE(DoAfterScroll, afterScroll_)
VORN_FIRE(DoBeforeRefresh, beforeRefresh_)
VORN_FIRE(DoAfterRefresh, afterRefresh_)
VORN_FIRE(DoOnCalcFields, onCalcFields_)
VORN_FIRE(DoOnNewRecord, onNewRecord_)

#undef VORN_FIRE

}  // namespace vorn
