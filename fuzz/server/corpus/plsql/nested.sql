begin
  declare x date := sysdate; begin <<inner>> for i in reverse 1 .. 3 loop goto done; end loop; <<done>> null; end;
  commit;
  savepoint a;
  rollback to a;
end;