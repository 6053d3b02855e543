-- user: system/manager
-- Users, passwords and account states.
create user tom identified by cat;
create user tom identified by cat;
connect tom/cat
select user from dual;
create table mine (a number);
insert into mine values (1);
commit;
connect system/manager
select count(*) from tom.mine;
alter user tom identified by dog;
connect tom/cat
connect tom/dog
connect system/manager
alter user tom account lock;
connect tom/dog
alter user tom account unlock;
alter user tom password expire;
connect tom/dog
alter user tom identified by fish;
connect tom/fish
connect system/manager
alter user tom password grace 5;
select username, account_status from dba_users where username = 'TOM';
connect tom/fish
select user from dual;
connect system/manager
alter user nobody account lock;
drop user tom;
drop user tom cascade;
select count(*) from all_users where username = 'TOM';
connect nobody/x
select username from all_users where username in ('SYS', 'SYSTEM', 'SCOTT', 'MAN') order by 1;
create user ops$joe identified externally;
select username, account_status from dba_users where username = 'OPS$JOE';
drop user system;
