// TFrmSystemSetup: the system settings. The page "系统功能" holds the stock switch, the backup
// offer on exit, the home page of INC.ini and the button that fills the input codes of parts
// and repair items; the page "报表设置" edits the shop's name and contact data in the settings
// row of tReportTitle (the data module's QryTitle).
//
// Every close saves: the two switches go into the settings row and at once into StockEnabled
// and BackupOnExit, the home page into INC.ini. An empty tReportTitle gets its row then.
#pragma once

#include "app/shell/uABase.h"

class QTabWidget;
class TDataSource;
class TQxBitBtn;
class TQxCheckBox;
class TQxDBEDIT;
class TQxEdit;
class TQxLabel;

class TFrmSystemSetup : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmSystemSetup(QWidget* parent = nullptr);
    ~TFrmSystemSetup() override;

    TDataSource* const dsTitle; // over the data module's QryTitle

    QTabWidget* const PageControl1;
    QWidget* const TabSystem; // "系统功能"
    QWidget* const TabReport; // "报表设置"

    TQxCheckBox* const cbxStock;  // "启用库存管理"
    TQxCheckBox* const CbxBackup; // "系统退出时提示备份"
    TQxLabel* const LblHomepage;  // "主页："
    TQxEdit* const EdtHomepage;
    TQxBitBtn* const BtnMakeCodes; // "生成拼音五笔码"

    TQxLabel* const LblCorpName; // "公司名称："
    TQxDBEDIT* const EdtCorpName;
    TQxLabel* const LblCorpTel; // "电话："
    TQxDBEDIT* const EdtCorpTel;
    TQxLabel* const LblCorpFax; // "传真："
    TQxDBEDIT* const EdtCorpFax;
    TQxLabel* const LblCorpAddr; // "地址："
    TQxDBEDIT* const EdtCorpAddr;
    TQxLabel* const LblLinkMen; // "联系人："
    TQxDBEDIT* const EdtLinkMen;

    // The home page from INC.ini ("index.htm" when it names none) and the two switches from
    // the settings row.
    void FormShow(QObject* Sender) override;
    // Frees the form, then saves, in this order: the stock switch, the home page, the backup
    // switch, the settings row. A home page that cannot be written does not keep the row from
    // being saved; a row that cannot be saved leaves the stored row and both flags as they
    // were. Either error is shown.
    void FormClose(QObject* Sender, TCloseAction& Action);
    // Fills the missing input codes of parts and repair items, then says "生成成功!". Without
    // the dictionary Ime.DCT it says so and writes nothing.
    void BtnMakeCodesClick(QObject* Sender);
};
