-- Stored procedures and functions through vornsql.
set serveroutput on
create or replace procedure give_raise(p_empno in emp.empno%type, p_pct in number default 10,
                                       p_new out number) is
  v_sal emp.sal%type;
begin
  select sal into v_sal from emp where empno = p_empno;
  p_new := round(v_sal * (1 + p_pct / 100), 2);
  update emp set sal = p_new where empno = p_empno;
exception
  when no_data_found then
    raise_application_error(-20001, 'No employee ' || p_empno);
end give_raise;
/
create or replace function grade(p_sal number) return varchar2 is
begin
  if p_sal >= 3000 then
    return 'HIGH';
  elsif p_sal >= 1500 then
    return 'MID';
  end if;
  return 'LOW';
end;
/
declare
  n number;
begin
  give_raise(7369, 5, n);
  dbms_output.put_line('SMITH now ' || n);
  give_raise(p_empno => 7499, p_new => n);
  dbms_output.put_line('ALLEN now ' || n);
end;
/
select ename, sal, grade(sal) from emp where deptno = 30 order by ename;
select grade(sal) g, count(*) from emp group by grade(sal) order by 1;
begin
  declare n number; begin give_raise(1234, 1, n); end;
end;
/
create procedure broken is
begin
  undefined_call;
end;
/
select object_name, object_type, status from user_objects
 where object_type in ('PROCEDURE', 'FUNCTION') order by object_name;
select line, text from user_source where name = 'GRADE' and line <= 2 order by line;
begin
  broken;
end;
/
drop procedure broken;
drop procedure broken;
drop function grade;
select grade(1) from dual;
