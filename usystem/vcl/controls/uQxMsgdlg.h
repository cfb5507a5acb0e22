// The library's way to tell or ask the user something: TQxMsgdlg builds a small modal dialog
// on the fly (message lines, an optional icon, a row of buttons captioned from a list) and
// answers the index of the clicked button; closing the dialog otherwise answers -1. Beside
// it, MsgDlgOk and the three message-box wrappers.
//
// Modal runs go through the dialog service (platform/env/DialogService.h), so tests answer
// them with ScriptedDialogService.
#pragma once

#include <QDialog>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStringList>

class TQxMsgdlg : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "WAV=wavCustom;Icon=icNone;Default=0")
    Q_PROPERTY(QStringList Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(QStringList Message READ Message WRITE SetMessage)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(TWAV WAV READ WAV WRITE SetWAV)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TDefaultIcons Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(int Default READ Default WRITE SetDefault)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    enum TWAV { wavCustom, wavAsterisk, wavExclamation, wavQuestion, wavDefault };
    Q_ENUM(TWAV)
    enum TDefaultIcons { icWarning, icError, icInformation, icConfirmation, icNone };
    Q_ENUM(TDefaultIcons)

    explicit TQxMsgdlg(QObject* owner = nullptr);
    ~TQxMsgdlg() override;

    QStringList Buttons() const { return FButtons; }
    void SetButtons(const QStringList& value) { FButtons = value; }
    QStringList Message() const { return FMessage; }
    void SetMessage(const QStringList& value) { FMessage = value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& value) { FTitle = value; }
    TWAV WAV() const { return FWAV; }
    void SetWAV(TWAV value) { FWAV = value; }
    QFont Font() const { return FFont; }
    void SetFont(const QFont& value) { FFont = value; }
    TDefaultIcons Icon() const { return FIcon; }
    void SetIcon(TDefaultIcons value) { FIcon = value; }
    int Default() const { return FDefault; }
    void SetDefault(int value) { FDefault = value; }
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    // Builds, runs modally and frees the dialog; the index of the clicked button, or -1 when
    // the dialog was closed another way (close box, Alt+F4).
    int Execute();

    // The dialog while it runs (for tests and for callers that drive it), else nullptr.
    QDialog* Form() const { return FForm; }

private:
    QStringList FButtons;
    QStringList FMessage;
    QString FTitle;
    TWAV FWAV = wavCustom;
    QFont FFont;
    TDefaultIcons FIcon = icNone;
    int FDefault = 0;
    int FTag = 0;
    int FResult = -1;
    QPointer<QDialog> FForm;
};

// One "确定" button, the message as its only line, the sound wavDefault.
void MsgDlgOk(TQxMsgdlg::TDefaultIcons Icon, const QString& Title, const QString& Message);
// MessageBoxOkCancel(Message, Title, DefaultButton) answered OK.
bool MsgDlgOkCancel(const QString& Title, const QString& Message, int DefaultButton);

// System message boxes through the dialog service. An empty Caption becomes the
// application's title; the text passes the text hook. DefaultButton 1 makes the first button
// the default, 2 the second; any other value shows no box and answers 0.
int MessageBoxOkCancel(const QString& Text, const QString& Caption, int DefaultButton);
int MessageBoxYesNo(const QString& Text, const QString& Caption, int DefaultButton);
int MessageBoxError(const QString& Text, const QString& Caption);
