// TFrmALogin: the login dialog, at start-up and when the operator is changed, and the change of
// the operator's own password. Its only result is CurrentUser of the data module when it
// closes: the chosen operator after a successful login, empty after a failed attempt.
//
// Passwords are kept as salted hashes (app/schema/Password.h); a password of an older database
// kept in clear is accepted once and replaced by its hash on every row of the operator.
#pragma once

#include "app/shell/uABase.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class TQxBitBtn;
class TQxLabel;

class TFrmALogin : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmALogin(QWidget* parent = nullptr);
    ~TFrmALogin() override;

    qx::app::ColorPanel* const Image1; // the picture strip
    QStackedWidget* const Notebook1;
    QWidget* const PageChange;  // page "Change": the login
    QWidget* const PageDefault; // page "Default": the new password
    TQxLabel* const Label1;
    QComboBox* const CbxUsercode;
    TQxLabel* const Label2;
    QLineEdit* const EdtPassword;
    TQxBitBtn* const BtnLogin;
    TQxBitBtn* const BtnCancel;
    TQxBitBtn* const BtnChangePassword;
    TQxLabel* const Label3;
    QLineEdit* const Edit2;
    TQxLabel* const Label4;
    QLineEdit* const Edit3;
    TQxBitBtn* const BtnOk;
    TQxBitBtn* const BtnCancelPassword;

    // A change of operator: "取消" gives CurrentUser back to Previous and closes the dialog,
    // instead of ending the program as it does at start-up.
    void SetChangeOperator(const QString& Previous);
    bool ChangeOperator() const { return FChangeOperator; }

    // The page shown, by its name ("Change" or "Default").
    QString ActivePage() const;
    void SetActivePage(const QString& Name);

    // Fills the operator list.
    void FormShow(QObject* Sender) override;
    // Enter and Up in the password edits move the focus to the next or the previous control.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    void BtnLoginClick(QObject* Sender);
    void BtnCancelClick(QObject* Sender);
    void BtnChangePasswordClick(QObject* Sender);
    void BtnOkClick(QObject* Sender);
    void BtnCancelPasswordClick(QObject* Sender);

private:
    // The chosen operator exists and the typed password is its own (a clear password is
    // rehashed on the way). Says what is wrong otherwise.
    bool PasswordMatches();
    // Stores the hash of Password on every row of the operator, in one transaction.
    static void WritePassword(const QString& UserCode, const QString& Password);

    bool FChangeOperator = false;
    QString FPreviousUser;
};
