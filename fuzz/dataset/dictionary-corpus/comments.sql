select * /* from bonus */ from emp -- from dept
where 1=1