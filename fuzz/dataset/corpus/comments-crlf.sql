select *
from emp -- all rows
where x = 1 /* block
 comment */ and y = 2
order by x