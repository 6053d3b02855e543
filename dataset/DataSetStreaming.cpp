// TOracleDataSet: the properties stored with forms.
//
// Every property is read back through its setter. The order is the order
// of reading: the statement and its settings first, the option objects,
// the filter, and Active last, so that an activation a form asks for sees
// every other property (and is carried out by Loaded). EnforceConstraints
// is not stored (OracleDictionary holds it); RefreshMode is never written
// but still read from old forms.
#include "DataSetFiler.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/query/Variables.h"

namespace vorn {

namespace {

constexpr std::array<std::string_view, 4> kLockingModeNames{"lmLockImmediate", "lmCheckImmediate",
                                                            "lmLockDelayed", "lmNone"};
constexpr std::array<std::string_view, 4> kRefreshModeNames{"rmNever", "rmAfterInsert",
                                                            "rmAfterUpdate", "rmObsolete"};
constexpr std::array<std::string_view, 4> kRefreshOptionNames{"roBeforeEdit", "roAfterInsert",
                                                              "roAfterUpdate", "roAllFields"};
constexpr std::array<std::string_view, 2> kFilterOptionNames{"foCaseInsensitive",
                                                             "foNoPartialCompare"};

}  // namespace

void TOracleDataSet::DefineProperties(TFiler& filer) {
  using namespace dataset_filer;
  TDataSet::DefineProperties(filer);
  filer.DefinePersistent("SQL", *sql_);
  DefineInteger(filer, "ReadBuffer", ReadBuffer(), 25, [this](int value) { SetReadBuffer(value); });
  DefineFlag(filer, "Optimize", Optimize(), true, [this](bool value) { SetOptimize(value); });
  DefineFlag(filer, "Debug", Debug(), false, [this](bool value) { SetDebug(value); });
  DefineInteger(filer, "Cursor", Cursor(), crDefault, [this](int value) { SetCursor(value); });
  filer.DefinePersistent("Variables", *Variables());
  DefineFlag(filer, "StringFieldsOnly", StringFieldsOnly(), false,
             [this](bool value) { SetStringFieldsOnly(value); });
  filer.DefinePersistent("SequenceField", *sequenceField_);
  filer.DefinePersistent("OracleDictionary", *oracleDictionary_);
  filer.DefinePersistent("QBEDefinition", *qbeDefinition_);
  DefineFlag(filer, "QBEMode", qbeMode_, false, [this](bool value) { SetQBEMode(value); });
  DefineText(filer, "UniqueFields", uniqueFields_,
             [this](const std::string& value) { SetUniqueFields(value); });
  DefineText(filer, "MasterFields", masterFields_,
             [this](const std::string& value) { SetMasterFields(value); });
  DefineText(filer, "DetailFields", detailFields_,
             [this](const std::string& value) { SetDetailFields(value); });
  DefineFlag(filer, "ReadOnly", readOnly_, false, [this](bool value) { SetReadOnly(value); });
  DefineEnum<TLockingModeOptions>(filer, "LockingMode", kLockingModeNames, lockingMode_,
                                  lmCheckImmediate,
                                  [this](TLockingModeOptions value) { SetLockingMode(value); });
  DefineFlag(filer, "QueryAllRecords", queryAllRecords_, true,
             [this](bool value) { SetQueryAllRecords(value); });
  DefineFlag(filer, "CountAllRecords", countAllRecords_, false,
             [this](bool value) { SetCountAllRecords(value); });
  // Read from old forms only: the default is never written.
  DefineEnum<TRefreshModeOptions>(filer, "RefreshMode", kRefreshModeNames, rmObsolete, rmObsolete,
                                  [this](TRefreshModeOptions value) { SetRefreshMode(value); });
  DefineSet<TRefreshOptions>(filer, "RefreshOptions", kRefreshOptionNames, refreshOptions_, roNone,
                             [this](TRefreshOptions value) { SetRefreshOptions(value); });
  DefineText(filer, "UpdatingTable", updatingTable_,
             [this](const std::string& value) { SetUpdatingTable(value); });
  DefineFlag(filer, "CommitOnPost", commitOnPost_, true,
             [this](bool value) { SetCommitOnPost(value); });
  DefineFlag(filer, "CachedUpdates", cachedUpdates_, false,
             [this](bool value) { SetCachedUpdates(value); });
  DefineFlag(filer, "DesignActivation", designActivation_, false,
             [this](bool value) { SetDesignActivation(value); });
  DefineText(filer, "Filter", Filter(), [this](const std::string& value) { SetFilter(value); });
  DefineFlag(filer, "Filtered", Filtered(), false, [this](bool value) { SetFiltered(value); });
  DefineSet<TFilterOptions>(filer, "FilterOptions", kFilterOptionNames, FilterOptions(), foNone,
                            [this](TFilterOptions value) { SetFilterOptions(value); });
  DefineFlag(filer, "AutoCalcFields", AutoCalcFields(), true,
             [this](bool value) { SetAutoCalcFields(value); });
  DefineFlag(filer, "Active", Active(), false, [this](bool value) { SetActive(value); });
}

}  // namespace vorn
