SELECT Price*2 AS P2, 0 AS Disc, Code & '-' & Name AS T, #2006-03-05# AS D FROM tStock WHERE Code = :c AND InDate > #3/5/2006#
