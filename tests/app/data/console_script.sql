select name, friend.name from man.dogs
select count(*) from man.dogs where age > 6
&3
select name, age from man.dogs where age = &3 or name = 'Rex'
select owner.city, count(*), max(age) from man.dogs group by owner.city
select max(name) from man.persons

insert into man.dogs (name, age) values ('Zed', 1)
COMMIT
select count(*) from man.dogs
&1
select name from man.dogs where age = &1 - 12 or name = 'x''); delete from man.dogs; --'
&x ignored
commit;
select name from man.dogs
