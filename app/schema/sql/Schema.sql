-- The shop database: every table, index and saved query.
--
-- Declared types carry the column kinds of the original Jet database; the dataset layer reads
-- them back through sqlite3_column_decltype. The first word names the kind; a second word, where
-- there is one, only gives SQLite the storage affinity the kind needs:
--
--   TEXT(n) COLLATE NOCASE   string of at most n characters, compared without letter case
--   MEMO TEXT                long text (without "TEXT" SQLite would give "MEMO" numeric
--                            affinity and turn a memo such as "0012" into the number 12)
--   INTEGER                  long integer
--   INTEGER PRIMARY KEY AUTOINCREMENT
--                            AutoNumber: the declared type reads "INTEGER"; the column is an
--                            AutoNumber because it is the INTEGER PRIMARY KEY of a table declared
--                            with AUTOINCREMENT (sqlite3_table_column_metadata reports primary
--                            key and autoinc). In this schema such columns are ID and IndexID.
--   MONEY REAL               currency, stored as REAL rounded to 4 places (plain "MONEY" would
--                            get numeric affinity and store 12.0 as the integer 12, so sums of
--                            whole amounts would come back as integers)
--   DOUBLE                   8-byte float
--   DECIMAL                  BCD value (no column of the shop uses it yet)
--   DATETIME                 text 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS'
--   YESNO                    0 or 1, never Null: declared NOT NULL with a default, so that
--                            a filter such as IsSettle <> true finds every false row
--   BLOB                     byte data (templates, pictures, stored query definitions)
--
-- Head and line tables are joined by BillNo; the database enforces no relations. Amounts and
-- quantities that the documents add up default to 0, so a line or head written without them
-- still sums. A bill head's BillNo and each master code is unique (NOCASE, like Jet).
--
-- Keep this file in step with Dictionary.sql: the builder refuses a database in which a column
-- has no caption or a caption names no column.

-- Work orders ------------------------------------------------------------------------------

CREATE TABLE t_ReceptionMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    BillDate      DATETIME,
    INtime        DATETIME,
    Outtime       DATETIME,
    IsSettle      YESNO NOT NULL DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    CName         TEXT(60) COLLATE NOCASE,
    VIN           TEXT(30) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    EngineNo      TEXT(30) COLLATE NOCASE,
    MarkNo        TEXT(30) COLLATE NOCASE,
    YearQty       TEXT(30) COLLATE NOCASE,
    LinkMen       TEXT(30) COLLATE NOCASE,
    Tel           TEXT(30) COLLATE NOCASE,
    HTel          TEXT(30) COLLATE NOCASE,
    Mileage       DOUBLE,
    MileageUnit   TEXT(10) COLLATE NOCASE DEFAULT '天',
    MainWorker    TEXT(20) COLLATE NOCASE,
    Receiver      TEXT(20) COLLATE NOCASE,
    checker       TEXT(20) COLLATE NOCASE,
    Settler       TEXT(20) COLLATE NOCASE,
    CMarker       TEXT(20) COLLATE NOCASE,
    ClientEvent   TEXT(255) COLLATE NOCASE,
    Slave         TEXT(255) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    Brief         TEXT(255) COLLATE NOCASE,
    STimesAmount  MONEY REAL DEFAULT 0,
    TimesAmount   MONEY REAL DEFAULT 0,
    SPartsAmount  MONEY REAL DEFAULT 0,
    PartsAmount   MONEY REAL DEFAULT 0,
    XZhe          DOUBLE DEFAULT 0,
    CZhe          DOUBLE DEFAULT 0,
    CostAmount    MONEY REAL DEFAULT 0,
    ManaAmount    MONEY REAL DEFAULT 0,
    tcAmount      MONEY REAL DEFAULT 0,
    nsAmount      MONEY REAL DEFAULT 0,
    OtherAmount   MONEY REAL DEFAULT 0,
    TaxAmount     MONEY REAL DEFAULT 0,
    TotalAmount   MONEY REAL DEFAULT 0,
    Received      MONEY REAL DEFAULT 0,
    DecAmount     MONEY REAL DEFAULT 0
);
CREATE UNIQUE INDEX ux_ReceptionMst_BillNo ON t_ReceptionMst (BillNo);
CREATE INDEX ix_ReceptionMst_BillDate ON t_ReceptionMst (BillDate);
CREATE INDEX ix_ReceptionMst_VIN ON t_ReceptionMst (VIN);

CREATE TABLE t_ReceptionDlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    SItemCode     TEXT(30) COLLATE NOCASE,
    SItemName     TEXT(60) COLLATE NOCASE,
    TimeAmount    MONEY REAL DEFAULT 0,
    PayType       TEXT(10) COLLATE NOCASE DEFAULT '客付',
    Scode         TEXT(20) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE INDEX ix_ReceptionDlt_BillNo ON t_ReceptionDlt (BillNo);

CREATE TABLE t_ReceptionDlt2 (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Qty           INTEGER DEFAULT 0,
    Price         MONEY REAL DEFAULT 0,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Amount        MONEY REAL DEFAULT 0,
    CostPrice     MONEY REAL DEFAULT 0,
    PayType       TEXT(10) COLLATE NOCASE DEFAULT '客付',
    Scode         TEXT(20) COLLATE NOCASE
);
CREATE INDEX ix_ReceptionDlt2_BillNo ON t_ReceptionDlt2 (BillNo);

CREATE TABLE t_ReceptionDlt3 (
    BillNo        TEXT(30) COLLATE NOCASE,
    ReceivTime    DATETIME,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    acctype       TEXT(10) COLLATE NOCASE DEFAULT '现金',
    BNO           TEXT(30) COLLATE NOCASE,
    CardNo        TEXT(20) COLLATE NOCASE
);
CREATE INDEX ix_ReceptionDlt3_BillNo ON t_ReceptionDlt3 (BillNo);

-- Counter sales ----------------------------------------------------------------------------

CREATE TABLE t_OutMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    CName         TEXT(60) COLLATE NOCASE,
    Charger       TEXT(20) COLLATE NOCASE,
    BillDate      DATETIME,
    Payed         MONEY REAL DEFAULT 0,
    TotalAmount   MONEY REAL DEFAULT 0,
    CostAmount    MONEY REAL DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    BillType      TEXT(20) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_OutMst_BillNo ON t_OutMst (BillNo);
CREATE INDEX ix_OutMst_BillDate ON t_OutMst (BillDate);

CREATE TABLE t_Outdlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    Qty           INTEGER DEFAULT 0,
    Price         MONEY REAL DEFAULT 0,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Rebate        DOUBLE DEFAULT 0,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    Location      TEXT(30) COLLATE NOCASE,
    Costprice     MONEY REAL DEFAULT 0
);
CREATE INDEX ix_Outdlt_BillNo ON t_Outdlt (BillNo);

CREATE TABLE t_Outdlt1 (
    BillNo        TEXT(30) COLLATE NOCASE,
    ReceivTime    DATETIME,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    acctype       TEXT(10) COLLATE NOCASE DEFAULT '现金',
    BNO           TEXT(30) COLLATE NOCASE
);
CREATE INDEX ix_Outdlt1_BillNo ON t_Outdlt1 (BillNo);

-- Purchases --------------------------------------------------------------------------------

CREATE TABLE t_InMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    BillDate      DATETIME,
    SCode         TEXT(30) COLLATE NOCASE,
    SName         TEXT(60) COLLATE NOCASE,
    Charger       TEXT(20) COLLATE NOCASE,
    TotalAmount   MONEY REAL DEFAULT 0,
    Payed         MONEY REAL DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    BNo           TEXT(30) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_InMst_BillNo ON t_InMst (BillNo);
CREATE INDEX ix_InMst_BillDate ON t_InMst (BillDate);

CREATE TABLE t_InDlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    Qty           INTEGER DEFAULT 0,
    Costprice     MONEY REAL DEFAULT 0,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    Location      TEXT(30) COLLATE NOCASE
);
CREATE INDEX ix_InDlt_BillNo ON t_InDlt (BillNo);
CREATE INDEX ix_InDlt_ItemCode ON t_InDlt (ItemCode);

CREATE TABLE t_InDlt1 (
    BillNo        TEXT(30) COLLATE NOCASE,
    ReceivTime    DATETIME,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    acctype       TEXT(10) COLLATE NOCASE DEFAULT '现金',
    BNO           TEXT(30) COLLATE NOCASE
);
CREATE INDEX ix_InDlt1_BillNo ON t_InDlt1 (BillNo);

-- Stock-taking -----------------------------------------------------------------------------

CREATE TABLE t_CheckMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    Charger       TEXT(20) COLLATE NOCASE,
    BillDate      DATETIME,
    Remark        TEXT(255) COLLATE NOCASE,
    TotalAmount   MONEY REAL DEFAULT 0,
    TotalQuantity INTEGER DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_CheckMst_BillNo ON t_CheckMst (BillNo);
CREATE INDEX ix_CheckMst_BillDate ON t_CheckMst (BillDate);

CREATE TABLE t_CheckDlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Qty1          INTEGER DEFAULT 0,
    Qty2          INTEGER DEFAULT 0,
    Qty           INTEGER DEFAULT 0,
    Costprice     MONEY REAL DEFAULT 0,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    Location      TEXT(30) COLLATE NOCASE
);
CREATE INDEX ix_CheckDlt_BillNo ON t_CheckDlt (BillNo);

-- Payment vouchers -------------------------------------------------------------------------

CREATE TABLE t_PayMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    BillDate      DATETIME,
    Billtype      TEXT(20) COLLATE NOCASE,
    Biller        TEXT(20) COLLATE NOCASE,
    Checker       TEXT(20) COLLATE NOCASE,
    Charger       TEXT(20) COLLATE NOCASE,
    TotalAmount   MONEY REAL DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_PayMst_BillNo ON t_PayMst (BillNo);
CREATE INDEX ix_PayMst_BillDate ON t_PayMst (BillDate);

CREATE TABLE t_Paydlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    Billtype      TEXT(20) COLLATE NOCASE,
    BusinessNo    TEXT(30) COLLATE NOCASE,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE INDEX ix_Paydlt_BillNo ON t_Paydlt (BillNo);

-- Stock-out bills (kept for the data clearing; no form writes them) -------------------------

CREATE TABLE t_OutStkMst (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    BillDate      DATETIME,
    Charger       TEXT(20) COLLATE NOCASE,
    TotalAmount   MONEY REAL DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_OutStkMst_BillNo ON t_OutStkMst (BillNo);

CREATE TABLE t_OutStkDlt (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillNo        TEXT(30) COLLATE NOCASE,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Qty           INTEGER DEFAULT 0,
    Costprice     MONEY REAL DEFAULT 0,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(255) COLLATE NOCASE,
    Location      TEXT(30) COLLATE NOCASE
);
CREATE INDEX ix_OutStkDlt_BillNo ON t_OutStkDlt (BillNo);

-- Other income and expenses ----------------------------------------------------------------

CREATE TABLE t_DayAccount (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillDate      DATETIME,
    BillType      TEXT(20) COLLATE NOCASE,
    JD            TEXT(50) COLLATE NOCASE DEFAULT '收入',
    JAmount       MONEY REAL DEFAULT 0,
    DAmount       MONEY REAL DEFAULT 0,
    Charger       TEXT(12) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);
CREATE INDEX ix_DayAccount_BillDate ON t_DayAccount (BillDate);

-- Membership cards, top-ups and inspections ------------------------------------------------

CREATE TABLE t_Card (
    CardNo        TEXT(20) COLLATE NOCASE,
    CardType      TEXT(20) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    BeginDate     DATETIME,
    EndDate       DATETIME,
    Amount        MONEY REAL DEFAULT 0,
    MaxTime       INTEGER DEFAULT 0,
    Useed         INTEGER DEFAULT 0,
    State         TEXT(10) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    WashItem      TEXT(60) COLLATE NOCASE,
    WashUseTime   INTEGER DEFAULT 0,
    XZhe          DOUBLE DEFAULT 0,
    CZhe          DOUBLE DEFAULT 0,
    Item1         TEXT(60) COLLATE NOCASE,
    Item2         TEXT(60) COLLATE NOCASE,
    Time1         INTEGER DEFAULT 0,
    Time2         INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX ux_Card_CardNo ON t_Card (CardNo);

CREATE TABLE t_CardAdd (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    BillDate      DATETIME,
    CardNo        TEXT(20) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    Balance       DOUBLE DEFAULT 0,
    Amount        MONEY REAL DEFAULT 0,
    Remark        TEXT(50) COLLATE NOCASE
);
CREATE INDEX ix_CardAdd_BillDate ON t_CardAdd (BillDate);

CREATE TABLE t_Cardtype (
    CardType      TEXT(20) COLLATE NOCASE,
    Amount        MONEY REAL DEFAULT 0,
    Times         INTEGER DEFAULT 0,
    WashItem      TEXT(60) COLLATE NOCASE,
    WashUseTime   INTEGER DEFAULT 0,
    XZhe          DOUBLE DEFAULT 0,
    CZhe          DOUBLE DEFAULT 0,
    Item1         TEXT(60) COLLATE NOCASE,
    Time1         INTEGER DEFAULT 0,
    Item2         TEXT(60) COLLATE NOCASE,
    Time2         INTEGER DEFAULT 0
);

CREATE TABLE t_CheckVehicle (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    Vin           TEXT(30) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    CName         TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    CheckType     TEXT(10) COLLATE NOCASE,
    BeginDate     DATETIME,
    EndDate       DATETIME,
    ReBillNo      TEXT(30) COLLATE NOCASE,
    CheckDate     DATETIME,
    Checker       TEXT(20) COLLATE NOCASE,
    BillDate      DATETIME,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE INDEX ix_CheckVehicle_BillDate ON t_CheckVehicle (BillDate);

-- Master data ------------------------------------------------------------------------------

CREATE TABLE tVehicle (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    VIN           TEXT(30) COLLATE NOCASE,
    CCode         TEXT(30) COLLATE NOCASE,
    CName         TEXT(60) COLLATE NOCASE,
    LinkMen       TEXT(30) COLLATE NOCASE,
    Tel           TEXT(30) COLLATE NOCASE,
    HTel          TEXT(30) COLLATE NOCASE,
    Addr          TEXT(100) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    EngineNo      TEXT(30) COLLATE NOCASE,
    Mileage       DOUBLE,
    MileageUnit   TEXT(10) COLLATE NOCASE DEFAULT '天',
    MilQty        TEXT(30) COLLATE NOCASE,
    YearQty       TEXT(30) COLLATE NOCASE,
    MarkNo        TEXT(30) COLLATE NOCASE,
    Slave         TEXT(255) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    BornDate      DATETIME,
    InSureDate    DATETIME,
    SCheckDate    DATETIME,
    YCheckDate    DATETIME,
    State         TEXT(20) COLLATE NOCASE,
    ClientEvent   TEXT(255) COLLATE NOCASE,
    BillNo        TEXT(30) COLLATE NOCASE,
    RebillNo      TEXT(30) COLLATE NOCASE,
    Brief         TEXT(255) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_Vehicle_VIN ON tVehicle (VIN);
CREATE INDEX ix_Vehicle_CCode ON tVehicle (CCode);

CREATE TABLE t_Client (
    CCode         TEXT(30) COLLATE NOCASE,
    CName         TEXT(60) COLLATE NOCASE,
    ClientType    TEXT(20) COLLATE NOCASE,
    Fax           TEXT(30) COLLATE NOCASE,
    Tel           TEXT(30) COLLATE NOCASE,
    Linkmen       TEXT(30) COLLATE NOCASE,
    Area          TEXT(30) COLLATE NOCASE,
    Postcode      TEXT(10) COLLATE NOCASE,
    E_mail        TEXT(60) COLLATE NOCASE,
    ItlAdd        TEXT(100) COLLATE NOCASE,
    TaxNo         TEXT(40) COLLATE NOCASE,
    BankNo        TEXT(40) COLLATE NOCASE,
    Bank          TEXT(60) COLLATE NOCASE,
    Addr          TEXT(100) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    HTel          TEXT(30) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_Client_CCode ON t_Client (CCode);

CREATE TABLE t_Supplier (
    SCode         TEXT(30) COLLATE NOCASE,
    SName         TEXT(60) COLLATE NOCASE,
    SupplierType  TEXT(20) COLLATE NOCASE,
    Linkmen       TEXT(30) COLLATE NOCASE,
    Tel           TEXT(30) COLLATE NOCASE,
    Fax           TEXT(30) COLLATE NOCASE,
    Postcode      TEXT(10) COLLATE NOCASE,
    E_mail        TEXT(60) COLLATE NOCASE,
    Bank          TEXT(60) COLLATE NOCASE,
    ItlAdd        TEXT(100) COLLATE NOCASE,
    Area          TEXT(30) COLLATE NOCASE,
    BankNo        TEXT(40) COLLATE NOCASE,
    TaxNo         TEXT(40) COLLATE NOCASE,
    Addr          TEXT(100) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_Supplier_SCode ON t_Supplier (SCode);

CREATE TABLE tServiceItem (
    SItemCode     TEXT(30) COLLATE NOCASE,
    SItemName     TEXT(60) COLLATE NOCASE,
    CTime         DOUBLE DEFAULT 0,
    ITime         DOUBLE DEFAULT 0,
    TimeAmount    MONEY REAL DEFAULT 0,
    MinTimeAmount MONEY REAL DEFAULT 0,
    MaxTimeAmount MONEY REAL DEFAULT 0,
    TimeType      TEXT(10) COLLATE NOCASE DEFAULT '按工时',
    ReRate        INTEGER DEFAULT 0,
    FDescrition   TEXT(100) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    Remark2       TEXT(255) COLLATE NOCASE,
    PY            TEXT(60) COLLATE NOCASE,
    WB            TEXT(60) COLLATE NOCASE,
    WBH           TEXT(60) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_ServiceItem_SItemCode ON tServiceItem (SItemCode);

CREATE TABLE t_Stock (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    Qty           INTEGER DEFAULT 0,
    Price         MONEY REAL DEFAULT 0,
    CostPrice     MONEY REAL DEFAULT 0,
    UnitCode      TEXT(10) COLLATE NOCASE,
    Location      TEXT(30) COLLATE NOCASE,
    BusinessNo    TEXT(30) COLLATE NOCASE,
    Remark        TEXT(255) COLLATE NOCASE,
    PY            TEXT(60) COLLATE NOCASE,
    WB            TEXT(60) COLLATE NOCASE,
    WBH           TEXT(60) COLLATE NOCASE
);
CREATE UNIQUE INDEX ux_Stock_ItemCode ON t_Stock (ItemCode);

CREATE TABLE tMaterial (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    ItemCode      TEXT(30) COLLATE NOCASE,
    ItemName      TEXT(60) COLLATE NOCASE,
    PartsCode     TEXT(30) COLLATE NOCASE,
    UnitCode      TEXT(10) COLLATE NOCASE,
    ItemClass     TEXT(30) COLLATE NOCASE,
    CostPrice     MONEY REAL DEFAULT 0,
    SalePrice     MONEY REAL DEFAULT 0,
    FOBPrice      MONEY REAL DEFAULT 0,
    Location      TEXT(30) COLLATE NOCASE,
    Model         TEXT(30) COLLATE NOCASE,
    EngineNo      TEXT(30) COLLATE NOCASE,
    TypeCode      TEXT(20) COLLATE NOCASE,
    SCode         TEXT(30) COLLATE NOCASE,
    EItemName     TEXT(60) COLLATE NOCASE
);
CREATE INDEX ix_Material_ItemCode ON tMaterial (ItemCode);

CREATE TABLE tMaterialName (
    ItemName      TEXT(60) COLLATE NOCASE,
    PY            TEXT(60) COLLATE NOCASE,
    WBH           TEXT(60) COLLATE NOCASE,
    WB            TEXT(60) COLLATE NOCASE,
    OrderID       INTEGER DEFAULT 0
);

-- Lookup lists of the pick lists -----------------------------------------------------------

CREATE TABLE t_Model (
    Model         TEXT(30) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_MainWorker (
    MainWorker    TEXT(20) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_EngineNo (
    EngineNo      TEXT(30) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_SupplierType (
    SupplierType  TEXT(20) COLLATE NOCASE
);

CREATE TABLE t_Receiver (
    Receiver      TEXT(20) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_VINPre (
    VIN           TEXT(30) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_ClientType (
    ClientType    TEXT(20) COLLATE NOCASE
);

CREATE TABLE t_MisInfo (
    MisInfo       TEXT(100) COLLATE NOCASE
);

-- System tables ----------------------------------------------------------------------------

-- One row per granted right. Password holds the salted hash of the operator's password (up to
-- 127 characters for libsodium's "$argon2id$..." text, hence 128), repeated on every row of
-- the operator; Right is module, '-' and action, possibly indented with blanks.
CREATE TABLE t_UserDB (
    UserCode      TEXT(30) COLLATE NOCASE,
    Password      TEXT(128) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE,
    "Right"       TEXT(100) COLLATE NOCASE
);
CREATE INDEX ix_UserDB_UserCode ON t_UserDB (UserCode);

CREATE TABLE tReportTitle (
    CorpName      TEXT(100) COLLATE NOCASE,
    CorpTel       TEXT(30) COLLATE NOCASE,
    CorpFax       TEXT(30) COLLATE NOCASE,
    CorpAddr      TEXT(100) COLLATE NOCASE,
    LinkMen       TEXT(30) COLLATE NOCASE,
    isStock       YESNO NOT NULL DEFAULT 0,
    isBackup      YESNO NOT NULL DEFAULT 0
);

CREATE TABLE tRctReport (
    ReportClass   TEXT(50) COLLATE NOCASE,
    OrderID       INTEGER DEFAULT 0,
    ReportName    TEXT(60) COLLATE NOCASE,
    ReportType    TEXT(10) COLLATE NOCASE DEFAULT '标准式',
    ReportData    BLOB
);
CREATE INDEX ix_RctReport_ReportClass ON tRctReport (ReportClass);

CREATE TABLE tQueryReport (
    FormName      TEXT(30) COLLATE NOCASE,
    ReportName    TEXT(30) COLLATE NOCASE,
    Descrition    TEXT(60) COLLATE NOCASE,
    ReportDB      BLOB,
    ReportMemo    MEMO TEXT COLLATE NOCASE,
    GroupCode     TEXT(30) COLLATE NOCASE,
    OrderIndex    INTEGER DEFAULT 0,
    SampleIMG     BLOB,
    VersionIndex  INTEGER DEFAULT 0
);

CREATE TABLE tDictMst (
    Tablename     TEXT(20) COLLATE NOCASE,
    CTableName    TEXT(60) COLLATE NOCASE,
    Description   TEXT(60) COLLATE NOCASE,
    KeyFields     TEXT(50) COLLATE NOCASE,
    IndexFields   TEXT(50) COLLATE NOCASE,
    OutKey        TEXT(50) COLLATE NOCASE,
    SysTable      YESNO NOT NULL DEFAULT 0,
    VersionID     INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX ux_DictMst_Tablename ON tDictMst (Tablename);

CREATE TABLE tDictDlt (
    TableName     TEXT(20) COLLATE NOCASE,
    FieldName     TEXT(20) COLLATE NOCASE,
    CFieldName    TEXT(30) COLLATE NOCASE,
    FieldLen      INTEGER DEFAULT 0,
    FieldType     TEXT(12) COLLATE NOCASE,
    DefaultValue  TEXT(30) COLLATE NOCASE,
    MaxValue      INTEGER,
    MinValue      INTEGER,
    VersionIndex  INTEGER DEFAULT 0,
    CanNull       YESNO NOT NULL DEFAULT 1,
    IndexID       INTEGER PRIMARY KEY AUTOINCREMENT
);
CREATE UNIQUE INDEX ux_DictDlt_Field ON tDictDlt (TableName, FieldName);

CREATE TABLE tAccount (
    BusinssDB     TEXT(50) COLLATE NOCASE,
    logo          BLOB,
    ReportTitle1  TEXT(100) COLLATE NOCASE,
    ReportTitle2  TEXT(100) COLLATE NOCASE
);

CREATE TABLE tRctStr (
    RctCode       TEXT(30) COLLATE NOCASE,
    RctName       TEXT(40) COLLATE NOCASE,
    Description   TEXT(50) COLLATE NOCASE,
    RctData       BLOB
);
CREATE UNIQUE INDEX ux_RctStr_RctCode ON tRctStr (RctCode);

-- Reserved tables: kept by the full data clearing, read by no form.
CREATE TABLE t_Setting (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    SetName       TEXT(50) COLLATE NOCASE,
    SetValue      TEXT(255) COLLATE NOCASE,
    Remark        TEXT(100) COLLATE NOCASE
);

CREATE TABLE t_SNo (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    SNoType       TEXT(20) COLLATE NOCASE,
    SNoDate       DATETIME,
    SNo           INTEGER DEFAULT 0
);

-- Saved queries ----------------------------------------------------------------------------

-- One row per work order for the monthly and yearly statistics: the day received and its
-- year * 100 + month. The money columns are plain column references so that they keep their
-- declared type through the view.
CREATE VIEW V_Receiv AS
SELECT ID,
       BillNo,
       substr(INtime, 1, 10) AS sIntime,
       CAST(substr(INtime, 1, 4) AS INTEGER) * 100 + CAST(substr(INtime, 6, 2) AS INTEGER)
           AS YearMonth,
       TimesAmount,
       PartsAmount,
       TotalAmount,
       Received,
       DecAmount,
       CostAmount
  FROM t_ReceptionMst;
