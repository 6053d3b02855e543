-- Object types, collections, object tables and REFs in SQL.
create type address_t as object (street varchar2(10), city char(5), zip number(5,1));
/
create type person_t as object (name varchar2(20), born date, addr address_t, boss ref person_t);
/
create type phones_t as varray(3) of varchar2(8);
/
create type tags_t as table of varchar2(5);
/
create type person_t as object (x number);
/
create type bad_t as object (a number, member function f return number);
/
create type bad_t as object (a long);
/
create type bad_t as object (a nosuch_t);
/
create type bad_t as object (a number) not final;
/
create type bad_t under person_t (b number);
/
create type body person_t as begin null; end;
/
select type_name, typecode, attributes, incomplete, final from user_types order by 1;
select type_name, attr_name, attr_type_mod, attr_type_owner, attr_type_name, length, precision, scale, character_set_name, attr_no from user_type_attrs order by 1, attr_no;
select type_name, coll_type, upper_bound, elem_type_name, length from user_coll_types order by 1;
select object_name, object_type, status from user_objects where object_type = 'TYPE' order by 1;
-- Object tables: rows are objects with identifiers; their columns are the attributes.
create table people of person_t (name primary key, born not null);
insert into people values (person_t('Ann', date '1970-01-02', address_t('Main', 'Sp', 1234.56), null));
insert into people values ('Bob', date '1980-03-04', address_t('Elm', 'Sh', 4321), null);
insert into people values (person_t('Cy', date '1990-05-06', address_t(null, null, null), null));
insert into people values (person_t('Ann', date '1970-01-02', null, null));
insert into people values (person_t('Dee', null, null, null));
insert into people values (person_t('Dee', sysdate, address_t('a very long street', 'x', 1), null));
insert into people values (person_t('Dee', sysdate, address_t('a', 'x', 123456), null));
insert into people values (person_t('Dee', sysdate, address_t('a', 'x'), null));
insert into people values (address_t('a', 'x', 1));
select * from people order by name;
select value(p) from people p order by p.name;
select p.name, p.addr.city || '|' city, p.addr.zip from people p order by 1;
select name from people p where p.addr.city is null order by 1;
select count(*) from people p where p.addr = address_t('Main', 'Sp', 1234.6);
select count(*) from people p where p.addr <> address_t('Main', 'Sp', 1234.6);
select count(*) from people p where p.addr < address_t('Main', 'Sp', 1234.6);
select p.name from people p order by p.addr;
select max(p.addr) from people p;
select p.addr || 'x' from people p;
select name from people p where p.addr = 5;
-- REFs: REF(alias), navigation through attribute paths and DEREF.
update people p set p.boss = (select ref(b) from people b where b.name = 'Ann') where p.name <> 'Ann';
select p.name, p.boss.name, p.boss.addr.city from people p order by 1;
select deref(p.boss) from people p where p.name = 'Bob';
select count(*) from people p where p.boss = (select ref(a) from people a where a.name = 'Ann');
select name from people p where ref(p) = (select q.boss from people q where q.name = 'Cy');
select ref(e) from emp e;
select deref(p.name) from people p;
delete from people where name = 'Ann';
select p.name, p.boss.name, nvl2(p.boss, 'dangling', 'null') boss from people p order by 1;
-- REF columns with a scope.
create table teams (id number, lead ref person_t scope is people);
insert into teams select 1, ref(p) from people p where p.name = 'Bob';
select t.id, t.lead.name, t.lead.addr.zip from teams t;
create table others of person_t;
insert into others values ('Eve', null, null, null);
insert into teams select 2, ref(o) from others o;
create table bad (r ref person_t scope is emp);
create table bad (r ref address_t scope is people);
-- Columns of object and collection types.
create table contacts (id number primary key, who person_t, phones phones_t, tags tags_t) nested table tags store as contacts_tags;
create table bad (id number, tags tags_t);
create table bad (id number, phones phones_t) nested table phones store as bad_phones;
insert into contacts values (1, person_t('Cy', null, null, null), phones_t('555-1', '555-2'), tags_t('a', 'b'));
insert into contacts values (2, null, phones_t(), tags_t());
insert into contacts values (3, null, phones_t('1', '2', '3', '4'), null);
insert into contacts values (3, null, phones_t('123456789'), null);
insert into contacts values (3, address_t('x', 'y', 1), null, null);
select * from contacts order by id;
select c.id, c.who.name from contacts c order by 1;
select id from contacts c where c.who is null;
select id from contacts c where c.phones = phones_t();
update contacts c set c.who.addr = address_t('New', 'Town', 1) where c.id = 1;
update contacts c set c.who.addr.city = 'Other' where c.id = 1;
update contacts c set c.who.name = 'Zed' where c.id = 2;
update contacts c set c.who.nosuch = 1 where c.id = 1;
select c.who from contacts c where c.id = 1;
create table bad (p person_t primary key);
create index contacts_who on contacts (who);
insert into contacts (id) values (4) returning who into :x;
select column_name, data_type, data_type_mod, data_type_owner from user_tab_columns where table_name = 'TEAMS' order by column_id;
select table_name, table_type_owner, table_type from user_object_tables order by 1;
select table_name from user_tables order by 1;
-- Views, CREATE TABLE AS SELECT.
create view v_people as select p.name, p.addr, ref(p) r from people p;
select name, addr from v_people order by name;
select v.r.name from v_people v order by 1;
create table addr_copy as select name, addr from people;
select * from addr_copy order by name;
-- Object tables cannot change their columns.
alter table people add (x number);
alter table people drop column born;
alter table contacts modify (who number);
-- Incomplete types, OR REPLACE, DROP TYPE [FORCE].
create type node_t;
/
create type link_t as object (next ref node_t);
/
create type holder_t as object (n node_t);
/
create type node_t as object (v number, link link_t);
/
select type_name, incomplete from user_types where type_name = 'NODE_T';
create or replace type phones_t as varray(5) of varchar2(8);
/
create or replace type small_t as object (a number);
/
create or replace type small_t as object (a number, b varchar2(3));
/
select small_t(1, 'xy') from dual;
select small_t(1) from dual;
drop type small_t;
drop type small_t;
drop type person_t;
drop type address_t force;
select status from user_objects where object_name = 'PERSON_T';
select count(*) from people;
select * from addr_copy order by name;
select column_name from user_tab_columns where table_name = 'ADDR_COPY';
-- Set operators, ALTER TYPE, referential REF constraints.
create type pt_t as object (x number);
/
create table pts of pt_t;
insert into pts values (1);
select value(p) from pts p union all select value(p) from pts p;
select value(p) from pts p union select value(p) from pts p;
select value(p) from pts p union all select 1 from dual;
alter type pt_t compile;
alter type pt_t add attribute y number;
create table refk (r ref pt_t references pts);
create table refk (r ref pt_t, constraint fk foreign key (r) references pts);
-- PL/SQL holds no values of user-defined types; their attributes are values.
set serveroutput on
declare v varchar2(100); begin select value(p) into v from pts p; end;
/
declare n number; begin select p.x into n from pts p; dbms_output.put_line(n); end;
/
-- DROP USER CASCADE takes the user's types; tables elsewhere lose their columns.
create user tu identified by tu;
connect tu/tu
create type a_t as object (x number);
/
create type b_t as object (a a_t, r ref a_t);
/
create table at of a_t;
connect scott/tiger
create table sc (id number, b tu.b_t);
create table sc_only (b tu.b_t);
insert into sc values (1, null);
drop user tu cascade;
select count(*) from all_types where owner = 'TU';
select * from sc;
select * from sc_only;
select object_name, status from user_objects where object_name like 'SC%' order by 1;
