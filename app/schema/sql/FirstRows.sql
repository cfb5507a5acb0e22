-- The rows a new shop database starts with (the operator "高级用户" and its rights are written
-- by the builder, which hashes the empty password).

-- The shop settings row: the program reads and edits the first row only. Stock management is
-- on, and the program offers a backup when it closes; the shop fills in its name and contacts
-- in the settings dialog.
INSERT INTO tReportTitle (CorpName, CorpTel, CorpFax, CorpAddr, LinkMen, isStock, isBackup)
VALUES ('', '', '', '', '', 1, 1);

-- Card types, read in table order by the top-ups: a card takes the type with the highest
-- threshold (Amount) its balance reaches. Every numeric benefit is a number, never empty, since
-- the top-up copies them into the card.
INSERT INTO t_Cardtype (CardType, Amount, Times, WashItem, WashUseTime, XZhe, CZhe,
                        Item1, Time1, Item2, Time2) VALUES
('银卡',    500, 10, '清洁保养',  5, 9.5, 9.8, '贴膜', 1, '',         0),
('金卡',   1000, 20, '清洁保养', 10, 9.0, 9.5, '贴膜', 2, '系统升级', 2),
('钻石卡', 2000, 40, '清洁保养', 20, 8.5, 9.0, '贴膜', 4, '系统升级', 4);
