select count(*) n, sum(Price), jet_left(Name, 1), case when Qty > 1 then Price else 'x' end v from tStock group by Code
