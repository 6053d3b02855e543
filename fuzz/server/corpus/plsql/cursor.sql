declare
  cursor c(d number) is select * from emp where deptno = d;
  r c%rowtype;
begin
  open c(10);
  loop
    fetch c into r;
    exit when c%notfound;
    update emp set sal = r.sal + 1 where current of c;
  end loop;
  close c;
end;