#include "usystem/vcl/rctstr/uQxRctFuncs.h"

#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"

#include <QStringList>

QString ReplaceAllText(const QString& Text, const QString& Find, const QString& Replacement)
{
    if (Find.isEmpty())
        return Text;
    if (Replacement.contains(Find, Qt::CaseInsensitive)) {
        // Searching again from the start would find the replacement itself for ever.
        QString result;
        result.reserve(Text.size());
        qsizetype from = 0;
        for (;;) {
            const qsizetype at = Text.indexOf(Find, from, Qt::CaseInsensitive);
            if (at < 0)
                break;
            result += QStringView(Text).mid(from, at - from);
            result += Replacement;
            from = at + Find.size();
        }
        result += QStringView(Text).mid(from);
        return result;
    }
    QString result = Text;
    for (;;) {
        const qsizetype at = result.indexOf(Find, 0, Qt::CaseInsensitive);
        if (at < 0)
            return result;
        result.replace(at, Find.size(), Replacement);
    }
}

QString TranslateDbError(const QString& Message)
{
    struct Rule
    {
        const char16_t* phrase;
        const char16_t* text;
        bool whole; // the text replaces the whole message
    };
    static const Rule rules[] = {
        {u"must have a value", u"值不能为空", false},
        {u"duplicate key", u"主键字段不得重复!", true},
        {u"not a valid float", u"您输入的数字不合法", false},
        {u"Key violation", u"主键字段不得重复", false},
        {u"is not a valid date and time", u"您输入的日期不合法", false},
        {u"Dataset not in edit or insert mode", u"非编辑状态不能编辑", false},
    };
    QString result = Message;
    for (const Rule& rule : rules) {
        const QString phrase = QString::fromUtf16(rule.phrase);
        if (!Message.contains(phrase, Qt::CaseSensitive))
            continue;
        const QString text = QString::fromUtf16(rule.text);
        result = rule.whole ? text : QString(Message).replace(phrase, text, Qt::CaseSensitive);
        break;
    }
    return ReplaceAllText(result, QStringLiteral("Field"), QStringLiteral("字段"));
}

bool InCommaList(const QString& List, const QString& Item)
{
    if (List.isEmpty())
        return false;
    const QStringList elements = List.split(u',');
    for (const QString& element : elements)
        if (element.compare(Item, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void SaveGridLayout(TQxCustomDBGrid* Grid, TQxRctStr* Structure, const QString& Code, bool AskHidden)
{
    if (!Grid || !Structure)
        return;
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有库数据模块，无法保存单据结构"));
    TMstSections* definitions = Structure->MstSections();
    TQxDBGridColumns* columns = Grid->Columns();
    bool any = false;
    for (int i = 0; i < columns->Count(); ++i) {
        TQxColumn* column = columns->Items(i);
        const int found = definitions->IndexOfField(column->FieldName());
        // A definition can only take the column's place when there are that many of them.
        if (found < 0 || i >= definitions->Count())
            continue;
        any = true;
        definitions->Exchange(i, found);
        TMstSection* definition = definitions->Items(i);
        if (AskHidden && !column->Visible()) {
            TQxMsgdlg* dialog = dmDatabase->MsgDlg;
            dialog->SetButtons({QStringLiteral("是"), QStringLiteral("否")});
            dialog->SetMessage({QStringLiteral("是否真的要屏蔽字段!") + column->Title()->Caption()});
            dialog->SetIcon(TQxMsgdlg::icConfirmation);
            dialog->SetDefault(0);
            if (dialog->Execute() == 0)
                definition->SetVisible(false);
        }
        definition->SetDisplaySize(column->Width());
    }
    if (any)
        Structure->SaveByCode(Code);
}
