// The preferences and the properties that cannot change while connected,
// the re-creation of dataset fields at design time, and CheckOCI8Feature.
#include <gtest/gtest.h>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::session_test {
namespace {

// The classes whose sessions get short string fields: a module's own class
// derives from TRemoteDataModule.
class TRemoteDataModule : public TComponent {
  VORN_CLASS(TRemoteDataModule, TComponent)
  using TComponent::TComponent;
};

class TOrdersModule : public TRemoteDataModule {
  VORN_CLASS(TOrdersModule, TRemoteDataModule)
  using TRemoteDataModule::TRemoteDataModule;
};

std::string RaisedMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.Message();
  }
  return "(nothing raised)";
}

class PreferencesTest : public SessionTest {};

TEST_F(PreferencesTest, Defaults) {
  TOracleSession session;
  const TSessionPreferences& preferences = *session.Preferences();

  EXPECT_EQ(preferences.FloatPrecision(), 0);
  EXPECT_EQ(preferences.IntegerPrecision(), 0);
  EXPECT_EQ(preferences.SmallIntPrecision(), -1);
  EXPECT_EQ(preferences.MaxStringFieldSize(), 0);
  EXPECT_FALSE(preferences.UseOCI7());
  EXPECT_TRUE(preferences.ConvertCRLF());
  EXPECT_TRUE(preferences.TrimStringFields());
  EXPECT_EQ(&preferences.Session(), &session);
  EXPECT_EQ(session.Cursor(), crHourGlass);
  EXPECT_EQ(session.BytesPerCharacter(), bc1Byte);
  EXPECT_EQ(session.NullValue(), nvUnAssigned);
}

TEST_F(PreferencesTest, SessionsOfRemoteDataModulesGetShortStringFields) {
  TOrdersModule module(nullptr);
  TRemoteDataModule plainModule(nullptr);
  TComponent form(nullptr);

  auto* remote = new TOracleSession(&module);
  auto* direct = new TOracleSession(&plainModule);
  auto* local = new TOracleSession(&form);

  EXPECT_EQ(remote->Preferences()->MaxStringFieldSize(), 255);
  // Only the owner's direct parent class counts.
  EXPECT_EQ(direct->Preferences()->MaxStringFieldSize(), 0);
  EXPECT_EQ(local->Preferences()->MaxStringFieldSize(), 0);
}

TEST_F(PreferencesTest, CallSetAndLineBreaksCannotChangeWhileConnected) {
  auto session = NewSession();
  session->LogOn();
  TSessionPreferences& preferences = *session->Preferences();

  EXPECT_EQ(RaisedMessage([&] { preferences.SetUseOCI7(true); }),
            "Cannot change UseOCI7 property when session is connected");
  EXPECT_EQ(RaisedMessage([&] { preferences.SetConvertCRLF(false); }),
            "Cannot change ConvertCRLF property when session is connected");
  EXPECT_EQ(RaisedMessage([&] { session->SetThreadSafe(true); }),
            "Cannot change ThreadSafe property when connected");
  EXPECT_FALSE(preferences.UseOCI7());
  EXPECT_TRUE(preferences.ConvertCRLF());
  EXPECT_FALSE(session->ThreadSafe());

  // Setting the value they have is no change.
  preferences.SetUseOCI7(false);
  preferences.SetConvertCRLF(true);
  session->SetThreadSafe(false);

  session->LogOff();
  preferences.SetUseOCI7(true);
  preferences.SetConvertCRLF(false);
  session->SetThreadSafe(true);
  EXPECT_TRUE(preferences.UseOCI7());
  EXPECT_FALSE(preferences.ConvertCRLF());
  EXPECT_TRUE(session->ThreadSafe());
}

TEST_F(PreferencesTest, FieldShapingPreferencesRecreateDataSetFieldsInTheDesigner) {
  TOracleSession session;
  std::vector<std::string> log;
  RecordingDataSet orders(session, "Orders", log);
  RecordingDataSet lines(session, "Lines", log);
  RecordingDataSet customers(session, "Customers", log);
  orders.active = true;
  customers.active = true;
  customers.failOpen = true;
  session.SetDesigning(true);

  session.Preferences()->SetFloatPrecision(10);

  EXPECT_EQ(log, (std::vector<std::string>{"Orders.reset", "Orders.open", "Lines.reset",
                                           "Customers.reset", "Customers.open"}));
  EXPECT_EQ(ui_.Texts(), std::vector<std::string>{
                             "Error reactivating dataset Customers:\r\nCustomers cannot open"});
  EXPECT_EQ(session.Preferences()->FloatPrecision(), 10);
  EXPECT_TRUE(orders.active);
  EXPECT_FALSE(lines.active);
}

TEST_F(PreferencesTest, EachFieldShapingPreferenceRecreatesTheFields) {
  TOracleSession session;
  std::vector<std::string> log;
  RecordingDataSet orders(session, "Orders", log);
  session.SetDesigning(true);
  TSessionPreferences& preferences = *session.Preferences();

  preferences.SetFloatPrecision(5);
  preferences.SetIntegerPrecision(5);
  preferences.SetSmallIntPrecision(5);
  preferences.SetMaxStringFieldSize(5);
  EXPECT_EQ(log.size(), 4u);

  // Unchanged values and the other preferences leave the fields alone.
  preferences.SetFloatPrecision(5);
  preferences.SetUseOCI7(true);
  preferences.SetConvertCRLF(false);
  preferences.SetTrimStringFields(false);
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(PreferencesTest, OutsideTheDesignerFieldsStayAsTheyAre) {
  TOracleSession session;
  std::vector<std::string> log;
  RecordingDataSet orders(session, "Orders", log);
  orders.active = true;

  session.Preferences()->SetMaxStringFieldSize(100);

  EXPECT_TRUE(log.empty());
  EXPECT_EQ(session.Preferences()->MaxStringFieldSize(), 100);
}

TEST_F(PreferencesTest, AssignCopiesEveryValue) {
  TOracleSession source;
  TSessionPreferences& from = *source.Preferences();
  from.SetFloatPrecision(12);
  from.SetIntegerPrecision(8);
  from.SetSmallIntPrecision(3);
  from.SetMaxStringFieldSize(80);
  from.SetUseOCI7(true);
  from.SetConvertCRLF(false);
  from.SetTrimStringFields(false);
  TOracleSession target;

  target.SetPreferences(&from);

  const TSessionPreferences& to = *target.Preferences();
  EXPECT_EQ(to.FloatPrecision(), 12);
  EXPECT_EQ(to.IntegerPrecision(), 8);
  EXPECT_EQ(to.SmallIntPrecision(), 3);
  EXPECT_EQ(to.MaxStringFieldSize(), 80);
  EXPECT_TRUE(to.UseOCI7());
  EXPECT_FALSE(to.ConvertCRLF());
  EXPECT_FALSE(to.TrimStringFields());
  EXPECT_NE(&to, &from);
}

TEST_F(PreferencesTest, CheckOCI8FeatureWithoutNet8) {
  TOracleSession session;
  ASSERT_FALSE(client::IsVersion8Mode());

  EXPECT_EQ(RaisedMessage([&] { session.CheckOCI8Feature("A LOB Locator variable"); }),
            "A LOB Locator variable requires Net8, which is not detected on this PC");
}

TEST_F(PreferencesTest, CheckOCI8FeaturePassesForAVersion8Session) {
  auto session = NewSession();
  session->LogOn();

  EXPECT_NO_THROW(session->CheckOCI8Feature("A query with objects"));
}

TEST_F(PreferencesTest, CheckOCI8FeatureForASessionWithoutVersion8Calls) {
  client::LoadClientLibrary();
  ASSERT_TRUE(client::IsVersion8Mode());
  // A session that has not logged on uses no version 8 calls yet.
  TOracleSession session;

  EXPECT_EQ(RaisedMessage([&] { session.CheckOCI8Feature("A query with LOB's"); }),
            "A query with LOB's requires OCI8 mode, but OCI7 mode is used.");
}

TEST_F(PreferencesTest, CheckOCI8FeatureForAVersion7Session) {
  auto session = NewSession();
  session->Preferences()->SetUseOCI7(true);
  session->LogOn();

  EXPECT_EQ(RaisedMessage([&] { session->CheckOCI8Feature("A reference variable"); }),
            "A reference variable requires OCI8 mode, but OCI7 mode is used.");
}

}  // namespace
}  // namespace vorn::session_test
