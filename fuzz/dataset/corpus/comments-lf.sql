select * -- every column
from emp--x
where sal > 0
order by 1