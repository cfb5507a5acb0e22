// Every message box, input box, file chooser and modal dialog of the system goes through one
// dialog service. The program installs the Qt one; tests install the scripted one, which
// answers from a queue and records what was shown, so that no test waits on a modal loop.
#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace qx {

// Button and result values, numbered as the Windows message box and modal results are
// (IDOK = mrOk = 1 ...), because callers compare against these numbers.
enum DialogResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};

enum class MessageIcon { None, Information, Warning, Error, Question };

struct MessageBoxRequest
{
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    QList<int> buttons{mrOk};    // DialogResult values, in the order shown
    int defaultButton = mrOk;    // one of buttons
    int escapeButton = mrCancel; // what closing the box answers when that button is offered
};

struct FileRequest
{
    QString caption;
    QString folder;
    QString fileName;      // proposed name
    QString filter;        // Qt filter text: "文本文件 (*.txt);;所有文件 (*)"
    QString defaultSuffix; // added when the chosen name has none
    // When set, receives the filter entry the user left chosen ("报表文件 (*.QRP)"); a save
    // chooser then adds the extension of that entry to a name without one.
    QString* selectedFilter = nullptr;
};

class DialogService
{
public:
    virtual ~DialogService();

    // Returns the DialogResult of the pressed button; closing the box answers escapeButton when
    // it is offered, otherwise mrNone.
    virtual int messageBox(QWidget* parent, const MessageBoxRequest& request) = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& value) = 0;
    // The chosen file, or an empty string when cancelled.
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;
    // Runs a modal dialog and returns its result (QDialog::result()).
    virtual int execDialog(QDialog& dialog) = 0;
    // The colour chooser opened on `initial`: the chosen colour, or nothing when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QString& caption, const QColor& initial) = 0;

    static DialogService& instance();
    // Replaces the service; the previous one is destroyed.
    static void install(std::unique_ptr<DialogService> service);
};

// The program's service: real Qt dialogs and modal loops.
class QtDialogService : public DialogService
{
public:
    int messageBox(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& value) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    int execDialog(QDialog& dialog) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QString& caption, const QColor& initial) override;
};

// The extension of one entry of a file chooser's filter ("报表文件 (*.QRP)" gives "QRP"); empty
// for an entry of several patterns or wildcards.
QString filterSuffix(const QString& filterEntry);

// Shorthands used all over the system.
int messageBox(QWidget* parent, const QString& text, const QString& caption,
               MessageIcon icon = MessageIcon::Information, QList<int> buttons = {mrOk},
               int defaultButton = mrOk);
void showMessage(const QString& text, QWidget* parent = nullptr);

} // namespace qx
