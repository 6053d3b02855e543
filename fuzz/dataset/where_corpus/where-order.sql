select * from emp where sal > 1000 order by ename
