declare
  v number := 0;
  s varchar2(20);
begin
  for r in (select ename, sal from emp) loop
    v := v + r.sal;
  end loop;
  select ename into s from emp where empno = 7839;
  dbms_output.put_line(s || v);
exception
  when no_data_found then null;
  when others then raise;
end;