begin
  :out := :in * 2;
  if :out > 10 then :flag := 'Y'; elsif :out < 0 then :flag := 'N'; else :flag := null; end if;
end;