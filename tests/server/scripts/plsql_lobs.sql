-- LOB variables and DBMS_LOB in PL/SQL blocks: functions, READ, WRITE,
-- WRITEAPPEND, APPEND, TRIM, ERASE, temporary LOBs, files; the changed
-- value is stored with an UPDATE.
create table docs (id number primary key, body clob, pic blob, f bfile);
insert into docs values (1, 'Hello', hextoraw('0102'), bfilename('NO_DIR', 'x.txt'));
insert into docs values (2, empty_clob(), empty_blob(), null);
set serveroutput on
declare
  c clob;
  b blob;
  buf varchar2(100);
  amt number := 3;
begin
  select body into c from docs where id = 2;
  dbms_output.put_line('empty: ' || dbms_lob.getlength(c));
  dbms_lob.writeappend(c, 5, 'hello');
  dbms_lob.write(c, 3, 7, 'xyz');
  dbms_output.put_line('[' || c || ']');
  dbms_lob.read(c, amt, 2, buf);
  dbms_output.put_line(amt || ':' || buf);
  dbms_output.put_line(dbms_lob.substr(c, 3, 7) || ' at ' || dbms_lob.instr(c, 'xyz'));
  amt := 2;
  dbms_lob.erase(c, amt, 2);
  dbms_output.put_line('[' || c || '] erased ' || amt);
  dbms_lob.trim(c, 4);
  dbms_lob.append(c, c);
  update docs set body = c where id = 2;
  select pic into b from docs where id = 1;
  dbms_lob.writeappend(b, 1, hextoraw('ff'));
  update docs set pic = b where id = 1;
  dbms_lob.createtemporary(c, true);
  dbms_output.put_line('temporary: ' || dbms_lob.getlength(c));
  dbms_lob.freetemporary(c);
  dbms_output.put_line('freed: ' || nvl(to_char(dbms_lob.getlength(c)), 'null'));
end;
/
select body, rawtohex(dbms_lob.substr(pic)) from docs order by id;
declare
  c clob := 'abc';
  buf varchar2(10);
  amt number := 1;
begin
  dbms_lob.read(c, amt, 4, buf);
exception
  when no_data_found then dbms_output.put_line('read past the end: no data found');
end;
/
declare
  c clob := 'abc';
begin
  dbms_lob.trim(c, 5);
end;
/
declare
  c clob := 'abc';
  amt number := 1;
begin
  dbms_lob.write(c, amt, 0, 'x');
end;
/
declare
  f bfile;
begin
  select f into f from docs where id = 1;
  dbms_lob.fileopen(f, dbms_lob.file_readonly);
end;
/
create or replace procedure add_suffix(c in out clob, suffix varchar2) is
begin
  dbms_lob.writeappend(c, length(suffix), suffix);
end;
/
declare
  c clob;
begin
  select body into c from docs where id = 1;
  add_suffix(c, ', world');
  update docs set body = c where id = 1;
end;
/
select body from docs where id = 1;
