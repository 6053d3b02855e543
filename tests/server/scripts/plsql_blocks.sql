-- PL/SQL blocks through vornsql: output, error stacks, compile errors.
set serveroutput on
begin
  dbms_output.put_line('Hello from PL/SQL');
end;
/
declare
  total number := 0;
  cursor c is select ename, sal from emp where deptno = 10 order by ename;
begin
  for r in c loop
    total := total + r.sal;
    dbms_output.put_line(rpad(r.ename, 8) || to_char(r.sal, '99990'));
  end loop;
  dbms_output.put_line('total ' || total);
end;
/
declare
  v_name emp.ename%type;
begin
  select ename into v_name from emp where empno = 9999;
exception
  when no_data_found then
    dbms_output.put_line('no employee 9999');
end;
/
begin
  update emp set sal = sal * 1.1 where deptno = 20;
  dbms_output.put_line(sql%rowcount || ' rows updated');
  rollback;
end;
/
select sum(sal) from emp where deptno = 20;
declare
  n number;
begin
  n := 10;
  n := n / (n - 10);
end;
/
begin
  insert into dept values (10, 'DUP', 'X');
end;
/
begin
  raise_application_error(-20500, 'Custom failure');
end;
/
begin
  if 1 = 1
    null;
  end if;
end;
/
declare
  x number;
begin
  x := y + 1;
end;
/
begin
  select nonsense into x from dual;
end;
/
set serveroutput off
begin
  dbms_output.put_line('not shown');
end;
/
