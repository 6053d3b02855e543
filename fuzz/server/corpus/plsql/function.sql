create function annual(p_sal in number, p_comm in number := null) return number as
begin
  return p_sal * 12 + nvl(p_comm, 0);
exception
  when zero_divide then return null;
end;