-- ROWNUM: numbering before ORDER BY, limits, top-n through a subquery.
select rownum, ename from emp where deptno = 10 order by empno;
select ename from emp where rownum < 4 order by empno;
select ename from emp where rownum <= 2 and deptno = 30 order by empno;
select ename from emp where rownum = 1 order by empno;
select ename from emp where rownum = 2;
select ename from emp where rownum > 1;
select count(*) from emp where rownum <= 100;
select * from (select ename, sal from emp order by sal desc, ename) where rownum <= 3;
select ename from (select ename from emp order by ename) where rownum < 3;
select ename from emp where rownum <= 3 order by ename desc;
select ename from emp where rownum + 1 < 3 or deptno = 10;
delete from emp where rownum < 3 and deptno = 30;
select count(*) from emp where deptno = 30;
update emp set sal = 1 where rownum = 1;
select count(*) from emp where sal = 1;
delete from emp where rownum = 2;
delete from emp where rownum < deptno;
