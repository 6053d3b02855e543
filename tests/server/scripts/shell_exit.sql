-- EXIT between statements ends the shell's input: nothing after it runs.
select count(*) from dept;
Exit
insert into dept (deptno, dname) values (99, 'NEVER');
select count(*) from dept;
