// TOracleQuery: the component, its lifecycle and the execution of a
// statement: parse, bind, execute, describe and fetch, through the call set
// of the session (StatementCalls.h). Field access is in QueryFields.cpp,
// the variable operations in QueryVariables.cpp, Array DML in ArrayDml.cpp.
#include "vorn/query/OracleQuery.h"

#include <algorithm>
#include <optional>

#include "ColumnBuffers.h"
#include "Oci7Cursor.h"
#include "Oci8Statement.h"
#include "RowIdText.h"
#include "StatementCalls.h"
#include "VariableValues.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/Screen.h"
#include "vorn/host/Thread.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/OracleReference.h"
#include "vorn/query/QueryThread.h"
#include "vorn/query/SqlVariables.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

// Statement types whose parse an unchanged text keeps (Optimize): insert,
// select, update, delete, set transaction, PL/SQL, lock table, commit,
// rollback and savepoint.
constexpr int kReusableTypes[] = {3, 4, 5, 9, 33, 34, 35, 54, 55, 56};

bool Reusable(int statementType) {
  return std::find(std::begin(kReusableTypes), std::end(kReusableTypes), statementType) !=
         std::end(kReusableTypes);
}

}  // namespace

TOracleQuery::TOracleQuery(TComponent* owner)
    : TComponent(owner),
      sql_(std::make_unique<TStringList>()),
      variables_(std::make_unique<TVariables>(this)),
      fields_(nullptr) {
  sql_->SetOnChange([this](TObject*) { SqlChanged(); });
}

TOracleQuery::~TOracleQuery() {
  if (thread_ != nullptr) {
    if (thread_->InEventHere()) {
      // Destroyed by its own event handler: the thread is parked in that
      // event, so it cannot be waited for; it leaves this query alone and
      // frees itself.
      thread_.release()->Orphan();
    } else {
      thread_->Stop();
      thread_.reset();
    }
  }
  if (session_ != nullptr) {
    session_->UnregisterQuery(this);
    try {
      Close();
    } catch (const std::exception&) {
      // The handles go with the query all the same.
    }
    session_ = nullptr;
  }
  ClearColumns();
  if (calls_ != nullptr) calls_->Forget();
}

// --- Properties ---

void TOracleQuery::SetSQL(const TStrings* value) {
  sql_->Assign(value);
}

void TOracleQuery::SetSession(TOracleSession* value) {
  if (value == session_) return;
  if (session_ != nullptr) {
    session_->UnregisterQuery(this);
    Close();
  }
  session_ = value;
  if (session_ != nullptr) session_->RegisterQuery(this);
}

void TOracleQuery::SetVariables(const TVariables* value) {
  variables_->Assign(value);
  VariablesChanged();
}

void TOracleQuery::SetStringFieldsOnly(bool value) {
  if (value == stringFieldsOnly_) return;
  stringFieldsOnly_ = value;
  ForgetParse();
}

void TOracleQuery::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "SQL",
      [this](TReader& reader) {
        sql_->Clear();
        reader.ReadListBegin();
        while (!reader.EndOfList())
          sql_->Add(reader.ReadString());
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int i = 0; i < sql_->Count(); ++i)
          writer.WriteString(sql_->Strings(i));
        writer.WriteListEnd();
      },
      sql_->Count() > 0);
  const auto integer = [&filer](const char* name, int value, int defaultValue, auto setter) {
    filer.DefineProperty(
        name, [setter](TReader& reader) { setter(reader.ReadInteger()); },
        [value](TWriter& writer) { writer.WriteInteger(value); }, value != defaultValue);
  };
  const auto flag = [&filer](const char* name, bool value, bool defaultValue, auto setter) {
    filer.DefineProperty(
        name, [setter](TReader& reader) { setter(reader.ReadBoolean()); },
        [value](TWriter& writer) { writer.WriteBoolean(value); }, value != defaultValue);
  };
  integer("ReadBuffer", readBuffer_, 25, [this](int value) { SetReadBuffer(value); });
  flag("Optimize", optimize_, true, [this](bool value) { SetOptimize(value); });
  flag("Debug", debug_, false, [this](bool value) { SetDebug(value); });
  integer("Cursor", cursor_, crDefault, [this](int value) { SetCursor(value); });
  flag("StringFieldsOnly", stringFieldsOnly_, false,
       [this](bool value) { SetStringFieldsOnly(value); });
  flag("Threaded", threaded_, false, [this](bool value) { SetThreaded(value); });
  flag("ThreadSynchronized", threadSynchronized_, true,
       [this](bool value) { SetThreadSynchronized(value); });
  filer.DefinePersistent("Variables", *variables_);
}

// --- Execution ---

void TOracleQuery::Execute() {
  if (!threaded_) {
    ExecuteArray(-1, -1);
    return;
  }
  if (ThreadIsRunning()) throw Exception("Query thread is still in progress");
  // A thread that an object other than an exception ended cannot start
  // again; a new one takes its place.
  if (thread_ != nullptr && thread_->Finished()) thread_.reset();
  if (thread_ == nullptr) thread_.reset(new TQueryThread(this));
  PrepareSessionFacts();
  thread_->StartCycle();
}

bool TOracleQuery::ThreadIsRunning() const {
  return thread_ != nullptr && thread_->Running();
}

void TOracleQuery::BreakThread() {
  if (thread_ != nullptr) thread_->RequestBreak();
}

void TOracleQuery::WaitForThread() {
  if (thread_ != nullptr) thread_->WaitForCycle();
}

void TOracleQuery::EndThreadCycle() {
  if (!ThreadIsRunning()) return;
  thread_->RequestBreak();
  // Within the query's own event the thread is parked there and, with the
  // break asked for, makes no further client call; on the thread itself
  // (its session closing the query under it) there is nothing to wait for.
  if (thread_->InEventHere() || thread_->OnThisThread()) return;
  thread_->WaitForCycle();
}

void TOracleQuery::PrepareSessionFacts() {
  // The session learns some facts on first use by asking the server; a
  // thread must find them known, not ask beside other threads.
  if (session_ == nullptr || !session_->Connected()) return;
  for (int i = 0; i < variables_->Count(); ++i) {
    const int code = variables_->Items(i)->TypeCode();
    if (code == otString || code == otChar) {
      session_->MaxStringLength();
      break;
    }
  }
  if (stringFieldsOnly_) session_->DateTextLength();
}

TCursor TOracleQuery::ShownCursor() const {
  // Only the main thread shows cursors (and messages): the screen is its
  // own.
  return IsMainThread() ? cursor_ : crDefault;
}

void TOracleQuery::Describe() {
  if (ThreadIsRunning()) throw Exception("Query thread is still in progress");
  CoreExecute(true, 0, 0);
}

void TOracleQuery::CoreExecute(bool describeOnly, int end, int start) {
  if (session_ == nullptr) throw Exception("Session undefined");
  uint32_t mode = describeOnly ? OCI_DESCRIBE_ONLY : OCI_DEFAULT;
  if (!describeOnly && session_->AutoCommit()) mode = OCI_COMMIT_ON_SUCCESS;
  eof_ = true;
  PrepareClient();
  session_->DropStaleHandles();
  if (!session_->Connected()) throw Exception("Not logged on");
  if (debug_ && !describeOnly && !cursorTarget_) ShowDebug();
  Parse();
  if (statementType_ != kOci7FunctionSelect) {
    ExecuteNonQuery(describeOnly, end, start, mode);
  } else {
    ExecuteQuery(describeOnly, mode);
  }
  NormaliseComplexVariables();
}

void TOracleQuery::PrepareClient() {
  if (IsClientLibraryLoaded()) return;
  if (session_->TakesODBCRoute() && !session_->OCAInstalled() && ClientLibraryPath().empty()) {
    SetClientLibraryPath("ora73.dll");
  }
  TCursorGuard wait(ShownCursor());
  LoadClientLibrary();
}

void TOracleQuery::ShowDebug() {
  std::string text = SubstitutedText();
  for (int i = 0; i < variables_->Count(); ++i) {
    const TVariableData& variable = *variables_->Items(i);
    std::string value;
    if (variable.IsPLSQLTable()) {
      value = "(PL/SQL Table)";
    } else if (variable.ElementCount() > 1) {
      value = "(Array)";
    } else {
      switch (variable.TypeCode()) {
        case otCLOB:
          value = "(CLOB)";
          break;
        case otBLOB:
          value = "(BLOB)";
          break;
        case otBFile:
          value = "(BFile)";
          break;
        case otCursor:
          value = "(Cursor)";
          break;
        case otLong:
          value = "(Long)";
          break;
        case otLongRaw:
          value = "(Long Raw)";
          break;
        case otObject:
          value = "(Object)";
          break;
        case otReference:
          value = "(Reference)";
          break;
        default: {
          const Variant current = VariableValues::GetElement(variable, 0, session_);
          value = current.IsEmpty() || current.IsNull() ? "Null" : current.AsString();
        }
      }
    }
    text += "\r" + variable.Name() + " = " + value;
  }
  TThread::Synchronize(nullptr, [&text] { MessageDlg(text, mtInformation, mbOK); });
}

StatementCalls& TOracleQuery::Calls() {
  return *calls_;
}

void TOracleQuery::Open() {
  if (calls_ != nullptr && calls_->Stale()) {
    // The library was unloaded under the query: its handles are gone.
    calls_->Forget();
    calls_.reset();
    ClearColumns();
    described_ = false;
    ForgetParse();
  }
  if (calls_ != nullptr) return;
  std::unique_ptr<StatementCalls> calls;
  if (session_->UsesOCI8()) {
    calls = std::make_unique<Oci8Statement>(*session_);
  } else {
    calls = std::make_unique<Oci7Cursor>(*session_);
  }
  SessionCallLock lock(*session_);
  if (calls->Open() != 0) throw calls->Error(lock);
  calls_ = std::move(calls);
  for (int i = 0; i < variables_->Count(); ++i)
    variables_->Items(i)->bindHandle_ = nullptr;
}

std::string TOracleQuery::SubstitutedText() {
  if (!sqlTextValid_) {
    sqlText_.clear();
    for (int i = 0; i < sql_->Count(); ++i) {
      if (i > 0) sqlText_ += "\r\n";
      sqlText_ += sql_->Strings(i);
    }
    sqlTextValid_ = true;
  }
  bool substitutes = false;
  for (int i = 0; i < variables_->Count() && !substitutes; ++i) {
    substitutes = variables_->Items(i)->TypeCode() == otSubst;
  }
  if (!substitutes) return sqlText_;
  std::string text = sqlText_;
  const std::vector<TVariableOccurrence> found = ScanVariables(text, true);
  for (auto occurrence = found.rbegin(); occurrence != found.rend(); ++occurrence) {
    const TVariableData* variable = variables_->Find(occurrence->Name);
    if (variable == nullptr || variable->TypeCode() != otSubst) continue;
    const Variant value = GetVariable(variable->Name());
    const std::string replacement = value.IsEmpty() || value.IsNull() ? "" : value.AsString();
    text.replace(static_cast<size_t>(occurrence->Position) - 1, occurrence->Name.size() + 1,
                 replacement);
  }
  return text;
}

std::string TOracleQuery::PreparedText() {
  std::string text = WithoutCr(SubstitutedText());
  if (text.empty()) text = " ";
  return text;
}

bool TOracleQuery::MustParseAgain() const {
  for (int i = 0; i < variables_->Count(); ++i) {
    const TVariableData& variable = *variables_->Items(i);
    if (variable.TypeCode() == otLong || variable.TypeCode() == otLongRaw ||
        variable.IsPLSQLTable() || variable.ElementCount() > 1) {
      return true;
    }
  }
  return false;
}

void TOracleQuery::Parse() {
  errorLine_ = 0;
  errorPosition_ = 0;
  Open();
  if (cursorTarget_) {
    statementType_ = kOci7FunctionSelect;
    described_ = false;
    return;
  }
  const std::string text = PreparedText();
  if (calls_->UsesOCI8() && MustParseAgain()) ForgetParse();
  if (optimize_ && text == rememberedText_ && Reusable(statementType_)) return;
  ClearColumns();
  rememberedText_ = text;
  statementType_ = 0;
  std::optional<EOracleError> failure;
  {
    TCursorGuard wait(ShownCursor());
    SessionCallLock lock(*session_);
    if (calls_->Parse(text) != 0) {
      failure.emplace(calls_->Error(lock));
    } else {
      statementType_ = calls_->StatementType();
    }
  }
  // A new statement handle has no binds.
  for (int i = 0; i < variables_->Count(); ++i)
    variables_->Items(i)->bindHandle_ = nullptr;
  if (failure) RaiseExecutionError(*failure, true);
  described_ = false;
}

void TOracleQuery::Bind() {
  arrayCount_ = 0;
  for (int i = 0; i < variables_->Count(); ++i) {
    TVariableData& variable = *variables_->Items(i);
    const int code = variable.TypeCode();
    if (code == otSubst) continue;
    BindRequest request;
    request.externalType = code == otPLSQLString ? otString : code;
    request.value = variable.Buffer();
    request.elementSize = variable.ElementSize();
    switch (code) {
      case otString:
      case otChar:
        request.elementSize = std::min(request.elementSize, VariableValues::StringLimit(session_));
        break;
      case otLong:
      case otLongRaw:
        request.passLength = variable.ElementSize() <= 65535;
        if (request.passLength) {
          variable.bindLength_ = static_cast<ub2>(variable.Length());
        } else {
          // The length is the value's size then; the terminator of a long
          // text is not part of the value.
          request.elementSize = variable.Length();
        }
        break;
      case otObject:
      case otReference:
      case otCLOB:
      case otBLOB:
      case otBFile:
        BindInstance(variable, request);
        break;
      case otCursor: {
        auto* target = dynamic_cast<TOracleQuery*>(variable.Instance());
        if (target == nullptr)
          throw Exception("Cursor variable " + variable.Name() + " cannot be nil");
        target->Close();
        target->Clear();
        if (target->session_ == nullptr) target->SetSession(session_);
        target->cursorTarget_ = true;
        target->Open();
        request.externalType = calls_->UsesOCI8() ? SQLT_RSET : SQLT_CUR;
        request.value = target->calls_->BecomeCursorTarget();
        request.elementSize = 0;
        variable.indicators_[0] = 0;
        break;
      }
      default:
        break;
    }
    request.table = variable.IsPLSQLTable();
    if (request.table) {
      arrayCount_ = 1;
    } else if (arrayCount_ == 0) {
      arrayCount_ = variable.ElementCount();
    } else if (variable.ElementCount() != arrayCount_) {
      throw Exception("All arrays must be of equal size for Array DML");
    }
    SessionCallLock lock(*session_);
    if (calls_->Bind(variable, request) != 0) {
      EOracleError error = calls_->Error(lock);
      RaiseExecutionError(error, false);
    }
  }
}

void TOracleQuery::BindInstance(TVariableData& variable, BindRequest& request) {
  switch (variable.TypeCode()) {
    case otObject: {
      session_->CheckOCI8Feature("An object variable");
      auto* object = dynamic_cast<TOracleObject*>(variable.Instance());
      if (object == nullptr) {
        throw Exception("Object variable " + variable.Name() + " cannot be nil");
      }
      if (object->Instance() == nullptr) throw Exception("TOracleObject has no instance");
      variable.indicators_[0] = 0;
      request.value = &object->instance_;
      request.elementSize = sizeof(void*);
      request.objectType = object->TypeDescriptor();
      request.objectNulls = &object->nullStructure_;
      break;
    }
    case otReference: {
      session_->CheckOCI8Feature("A reference variable");
      auto* reference = dynamic_cast<TOracleReference*>(variable.Instance());
      if (reference == nullptr) {
        throw Exception("Reference variable " + variable.Name() + " cannot be nil");
      }
      variable.indicators_[0] = reference->IsNull() ? -1 : 0;
      request.value = reference->RefAddress();
      request.elementSize = sizeof(void*);
      request.objectType = reference->TypeDescriptor();
      break;
    }
    case otCLOB:
    case otBLOB:
    case otBFile: {
      session_->CheckOCI8Feature("A LOB Locator variable");
      auto* locator = dynamic_cast<TLOBLocator*>(variable.Instance());
      if (locator == nullptr) throw Exception("LOB variable " + variable.Name() + " cannot be nil");
      variable.indicators_[0] = locator->IsNull() ? -1 : 0;
      request.value = locator->LocatorAddress();
      request.elementSize = sizeof(OCILobLocator*);
      break;
    }
    default:
      break;
  }
}

void TOracleQuery::ExecuteNonQuery(bool describeOnly, int end, int start, uint32_t mode) {
  Bind();
  std::optional<EOracleError> failure;
  {
    TCursorGuard wait(ShownCursor());
    SessionCallLock lock(*session_);
    int iterations = 1;
    int from = 0;
    if (arrayCount_ > 1) {
      iterations = end < 1 ? arrayCount_ : end;
      from = end < 1 ? 0 : start;
    }
    if (!describeOnly) {
      if (calls_->Execute(iterations, from, mode) != 0) {
        failure.emplace(calls_->Error(lock));
      } else {
        statementType_ = calls_->FunctionCode();
      }
    }
  }
  if (failure) RaiseExecutionError(*failure, true);
}

void TOracleQuery::ExecuteQuery(bool describeOnly, uint32_t mode) {
  Bind();
  int executedRows = 0;
  if (calls_->UsesOCI8() && !(cursorTarget_ || (described_ && describeOnly))) {
    // A described select fetches its first batch with the execution.
    executedRows = described_ && !describeOnly ? rowsPerFetch_ : 0;
    if (executedRows > 0) ResetColumnsForFetch();
    std::optional<EOracleError> failure;
    {
      TCursorGuard wait(ShownCursor());
      SessionCallLock lock(*session_);
      const int code = calls_->ExecuteQuery(executedRows, mode & ~OCI_COMMIT_ON_SUCCESS);
      if (code != 0 && code != kOci7NoDataFound) failure.emplace(calls_->Error(lock));
    }
    if (failure) RaiseExecutionError(*failure, true);
  }
  if (!described_) DescribeColumns();
  if (describeOnly) {
    currentRow_ = 0;
    rowsInBatch_ = 0;
    eof_ = true;
    return;
  }
  FetchBatch(executedRows == 0);
}

void TOracleQuery::DescribeColumns() {
  rowsPerFetch_ = readBuffer_;
  ClearColumns();
  const BufferRules rules = ColumnBuffers::RulesOf(*session_, stringFieldsOnly_);
  std::optional<EOracleError> failure;
  try {
    SessionCallLock lock(*session_);
    for (int position = 1;; ++position) {
      ColumnDescription column;
      const int code = calls_->Describe(position, column);
      if (code == kOci7VariableNotInSelectList) break;
      if (code != 0) {
        failure.emplace(calls_->Error(lock));
        break;
      }
      if (ColumnBuffers::Describe(*fields_.Add(), column, rules)) rowsPerFetch_ = 1;
    }
    for (int i = 0; i < fields_.Count() && !failure; ++i) {
      TFieldData& field = *fields_.Items(i);
      ColumnBuffers::Allocate(field, rowsPerFetch_, *session_);
      if (calls_->Define(field, i + 1) != 0) failure.emplace(calls_->Error(lock));
    }
  } catch (...) {
    ClearColumns();
    throw;
  }
  if (failure) {
    ClearColumns();
    RaiseExecutionError(*failure, true);
  }
  for (int i = 0; i < fields_.Count(); ++i) {
    columns_.push_back(fields_.Items(i));
    if (ColumnBuffers::IsComplex(*fields_.Items(i))) complexColumns_.push_back(fields_.Items(i));
  }
  described_ = true;
}

void TOracleQuery::FetchBatch(bool fetch) {
  std::optional<EOracleError> failure;
  {
    TCursorGuard wait(ShownCursor());
    SessionCallLock lock(*session_);
    if (fetch) {
      ResetColumnsForFetch();
      const int code = calls_->FetchFirst(rowsPerFetch_, cursorTarget_);
      if (code != 0 && code != kOci7NoDataFound) failure.emplace(calls_->Error(lock));
    }
    cursorTarget_ = false;
  }
  if (failure) RaiseExecutionError(*failure, false);
  currentRow_ = 0;
  rowsInBatch_ = calls_->RowsProcessed();
  rowsFetched_ = rowsInBatch_;
  eof_ = rowsInBatch_ == 0;
  if (!eof_) PrepareComplexColumns();
}

void TOracleQuery::Next() {
  if (eof_) return;
  if (session_ == nullptr) throw Exception("Session undefined");
  if (!session_->Connected()) throw Exception("Not logged on");
  ReleaseComplexColumns();
  if (++currentRow_ >= rowsInBatch_) {
    if (rowsInBatch_ < rowsPerFetch_) {
      eof_ = true;
    } else {
      CheckCurrent();
      std::optional<EOracleError> failure;
      {
        TCursorGuard wait(ShownCursor());
        SessionCallLock lock(*session_);
        ResetColumnsForFetch();
        const int code = calls_->FetchNext(rowsPerFetch_);
        if (code != 0 && code != kOci7NoDataFound) failure.emplace(calls_->Error(lock));
      }
      if (failure) RaiseExecutionError(*failure, false);
      const int fetched = calls_->RowsProcessed();
      currentRow_ = 0;
      rowsInBatch_ = fetched - rowsFetched_;
      rowsFetched_ = fetched;
      eof_ = rowsInBatch_ <= 0;
    }
  }
  if (eof_) {
    FireAfterQuery();
  } else {
    PrepareComplexColumns();
  }
}

void TOracleQuery::CheckCurrent() {
  // A library unloaded under the session took the handles with it.
  session_->DropStaleHandles();
  if (!session_->Connected() || calls_ == nullptr) throw Exception("Not logged on");
}

void TOracleQuery::NormaliseComplexVariables() {
  if (calls_ == nullptr || !calls_->UsesOCI8()) return;
  // A REF or LOB variable the statement gave a null value: its instance
  // takes the null state, and the indicator is ready for the next bind.
  for (int i = 0; i < variables_->Count(); ++i) {
    TVariableData& variable = *variables_->Items(i);
    const int code = variable.TypeCode();
    if (variable.indicators_[0] != -1 || variable.Instance() == nullptr) continue;
    if (code == otCLOB || code == otBLOB || code == otBFile) {
      auto* locator = dynamic_cast<TLOBLocator*>(variable.Instance());
      if (locator != nullptr && !locator->IsNull()) locator->Clear();
      variable.indicators_[0] = 0;
    } else if (code == otReference) {
      auto* reference = dynamic_cast<TOracleReference*>(variable.Instance());
      if (reference != nullptr && !reference->IsNull()) reference->Clear();
      variable.indicators_[0] = 0;
    }
  }
}

void TOracleQuery::ResetColumnsForFetch() {
  // The rows' object instances and REFs stay in the column's buffer: a
  // fetch into a slot that holds one writes it whole (every value and
  // indicator), so keeping them saves a round of allocations per batch.
  for (int i = 0; i < fields_.Count(); ++i)
    fields_.Items(i)->ResetLongPieces();
  ReleaseComplexColumns();
}

void TOracleQuery::ReleaseComplexColumns() {
  for (TFieldData* field : complexColumns_) {
    if (field->lobLocator_ != nullptr) {
      field->lobLocator_->Release();
      field->lobLocator_->ResetPosition();
    }
  }
}

void TOracleQuery::PrepareComplexColumns() {
  for (TFieldData* field : complexColumns_)
    ColumnBuffers::PrepareRow(*field, currentRow_, *session_);
}

void TOracleQuery::FireAfterQuery() {
  if (!afterQueryPending_) return;
  afterQueryPending_ = false;
  if (afterQuery_) afterQuery_(this);
}

void TOracleQuery::LocateError() {
  const int offset = calls_ != nullptr ? calls_->ParseErrorOffset() : 0;
  const std::string& text = rememberedText_;
  const size_t end = std::min(static_cast<size_t>(offset), text.size());
  int line = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  errorLine_ = line;
  errorPosition_ = static_cast<int>(end - lineStart) + 1;
}

void TOracleQuery::RaiseExecutionError(EOracleError& error, bool locate) {
  if (locate) {
    LocateError();
    ForgetParse();
  }
  FireAfterQuery();
  throw error;
}

int TOracleQuery::RowsProcessed() {
  return calls_ != nullptr && !calls_->Stale() ? calls_->RowsProcessed() : 0;
}

std::string TOracleQuery::RowId() {
  if (calls_ == nullptr || calls_->Stale()) return "";
  return RowIdText(calls_->Rowid(IsVersion81Client()));
}

void TOracleQuery::Close() {
  EndThreadCycle();
  ClearColumns();
  if (calls_ != nullptr) {
    if (session_ != nullptr && session_->Connected() && !calls_->Stale()) {
      SessionCallLock lock(*session_);
      calls_.reset();
    } else {
      // The connection (or the library) that owned the handles is gone,
      // and the handles with it.
      calls_->Forget();
      calls_.reset();
    }
  }
  ClearColumns();
  ForgetParse();
  described_ = false;
  eof_ = true;
}

void TOracleQuery::ClearColumns() {
  // What the columns took from the client library goes back to it while
  // the statement's handles (and the connection) are current.
  const bool live =
      calls_ != nullptr && !calls_->Stale() && session_ != nullptr && session_->Connected();
  for (int i = 0; i < fields_.Count(); ++i) {
    try {
      ColumnBuffers::Release(*fields_.Items(i), live);
    } catch (const std::exception&) {
      // The column goes all the same.
    }
  }
  complexColumns_.clear();
  columns_.clear();
  fields_.Clear();
}

void TOracleQuery::Clear() {
  DeleteVariables();
  sql_->Clear();
  ForgetParse();
  described_ = false;
  cursorTarget_ = false;
}

}  // namespace vorn
