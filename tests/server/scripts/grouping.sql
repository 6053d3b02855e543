-- Aggregates, GROUP BY and HAVING with Oracle's grouping rules.
select count(*), count(comm), count(distinct job), sum(sal), min(hiredate), max(ename) from emp;
select deptno, count(*), sum(sal), round(avg(sal), 2) from emp group by deptno order by deptno;
select job, min(sal), max(sal) from emp group by job having count(*) > 1 order by job;
select deptno, job, count(*) from emp where deptno <> 30 group by deptno, job order by 1, 2;
select deptno, sum(sal) total from emp group by deptno having sum(sal) > 9000 order by total;
select avg(comm), sum(comm) / count(*) from emp;
select count(*) from emp where 1 = 0;
select sum(sal) from emp where 1 = 0;
select deptno * 2, count(*) from emp group by deptno * 2 order by 1;
select upper(job), count(*) from emp group by upper(job) order by 1;
select to_char(hiredate, 'YYYY') yr, count(*) from emp group by to_char(hiredate, 'YYYY') order by yr;
select deptno, ename from emp group by deptno;
select deptno, count(*) from emp;
select ename from emp where count(*) > 1;
select deptno from emp group by deptno having sal > 1000;
select sum(x), avg(x) from (select 0.1 x from dual union all select 0.2 from dual) having sum(x) = 0.3;
