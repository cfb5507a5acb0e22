#include "usystem/vcl/controls/uQxMsgdlg.h"

#include "platform/env/Beep.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <memory>

namespace {

// The dialog form: a plain fixed dialog. Esc does nothing (no button cancels); the close box
// and Alt+F4 end the run without an answer.
class MsgForm : public QDialog
{
public:
    std::function<void()> onShown;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void reject() override {}
    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        QDialog::done(-1);
    }
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (onShown)
            onShown();
    }
};

QString applicationTitle()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
}

int wrappedBox(const QString& text, const QString& caption, qx::MessageIcon icon,
               QList<int> buttons, int defaultButton)
{
    qx::MessageBoxRequest request;
    request.caption = caption.isEmpty() ? applicationTitle() : caption;
    request.text = qx::localizeText(text);
    request.icon = icon;
    request.buttons = std::move(buttons);
    request.defaultButton = defaultButton;
    request.escapeButton = qx::mrCancel;
    return qx::DialogService::instance().messageBox(QApplication::activeWindow(), request);
}

} // namespace

TQxMsgdlg::TQxMsgdlg(QObject* owner) : QObject(owner), FFont(qx::libraryFont(9)) {}

TQxMsgdlg::~TQxMsgdlg() = default;

int TQxMsgdlg::Execute()
{
    // Every run starts without an answer: a dialog closed by its close box must not hand
    // back the button clicked in an earlier run.
    FResult = -1;

    auto form = std::make_unique<MsgForm>();
    FForm = form.get();
    form->setObjectName(QStringLiteral("TQxMsgdlgForm"));
    form->setFont(FFont);
    form->setWindowTitle(FTitle);
    form->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    form->setAutoFillBackground(true);
    {
        QPalette pal = form->palette();
        pal.setColor(QPalette::Window, toQColor(clBtnFace));
        form->setPalette(pal);
    }
    // A form made without a form file starts at the platform's default size.
    int formWidth = 320;
    int formHeight = 240;

    auto* label = new QLabel(form.get());
    label->setObjectName(QStringLiteral("Label"));
    label->setFont(FFont);
    label->move(8, 8);
    label->setTextFormat(Qt::PlainText);

    auto* image = new QLabel(form.get());
    image->setObjectName(QStringLiteral("Image"));
    int imageHeight = 1;
    if (FIcon == icNone) {
        image->resize(1, 1);
        image->hide();
    } else {
        const qx::LibraryGlyph glyph = FIcon == icWarning ? qx::LibraryGlyph::IconWarning
                                       : FIcon == icError ? qx::LibraryGlyph::IconError
                                       : FIcon == icInformation ? qx::LibraryGlyph::IconInformation
                                                                : qx::LibraryGlyph::IconConfirmation;
        const QPixmap picture = qx::libraryGlyph(glyph);
        image->setPixmap(picture);
        image->setGeometry(10, 10, picture.width(), picture.height());
        imageHeight = picture.height();
        label->move(image->x() + image->width() + 10, label->y());
    }

    const QFontMetrics fm(FFont);
    int maxWidth = 0;
    for (const QString& line : FMessage)
        maxWidth = qMax(maxWidth, fm.horizontalAdvance(line));
    label->setText(FMessage.join(u'\n'));
    int textHeight = int(FMessage.size()) * fm.height();
    label->resize(maxWidth, textHeight);

    if (maxWidth > 0)
        formWidth = label->x() + maxWidth + 18;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = int((screen ? screen->geometry().width() : 1024) * 0.6);
    if (limit < formWidth) {
        // Too wide for the screen: the message wraps inside 60 % of its width.
        const int labelWidth = qMax(1, maxWidth - (formWidth - limit));
        label->setWordWrap(true);
        textHeight = label->heightForWidth(labelWidth);
        label->resize(labelWidth, textHeight);
        formWidth = limit;
    }
    if (textHeight > 0)
        formHeight = textHeight < imageHeight ? imageHeight + 40 : textHeight + 40;

    QStringList captions = FButtons;
    while (!captions.isEmpty() && captions.last().isEmpty())
        captions.removeLast();
    if (captions.isEmpty())
        captions << QStringLiteral("确定");

    QList<TQxBitBtn*> buttons;
    int x = 8;
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new TQxBitBtn(form.get());
        button->setObjectName(QStringLiteral("btn") + QString::number(i));
        button->setFont(FFont);
        button->SetCaption(captions.at(i));
        button->setGeometry(x, formHeight, 80, 25);
        x += 80 + 5;
        MsgForm* f = form.get();
        button->OnClick = [this, f](QObject* Sender) {
            // The answer is the number in the button's name after "btn".
            const QString digits = Sender->objectName().mid(3, 5);
            bool ok = false;
            const int index = digits.toInt(&ok);
            FResult = ok ? index : -1;
            f->QDialog::done(FResult);
        };
        buttons.append(button);
    }
    formHeight += 60;
    x += 8;
    if (x > formWidth) {
        formWidth = x;
    } else {
        const int shift = (formWidth - x) / 2;
        for (TQxBitBtn* b : buttons)
            b->move(b->x() + shift, b->y());
    }
    form->setFixedSize(formWidth, formHeight);
    if (screen) {
        const QRect area = screen->availableGeometry();
        form->move(area.left() + (area.width() - formWidth) / 2,
                   area.top() + (area.height() - formHeight) / 2);
    }

    const int defaultIndex = FDefault;
    const TWAV wav = FWAV;
    MsgForm* f = form.get();
    form->onShown = [f, buttons, defaultIndex, wav] {
        if (defaultIndex >= 0 && defaultIndex < buttons.size())
            buttons.at(defaultIndex)->setFocus(Qt::OtherFocusReason);
        f->update();
        // Every sound of the list is the desktop's beep here.
        Q_UNUSED(wav);
        qx::beep();
    };

    qx::DialogService::instance().execDialog(*form);
    form.reset();
    return FResult;
}

void MsgDlgOk(TQxMsgdlg::TDefaultIcons Icon, const QString& Title, const QString& Message)
{
    TQxMsgdlg dlg;
    dlg.SetButtons({QStringLiteral("确定")});
    dlg.SetMessage({Message});
    dlg.SetTitle(Title);
    dlg.SetIcon(Icon);
    dlg.SetWAV(TQxMsgdlg::wavDefault);
    dlg.Execute();
}

bool MsgDlgOkCancel(const QString& Title, const QString& Message, int DefaultButton)
{
    return MessageBoxOkCancel(Message, Title, DefaultButton) == qx::mrOk;
}

int MessageBoxOkCancel(const QString& Text, const QString& Caption, int DefaultButton)
{
    if (DefaultButton != 1 && DefaultButton != 2)
        return 0;
    return wrappedBox(Text, Caption, qx::MessageIcon::Question, {qx::mrOk, qx::mrCancel},
                      DefaultButton == 2 ? qx::mrCancel : qx::mrOk);
}

int MessageBoxYesNo(const QString& Text, const QString& Caption, int DefaultButton)
{
    if (DefaultButton != 1 && DefaultButton != 2)
        return 0;
    return wrappedBox(Text, Caption, qx::MessageIcon::Question, {qx::mrYes, qx::mrNo},
                      DefaultButton == 2 ? qx::mrNo : qx::mrYes);
}

int MessageBoxError(const QString& Text, const QString& Caption)
{
    return wrappedBox(Text, Caption, qx::MessageIcon::Error, {qx::mrOk}, qx::mrOk);
}
