declare
  e exception;
  pragma exception_init(e, -20001);
begin
  raise_application_error(-20001, 'no');
exception
  when e then :msg := sqlerrm; :code := sqlcode;
end;