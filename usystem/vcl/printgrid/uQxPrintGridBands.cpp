// The head and foot lines of the grid printer, and its head and foot panels as printables or
// as text lines.
#include "usystem/vcl/printgrid/uQxPrintGridBands.h"

#include "platform/report/QRShapes.h"
#include "platform/report/ReportFonts.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>

#include <algorithm>
#include <tuple>
#include <vector>

// ---- head and foot lines -----------------------------------------------------------------

void SplitAlignedLine(const QString& Line)
{
    QxGridPrintState& state = gridPrintState();
    const QString line = Line.trimmed();
    state.LeftPart.clear();
    state.CenterPart.clear();
    state.RightPart.clear();

    // The part a marker at i opens, or nullptr when no marker starts there.
    auto markerAt = [&](qsizetype i) -> QString* {
        const QStringView two = QStringView(line).mid(i, 2);
        if (two.size() < 2)
            return nullptr;
        if (two == u"<<")
            return &state.LeftPart;
        if (two == u"||")
            return &state.CenterPart;
        if (two == u">>")
            return &state.RightPart;
        return nullptr;
    };

    qsizetype i = 0;
    while (i < line.size()) {
        QString* part = markerAt(i);
        if (!part) {
            state.LeftPart.append(line.at(i));
            ++i;
            continue;
        }
        qsizetype end = i + 2;
        while (end < line.size() && !markerAt(end))
            ++end;
        *part = line.mid(i + 2, end - i - 2);
        i = end;
    }

    state.LeftPart = state.LeftPart.trimmed();
    state.CenterPart = state.CenterPart.trimmed();
    state.RightPart = state.RightPart.trimmed();
    if (state.LeftPart.isEmpty() && state.CenterPart.isEmpty() && state.RightPart.isEmpty())
        state.LeftPart = QStringLiteral("' '"); // an empty line still takes a line's height
}

int MeasureTextHeight(const QString&, const QFont& Font)
{
    // A line of text is as high as its font, whatever the text.
    return int(Round(qx::report::textHeightPixels(Font)));
}

int MeasureTextWidth(const QString& Text, const QFont& Font)
{
    return int(Round(qx::report::textWidthPixels(Font, Text)));
}

int TPrintCustomGrid::PlaceAlignedLine(const QString& Line, TQRCustomBand* Band, int Top, const QFont& Font,
                                       bool GridLine, int LastHeight)
{
    SplitAlignedLine(Line);
    const QxGridPrintState& state = gridPrintState();
    const std::pair<const QString*, TAlignment> parts[] = {
        {&state.LeftPart, taLeftJustify},
        {&state.CenterPart, taCenter},
        {&state.RightPart, taRightJustify},
    };
    int height = LastHeight;
    for (const auto& [text, alignment] : parts) {
        if (text->isEmpty())
            continue;
        auto* expr = new TsQRExpr(Band);
        expr->SetFont(Font);
        expr->SetAutoSize(true);
        expr->SetWordWrap(false);
        expr->SetAlignToBand(true);
        expr->SetAlignment(alignment);
        if (GridLine) {
            expr->SetTransparent(true);
            expr->SetLeft(0);
        }
        expr->SetExpression(*text);
        expr->FormatLines();
        height = expr->Height();
        expr->SetTop(GridLine ? Top + int(Round(height * 0.25)) : Top);
    }
    return height;
}

void TPrintCustomGrid::PlaceExpressionLines(const QStringList& Lines, const QFont& Font, TQRCustomBand* Band)
{
    int y = Band->Height();
    int lineHeight = 0;
    for (const QString& line : Lines) {
        lineHeight = PlaceAlignedLine(line, Band, y, Font, true, lineHeight);
        y += lineHeight;
    }
    Band->SetHeight(y + 3);
}

void TPrintCustomGrid::BuildPageHeader()
{
    if (!FReport)
        return;
    TQuickRepBands& bands = FReport->Bands();
    if (!bands.HasPageHeader()) {
        bands.SetHasPageHeader(true);
        bands.PageHeaderBand()->SetHeight(0);
    }
    if (FPageHeadExpr.isEmpty())
        return;
    TQRBand* band = bands.PageHeaderBand();
    int y = 0;
    int lineHeight = 0;
    for (const QString& line : std::as_const(FPageHeadExpr)) {
        lineHeight = PlaceAlignedLine(line, band, y, FPageHeadFont, false, lineHeight);
        y += lineHeight;
    }
    if (y > 0)
        y += 5;
    band->SetHeight(y);
}

void TPrintCustomGrid::BuildPageFooter()
{
    if (!FReport)
        return;
    TQuickRepBands& bands = FReport->Bands();
    if (!bands.HasPageFooter()) {
        bands.SetHasPageFooter(true);
        bands.PageFooterBand()->SetHeight(0);
    }
    if (FPageFootExpr.isEmpty())
        return;
    TQRBand* band = bands.PageFooterBand();
    int y = band->Height();
    int lineHeight = 0;
    for (const QString& line : std::as_const(FPageFootExpr)) {
        lineHeight = PlaceAlignedLine(line, band, y, FPageFootFont, false, lineHeight);
        y += lineHeight;
    }
    band->SetHeight(y);
}

void TPrintCustomGrid::BuildTitleBand(TQRCustomBand* Band)
{
    if (!FReport || !Band)
        return;
    const std::pair<const QString*, const QFont*> titles[] = {
        {&FPageTitle1, &FPageTitle1Font},
        {&FPageTitle2, &FPageTitle2Font},
    };
    for (const auto& [title, font] : titles) {
        if (title->trimmed().isEmpty())
            continue;
        auto* label = new TsQRLabel(Band);
        label->SetFont(*font);
        label->SetAutoSize(true);
        label->SetTransparent(true);
        label->SetAlignment(taCenter);
        label->SetAlignToBand(true);
        label->SetCaption(*title);
        label->FormatLines();
        label->SetTop(Band->Height());
        Band->SetHeight(Band->Height() + int(Round(1.25 * label->Height())));
    }
    if (FGridHeadPanel)
        PanelToBand(FGridHeadPanel, FGridHeadPanelStartY, Band, FGridHeadPanelEndY);
    else if (!FGridHeadExpr.isEmpty())
        PlaceExpressionLines(FGridHeadExpr, FGridHeadExprFont, Band);
}

void TPrintCustomGrid::BuildGridFooterBand(TQRCustomBand* Band)
{
    if (!FReport || !Band)
        return;
    if (FGridFootPanel)
        PanelToBand(FGridFootPanel, FGridFootPanelStartY, Band, FGridFootPanelEndY);
    else if (!FGridFootExpr.isEmpty())
        PlaceExpressionLines(FGridFootExpr, FGridFootExprFont, Band);
}

// ---- panels ------------------------------------------------------------------------------

namespace qx::printgrid {

namespace {

// The radio buttons of a group box that acts as a radio group.
QList<QRadioButton*> groupRadios(QGroupBox* box)
{
    return box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

QString pickerText(QDateTimeEdit* picker, bool ForText)
{
    const bool timeOnly = !(picker->displayedSections() & QDateTimeEdit::DateSections_Mask);
    if (timeOnly && !ForText)
        return picker->time().toString(QStringLiteral("hh:mm:ss"));
    // Our pickers show the short date format; there is no long-format picker.
    return FormatDateTime(FormatSettings().ShortDateFormat, TDateTime::fromQDate(picker->date()));
}

} // namespace

PanelControlText panelControlText(QWidget* Control, bool ForText)
{
    PanelControlText out;
    out.font = Control->font();
    out.color = fromQColor(Control->palette().color(Control->foregroundRole()));
    out.top = Control->y();

    // Labels; a label that shows a picture is an image and prints no text.
    if (auto* label = qobject_cast<TQxLabel*>(Control)) {
        out.matched = true;
        out.text = label->Caption();
        out.color = ColorToRGB(label->FontColor());
        return out;
    }
    if (auto* label = qobject_cast<QLabel*>(Control)) {
        out.matched = true;
        if (label->pixmap().isNull())
            out.text = label->text();
        return out;
    }
    // Edits (a data edit without a field prints nothing).
    if (auto* edit = qobject_cast<QLineEdit*>(Control)) {
        out.matched = true;
        out.centred = true;
        auto* dbEdit = qobject_cast<TQxDBEDIT*>(Control);
        if (!dbEdit || dbEdit->GetField())
            out.text = edit->text();
        return out;
    }
    // Check boxes and radio buttons.
    if (auto* check = qobject_cast<QCheckBox*>(Control)) {
        out.matched = true;
        auto* dbCheck = qobject_cast<TQxDBCheckBox*>(Control);
        if (!dbCheck || dbCheck->GetField())
            out.text = (check->isChecked() ? QStringLiteral("√ ") : QStringLiteral("□ ")) + check->text();
        return out;
    }
    if (auto* radio = qobject_cast<QRadioButton*>(Control)) {
        out.matched = true;
        out.text = (radio->isChecked() ? QStringLiteral("⊙ ") : QStringLiteral("○ ")) + radio->text();
        return out;
    }
    // Combo boxes.
    if (auto* combo = qobject_cast<QComboBox*>(Control)) {
        out.matched = true;
        out.centred = !ForText;
        if (ForText)
            out.top += 2;
        auto* dbCombo = qobject_cast<TQxDBComboBox*>(Control);
        if (!dbCombo || dbCombo->GetField())
            out.text = combo->currentText();
        return out;
    }
    // Date and time pickers.
    if (auto* picker = qobject_cast<QDateTimeEdit*>(Control)) {
        out.matched = true;
        out.centred = !ForText;
        if (ForText)
            out.top += 2;
        out.text = pickerText(picker, ForText);
        return out;
    }
    // A group box of radio buttons is a radio group: its caption and the chosen item.
    if (auto* box = qobject_cast<QGroupBox*>(Control)) {
        const QList<QRadioButton*> radios = groupRadios(box);
        if (radios.isEmpty())
            return out;
        out.matched = true;
        out.top += ForText ? 2 : 3;
        for (QRadioButton* radio : radios) {
            if (radio->isChecked()) {
                out.text = box->title() + QLatin1Char(' ') + radio->text();
                break;
            }
        }
        return out;
    }
    return out;
}

} // namespace qx::printgrid

namespace {

// The panel's controls that print: visible ones, and with bounds only those whose top lies
// between them.
QList<QWidget*> panelControlsInRange(QWidget* Panel, int StartY, int EndY)
{
    QList<QWidget*> controls;
    const bool whole = StartY == 0 && EndY == 0;
    for (QWidget* control : Panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isHidden() || control->isWindow())
            continue;
        if (!whole && (control->y() < StartY || control->y() > EndY))
            continue;
        controls.append(control);
    }
    return controls;
}

} // namespace

void TPrintCustomGrid::PanelToBand(QWidget* Panel, int StartY, TQRCustomBand* Band, int EndY)
{
    if (!Panel || !Band || EndY < StartY)
        return;
    const int h0 = Band->Height();
    if (StartY != 0 || EndY != 0)
        Band->SetHeight(EndY + h0 - StartY);
    else
        Band->SetHeight(Panel->height() + h0);
    const int shift = h0 - StartY;

    for (QWidget* control : panelControlsInRange(Panel, StartY, EndY)) {
        if (auto* picture = qobject_cast<QLabel*>(control); picture && !qobject_cast<TQxLabel*>(control)
                                                            && !picture->pixmap().isNull()) {
            auto* image = new TQRImage(Band);
            image->SetCenter(picture->alignment().testFlag(Qt::AlignHCenter)
                             && picture->alignment().testFlag(Qt::AlignVCenter));
            image->SetStretch(picture->hasScaledContents());
            image->SetPicture(picture->pixmap().toImage());
            image->SetLeft(control->x());
            image->SetTop(control->y() + shift);
            image->SetWidth(control->width());
            image->SetHeight(control->height());
            continue;
        }
        const qx::printgrid::PanelControlText item = qx::printgrid::panelControlText(control, false);
        if (!item.matched || item.text.isEmpty())
            continue;
        int top = item.top;
        if (item.centred)
            top += (control->height() - MeasureTextHeight(QStringLiteral("Wg"), item.font)) / 2;
        auto* label = new TsQRLabel(Band);
        label->SetTransparent(true);
        label->SetLeft(control->x());
        label->SetAutoSize(true);
        label->SetFont(item.font);
        label->SetFontColor(item.color);
        label->SetCaption(item.text);
        label->FormatLines();
        label->SetTop(top + shift);
    }
}

void TPrintCustomGrid::PanelToText(QWidget* Panel, int StartY, QStringList& Lines, int EndY)
{
    if (!Panel || EndY < StartY)
        return;
    Lines.clear();
    const int cell = qMax(1, MeasureTextHeight(QStringLiteral("H"), Panel->font()));

    struct Entry
    {
        int top;
        int left;
        int height;
        QString text;
    };
    std::vector<Entry> entries;
    for (QWidget* control : panelControlsInRange(Panel, StartY, EndY)) {
        const qx::printgrid::PanelControlText item = qx::printgrid::panelControlText(control, true);
        if (item.matched && !item.text.isEmpty())
            entries.push_back({item.top, control->x(), control->height(), item.text});
    }
    // By top, then left, then height, then text.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.top, a.left, a.height, a.text) < std::tie(b.top, b.left, b.height, b.text);
    });

    std::size_t next = 0;
    while (next < entries.size()) {
        // One text line: the entries whose tops lie within the first one's height.
        const int rowTop = entries[next].top;
        const int rowHeight = entries[next].height;
        std::vector<std::pair<int, QString>> row;
        do {
            row.emplace_back(entries[next].left / cell, entries[next].text);
            ++next;
        } while (next < entries.size() && entries[next].top < rowTop + rowHeight);
        std::sort(row.begin(), row.end());

        QString line;
        int length = 0; // in GBK bytes, the columns of the text file
        for (const auto& [column, text] : row) {
            if (length < column) {
                line += QString(column - length + 1, QLatin1Char(' '));
                length = column + 1;
            } else {
                line += QLatin1Char(' ');
                length += 1;
            }
            line += text;
            length += qx::gbkLength(text);
        }
        if (!line.isEmpty())
            Lines.append(line);
    }
}

void TPrintCustomGrid::GridHeadPanelText()
{
    if (!FGridHeadPanel)
        return;
    PanelToText(FGridHeadPanel, FGridHeadPanelStartY, FGridHeadExpr, FGridHeadPanelEndY);
}

void TPrintCustomGrid::GridFootPanelText()
{
    if (!FGridFootPanel)
        return;
    PanelToText(FGridFootPanel, FGridFootPanelStartY, FGridFootExpr, FGridFootPanelEndY);
}
