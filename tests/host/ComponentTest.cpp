// Component ownership, destruction order, notifications, names and state.
#include "vorn/host/Component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

using Events = std::vector<std::string>;

// Records its notifications and its destruction in a shared log.
class TProbe : public TComponent {
  VORN_CLASS(TProbe, TComponent)
  TProbe(TComponent* owner, std::string label, Events* log)
      : TComponent(owner), label_(std::move(label)), log_(log) {
    SetName(label_);
  }
  ~TProbe() override {
    log_->push_back("~" + label_ + ((ComponentState() & csDestroying) ? "" : " (not destroying)"));
  }
  const std::string& Label() const { return label_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (component != this && operation == opRemove) {
      log_->push_back(label_ + " heard " + component->Name() + " go");
    }
  }

 private:
  std::string label_;
  Events* log_;
};

class TRemoteDataModule : public TComponent {
  VORN_CLASS(TRemoteDataModule, TComponent)
  using TComponent::TComponent;
};

class TShellModule : public TRemoteDataModule {
  VORN_CLASS(TShellModule, TRemoteDataModule)
  using TRemoteDataModule::TRemoteDataModule;
};

TEST(ComponentTest, OwnerDeletesOwnedComponentsLastFirst) {
  Events log;
  auto* owner = new TProbe(nullptr, "Owner", &log);
  new TProbe(owner, "A", &log);
  new TProbe(owner, "B", &log);
  new TProbe(owner, "C", &log);
  EXPECT_EQ(owner->ComponentCount(), 3);
  delete owner;
  std::vector<std::string> destroyed;
  for (const std::string& e : log) {
    if (e[0] == '~') destroyed.push_back(e.substr(0, e.find(' ')));
  }
  EXPECT_EQ(destroyed, (Events{"~Owner", "~C", "~B", "~A"}));
}

TEST(ComponentTest, ComponentDeletedFirstLeavesItsOwner) {
  Events log;
  TProbe owner(nullptr, "Owner", &log);
  auto* a = new TProbe(&owner, "A", &log);
  auto* b = new TProbe(&owner, "B", &log);
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  // The sibling hears of it through the owner.
  EXPECT_NE(std::find(log.begin(), log.end(), "B heard A go"), log.end());
  EXPECT_EQ(log.back(), "Owner heard A go");
}

TEST(ComponentTest, NestedOwnersAllGo) {
  Events log;
  auto* root = new TProbe(nullptr, "Root", &log);
  auto* middle = new TProbe(root, "Middle", &log);
  new TProbe(middle, "Leaf", &log);
  delete root;
  EXPECT_NE(std::find(log.begin(), log.end(), "~Leaf"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "~Middle"), log.end());
  // The owned components know they are going before they go.
  EXPECT_NE(std::find(log.begin(), log.end(), "~Root (not destroying)"), log.end());
  for (const std::string& e : log) {
    if (e.rfind("~Root", 0) != 0) {
      EXPECT_EQ(e.find("not destroying"), std::string::npos) << e;
    }
  }
}

TEST(ComponentTest, FreeNotificationWorksBothWays) {
  Events log;
  TProbe formA(nullptr, "FormA", &log);
  TProbe formB(nullptr, "FormB", &log);
  auto* dataset = new TProbe(&formA, "Dataset", &log);
  auto* source = new TProbe(&formB, "Source", &log);
  source->FreeNotification(dataset);

  delete dataset;
  EXPECT_NE(std::find(log.begin(), log.end(), "Source heard Dataset go"), log.end());

  auto* other = new TProbe(&formA, "Other", &log);
  other->FreeNotification(source);
  log.clear();
  delete other;
  EXPECT_NE(std::find(log.begin(), log.end(), "Source heard Other go"), log.end());

  auto* third = new TProbe(&formA, "Third", &log);
  third->FreeNotification(source);
  log.clear();
  delete source;
  EXPECT_NE(std::find(log.begin(), log.end(), "Third heard Source go"), log.end());
  log.clear();
  delete third;  // no stale link to the deleted source
  EXPECT_EQ(std::find(log.begin(), log.end(), "Source heard Third go"), log.end());
}

TEST(ComponentTest, RemovedFreeNotificationStaysSilent) {
  Events log;
  TProbe a(nullptr, "A", &log);
  auto* b = new TProbe(nullptr, "B", &log);
  a.FreeNotification(b);
  a.RemoveFreeNotification(b);
  delete b;
  EXPECT_EQ(std::find(log.begin(), log.end(), "A heard B go"), log.end());
}

TEST(ComponentTest, OwnerHearsInsertions) {
  struct TWatcher : TComponent {
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> heard;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      heard.emplace_back(c, op);
    }
  } owner(nullptr);
  auto* child = new TComponent(&owner);
  ASSERT_EQ(owner.heard.size(), 1u);
  EXPECT_EQ(owner.heard[0].first, child);
  EXPECT_EQ(owner.heard[0].second, opInsert);
  delete child;
  ASSERT_EQ(owner.heard.size(), 2u);
  EXPECT_EQ(owner.heard[1].second, opRemove);
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("OracleSession1");
  EXPECT_EQ(owner.FindComponent("oraclesession1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  try {
    b->SetName("ORACLESESSION1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named ORACLESESSION1 already exists");
  }
  EXPECT_EQ(b->Name(), "");
  try {
    b->SetName("1st");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'1st' is not a valid component name");
  }
  a->SetName("ORACLESESSION1");  // same component, another case
  EXPECT_EQ(a->Name(), "ORACLESESSION1");
  b->SetName("Query1");
  TComponent loose(nullptr);
  loose.SetName("Query1");  // other owners do not matter
  a->SetName("");
  b->SetName("");
  EXPECT_EQ(owner.FindComponent("Query1"), nullptr);
}

TEST(ComponentTest, ComponentsOutOfRange) {
  TComponent owner(nullptr);
  try {
    owner.Components(0);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (0)");
  }
}

TEST(ComponentTest, InsertComponentMovesOwnership) {
  TComponent first(nullptr), second(nullptr);
  auto* child = new TComponent(&first);
  child->SetName("Child");
  second.InsertComponent(child);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(child->Owner(), &second);
  EXPECT_EQ(second.FindComponent("Child"), child);
  EXPECT_THROW(child->InsertComponent(&second), EComponentError);
  auto* twin = new TComponent(&first);
  twin->SetName("Child");
  EXPECT_THROW(second.InsertComponent(twin), EComponentError);
  EXPECT_EQ(twin->Owner(), &first);
  first.RemoveComponent(twin);
  EXPECT_EQ(twin->Owner(), nullptr);
  delete twin;
}

TEST(ComponentTest, DesigningReachesOwnedAndLaterComponents) {
  TComponent form(nullptr);
  auto* early = new TComponent(&form);
  form.SetDesigning(true);
  auto* late = new TComponent(&form);
  EXPECT_TRUE(form.ComponentState() & csDesigning);
  EXPECT_TRUE(early->ComponentState() & csDesigning);
  EXPECT_TRUE(late->ComponentState() & csDesigning);
  form.SetDesigning(false, false);
  EXPECT_FALSE(form.ComponentState() & csDesigning);
  EXPECT_TRUE(early->ComponentState() & csDesigning);
  form.SetAncestor(true);
  EXPECT_EQ(late->ComponentState(), csDesigning | csAncestor);
}

TEST(ComponentTest, ClassNamesWalkTheHierarchy) {
  TShellModule module(nullptr);
  auto* session = new TComponent(&module);
  EXPECT_EQ(module.ClassName(), "TShellModule");
  EXPECT_TRUE(SameText(session->Owner()->ClassParentName(), "TREMOTEDATAMODULE"));
  EXPECT_EQ(session->ClassName(), "TComponent");
  EXPECT_EQ(session->ClassParentName(), "TPersistent");
  EXPECT_TRUE(module.InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(session->InheritsFrom(TRemoteDataModule::StaticClass()));
  EXPECT_EQ(TObject::StaticClass().Parent, nullptr);
}

TEST(ComponentTest, OwnerlessComponentsLiveInUniquePointers) {
  Events log;
  {
    auto owner = std::make_unique<TProbe>(nullptr, "Owner", &log);
    new TProbe(owner.get(), "Child", &log);
  }
  EXPECT_NE(std::find(log.begin(), log.end(), "~Child"), log.end());
}

// An owner whose children report to it while they die must let them go
// before its own members do.
class TSession : public TComponent {
  VORN_CLASS(TSession, TComponent)
  using TComponent::TComponent;
  ~TSession() override {
    Destroying();
    DestroyComponents();
  }
  std::vector<std::string> registered;
};

class TQuery : public TComponent {
  VORN_CLASS(TQuery, TComponent)
  explicit TQuery(TSession* session) : TComponent(session), session_(session) {
    session_->registered.push_back("query");
  }
  ~TQuery() override { session_->registered.pop_back(); }

 private:
  TSession* session_;
};

TEST(ComponentTest, DerivedOwnerCanFreeChildrenFirst) {
  auto* session = new TSession(nullptr);
  new TQuery(session);
  new TQuery(session);
  EXPECT_EQ(session->registered.size(), 2u);
  delete session;  // the queries unregister while the list still exists
}

}  // namespace
}  // namespace vorn
