-- Column types: CHAR padding and comparison, RAW, LONG, LOBs, FLOAT,
-- INTEGER, NVARCHAR2, ROWID columns.
create table typ (c char(5), v varchar2(5), n nvarchar2(5), r raw(3), l long, cl clob, b blob, f float(10), i integer, rid rowid);
insert into typ (c, v, n) values ('ab', 'ab', 'ab');
select c || '|', length(c), v || '|', n from typ;
select count(*) from typ where c = 'ab';
select count(*) from typ where c = 'ab   ';
select count(*) from typ where v = 'ab ';
select count(*) from typ where c = v;
select count(*) from typ where c in ('ab', 'x');
update typ set r = hextoraw('A1B2C3'), l = 'a long text', cl = 'clob text', b = hextoraw('00FF'), f = 123.456789, i = 7.5;
select r, l, cl, b, f, i from typ;
update typ set r = hextoraw('A1B2C3D4');
update typ set rid = (select rowid from emp where empno = 7369);
select count(*) from emp where rowid = (select rid from typ);
update typ set rid = 'not a rowid';
select count(*) from typ where r = 'A1B2C3';
select rawtohex(r) from typ;
select column_name, data_type, data_length, data_precision, data_scale from user_tab_columns where table_name = 'TYP' order by column_id;
create table big (a varchar2(4000), b char(2000), c raw(2000), d number(38), e number(38, 38));
select column_name, data_length, data_precision, data_scale from user_tab_columns where table_name = 'BIG' order by column_id;
insert into big (e) values (0.5);
insert into big (e) values (1);
create table bad (a char(2001));
create table bad (a number(39));
create table bad (a number(5, 200));
create table bad (a raw(0));
