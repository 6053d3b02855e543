select deptno, count(*) from emp group by deptno
