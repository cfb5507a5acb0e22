#include "platform/env/ScriptedDialogService.h"

#include <QDialog>

namespace qx {

void ScriptedDialogService::answerMessage(int result)
{
    m_answers.push_back({ShownDialog::MessageBox, result, std::nullopt, {}, {}, std::nullopt});
}

void ScriptedDialogService::answerInput(std::optional<QString> text)
{
    m_answers.push_back({ShownDialog::InputBox, 0, std::move(text), {}, {}, std::nullopt});
}

void ScriptedDialogService::answerFile(const QString& fileName)
{
    // One answer serves an open or a save chooser, whichever comes.
    m_answers.push_back({ShownDialog::OpenFile, 0, fileName, {}, {}, std::nullopt});
}

void ScriptedDialogService::answerFile(const QString& fileName, const QString& selectedFilter)
{
    m_answers.push_back({ShownDialog::OpenFile, 0, fileName, {}, selectedFilter, std::nullopt});
}

void ScriptedDialogService::answerDialog(std::function<void(QDialog&)> act)
{
    m_answers.push_back({ShownDialog::Modal, 0, std::nullopt, std::move(act), {}, std::nullopt});
}

void ScriptedDialogService::answerDialog(int result)
{
    answerDialog([result](QDialog& dialog) { dialog.done(result); });
}

void ScriptedDialogService::answerColor(std::optional<QColor> colour)
{
    Answer answer{ShownDialog::Color, 0, std::nullopt, {}, {}, std::nullopt};
    answer.color = colour;
    m_answers.push_back(std::move(answer));
}

QStringList ScriptedDialogService::messages() const
{
    QStringList texts;
    for (const ShownDialog& d : m_shown) {
        if (d.kind == ShownDialog::MessageBox)
            texts << d.text;
    }
    return texts;
}

void ScriptedDialogService::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected = 0;
}

bool ScriptedDialogService::take(ShownDialog::Kind kind, Answer& out)
{
    if (m_answers.empty() || m_answers.front().kind != kind) {
        ++m_unexpected;
        return false;
    }
    out = std::move(m_answers.front());
    m_answers.pop_front();
    return true;
}

bool ScriptedDialogService::takeFile(Answer& out)
{
    return take(ShownDialog::OpenFile, out);
}

int ScriptedDialogService::messageBox(QWidget*, const MessageBoxRequest& request)
{
    ShownDialog shown{ShownDialog::MessageBox, request.caption, request.text, request.icon,
                      request.buttons, true, {}, QColor()};
    Answer answer;
    shown.answered = take(ShownDialog::MessageBox, answer);
    m_shown << shown;
    if (!shown.answered)
        return request.buttons.contains(request.escapeButton) ? request.escapeButton : int(mrNone);
    return answer.result;
}

std::optional<QString> ScriptedDialogService::inputBox(QWidget*, const QString& caption,
                                                       const QString& prompt, const QString&)
{
    ShownDialog shown{ShownDialog::InputBox, caption, prompt, MessageIcon::None, {}, true, {}, QColor()};
    Answer answer;
    shown.answered = take(ShownDialog::InputBox, answer);
    m_shown << shown;
    return shown.answered ? answer.text : std::nullopt;
}

QString ScriptedDialogService::fileAnswer(ShownDialog::Kind kind, const FileRequest& request)
{
    ShownDialog shown{kind, request.caption, request.fileName, MessageIcon::None, {}, true, request.filter, QColor()};
    Answer answer;
    shown.answered = takeFile(answer);
    m_shown << shown;
    const QString fileName = shown.answered ? answer.text.value_or(QString()) : QString();
    if (request.selectedFilter && !fileName.isEmpty())
        *request.selectedFilter = answer.filter.isEmpty() ? request.filter.section(QStringLiteral(";;"), 0, 0) : answer.filter;
    return fileName;
}

QString ScriptedDialogService::openFileName(QWidget*, const FileRequest& request)
{
    return fileAnswer(ShownDialog::OpenFile, request);
}

QString ScriptedDialogService::saveFileName(QWidget*, const FileRequest& request)
{
    return fileAnswer(ShownDialog::SaveFile, request);
}

int ScriptedDialogService::execDialog(QDialog& dialog)
{
    ShownDialog shown{ShownDialog::Modal, dialog.windowTitle(), dialog.objectName(), MessageIcon::None, {}, true, {}, QColor()};
    Answer answer;
    shown.answered = take(ShownDialog::Modal, answer);
    m_shown << shown;
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (shown.answered && answer.act)
        answer.act(dialog);
    // A dialog the script left open is closed as cancelled, like pressing Esc.
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

std::optional<QColor> ScriptedDialogService::chooseColor(QWidget*, const QString& caption, const QColor& initial)
{
    ShownDialog shown{ShownDialog::Color, caption, QString(), MessageIcon::None, {}, true, {}, QColor()};
    shown.color = initial;
    Answer answer;
    shown.answered = take(ShownDialog::Color, answer);
    m_shown << shown;
    return shown.answered ? answer.color : std::nullopt;
}

ScriptedDialogService* ScriptedDialogService::current()
{
    return dynamic_cast<ScriptedDialogService*>(&DialogService::instance());
}

} // namespace qx
