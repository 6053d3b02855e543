select e.*, e.rowid from emp e
where deptno = :d
order by ename /* end_refresh */ union select * from emp
