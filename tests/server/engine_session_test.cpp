// Several sessions on one database: row locks with NOWAIT and bounded waits,
// the writer gate, read-committed visibility, savepoints releasing locks,
// cursors that outlive their transaction, shared sequences and catalog.
#include <thread>

#include "engine_support.h"

namespace vorn::server::test {
namespace {

using std::chrono::milliseconds;

class Sessions : public DemoDatabase {};

TEST_F(Sessions, RowLockedByAnotherSessionFailsAtOnceWithNowait) {
  auto a = scott();
  auto b = scott();
  a->execute("update emp set sal = sal + 1 where empno = 7369");
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7369 for update nowait"), 54);
  // Other rows stay free.
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7499 for update nowait"), 0);
  a->commit();
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7369 for update nowait"), 0);
}

TEST_F(Sessions, ForUpdateThroughAViewLocksTheTablesRows) {
  auto a = scott();
  auto b = scott();
  a->execute("create view emp_names as select empno, ename from emp");
  a->prepare("select ename from emp_names where empno = 7369 for update")->execute();
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7369 for update nowait"), 54);
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7499 for update nowait"), 0);
  a->rollback();
  EXPECT_EQ(errorOf(*b, "select ename from emp_names where empno = 7369 for update nowait"), 0);
  EXPECT_EQ(errorOf(*a, "select ename from emp where empno = 7369 for update nowait"), 54);
}

TEST_F(Sessions, WaitForALockedRowEndsWith30006) {
  auto a = scott();
  auto b = scott();
  b->setLockWait(milliseconds(20));
  a->execute("select * from emp where deptno = 10 for update");
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7839 for update"), 30006);
  EXPECT_EQ(errorOf(*b, "delete from emp where empno = 7839"), 30006);
  a->rollback();
  EXPECT_EQ(errorOf(*b, "select ename from emp where empno = 7839 for update"), 0);
}

TEST_F(Sessions, WaitingSessionGetsTheRowWhenTheHolderCommits) {
  auto a = scott();
  auto b = scott();
  b->setLockWait(milliseconds(60000));
  a->execute("update emp set sal = 1234 where empno = 7369");
  int error = -1;
  std::string seen;
  std::thread waiter([&] {
    try {
      seen = one(*b, "select sal from emp where empno = 7369 for update");
      error = 0;
    } catch (const OraError& e) {
      error = e.code();
    }
  });
  db_->locks().awaitWaiting(1);
  a->commit();
  waiter.join();
  EXPECT_EQ(error, 0);
  // The locked row is read again after the wait: the committed value.
  EXPECT_EQ(seen, "1234");
}

TEST_F(Sessions, OtherSessionsSeeOnlyCommittedChanges) {
  auto a = scott();
  auto b = scott();
  a->execute("update emp set sal = 9999 where empno = 7369");
  a->execute("insert into dept values (50, 'NEW', 'HERE')");
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7369"), "9999");
  EXPECT_EQ(one(*b, "select sal from emp where empno = 7369"), "800");
  EXPECT_EQ(one(*b, "select count(*) from dept"), "4");
  a->commit();
  EXPECT_EQ(one(*b, "select sal from emp where empno = 7369"), "9999");
  EXPECT_EQ(one(*b, "select count(*) from dept"), "5");
}

TEST_F(Sessions, SecondWriterWaitsThenFailsWith54) {
  auto a = scott();
  auto b = scott();
  b->setLockWait(milliseconds(20));
  a->execute("insert into bonus values ('A', 'B', 1, 2)");
  EXPECT_EQ(errorOf(*b, "insert into salgrade values (6, 1, 2)"), 54);
  EXPECT_FALSE(b->hasUncommittedChanges());
  // Reading is never blocked.
  EXPECT_EQ(one(*b, "select count(*) from salgrade"), "5");
  a->commit();
  EXPECT_EQ(errorOf(*b, "insert into salgrade values (6, 1, 2)"), 0);
  b->commit();
  EXPECT_EQ(one(*a, "select count(*) from salgrade"), "6");
}

TEST_F(Sessions, RollbackToSavepointReleasesTheLocksTakenAfterIt) {
  auto a = scott();
  auto b = scott();
  a->execute("select * from emp where empno = 7369 for update");
  a->savepoint("S1");
  a->execute("update emp set sal = 1 where empno = 7499");
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7499 for update nowait"), 54);
  a->rollbackToSavepoint("S1");
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7499 for update nowait"), 0);
  // The lock taken before the savepoint is still held.
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7369 for update nowait"), 54);
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "1600");
}

TEST_F(Sessions, SavepointSetBeforeTheFirstChangeUndoesTheWholeTransaction) {
  auto a = scott();
  auto b = scott();
  a->savepoint("ZUQ__LOCKPOINT");
  a->execute("update emp set sal = 1 where empno = 7499");
  a->rollbackToSavepoint("ZUQ__LOCKPOINT");
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "1600");
  EXPECT_FALSE(a->hasUncommittedChanges());
  // The writer gate is free again.
  EXPECT_EQ(errorOf(*b, "update emp set sal = 2 where empno = 7499"), 0);
}

TEST_F(Sessions, ASavepointSetAgainReplacesTheEarlierOneAndKeepsTheWorkSinceIt) {
  auto a = scott();
  auto b = scott();
  a->savepoint("LOCK_POINT");
  a->execute("update emp set sal = 1 where empno = 7499");
  a->savepoint("LOCK_POINT");
  a->execute("update emp set sal = 2 where empno = 7521");
  a->savepoint("LOCK_POINT");
  a->execute("update emp set sal = 3 where empno = 7566");

  a->rollbackToSavepoint("LOCK_POINT");

  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "1");
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7521"), "2");
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7566"), "2975");
  // The rows changed before the last savepoint stay locked.
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7521 for update nowait"), 54);
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7566 for update nowait"), 0);
  a->rollback();
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "1600");
}

TEST_F(Sessions, ASavepointSetAgainBehindAnotherLeavesTheOtherInPlace) {
  auto a = scott();
  a->execute("update emp set sal = 1 where empno = 7499");
  a->savepoint("A");
  a->execute("update emp set sal = 2 where empno = 7499");
  a->savepoint("B");
  a->execute("update emp set sal = 3 where empno = 7499");
  a->savepoint("A");
  a->execute("update emp set sal = 4 where empno = 7499");

  a->rollbackToSavepoint("B");

  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "2");
  // The new A came after B and went with the rollback; the old one was
  // replaced by it.
  EXPECT_EQ(errorOf(*a, "rollback to savepoint a"), 1086);
  a->rollbackToSavepoint("B");
  EXPECT_EQ(one(*a, "select sal from emp where empno = 7499"), "2");
}

TEST_F(Sessions, UnknownSavepointIs1086) {
  auto a = scott();
  try {
    a->rollbackToSavepoint("NOPE");
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 1086);
    EXPECT_EQ(e.message(),
              "ORA-01086: savepoint 'NOPE' never established in this session or is invalid");
  }
}

TEST_F(Sessions, CursorsSurviveCommitRollbackAndRollbackToSavepoint) {
  auto a = scott();
  for (int action = 0; action < 3; ++action) {
    auto q = a->prepare("select empno from emp order by empno");
    q->execute();
    ASSERT_TRUE(q->fetch());
    EXPECT_EQ(q->intValue(0), 7369);
    a->savepoint("P");
    a->execute("update emp set sal = sal + 1 where empno = 7934");
    if (action == 0) a->commit();
    if (action == 1) a->rollback();
    if (action == 2) a->rollbackToSavepoint("P");
    int n = 1;
    while (q->fetch())
      ++n;
    EXPECT_EQ(n, 14) << "action " << action;
    a->rollback();
  }
}

TEST_F(Sessions, CursorOpenedInsideAWriteTransactionSurvivesItsRollback) {
  auto a = scott();
  a->execute("update emp set ename = lower(ename)");
  auto q = a->prepare("select ename from emp order by empno");
  q->execute();
  ASSERT_TRUE(q->fetch());
  EXPECT_EQ(q->textValue(0), "smith");
  a->rollback();
  // The cursor keeps the rows it was opened on.
  ASSERT_TRUE(q->fetch());
  EXPECT_EQ(q->textValue(0), "allen");
  int n = 2;
  while (q->fetch())
    ++n;
  EXPECT_EQ(n, 14);
  EXPECT_EQ(one(*a, "select ename from emp where empno = 7369"), "SMITH");
}

TEST_F(Sessions, CursorKeepsItsSnapshotWhileOthersCommit) {
  auto a = scott();
  auto b = scott();
  auto q = a->prepare("select empno from emp");
  q->execute();
  ASSERT_TRUE(q->fetch());
  b->execute("delete from emp where deptno = 30");
  b->commit();
  int n = 1;
  while (q->fetch())
    ++n;
  EXPECT_EQ(n, 14);
  EXPECT_EQ(one(*a, "select count(*) from emp"), "8");
}

TEST_F(Sessions, SequenceValuesAreUniqueAcrossSessionsAndKeptAfterRollback) {
  auto a = scott();
  auto b = scott();
  a->execute("create sequence shared_seq");
  EXPECT_EQ(one(*a, "select shared_seq.nextval from dual"), "1");
  EXPECT_EQ(one(*b, "select shared_seq.nextval from dual"), "2");
  EXPECT_EQ(one(*a, "select shared_seq.currval from dual"), "1");
  a->execute("insert into bonus (sal) values (shared_seq.nextval)");
  a->rollback();
  EXPECT_EQ(one(*b, "select shared_seq.nextval from dual"), "4");
  EXPECT_EQ(errorOf(*scott(), "select shared_seq.currval from dual"), 8002);
}

TEST_F(Sessions, SequenceNumbersSurviveReopeningTheDatabase) {
  {
    auto a = scott();
    a->execute("create sequence persisted_seq");
    one(*a, "select persisted_seq.nextval from dual");
    a->execute("insert into bonus (sal) values (persisted_seq.nextval)");
    a->commit();
  }
  std::string path = path_.string();
  db_.reset();
  db_ = Database::open(path);
  auto a = scott();
  EXPECT_EQ(one(*a, "select persisted_seq.nextval from dual"), "3");
}

TEST_F(Sessions, DdlOfOneSessionIsSeenByTheOthers) {
  auto a = scott();
  auto b = scott();
  EXPECT_EQ(errorOf(*b, "select * from fresh"), 942);
  a->execute("create table fresh (x number)");
  a->execute("insert into fresh values (1)");
  a->commit();
  EXPECT_EQ(one(*b, "select x from fresh"), "1");
  a->execute("drop table fresh");
  EXPECT_EQ(errorOf(*b, "select * from fresh"), 942);
}

TEST_F(Sessions, DdlCommitsPendingChanges) {
  auto a = scott();
  auto b = scott();
  a->execute("update emp set sal = 5 where empno = 7369");
  a->execute("create table t (x number)");
  a->rollback();
  EXPECT_EQ(one(*b, "select sal from emp where empno = 7369"), "5");
}

TEST_F(Sessions, ClosingASessionRollsBackAndReleasesItsLocks) {
  auto b = scott();
  {
    auto a = scott();
    a->execute("update emp set sal = 5 where empno = 7369");
  }
  EXPECT_EQ(errorOf(*b, "select * from emp where empno = 7369 for update nowait"), 0);
  EXPECT_EQ(one(*b, "select sal from emp where empno = 7369"), "800");
}

TEST_F(Sessions, SessionsOfDifferentThreadsWorkInParallel) {
  constexpr int kThreads = 4;
  std::vector<std::thread> threads;
  std::vector<int> counts(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto s = scott();
      for (int i = 0; i < 20; ++i) {
        auto q = s->prepare("select count(*) from emp e, dept d where e.deptno = d.deptno");
        q->execute();
        if (q->fetch() && q->intValue(0) == 14) ++counts[static_cast<size_t>(t)];
      }
    });
  }
  for (auto& th : threads)
    th.join();
  for (int c : counts)
    EXPECT_EQ(c, 20);
}

}  // namespace
}  // namespace vorn::server::test
