// TFrmRightSet: the operators and their rights. The page "User" lists the operators (grid over
// qryUser) with "增加", "删除" and "授权"; the page "Right" moves rights between the held list
// (listbox1) and the available list (listbox2), and "确定(&Y)" stores the held list as the
// operator's rows of t_UserDB, one row per right, in one transaction.
//
// The available list is the fixed list of rights, its empty last entry, then one right for
// each item of the main window's report-centre menu, read when "授权" is pressed. The
// all-rights operator "高级用户" is neither granted rights here nor deleted.
#pragma once

#include "app/shell/uABase.h"

#include <QPointer>
#include <QStringList>

class QMenu;
class QStackedWidget;
class TDataSource;
class TQxADOQuery;
class TQxBitBtn;
class TQxDBGrid;
class TQxLabel;
class TQxListBox;

class TFrmRightSet : public TFrmABase
{
    Q_OBJECT

public:
    // ReportMenu is the main window's "报表中心" menu; without one no report right is offered.
    explicit TFrmRightSet(QMenu* ReportMenu = nullptr, QWidget* parent = nullptr);
    ~TFrmRightSet() override;

    TQxADOQuery* const qryUser;  // the operators, ordered by code
    TDataSource* const dsUser;
    TQxADOQuery* const QryRight; // the rows of the operator current in the grid
    TDataSource* const dsRight;

    QStackedWidget* const Notebook1;
    QWidget* const PageUser;  // page "User"
    QWidget* const PageRight; // page "Right"

    TQxDBGrid* const DBGrid1;
    TQxBitBtn* const BtnAdd;   // "增加"
    TQxBitBtn* const BtnDelete; // "删除"
    TQxBitBtn* const BtnGrant;  // "授权"

    TQxLabel* const LblHeld;      // "已有权限", at the left end of the top strip
    TQxLabel* const LblAvailable; // "限范围权", at its right end
    TQxListBox* const listbox1;   // the rights held
    TQxListBox* const listbox2;   // the rights available
    TQxBitBtn* const BtnAddRight;    // "<<增权"
    TQxBitBtn* const BtnRemoveRight; // "去权>>"
    TQxBitBtn* const BtnAddAll;      // "<<全部"
    TQxBitBtn* const BtnRemoveAll;   // "全部>>"
    TQxBitBtn* const BtnOk;          // "确定(&Y)"

    // The page shown, by its name ("User" or "Right").
    QString ActivePage() const;
    void SetActivePage(const QString& Name);

    // The captions of the report-centre menu's items, in menu order.
    QStringList ReportMenuCaptions() const;

    // Opens the operator list and the current operator's rows; shows the page "User".
    void FormShow(QObject* Sender) override;

    void BtnAddClick(QObject* Sender);
    void BtnDeleteClick(QObject* Sender);
    void BtnGrantClick(QObject* Sender);
    void BtnAddRightClick(QObject* Sender);
    void BtnRemoveRightClick(QObject* Sender);
    void BtnAddAllClick(QObject* Sender);
    void BtnRemoveAllClick(QObject* Sender);
    void BtnOkClick(QObject* Sender);

private:
    // The code of the operator current in the grid; empty when there is none.
    QString SelectedOperator() const;
    bool IsAdministrator(const QString& Code) const;
    void ReopenUsers();

    QPointer<QMenu> FReportMenu;
};
