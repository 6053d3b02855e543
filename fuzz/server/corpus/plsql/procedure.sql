create or replace procedure raise_sal(p_empno in number, p_pct in number default 10, p_new out number) is
  v emp.sal%type;
begin
  select sal into v from emp where empno = p_empno for update;
  p_new := v * (1 + p_pct / 100);
  update emp set sal = p_new where empno = p_empno;
end raise_sal;