select 'where' w, (select 1 from dual where 1 = 1) x
from emp e -- where
