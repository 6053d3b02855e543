-- CLOB, BLOB and BFILE columns: empty LOBs are not NULL, LENGTH and
-- DBMS_LOB's functions in SQL, LOBs refused where Oracle refuses them,
-- directories and BFILENAME.
create table docs (id number primary key, body clob, pic blob, f bfile);
insert into docs values (1, 'abcabc', hextoraw('0102'), bfilename('DOCS_DIR', 'missing.bin'));
insert into docs values (2, empty_clob(), empty_blob(), null);
insert into docs (id) values (3);
update docs set body = empty_clob(), pic = empty_blob() where id = 3;
select id, length(body), dbms_lob.getlength(pic), nvl2(body, 'empty or not', 'null') from docs order by id;
select id from docs where body is null;
select dbms_lob.substr(body, 2, 2), dbms_lob.substr(body, 2, 7), dbms_lob.instr(body, 'c'), dbms_lob.instr(body, 'c', 1, 2) from docs where id = 1;
select dbms_lob.substr(pic, 1, 2), dbms_lob.instr(pic, hextoraw('02')) from docs where id = 1;
select to_clob('x') c, to_blob(hextoraw('ff')) b from dual;
select column_name, data_type, data_length from user_tab_columns where table_name = 'DOCS' order by column_id;
alter table docs add (notes clob);
select column_name, data_type from user_tab_columns where table_name = 'DOCS' and column_id = 5;
-- Refused: comparison, ORDER BY, GROUP BY, DISTINCT, conversions.
select id from docs where body = 'abc';
select id from docs order by body;
select id from docs group by pic;
select distinct body from docs;
select length(f) from docs;
select to_blob(1) from dual;
create index docs_body on docs (body);
-- Directories.
create directory docs_dir as '.';
select directory_name, directory_path from all_directories;
select dbms_lob.fileexists(f) from docs where id = 1;
create directory docs_dir as '/elsewhere';
create or replace directory docs_dir as '.';
select dbms_lob.getlength(bfilename('NO_DIR', 'f.txt')) from dual;
select dbms_lob.getlength(bfilename('DOCS_DIR', '../docs.sql')) from dual;
select dbms_lob.getlength(bfilename('DOCS_DIR', 'missing.bin')) from dual;
drop directory docs_dir;
drop directory docs_dir;
select count(*) from all_directories;
