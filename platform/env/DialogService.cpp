#include "platform/env/DialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace qx {

namespace {

std::unique_ptr<DialogService>& slot()
{
    static std::unique_ptr<DialogService> service;
    return service;
}

QMessageBox::StandardButton standardButton(int result)
{
    switch (result) {
    case mrOk: return QMessageBox::Ok;
    case mrCancel: return QMessageBox::Cancel;
    case mrAbort: return QMessageBox::Abort;
    case mrRetry: return QMessageBox::Retry;
    case mrIgnore: return QMessageBox::Ignore;
    case mrYes: return QMessageBox::Yes;
    case mrNo: return QMessageBox::No;
    case mrAll: return QMessageBox::YesToAll;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon standardIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Windows message boxes show Chinese captions on their buttons in this system.
QString buttonText(int result)
{
    switch (result) {
    case mrOk: return QStringLiteral("确定");
    case mrCancel: return QStringLiteral("取消");
    case mrAbort: return QStringLiteral("中止");
    case mrRetry: return QStringLiteral("重试");
    case mrIgnore: return QStringLiteral("忽略");
    case mrYes: return QStringLiteral("是");
    case mrNo: return QStringLiteral("否");
    case mrAll: return QStringLiteral("全部");
    default: return QString();
    }
}

} // namespace

QString filterSuffix(const QString& filterEntry)
{
    // "报表文件 (*.QRP)" -> "QRP"; an entry of several patterns or a wildcard gives none.
    const qsizetype open = filterEntry.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filterEntry.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return QString();
    const QString pattern = filterEntry.mid(open + 1, close - open - 1).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(QLatin1Char(' ')))
        return QString();
    const QString suffix = pattern.mid(2);
    return suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')) ? QString() : suffix;
}

DialogService::~DialogService() = default;

DialogService& DialogService::instance()
{
    auto& service = slot();
    if (!service)
        service = std::make_unique<QtDialogService>();
    return *service;
}

void DialogService::install(std::unique_ptr<DialogService> service)
{
    slot() = std::move(service);
}

int QtDialogService::messageBox(QWidget* parent, const MessageBoxRequest& request)
{
    QMessageBox box(standardIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    parent);
    for (int result : request.buttons) {
        QAbstractButton* b = box.addButton(standardButton(result));
        if (b)
            b->setText(buttonText(result));
    }
    if (QAbstractButton* def = box.button(standardButton(request.defaultButton)))
        box.setDefaultButton(qobject_cast<QPushButton*>(def));
    if (request.buttons.contains(request.escapeButton))
        box.setEscapeButton(box.button(standardButton(request.escapeButton)));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return request.buttons.contains(request.escapeButton) ? request.escapeButton : int(mrNone);
    for (int result : request.buttons) {
        if (box.button(standardButton(result)) == clicked)
            return result;
    }
    return mrNone;
}

std::optional<QString> QtDialogService::inputBox(QWidget* parent, const QString& caption,
                                                  const QString& prompt, const QString& value)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogService::openFileName(QWidget* parent, const FileRequest& request)
{
    QFileDialog dlg(parent, request.caption, request.folder, request.filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (!request.fileName.isEmpty())
        dlg.selectFile(request.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    if (request.selectedFilter)
        *request.selectedFilter = dlg.selectedNameFilter();
    return dlg.selectedFiles().constFirst();
}

QString QtDialogService::saveFileName(QWidget* parent, const FileRequest& request)
{
    QFileDialog dlg(parent, request.caption, request.folder, request.filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(request.defaultSuffix);
    if (request.selectedFilter) {
        // A name typed without an extension takes the one of the format chosen.
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg, &request](const QString& filter) {
            const QString suffix = filterSuffix(filter);
            dlg.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
        });
    }
    if (!request.fileName.isEmpty())
        dlg.selectFile(request.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    if (request.selectedFilter)
        *request.selectedFilter = dlg.selectedNameFilter();
    return dlg.selectedFiles().constFirst();
}

int QtDialogService::execDialog(QDialog& dialog)
{
    return dialog.exec();
}

std::optional<QColor> QtDialogService::chooseColor(QWidget* parent, const QString& caption, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent, caption);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

int messageBox(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
               QList<int> buttons, int defaultButton)
{
    MessageBoxRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    request.buttons = std::move(buttons);
    request.defaultButton = defaultButton;
    return DialogService::instance().messageBox(parent, request);
}

void showMessage(const QString& text, QWidget* parent)
{
    // Captioned with the application's title, like every message box of the system.
    messageBox(parent, text, QGuiApplication::applicationDisplayName(), MessageIcon::None);
}

} // namespace qx
