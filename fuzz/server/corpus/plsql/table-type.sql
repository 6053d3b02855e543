declare
  type t_tab is table of emp.ename%type index by binary_integer;
  t t_tab;
  i integer;
begin
  t(1) := 'A';
  i := t.first;
  while i is not null loop
    i := t.next(i);
  end loop;
  :n := t.count;
end;