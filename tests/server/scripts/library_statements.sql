-- Statements the library generates for sessions and datasets, with bind
-- values written in place (the C++ tests run them with real binds).
SAVEPOINT ZUQ__LOCKPOINT;
ROLLBACK TO SAVEPOINT ZUQ__LOCKPOINT;
ALTER USER scott IDENTIFIED BY tiger;
ALTER SESSION SET SQL_TRACE = FALSE;
ALTER SESSION SET OPTIMIZER_GOAL = CHOOSE;
ALTER SESSION SET OPTIMIZER_GOAL = RULE;
ALTER SESSION SET ISOLATION_LEVEL = SERIALIZABLE;
SELECT LENGTH(CHR(2000000000)) FROM DUAL;
select to_char(to_date('10-1-1999 10:10:10', 'dd-mm-yyyy hh24:mi:ss')) from dual
union all
select to_char(to_date('10-2-1999 10:10:10', 'dd-mm-yyyy hh24:mi:ss')) from dual
union all
select to_char(to_date('10-12-1999 10:10:10', 'dd-mm-yyyy hh24:mi:ss')) from dual;
select * from EMP where rowid = (select rowid from emp where empno = 7369)
for update nowait;
select e.*, e.rowid from emp e where (deptno = 20)
and
(E.rowid = (select rowid from emp where empno = 7369))
for update of E.EMPNO nowait;
select e.*, e.rowid from emp e where E.rowid = (select rowid from emp where empno = 7566);
INSERT INTO EMP
 (EMPNO, ENAME, DEPTNO)
VALUES
 (8001, 'NEWBIE', 10)
RETURNING ROWID INTO :ZUQ__ROWID;
UPDATE EMP SET
ENAME = 'RENAMED', SAL = NULL, COMM = NULL
WHERE ROWID = (select rowid from emp where empno = 8001);
select ename, sal from emp where empno = 8001;
select rowid from EMP where
EMPNO = 8001
and MGR is null;
DELETE FROM EMP WHERE ROWID = (select rowid from emp where empno = 8001);
select count(*) from (
select * from emp
where (deptno = 10));
select count(*) from (
select ename, job from emp
);
select * from emp where ENAME like 'SM%';
select ename from emp where (ENAME like 'sm%' or ENAME like 'Sm%' or ENAME like 'sM%' or ENAME like 'SM%') and upper(ENAME) = upper('smith');
select ename from emp where ENAME in ('A', 'a');
select ename from emp where HIREDATE >= to_date('03-12-1981', 'dd-mm-yyyy') and HIREDATE < to_date('03-12-1981', 'dd-mm-yyyy') + 1 order by 1;
select ename from emp where (deptno = 20)
and
(SAL = 3000) order by ename
/* Modified for QBE */;
select 'x' from EMP where rowid <> (select rowid from emp where empno = 7369)
and EMPNO = 7369;
select 'x' from EMP where EMPNO = 7499;
select 'x' from SCOTT.DEPT where DEPTNO = 20;
select 'x' from EMP where rowid <> (select rowid from emp where empno = 7369)
and EMPNO = (select EMPNO from EMP where rowid = (select rowid from emp where empno = 7369));
create table msgtab (constraint_name varchar2(30), actions varchar2(10), parent_child varchar2(1), error_message varchar2(200));
insert into msgtab values ('FK_DEPTNO', 'IU', 'C', 'Department does not exist');
select actions, parent_child, error_message from msgtab
where constraint_name = 'FK_DEPTNO'
order by actions;
create sequence emp_seq start with 9000;
select SCOTT.EMP_SEQ.nextval from dual;
select emp_seq.nextval from dual;
INSERT INTO EMP
 (EMPNO, ENAME)
VALUES
 (emp_seq.nextval, 'SEQ');
select empno, ename from emp where ename = 'SEQ';
create table docs (id number primary key, body clob, pic blob);
INSERT INTO docs (id, body, pic) VALUES (1, EMPTY_CLOB(), EMPTY_BLOB()) RETURNING body, pic INTO :body, :pic;
select id, nvl2(body, 'set', 'null') b, nvl2(pic, 'set', 'null') p from docs;
select id from docs where body is null;
select id from docs where pic is not null;
