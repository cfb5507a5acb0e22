select * from vStock　where P2 > 1 -- 注释
