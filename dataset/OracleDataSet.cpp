// TOracleDataSet: the component, its properties, its session and its
// lifecycle (Active, Loaded). Opening, fetching and closing are in
// DataSetFetch.cpp, the record buffers, navigation and field access in
// DataSetNavigation.cpp, the stored properties in DataSetStreaming.cpp; the
// concerns of later work each have a file of their own (RecordUpdater,
// ChangeLog, DataSetBlobs, RecordSearch, QueryByExample, MasterDetail,
// DictionaryFields, SequenceField).
#include "vorn/dataset/OracleDataSet.h"

#include "ChangeLogItem.h"
#include "DataSetBlobs.h"
#include "DataSetDictionary.h"
#include "DataSetRecords.h"
#include "RecordList.h"
#include "WorkQueries.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/filter/Expression.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

TOracleDataSet::TOracleDataSet(TComponent* owner)
    : TDataSet(owner),
      sql_(std::make_unique<TStringList>()),
      sequenceField_(std::make_unique<TSequenceField>(this)),
      oracleDictionary_(std::make_unique<TOracleDictionary>(this)),
      qbeDefinition_(std::make_unique<TQBEDefinition>(this)) {
  sql_->SetOnChange([this](TObject*) { SqlChanged(); });
}

TOracleDataSet::~TOracleDataSet() {
  // The framework's close calls this class's overrides, which C++ no longer
  // reaches from ~TDataSet.
  Destroying();
  try {
    Close();
  } catch (const std::exception&) {
    // The records and buffers are released before a failure can occur.
  }
  DetachMasterDetail();
  if (query_ != nullptr && query_->Session() != nullptr) {
    query_->Session()->UnregisterDataSet(this);
  }
  // The internal, cursor and work queries are owned components and go with
  // the dataset.
}

// --- The internal query ---

TOracleQuery* TOracleDataSet::CreateQuery() {
  return new TOracleQuery(this);
}

TOracleQuery& TOracleDataSet::InternalQuery() const {
  if (query_ == nullptr) {
    auto* self = const_cast<TOracleDataSet*>(this);
    self->query_ = self->CreateQuery();
    self->query_->SetSQL(sql_.get());
    self->fetchQuery_ = self->query_;
  }
  return *query_;
}

// --- Properties held by the internal query ---

void TOracleDataSet::SetSQL(const TStrings* value) {
  sql_->Assign(value);
}

void TOracleDataSet::SqlChanged() {
  InternalQuery().SetSQL(sql_.get());
  tableNameCache_.clear();
  ReopenAfterChange();
}

void TOracleDataSet::ReopenAfterChange() {
  DataEvent(dePropertyChange, 0);
  if (!Active()) return;
  Close();
  Open();
}

int TOracleDataSet::ReadBuffer() const {
  return InternalQuery().ReadBuffer();
}

void TOracleDataSet::SetReadBuffer(int value) {
  InternalQuery().SetReadBuffer(value);
}

bool TOracleDataSet::Optimize() const {
  return InternalQuery().Optimize();
}

void TOracleDataSet::SetOptimize(bool value) {
  InternalQuery().SetOptimize(value);
}

bool TOracleDataSet::Debug() const {
  return InternalQuery().Debug();
}

void TOracleDataSet::SetDebug(bool value) {
  InternalQuery().SetDebug(value);
  if (workQuery_ != nullptr) workQuery_->SetDebug(value);
}

TCursor TOracleDataSet::Cursor() const {
  return InternalQuery().Cursor();
}

void TOracleDataSet::SetCursor(TCursor value) {
  InternalQuery().SetCursor(value);
}

TVariables* TOracleDataSet::Variables() const {
  return InternalQuery().Variables();
}

void TOracleDataSet::SetVariables(const TVariables* value) {
  InternalQuery().SetVariables(value);
}

void TOracleDataSet::DeclareVariable(const std::string& name, int typeCode) {
  InternalQuery().DeclareVariable(name, typeCode);
}

void TOracleDataSet::SetVariable(const std::string& name, const Variant& value) {
  InternalQuery().SetVariable(name, value);
}

Variant TOracleDataSet::GetVariable(const std::string& name) const {
  return InternalQuery().GetVariable(name);
}

void TOracleDataSet::SetComplexVariable(const std::string& name, TObject* instance) {
  InternalQuery().SetComplexVariable(name, instance);
}

void TOracleDataSet::DeleteVariable(const std::string& name) {
  InternalQuery().DeleteVariable(name);
}

void TOracleDataSet::DeleteVariables() {
  InternalQuery().DeleteVariables();
}

bool TOracleDataSet::StringFieldsOnly() const {
  return InternalQuery().StringFieldsOnly();
}

void TOracleDataSet::SetStringFieldsOnly(bool value) {
  if (value == StringFieldsOnly()) return;
  InternalQuery().SetStringFieldsOnly(value);
  ReopenAfterChange();
}

// --- The session ---

TOracleSession* TOracleDataSet::Session() const {
  return InternalQuery().Session();
}

void TOracleDataSet::SetSession(TOracleSession* value) {
  TOracleSession* old = Session();
  if (value == old) return;
  // Closing must not forget an activation waiting for a session.
  const bool pending = activateOnLoad_;
  Close();
  activateOnLoad_ = pending;
  if (old != nullptr) old->UnregisterDataSet(this);
  InternalQuery().SetSession(value);
  if (value != nullptr) value->RegisterDataSet(this);
  if (activateOnLoad_ && !(ComponentState() & (csReading | csLoading))) OpenDeferred();
}

void TOracleDataSet::DetachFromSession() {
  // The session is going: whatever closing raises, the dataset must leave
  // its list and take no session from now on.
  try {
    Close();
  } catch (const std::exception&) {
    // The records are released before a failure can occur.
  }
  TOracleSession* session = Session();
  if (session != nullptr) session->UnregisterDataSet(this);
  try {
    InternalQuery().SetSession(nullptr);
  } catch (const std::exception&) {
    // The query has left the session all the same.
  }
}

void TOracleDataSet::ResetDataSetFieldDefs() {
  Close();
  FieldDefs().Clear();
  FieldDefs().SetUpdated(false);
}

// --- The option objects ---

void TOracleDataSet::SetSequenceField(const TSequenceField* value) {
  sequenceField_->Assign(value);
}

void TOracleDataSet::SetOracleDictionary(const TOracleDictionary* value) {
  oracleDictionary_->Assign(value);
}

void TOracleDataSet::SetQBEDefinition(const TQBEDefinition* value) {
  qbeDefinition_->Assign(value);
}

bool TOracleDataSet::EnforceConstraints() const {
  return oracleDictionary_->EnforceConstraints();
}

void TOracleDataSet::SetEnforceConstraints(bool value) {
  oracleDictionary_->SetEnforceConstraints(value);
  if (DesigningAlone()) {
    ShowMessage("EnforceConstraints is obsolete. Use OracleDictionary.EnforceConstraints instead");
  }
}

void TOracleDataSet::SetRefreshMode(TRefreshModeOptions value) {
  if (!(ComponentState() & (csReading | csLoading))) {
    throw Exception("RefreshMode is obsolete, use RefreshOptions instead");
  }
  if (value == rmAfterInsert) refreshOptions_ |= roAfterInsert;
  if (value == rmAfterUpdate) refreshOptions_ |= roAfterInsert | roAfterUpdate;
}

void TOracleDataSet::SetUpdatingTable(const std::string& value) {
  updatingTable_ = value;
  tableNameCache_.clear();
}

void TOracleDataSet::SetMasterFields(const std::string& value) {
  if (value == masterFields_) return;
  Close();
  masterFields_ = value;
}

void TOracleDataSet::SetDetailFields(const std::string& value) {
  if (value == detailFields_) return;
  Close();
  detailFields_ = value;
}

// --- Lifecycle ---

bool TOracleDataSet::DesigningAlone() const {
  const TComponentState state = ComponentState();
  return (state & csDesigning) && !(state & (csLoading | csReading | csWriting | csDestroying));
}

void TOracleDataSet::SetActive(bool active) {
  const TComponentState state = ComponentState();
  const bool reading = (state & (csReading | csLoading)) != 0;
  // A form's stored Active counts only in the designer then.
  if (designActivation_ && !(state & csDesigning) && (state & csReading)) return;
  if (reading || (active && (state & csDesigning) && Session() == nullptr)) {
    activateOnLoad_ = active;
    return;
  }
  activateOnLoad_ = false;
  if (active == Active()) return;
  TDataSet::SetActive(active);
  if (active && qbeMode_) EnterQBEState();
}

void TOracleDataSet::OpenDeferred() {
  TOracleSession* session = Session();
  if (session != nullptr && !session->Connected() && !(ComponentState() & csDesigning)) {
    // Opened later by the program, once its session is connected.
    activateOnLoad_ = false;
    return;
  }
  SetActive(true);
}

void TOracleDataSet::Loaded() {
  TDataSet::Loaded();
  if (!activateOnLoad_) return;
  try {
    OpenDeferred();
  } catch (...) {
    if (!(ComponentState() & csDesigning)) throw;
    InternalHandleException();
  }
}

void TOracleDataSet::FireEvent(const TOracleDataSetEvent& event) {
  if (event) event(this);
}

// --- Framework hooks ---

void TOracleDataSet::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deFieldListChange && DesigningAlone()) ApplyDictionaryFieldSettings();
  if (NotifyingDetails()) return;
  UpdateDetails(event);
  TDataSet::DataEvent(event, info);
}

void TOracleDataSet::DoBeforeInsert() {
  if (qbeMode_) return;
  NotifyDetailsOfInsert(true);
  TDataSet::DoBeforeInsert();
}

void TOracleDataSet::DoAfterInsert() {
  if (qbeMode_) return;
  NotifyDetailsOfInsert(false);
  TDataSet::DoAfterInsert();
}

void TOracleDataSet::DoBeforeCancel() {
  if (qbeMode_) return;
  NotifyDetailsOfCancel(true);
  TDataSet::DoBeforeCancel();
}

void TOracleDataSet::DoAfterCancel() {
  if (qbeMode_) return;
  NotifyDetailsOfCancel(false);
  TDataSet::DoAfterCancel();
}

void TOracleDataSet::DoBeforeScroll() {
  PostDetails();
  TDataSet::DoBeforeScroll();
}

void TOracleDataSet::DoOnNewRecord() {
  if (qbeMode_) {
    if (records_ != nullptr && records_->VisibleCount() > 0) {
      throw Exception("Operation not allowed in QBE mode");
    }
    return;
  }
  CheckMasterFieldValues();
  initializingRecord_ = true;
  try {
    CopyMasterFieldValues();
    ApplySequenceOnNewRecord();
    if (oracleDictionary_->DefaultValues()) ApplyDefaultValues();
  } catch (...) {
    initializingRecord_ = false;
    throw;
  }
  initializingRecord_ = false;
  TDataSet::DoOnNewRecord();
}

}  // namespace vorn
