// The dialog service of the tests. Answers are queued in the order the dialogs will appear;
// each dialog takes the next answer, which must be of its kind. What was shown is recorded.
// A dialog without a fitting answer is recorded as unexpected and answered as if cancelled,
// so a test fails on its assertions instead of hanging.
#pragma once

#include "platform/env/DialogService.h"

#include <QStringList>

#include <deque>
#include <functional>

namespace qx {

struct ShownDialog
{
    enum Kind { MessageBox, InputBox, OpenFile, SaveFile, Modal, Color };
    Kind kind = MessageBox;
    QString caption;    // message box caption, input box caption, dialog window title
    QString text;       // message text, input prompt, dialog object name
    MessageIcon icon = MessageIcon::None;
    QList<int> buttons; // message box buttons
    bool answered = true;
    QString filter;     // file choosers: the filter text offered
    QColor color;       // colour chooser: the colour it opened on
};

class ScriptedDialogService : public DialogService
{
public:
    // The next message box returns result.
    void answerMessage(int result);
    // The next input box returns text (nothing = cancelled).
    void answerInput(std::optional<QString> text);
    // The next file chooser returns fileName (empty = cancelled).
    void answerFile(const QString& fileName);
    // The same with the filter entry the user chose; a plain answer leaves the first entry of
    // the chooser's filter chosen, as a real chooser does.
    void answerFile(const QString& fileName, const QString& selectedFilter);
    // The next modal dialog is shown (not modally) and handed to act, which drives it with
    // key and mouse events and usually closes it; execDialog then returns its result.
    void answerDialog(std::function<void(QDialog&)> act);
    // The next modal dialog is shown and closed with this result, untouched.
    void answerDialog(int result);
    // The next colour chooser returns colour (nothing = cancelled).
    void answerColor(std::optional<QColor> colour);

    const QList<ShownDialog>& shown() const { return m_shown; }
    // Texts of the message boxes shown so far, in order.
    QStringList messages() const;
    int unexpected() const { return m_unexpected; }
    int pending() const { return int(m_answers.size()); }
    void clear();

    int messageBox(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& value) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    int execDialog(QDialog& dialog) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QString& caption, const QColor& initial) override;

    // The installed service as the scripted one (nullptr when the program's service is in).
    static ScriptedDialogService* current();

private:
    struct Answer
    {
        ShownDialog::Kind kind;
        int result = 0;
        std::optional<QString> text;
        std::function<void(QDialog&)> act;
        QString filter;
        std::optional<QColor> color;
    };
    bool take(ShownDialog::Kind kind, Answer& out);
    bool takeFile(Answer& out);
    QString fileAnswer(ShownDialog::Kind kind, const FileRequest& request);

    std::deque<Answer> m_answers;
    QList<ShownDialog> m_shown;
    int m_unexpected = 0;
};

} // namespace qx
