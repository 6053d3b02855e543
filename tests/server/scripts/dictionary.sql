-- The dictionary statements the library sends, answered on the SCOTT
-- schema (bind values written in place).
select constraint_name, column_name from sys.all_cons_columns
where owner = 'SCOTT' and table_name = 'EMP'
and constraint_name not like 'SYS_C%'
order by constraint_name;
select constraint_type, r_constraint_name, r_owner, search_condition
  from sys.all_constraints
 where constraint_name = 'FK_DEPTNO' and owner = 'SCOTT'
   and status = 'ENABLED';
select constraint_type, r_constraint_name, r_owner, search_condition
  from sys.all_constraints
 where constraint_name = 'PK_EMP' and owner = 'SCOTT'
   and constraint_type != 'C';
select table_name, column_name from sys.all_cons_columns where owner = 'SCOTT' and constraint_name = 'PK_DEPT';
select column_name, data_default from sys.all_tab_columns
where owner = 'SCOTT' and table_name = 'EMP'
and data_default is not null;
select * from emp where 1 = 0;
select constraint_name from all_constraints
where owner = 'SCOTT' and table_name = 'EMP'
and constraint_type in ('P', 'U')
order by constraint_type;
select column_name from all_cons_columns
where owner = 'SCOTT' and table_name = 'EMP'
and constraint_name = 'PK_EMP';
select fk.constraint_name fkname, pk.constraint_name pkname
  from sys.all_constraints fk, sys.all_constraints pk
 where fk.constraint_type = 'R'
   and fk.owner = 'SCOTT' and fk.table_name = 'EMP'
   and pk.constraint_name = fk.r_constraint_name
   and pk.owner = 'SCOTT' and pk.table_name = 'DEPT';
select column_name from sys.all_cons_columns
 where owner = 'SCOTT' and constraint_name = 'FK_DEPTNO'
 order by position;
select owner, table_name from all_tables
where owner = user and table_name = 'EMP';
select table_owner, table_name from all_synonyms
where owner = 'PUBLIC' and synonym_name = 'DUAL';
select user, table_name from sys.user_tables where table_name = 'DEPT';
select table_owner, table_name from sys.user_synonyms where synonym_name = 'EMP';
select table_owner, table_name from sys.all_synonyms where owner = 'PUBLIC' and synonym_name = 'ALL_TABLES';
select table_name from user_tables order by table_name;
select owner, table_name, column_name, data_type, data_length, data_precision, data_scale, nullable, column_id from all_tab_columns where owner = 'SCOTT' and table_name = 'DEPT' order by column_id;
select owner, constraint_name, constraint_type, table_name, r_owner, r_constraint_name, delete_rule, status from all_constraints where owner = 'SCOTT' order by constraint_name;
select owner, constraint_name, table_name, column_name, position from all_cons_columns where owner = 'SCOTT' order by constraint_name, position;
select object_name, object_type, status from user_objects order by object_name;
select count(*) from all_objects where owner = 'SCOTT' and object_id > 0;
select username from all_users where username = 'SCOTT';
select sequence_owner, sequence_name from all_sequences where sequence_owner = 'MAN';
select owner, table_name from all_tables where owner = 'MAN';
select index_name, table_name, uniqueness from user_indexes order by 1;
select tname, tabtype from tab order by 1;
select count(*) from sys.all_tables where owner = 'SCOTT';
