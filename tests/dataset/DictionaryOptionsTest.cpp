// The dictionary options and the sequence field setting as they are stored
// with forms, assigned and changed.
#include <gtest/gtest.h>

#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/Component.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"

namespace vorn {
namespace {

// A component that stores both objects, as a dataset does.
class OptionsHolder : public TComponent {
  VORN_CLASS(OptionsHolder, TComponent)
  OptionsHolder() : TComponent(nullptr), sequence(nullptr), dictionary(nullptr) {}

  TSequenceField sequence;
  TOracleDictionary dictionary;

 protected:
  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefinePersistent("SequenceField", sequence);
    filer.DefinePersistent("OracleDictionary", dictionary);
  }
};

void Copy(OptionsHolder& source, OptionsHolder& target) {
  TMemoryStream stream;
  WriteComponent(stream, source);
  stream.SetPosition(0);
  ReadComponent(stream, target);
}

TEST(DictionaryOptions, AreAllOffByDefault) {
  TOracleDictionary dictionary(nullptr);

  EXPECT_FALSE(dictionary.EnforceConstraints());
  EXPECT_EQ(dictionary.DisabledConstraints()->Count(), 0);
  EXPECT_FALSE(dictionary.UseMessageTable());
  EXPECT_FALSE(dictionary.DefaultValues());
  EXPECT_FALSE(dictionary.DynamicDefaults());
  EXPECT_FALSE(dictionary.FieldKinds());
  EXPECT_FALSE(dictionary.RangeValues());
  EXPECT_FALSE(dictionary.DisplayFormats());
  EXPECT_FALSE(dictionary.HasFieldOptions());
}

TEST(DictionaryOptions, AreStoredAndReadBack) {
  OptionsHolder source;
  source.dictionary.SetEnforceConstraints(true);
  source.dictionary.DisabledConstraints()->Add("PK_EMP");
  source.dictionary.DisabledConstraints()->Add("FK_DEPTNO");
  source.dictionary.SetUseMessageTable(true);
  source.dictionary.SetDefaultValues(true);
  source.dictionary.SetDynamicDefaults(true);
  source.dictionary.SetFieldKinds(true);
  source.dictionary.SetRangeValues(true);
  source.dictionary.SetDisplayFormats(true);
  source.sequence.SetField("EMPNO");
  source.sequence.SetSequence("scott.emp_seq");
  source.sequence.SetApplyMoment(amOnServer);
  OptionsHolder loaded;

  Copy(source, loaded);

  EXPECT_TRUE(loaded.dictionary.EnforceConstraints());
  EXPECT_EQ(loaded.dictionary.DisabledConstraints()->Text(), "PK_EMP\r\nFK_DEPTNO\r\n");
  EXPECT_TRUE(loaded.dictionary.UseMessageTable());
  EXPECT_TRUE(loaded.dictionary.DefaultValues());
  EXPECT_TRUE(loaded.dictionary.DynamicDefaults());
  EXPECT_TRUE(loaded.dictionary.FieldKinds());
  EXPECT_TRUE(loaded.dictionary.RangeValues());
  EXPECT_TRUE(loaded.dictionary.DisplayFormats());
  EXPECT_EQ(loaded.sequence.Field(), "EMPNO");
  EXPECT_EQ(loaded.sequence.Sequence(), "scott.emp_seq");
  EXPECT_EQ(loaded.sequence.ApplyMoment(), amOnServer);
}

TEST(DictionaryOptions, DefaultsAreNotStored) {
  OptionsHolder empty;
  OptionsHolder loaded;
  loaded.sequence.SetField("kept");
  loaded.sequence.SetApplyMoment(amOnNewRecord);
  loaded.dictionary.SetEnforceConstraints(true);

  Copy(empty, loaded);

  // Nothing was stored, so nothing was read over the values.
  EXPECT_EQ(loaded.sequence.Field(), "kept");
  EXPECT_EQ(loaded.sequence.ApplyMoment(), amOnNewRecord);
  EXPECT_TRUE(loaded.dictionary.EnforceConstraints());
}

TEST(DictionaryOptions, AnUnknownApplyMomentIsRefused) {
  OptionsHolder source;
  source.sequence.SetApplyMoment(amOnServer);
  TMemoryStream stream;
  WriteComponent(stream, source);
  // The stored name, changed in place to one of the same length.
  std::string bytes(reinterpret_cast<const char*>(stream.Memory()),
                    static_cast<size_t>(stream.Size()));
  bytes.replace(bytes.find("amOnServer"), 10, "amOnLaptop");
  TMemoryStream changed;
  changed.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  changed.SetPosition(0);
  OptionsHolder loaded;

  EXPECT_THROW(ReadComponent(changed, loaded), EReadError);
}

TEST(DictionaryOptions, AssigningDisabledConstraintsCopiesInOneChange) {
  TOracleDictionary dictionary(nullptr);
  int changes = 0;
  dictionary.DisabledConstraints()->SetOnChange([&changes](TObject*) { ++changes; });
  TStringList names;
  names.Add("A");
  names.Add("B");
  names.Add("C");

  dictionary.SetDisabledConstraints(&names);

  EXPECT_EQ(dictionary.DisabledConstraints()->Count(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(dictionary.DisabledConstraints()->Contains("b"));
  EXPECT_FALSE(dictionary.DisabledConstraints()->Contains("D"));
}

TEST(DictionaryOptions, AssignCopiesEveryOption) {
  TOracleDictionary source(nullptr);
  source.SetEnforceConstraints(true);
  source.DisabledConstraints()->Add("X");
  source.SetDefaultValues(true);
  source.SetDisplayFormats(true);
  TOracleDictionary copy(nullptr);

  copy.Assign(&source);

  EXPECT_TRUE(copy.EnforceConstraints());
  EXPECT_EQ(copy.DisabledConstraints()->Count(), 1);
  EXPECT_TRUE(copy.DefaultValues());
  EXPECT_TRUE(copy.DisplayFormats());
  EXPECT_FALSE(copy.RangeValues());
}

}  // namespace
}  // namespace vorn
