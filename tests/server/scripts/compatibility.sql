-- ROWID of key-preserved views, FOR UPDATE through them, and the case
-- functions over the database character set (WE8ISO8859P1).
create view emp_names as select empno, ename from emp where deptno = 20;
select e.ename from emp_names e, emp x where x.rowid = e.rowid and e.empno = 7369;
select rowidtochar(rowid) from emp_names where empno = 7369 minus select rowidtochar(rowid) from emp where empno = 7369;
select ename from emp_names where rowid = (select rowid from emp where empno = 7566);
create view emp_over as select * from emp_names where empno > 7800;
select ename from emp_over where rowid in (select rowid from emp where empno = 7876);
select ename from emp_names where empno = 7369 for update;
commit;
create view jobs as select distinct job from emp;
select rowid from jobs;
select job from jobs for update;
create view emp_dept as select e.ename, d.dname from emp e, dept d where e.deptno = d.deptno;
select rowid from emp_dept;
-- Upper and lower case of the accented letters of ISO 8859-1.
select ascii(upper(chr(228))), ascii(lower(chr(196))), ascii(upper(chr(223))), ascii(upper(chr(247))) from dual;
select ascii(substr(initcap(chr(233) || 'COLE'), 1, 1)) ini, substr(initcap(chr(233) || 'COLE'), 2) rest from dual;
select count(*) from dual where upper(chr(233) || 't' || chr(233)) = chr(201) || 'T' || chr(201);
select nls_upper('strasse', 'NLS_SORT=BINARY'), nls_lower('ABC'), nls_initcap('hello world') from dual;
