-- Comma joins, ANSI joins and Oracle's (+) outer-join marker.
select e.ename, d.dname from emp e, dept d where e.deptno = d.deptno and d.loc = 'DALLAS' order by e.ename;
select e.ename, m.ename manager from emp e, emp m where e.mgr = m.empno and e.deptno = 10 order by 1;
select e.ename, m.ename manager from emp e, emp m where e.mgr = m.empno(+) and e.deptno = 10 order by 1;
select d.dname, count(e.empno) from dept d, emp e where d.deptno = e.deptno(+) group by d.dname order by 1;
select d.dname, e.ename from emp e, dept d where e.deptno(+) = d.deptno and e.ename(+) like 'S%' order by 1, 2;
select e.ename, d.dname from emp e join dept d on e.deptno = d.deptno where e.job = 'PRESIDENT';
select e.ename, d.dname from emp e inner join dept d on (e.deptno = d.deptno) where e.sal > 2950 order by 1;
select d.dname, e.ename from dept d left outer join emp e on e.deptno = d.deptno and e.job = 'ANALYST' order by 1, 2;
select d.dname, e.ename from emp e right join dept d on e.deptno = d.deptno where d.deptno = 40;
select d.deptno, e.ename from dept d full outer join emp e on e.deptno = d.deptno where e.ename is null or d.deptno is null;
select d.dname, e.ename from dept d join emp e using (deptno) where e.ename = 'KING';
select count(*) from emp cross join dept;
select e.ename, s.grade from emp e, salgrade s where e.sal between s.losal and s.hisal and e.deptno = 10 order by 1;
select ename from emp e where exists (select 1 from dept d where d.deptno = e.deptno and d.loc = 'NEW YORK') order by 1;
select ename, deptno from emp, dept;
select x.ename from emp e;
select e.ename from emp e, dept d where e.deptno(+) = d.deptno(+);
