#include "usystem/vcl/edits/uQxDatePad.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Popup.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <cmath>

class TQxMonthPopup;

namespace {

// The month menu all calendars share; made by the first calendar that opens it.
QPointer<TQxMonthPopup> g_monthPopup;

constexpr int TodayBmpWidth = 26;
constexpr int TodayBmpHeight = 15;

// The mark around today's date: a red ring on a clear ground, drawn once for all calendars.
const QPixmap& todayBmp()
{
    static const QPixmap bmp = [] {
        QPixmap pm(TodayBmpWidth, TodayBmpHeight);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(220, 0, 0), 1.5));
        p.drawEllipse(QRectF(1, 1, TodayBmpWidth - 2, TodayBmpHeight - 2));
        return pm;
    }();
    return bmp;
}

// A short day name as the weekday row shows it: of "星期一" only "一".
QString weekdayTitle(const QString& name)
{
    static const QString prefix = QStringLiteral("星期");
    const QString t = name.trimmed();
    return t.startsWith(prefix) && t.size() > prefix.size() ? t.mid(prefix.size()) : t;
}

// An etched line: shadow above (or left), highlight below (or right).
void etchedHLine(QPainter& p, int x1, int x2, int y)
{
    p.setPen(QPen(toQColor(clBtnShadow), 0));
    p.drawLine(x1, y, x2 - 1, y);
    p.setPen(QPen(toQColor(clBtnHighlight), 0));
    p.drawLine(x1, y + 1, x2 - 1, y + 1);
}

void etchedVLine(QPainter& p, int x, int y1, int y2)
{
    p.setPen(QPen(toQColor(clBtnShadow), 0));
    p.drawLine(x, y1, x, y2 - 1);
    p.setPen(QPen(toQColor(clBtnHighlight), 0));
    p.drawLine(x + 1, y1, x + 1, y2 - 1);
}

void drawText(QPainter& p, const QRect& r, int flags, const QString& text, TColor color)
{
    p.setPen(toQColor(color));
    p.drawText(r, flags | Qt::TextSingleLine, text);
}

// Round(h + h / 8) with halves to the even neighbour: the line height of a font.
int fontLineHeight(const QFont& font)
{
    const int h = QFontMetrics(font).height();
    return int(Round(h + h / 8.0));
}

} // namespace

// ---- colours -------------------------------------------------------------------------------

TQxCalendarColors::TQxCalendarColors(TQxCustomCalendar* owner)
    : QObject(owner),
      m_owner(owner),
      m_titles(clWindowText),
      m_weekEnd(clMaroon),
      m_inactive(cl3DLight),
      m_inactiveWeekEnd(clInfoBk),
      m_select(clHighlight)
{
    setObjectName(QStringLiteral("Colors"));
}

void TQxCalendarColors::set(TColor& field, TColor value)
{
    field = value;
    if (m_owner)
        m_owner->Invalidate();
}

void TQxCalendarColors::SetTitles(TColor value) { set(m_titles, value); }
void TQxCalendarColors::SetWeekEnd(TColor value) { set(m_weekEnd, value); }
void TQxCalendarColors::SetInactive(TColor value) { set(m_inactive, value); }
void TQxCalendarColors::SetInactiveWeekEnd(TColor value) { set(m_inactiveWeekEnd, value); }
void TQxCalendarColors::SetSelect(TColor value) { set(m_select, value); }

void TQxCalendarColors::Assign(const QObject* Source)
{
    const auto* other = qobject_cast<const TQxCalendarColors*>(Source);
    if (!other)
        throw EConvertError(QStringLiteral("错误提示"));
    m_titles = other->m_titles;
    m_weekEnd = other->m_weekEnd;
    m_inactive = other->m_inactive;
    m_inactiveWeekEnd = other->m_inactiveWeekEnd;
    m_select = other->m_select;
    if (m_owner)
        m_owner->Invalidate();
}

// ---- calendar: set-up and properties -------------------------------------------------------

TQxCustomCalendar::TQxCustomCalendar(QWidget* parent)
    : TQxTransControl(parent),
      m_date(std::make_unique<TQxCalendarDate>()),
      m_colors(new TQxCalendarColors(this))
{
    m_date->OnChange = [this](QObject*) { DateChanged(); };
    SetColor(clBtnFace);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_Hover, false);
}

TQxCustomCalendar::~TQxCustomCalendar()
{
    if (m_yearSpin)
        delete m_yearSpin.data();
    // The shared month menu must not call back into a calendar that is gone.
    TQxMonthPopup* menu = g_monthPopup;
    if (menu && menu->Calendar == this) {
        menu->Calendar = nullptr;
        menu->Date = nullptr;
    }
}

void TQxCustomCalendar::SetColors(TQxCalendarColors* value)
{
    m_colors->Assign(value);
}

void TQxCustomCalendar::SetBeginingOfWeek(TWeekDay value)
{
    if (value == m_date->BeginingOfWeek())
        return;
    m_date->SetBeginingOfWeek(value);
    Invalidate();
}

void TQxCustomCalendar::SetBevel(TCalendarBevelStyle value)
{
    if (value == m_bevel)
        return;
    m_bevel = value;
    Invalidate();
}

void TQxCustomCalendar::SetBorderStyle(TBorderStyle value)
{
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    SetWindowBorder(value == bsSingle);
    applyLayout();
    Invalidate();
}

void TQxCustomCalendar::SetOptions(TCalendarOptions value)
{
    if (value == m_options)
        return;
    m_options = value;
    applyLayout();
    m_date->KeepPage = !value.testFlag(coMonthSwitch);
    Invalidate();
}

void TQxCustomCalendar::SetWeekEnds(TWeekEnds value)
{
    if (value == m_weekEnds)
        return;
    m_weekEnds = value;
    Invalidate();
}

void TQxCustomCalendar::SetSelectStyle(TSelectStyle value)
{
    if (value == m_selectStyle)
        return;
    m_selectStyle = value;
    DrawSelection(m_date->SelectedCell, true);
}

// ---- layout and geometry -------------------------------------------------------------------

void TQxCustomCalendar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    CalcLayout(AHeight, AWidth);
    setGeometry(ALeft, ATop, AWidth, AHeight);
    UpdateTitle();
}

void TQxCustomCalendar::applyLayout()
{
    int h = height(), w = width();
    CalcLayout(h, w);
    if (h != height() || w != width())
        resize(w, h); // comes back through resizeEvent with the size the layout wants
    UpdateTitle();
}

void TQxCustomCalendar::resizeEvent(QResizeEvent* event)
{
    TQxTransControl::resizeEvent(event);
    applyLayout();
}

void TQxCustomCalendar::CalcLayout(int& Height, int& Width)
{
    const int b = m_borderStyle == bsSingle ? 1 : 0;
    m_topOffset = 2 * b;
    Height -= 2 * b;
    Width -= 2 * b;
    m_rowHeight = m_options.testFlag(coShowTodayBtn) ? (Height - 30 - 4 * b) / 8 : (Height - 8 - 4 * b) / 8;
    const int n = m_options.testFlag(coShowWeeks) ? 25 : 21;
    m_colUnit = (Width - 8) / n;
    m_gridMarginX = (Width - (n * m_colUnit + 8 + b)) / 2;
    m_weekColWidth = m_options.testFlag(coShowWeeks) ? 4 * m_colUnit : 0;
    Height += 2 * b;
    Width += 2 * b;
}

QFont TQxCustomCalendar::boldFont() const
{
    QFont f = CanvasFont();
    f.setBold(true);
    return f;
}

int TQxCustomCalendar::boldWidth(const QString& text) const
{
    return QFontMetrics(boldFont()).horizontalAdvance(text);
}

void TQxCustomCalendar::UpdateTitle()
{
    const TDateTime date = m_date->AsDateTime();
    if (date.Val == 0) {
        m_title.clear();
        return;
    }
    const int e = m_borderStyle == bsSingle ? 2 : 0;
    m_title = FormatDateTime(QStringLiteral(" mmmm, yyyy "), date);
    if (boldWidth(m_title) >= width() - e - 2 * m_rowHeight - 8)
        m_title = FormatDateTime(QStringLiteral("mmm, yyyy"), date);
}

QRect TQxCustomCalendar::TitleRect() const
{
    return qx::rectLTRB(m_colUnit + 14, 2, width() - m_colUnit - 14, 2 + m_rowHeight);
}

QRect TQxCustomCalendar::PartRect(int part) const
{
    const int w = width(), h = height();
    const int e = m_borderStyle == bsSingle ? 2 : 0;
    switch (part) {
    case PrevPart:
        return qx::rectLTRB(4, 2, m_rowHeight + 4, m_rowHeight + 3);
    case NextPart: {
        const int right = w - 4 - e;
        return qx::rectLTRB(right - m_rowHeight, 2, right, m_rowHeight + 3);
    }
    case TodayPart: {
        const int bottom = h - 2 - m_topOffset;
        return qx::rectLTRB(4, bottom - 20, w - 4 - e, bottom);
    }
    case MonthPart:
    case YearPart: {
        const int g = (w - 6 - e - 2 * m_rowHeight - boldWidth(m_title)) / 2;
        const int comma = m_title.indexOf(u',');
        const QString head = comma >= 0 ? m_title.left(comma + 1) : m_title;
        const QString tail = comma >= 0 ? m_title.mid(comma + 1) : QString();
        if (part == MonthPart) {
            const int left = m_rowHeight + 4;
            return qx::rectLTRB(left, 2, left + g + boldWidth(head), m_rowHeight + 3);
        }
        const int right = w - 4 - m_rowHeight - e;
        return qx::rectLTRB(right - g - boldWidth(tail), 2, right, m_rowHeight + 3);
    }
    default:
        return QRect();
    }
}

QRect TQxCustomCalendar::GridRect() const
{
    return QRect(m_weekColWidth + m_gridMarginX + 4, m_topOffset + 2 * m_rowHeight + 6, 7 * 3 * m_colUnit,
                 6 * m_rowHeight);
}

QRect TQxCustomCalendar::CellRect(int cell) const
{
    const int c = 3 * m_colUnit;
    const QRect grid = GridRect();
    return QRect(grid.x() + (cell - 1) % 7 * c, grid.y() + (cell - 1) / 7 * m_rowHeight, c, m_rowHeight);
}

QRect TQxCustomCalendar::WeekNumberRect(int row) const
{
    return QRect(m_gridMarginX + 4, GridRect().y() + (row - 1) * m_rowHeight, 3 * m_colUnit, m_rowHeight);
}

int TQxCustomCalendar::CellAt(int X, int Y) const
{
    const int c = 3 * m_colUnit;
    if (c <= 0 || m_rowHeight <= 0 || !GridRect().contains(X, Y))
        return -1;
    return (X - m_weekColWidth - m_gridMarginX - 4) / c + 7 * ((Y - m_topOffset - 6) / m_rowHeight) - 13;
}

TColor TQxCustomCalendar::DayColor(int cell) const
{
    if (!isEnabled())
        return clGrayText;
    const bool weekEnd = isWeekEnd(m_weekEnds, m_date->CellWeekDay(cell));
    if (m_date->CellMonthOffset(cell) != 0)
        return weekEnd ? m_colors->InactiveWeekEnd() : m_colors->Inactive();
    return weekEnd ? m_colors->WeekEnd() : m_normalTextColor;
}

// ---- painting ------------------------------------------------------------------------------

void TQxCustomCalendar::Paint(QPainter& p)
{
    // Everything is drawn anew: no hover frame and no selection mark is left on the picture.
    m_hotCell = -1;
    m_hotPart = 0;
    m_drawnSelection = -1;

    const int w = width(), h = height();
    const int e = m_borderStyle == bsSingle ? 2 : 0;
    const int c = 3 * m_colUnit;
    const QRect client = ClientRect();

    PaintBackground(p);
    switch (m_bevel) {
    case TCalendarBevelStyle::bsNone: EraseFrame(client, 2); break;
    case TCalendarBevelStyle::bsLowered: qx::drawEdge(p, client, qx::EdgeSunken, qx::BfRect); break;
    case TCalendarBevelStyle::bsRaised: qx::drawEdge(p, client, qx::EdgeRaised, qx::BfRect); break;
    }
    if (m_rowHeight <= 0 || m_colUnit <= 0)
        return;

    // Weekday titles.
    p.setFont(boldFont());
    const int titleTop = m_topOffset + m_rowHeight + 2;
    for (int i = 0; i < 7; ++i) {
        const QString name = weekdayTitle(ShortDayTitles().value((int(m_date->BeginingOfWeek()) + i + 1) % 7));
        drawText(p, QRect(m_weekColWidth + m_gridMarginX + 4 + i * c, titleTop, c, m_rowHeight),
                 Qt::AlignBottom | Qt::AlignHCenter, name, isEnabled() ? m_colors->Titles() : clGrayText);
    }
    etchedHLine(p, 4, w - e - 4, titleTop + m_rowHeight + 1);

    // Title and buttons.
    drawText(p, TitleRect(), Qt::AlignCenter, m_title, isEnabled() ? m_colors->Titles() : clGrayText);
    paintButton(p, PrevPart, false);
    paintButton(p, NextPart, false);

    if (m_options.testFlag(coShowTodayBtn)) {
        paintTodayButton(p, false);
        etchedHLine(p, 4, w - e - 4, h - m_topOffset - 24);
    }

    // Days and week numbers.
    p.setFont(CanvasFont());
    for (int cell = 1; cell <= 42; ++cell) {
        if (m_date->CellMonthOffset(cell) != 0 && !m_options.testFlag(coFullDisplay))
            continue;
        drawText(p, CellRect(cell), Qt::AlignCenter, QString::number(m_date->CellDays[cell]), DayColor(cell));
    }
    if (m_options.testFlag(coShowWeeks)) {
        for (int row = 1; row <= 6; ++row) {
            TColor color = m_normalTextColor;
            const bool outside = (row == 1 && 7 < m_date->FirstCell) || (row == 6 && 36 > m_date->LastCell);
            if (outside) {
                if (!m_options.testFlag(coFullDisplay))
                    continue;
                color = m_colors->Inactive();
            }
            if (!isEnabled())
                color = clGrayText;
            drawText(p, WeekNumberRect(row), Qt::AlignCenter, QString::number(m_date->WeekNumbers[row]), color);
        }
        const QRect grid = GridRect();
        etchedVLine(p, m_gridMarginX + c + 4, grid.y(), qx::rectBottom(grid));
    }

    DrawSelection(m_date->SelectedCell, true);
    paintTodayMark(p);
}

void TQxCustomCalendar::paintButton(QPainter& p, int part, bool pressed)
{
    QRect r = PartRect(part);
    int half = r.width() / 2;
    if (half > 10) {
        const int cut = (r.width() - 20) / 2;
        r.adjust(cut, 0, -cut, 0);
        half = 10;
    }
    if (pressed)
        r.translate(1, 1);
    const int l = r.x(), t = r.y(), rr = qx::rectRight(r), b = qx::rectBottom(r);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor face = toQColor(isEnabled() ? clWindowText : clGrayText);
    p.setPen(QPen(face, 0));
    p.setBrush(face);
    if (part == PrevPart) {
        const QPoint pts[3] = {{rr - 5, t + 3}, {rr - 5, b - 4}, {l + 3, t + half}};
        p.drawPolygon(pts, 3);
        p.setPen(QPen(toQColor(clBtnHighlight), 0));
        qx::lineTo(p, rr - 5, t + 3, l + 2, t + half);
    } else {
        const QPoint pts[3] = {{l + 4, t + 3}, {l + 4, b - 5}, {rr - 4, t + half}};
        p.drawPolygon(pts, 3);
        p.setPen(QPen(toQColor(clBtnHighlight), 0));
        p.drawLine(l + 3, b - 6, l + 3, t + 2);
        p.drawLine(l + 3, t + 2, rr - 3, t + half);
    }
    p.restore();
}

void TQxCustomCalendar::paintTodayButton(QPainter& p, bool pressed)
{
    QRect r = PartRect(TodayPart);
    if (pressed)
        r.translate(1, 1);
    int a = 0;
    if (m_options.testFlag(coShowToday)) {
        const int bh = r.height() - 4;
        a = int(std::lround(double(TodayBmpWidth) * bh / TodayBmpHeight));
        p.drawPixmap(QRect(r.x() + 2, r.y() + 2, a, bh), todayBmp());
    }
    p.setFont(boldFont());
    const QRect text(r.x() + a + 10, r.y(), qx::rectRight(r) - (r.x() + a + 10), r.height());
    drawText(p, text, Qt::AlignLeft | Qt::AlignVCenter, u' ' + DateToStr(Date()),
             isEnabled() ? m_colors->Titles() : clGrayText);
    p.setFont(CanvasFont());
}

void TQxCustomCalendar::paintTodayMark(QPainter& p)
{
    if (!m_options.testFlag(coShowToday))
        return;
    const int cell = m_date->TodayCell;
    if (cell < 1 || cell > 42)
        return;
    if (!m_options.testFlag(coFullDisplay) && m_date->CellMonthOffset(cell) != 0)
        return;
    const QRect r = CellRect(cell);
    const int mh = r.height();
    const int mw = int(std::lround(double(TodayBmpWidth) * mh / TodayBmpHeight));
    p.drawPixmap(QRect(r.center().x() - mw / 2, r.y(), mw, mh), todayBmp());
}

void TQxCustomCalendar::paintDayCell(QPainter& p, int cell, bool bold)
{
    const QRect r = CellRect(cell);
    PaintBackgroundRect(p, r.adjusted(-1, -1, 1, 1));
    if (m_date->CellMonthOffset(cell) == 0 || m_options.testFlag(coFullDisplay)) {
        p.setFont(bold ? boldFont() : CanvasFont());
        drawText(p, r, Qt::AlignCenter, QString::number(m_date->CellDays[cell]), DayColor(cell));
        p.setFont(CanvasFont());
    }
}

void TQxCustomCalendar::DrawSelection(int Cell, bool Force)
{
    if (Cell < 1 || Cell > 42)
        return;
    if (!Force && Cell == m_drawnSelection)
        return;
    if (!m_options.testFlag(coFullDisplay) && m_date->CellMonthOffset(Cell) != 0)
        return;
    DrawHot(-1);
    DrawOnCanvas([&](QPainter& p) {
        if (m_drawnSelection > 0)
            paintDayCell(p, m_drawnSelection, false);
        const QRect r = CellRect(Cell);
        switch (m_selectStyle) {
        case TSelectStyle::ssFrame:
            paintDayCell(p, Cell, true);
            DrawFlatFrame(r, true);
            m_drawnSelection = Cell;
            break;
        case TSelectStyle::ssOval:
            PaintBackgroundRect(p, r.adjusted(-1, -1, 1, 1));
            p.save();
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(toQColor(m_colors->Select()));
            p.drawEllipse(r.adjusted(0, 1, 0, -1));
            p.restore();
            p.setFont(boldFont());
            drawText(p, r, Qt::AlignCenter, QString::number(m_date->CellDays[Cell]), clWhite);
            p.setFont(CanvasFont());
            m_drawnSelection = Cell;
            break;
        case TSelectStyle::ssNone:
            m_drawnSelection = -1;
            break;
        }
        paintTodayMark(p);
    });
}

void TQxCustomCalendar::DrawHot(int Cell)
{
    if (m_hilightStyle != THilightStyle::hsFrame || Cell == m_hotCell)
        return;
    if (m_hotCell > 0 && m_hotCell != m_drawnSelection)
        EraseFrame(CellRect(m_hotCell), 1);
    if (Cell < 1 || Cell > 42 || Cell == m_drawnSelection
        || (m_date->CellMonthOffset(Cell) != 0 && !m_options.testFlag(coFullDisplay))) {
        m_hotCell = -1;
        return;
    }
    DrawFlatFrame(CellRect(Cell), false);
    m_hotCell = Cell;
}

// ---- date changes --------------------------------------------------------------------------

void TQxCustomCalendar::DateChanged()
{
    if (m_date->Refilled) {
        UpdateTitle();
        Invalidate();
    } else {
        DrawSelection(m_date->SelectedCell, false);
    }
    if (OnValueChange)
        OnValueChange(this);
}

void TQxCustomCalendar::DoCancel()
{
    if (OnCancel)
        OnCancel(this);
}

void TQxCustomCalendar::DoAccept()
{
    if (OnAccept)
        OnAccept(this);
}

void TQxCustomCalendar::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TQxCustomCalendar::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---- mouse ---------------------------------------------------------------------------------

QPoint TQxCustomCalendar::clientPos(const QPointF& widgetPos) const
{
    return widgetPos.toPoint() - ClientOrigin();
}

int TQxCustomCalendar::partAt(const QPoint& pos) const
{
    for (int part = PrevPart; part <= YearPart; ++part) {
        if (part >= TodayPart && !m_options.testFlag(coShowPopups))
            break;
        if (part == TodayPart && !m_options.testFlag(coShowTodayBtn))
            continue;
        if (PartRect(part).contains(pos))
            return part;
    }
    return NoPart;
}

void TQxCustomCalendar::setHotPart(int part)
{
    if (part == m_hotPart)
        return;
    if (m_hotPart > 0)
        EraseFrame(PartRect(m_hotPart), 1);
    if (part > 0)
        DrawFlatFrame(PartRect(part), false);
    m_hotPart = part;
}

void TQxCustomCalendar::mousePressEvent(QMouseEvent* event)
{
    // A click on the calendar outside an open year spin takes the year shown there first.
    if (m_yearSpin && m_yearSpin->isVisible())
        YearSpinDone(true);
    if (event->button() != Qt::LeftButton) {
        TQxTransControl::mousePressEvent(event);
        return;
    }
    const QPoint pos = clientPos(event->position());
    if (GridRect().contains(pos)) {
        m_pressedPart = GridPart;
        m_pressStartCell = m_date->SelectedCell;
    } else if (PartRect(PrevPart).contains(pos)) {
        m_pressedPart = PrevPart;
    } else if (PartRect(NextPart).contains(pos)) {
        m_pressedPart = NextPart;
    } else if (m_options.testFlag(coShowTodayBtn) && PartRect(TodayPart).contains(pos)) {
        m_pressedPart = TodayPart;
    } else if (PartRect(MonthPart).contains(pos)) {
        ShowMonthPopup();
    } else if (PartRect(YearPart).contains(pos)) {
        ShowYearSpin();
    }
    if (m_pressedPart != 0) {
        m_pressInside = false;
        track(pos);
    }
    event->accept();
}

void TQxCustomCalendar::track(const QPoint& pos)
{
    if (m_pressedPart == GridPart) {
        m_pressInside = GridRect().contains(pos);
        DrawSelection(CellAt(pos.x(), pos.y()), false);
        return;
    }
    const QRect r = PartRect(m_pressedPart);
    const bool inside = r.contains(pos);
    if (inside == m_pressInside)
        return;
    m_pressInside = inside;
    const int part = m_pressedPart;
    DrawOnCanvas([&](QPainter& p) {
        PaintBackgroundRect(p, r);
        if (part == TodayPart)
            paintTodayButton(p, inside);
        else
            paintButton(p, part, inside);
    });
    DrawFlatFrame(r, inside);
}

void TQxCustomCalendar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = clientPos(event->position());
    if (m_pressedPart != 0) {
        track(pos);
    } else if (event->buttons() == Qt::NoButton) {
        setHotPart(partAt(pos));
        DrawHot(CellAt(pos.x(), pos.y()));
    }
    TQxTransControl::mouseMoveEvent(event);
}

void TQxCustomCalendar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_pressedPart == 0) {
        TQxTransControl::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = clientPos(event->position());
    const int part = m_pressedPart;
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    m_pressedPart = 0;

    // Put the pressed button back up before the action repaints anything.
    if (part != GridPart && m_pressInside) {
        const QRect r = PartRect(part);
        DrawOnCanvas([&](QPainter& p) {
            PaintBackgroundRect(p, r);
            if (part == TodayPart)
                paintTodayButton(p, false);
            else
                paintButton(p, part, false);
        });
        m_hotPart = 0;
    }

    if (m_pressInside) {
        switch (part) {
        case PrevPart: ctrl ? m_date->PrevYear() : m_date->PrevMonth(); break;
        case NextPart: ctrl ? m_date->NextYear() : m_date->NextMonth(); break;
        case TodayPart:
            if (!m_options.testFlag(coFullDisplay))
                m_date->ForceRefill = true;
            m_date->SetDateTime(Date());
            DoAccept();
            break;
        case GridPart: {
            const int k = CellAt(pos.x(), pos.y());
            const int offset = m_date->CellMonthOffset(k);
            if (k < 1 || k > 42)
                break;
            if (m_options.testFlag(coFullDisplay) || offset == 0) {
                m_date->SelectCell(k);
                DoAccept();
            } else if (m_options.testFlag(coMonthSwitch)) {
                offset < 0 ? m_date->PrevMonth() : m_date->NextMonth();
            }
            break;
        }
        default: break;
        }
    } else if (part == GridPart) {
        if (m_options.testFlag(coCancelIfOut)) {
            DrawSelection(m_pressStartCell, false);
        } else {
            m_date->SelectCell(m_pressStartCell);
            DrawSelection(m_date->SelectedCell, false);
            DoAccept();
        }
    }
    m_pressInside = false;
    if (isVisible() && rect().contains(event->position().toPoint())) {
        setHotPart(partAt(pos));
        DrawHot(CellAt(pos.x(), pos.y()));
    }
    event->accept();
}

void TQxCustomCalendar::enterEvent(QEnterEvent* event)
{
    TQxTransControl::enterEvent(event);
    m_mouseInside = true;
    DoMouseEnter();
    qx::broadcastMouseEntered(this);
}

void TQxCustomCalendar::leaveEvent(QEvent* event)
{
    TQxTransControl::leaveEvent(event);
    m_mouseInside = false;
    if (m_pressedPart == 0)
        setHotPart(NoPart);
    DrawHot(-1);
    DoMouseLeave();
    qx::broadcastMouseLeft(this);
}

void TQxCustomCalendar::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu) {
        m_popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    TQxTransControl::contextMenuEvent(event);
}

// ---- keys and notifications ----------------------------------------------------------------

void TQxCustomCalendar::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_PageUp: ctrl ? m_date->PrevYear() : m_date->PrevMonth(); break;
    case Qt::Key_PageDown: ctrl ? m_date->NextYear() : m_date->NextMonth(); break;
    case Qt::Key_Home: m_date->SetDateTime(Date()); break;
    case Qt::Key_Left: m_date->PrevDay(); break;
    case Qt::Key_Up: m_date->PrevWeek(); break;
    case Qt::Key_Right: m_date->NextDay(); break;
    case Qt::Key_Down: m_date->NextWeek(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: DoAccept(); break;
    case Qt::Key_Escape: DoCancel(); break;
    default: TQxTransControl::keyPressEvent(event); return;
    }
    event->accept();
}

void TQxCustomCalendar::changeEvent(QEvent* event)
{
    TQxTransControl::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        qx::broadcastEnabled(this, isEnabled());
        Invalidate();
        break;
    case QEvent::FontChange: {
        // The calendar keeps its own face and size; the style comes from the Font.
        QFont f = font();
        f.setFamily(QStringLiteral("Times New Roman"));
        f.setPointSize(9);
        SetCanvasFont(f);
        m_normalTextColor = fromQColor(palette().color(QPalette::WindowText));
        applyLayout();
        if (m_yearSpin) {
            m_yearSpin->setFont(f);
            QPalette pal = m_yearSpin->palette();
            pal.setColor(QPalette::Text, toQColor(m_colors->Titles()));
            m_yearSpin->setPalette(pal);
        }
        Invalidate();
        break;
    }
    default: break;
    }
}

// ---- month menu and year spin --------------------------------------------------------------

void TQxCustomCalendar::ShowMonthPopup()
{
    if (!m_options.testFlag(coShowPopups))
        return;
    const QRect part = PartRect(MonthPart);
    DrawFlatFrame(part, true);
    m_hotPart = 0;
    TQxMonthPopup* menu = TQxMonthPopup::Instance();
    menu->Calendar = this;
    menu->Date = m_date.get();
    QPointer<TQxCustomCalendar> self(this);
    connect(
        menu, &QMenu::aboutToHide, this,
        [self, part] {
            if (self)
                self->EraseFrame(part, 1);
        },
        Qt::SingleShotConnection);
    menu->Popup(qx::rectRight(part), qx::rectBottom(part));
}

void TQxCustomCalendar::ShowYearSpin()
{
    if (!m_options.testFlag(coShowPopups))
        return;
    if (m_hotPart == YearPart) {
        EraseFrame(PartRect(YearPart), 1);
        m_hotPart = 0;
    }
    if (!m_yearSpin)
        m_yearSpin = new TQxYearSpin(this);
    m_yearSpin->Show();
}

void TQxCustomCalendar::YearSpinDone(bool accept)
{
    if (!m_yearSpin)
        return;
    if (accept) {
        const int year = m_yearSpin->UpDown()->Position();
        try {
            m_date->SetYear(year);
        } catch (const EConvertError&) {
            // The spin offers only years the date can take; nothing else can reach here.
        }
        setFocus(Qt::OtherFocusReason);
    } else {
        DoCancel();
    }
    if (m_yearSpin)
        m_yearSpin->HideSpin();
}

TQxCalendar::TQxCalendar(QWidget* parent)
    : TQxCustomCalendar(parent),
      m_focusNotifier(
          this, [this] { if (OnEnter) OnEnter(this); }, [this] { if (OnExit) OnExit(this); })
{
    resize(155, 141);
}

void TQxCalendar::focusInEvent(QFocusEvent* event)
{
    TQxCustomCalendar::focusInEvent(event);
    m_focusNotifier.focusIn(event);
}

void TQxCalendar::focusOutEvent(QFocusEvent* event)
{
    TQxCustomCalendar::focusOutEvent(event);
    m_focusNotifier.focusOut(event);
}

void TQxCalendar::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    TQxCustomCalendar::mousePressEvent(event);
}

// ---- the shared month menu -----------------------------------------------------------------

TQxMonthPopup* TQxMonthPopup::Instance()
{
    if (!g_monthPopup) {
        g_monthPopup = new TQxMonthPopup();
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, g_monthPopup.data(), &QObject::deleteLater);
    }
    return g_monthPopup;
}

TQxMonthPopup::TQxMonthPopup()
{
    setObjectName(QStringLiteral("QxMonthPopup"));
    for (int m = 1; m <= 12; ++m) {
        QAction* item = addAction(FormatDateTime(QStringLiteral("mmmm"), EncodeDate(1900, m, 1)));
        item->setData(m);
        connect(item, &QAction::triggered, this, [this, item] { MonthClick(item); });
    }
}

void TQxMonthPopup::Popup(int X, int Y)
{
    QPoint at(X, Y);
    if (Calendar)
        at = Calendar->mapToGlobal(at + Calendar->ClientOrigin());
    // Right alignment: the menu's right edge at the point.
    at.rx() -= sizeHint().width();
    popup(at);
}

void TQxMonthPopup::MonthClick(QObject* Sender)
{
    auto* item = qobject_cast<QAction*>(Sender);
    if (Date && Calendar && item)
        Date->SetMonth(item->data().toInt());
    Calendar = nullptr;
    Date = nullptr;
}

// ---- up-down -------------------------------------------------------------------------------

namespace qx {

UpDown::UpDown(QWidget* parent, QLineEdit* associate, int min, int max)
    : QWidget(parent), m_associate(associate), m_min(min), m_max(max), m_position(min)
{
    setFocusPolicy(Qt::NoFocus);
}

void UpDown::SetPosition(int value)
{
    m_position = qBound(m_min, value, m_max);
    if (m_associate)
        m_associate->setText(QString::number(m_position));
    update();
}

void UpDown::Step(int delta)
{
    SetPosition(m_position + delta);
}

void UpDown::SetColor(TColor color)
{
    m_color = color;
    update();
}

void UpDown::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int h = height() / 2;
    const QRect up(0, 0, width(), h), down(0, h, width(), height() - h);
    p.fillRect(rect(), toQColor(m_color));
    qx::drawEdge(p, up, qx::EdgeRaised, qx::BfRect);
    qx::drawEdge(p, down, qx::EdgeRaised, qx::BfRect);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(isEnabled() ? clBtnText : clGrayText));
    const int cx = width() / 2;
    const QPoint upArrow[3] = {{cx - 3, up.center().y() + 2}, {cx + 3, up.center().y() + 2}, {cx, up.center().y() - 1}};
    const QPoint downArrow[3] = {{cx - 3, down.center().y() - 1}, {cx + 3, down.center().y() - 1},
                                 {cx, down.center().y() + 2}};
    p.drawPolygon(upArrow, 3);
    p.drawPolygon(downArrow, 3);
}

void UpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Step(event->position().y() < height() / 2 ? 1 : -1);
    event->accept();
}

} // namespace qx

// ---- year spin -----------------------------------------------------------------------------

TQxYearSpin::TQxYearSpin(TQxCustomCalendar* calendar) : QLineEdit(calendar), m_calendar(calendar)
{
    hide();
    setReadOnly(true);
    setFrame(false);
    setFont(calendar->CanvasFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Text, toQColor(calendar->Colors()->Titles()));
    setPalette(pal);
    m_upDown = new qx::UpDown(calendar, this, MinYear, MaxYear);
    m_upDown->hide();
}

TQxYearSpin::~TQxYearSpin()
{
    if (m_upDown)
        delete m_upDown.data();
}

void TQxYearSpin::Show()
{
    m_closing = false;
    const TColor color = qobject_cast<TQxCalendar*>(m_calendar) ? clBtnFace : m_calendar->Color();
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(color));
    setPalette(pal);

    QRect r = m_calendar->PartRect(TQxCustomCalendar::YearPart).translated(m_calendar->ClientOrigin());
    const int lineHeight = fontLineHeight(font());
    if (lineHeight > r.height()) {
        const int grow = (lineHeight - r.height()) / 2;
        r.adjust(0, -grow, 0, grow);
    }
    const int w = 5 * QFontMetrics(font()).averageCharWidth() + 6;
    setGeometry(r.x() + 2, r.y(), w, r.height());
    show();
    raise();

    m_upDown->SetColor(color);
    m_upDown->setGeometry(r.x() + 2 + w + 3, r.y(), r.height(), r.height());
    m_upDown->show();
    m_upDown->raise();
    m_upDown->SetPosition(m_calendar->CalendarDate()->Year());
    setFocus(Qt::OtherFocusReason);
    qApp->installEventFilter(this);
}

bool TQxYearSpin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && isVisible() && !m_closing) {
        auto* w = qobject_cast<QWidget*>(watched);
        // The calendar's own press accepts the year itself; the spin and its arrows are inside.
        if (w && w != this && w != m_upDown.data() && w != m_calendar)
            m_calendar->YearSpinDone(false);
    }
    return QLineEdit::eventFilter(watched, event);
}

void TQxYearSpin::HideSpin()
{
    m_closing = true;
    qApp->removeEventFilter(this);
    hide();
    if (m_upDown)
        m_upDown->hide();
    m_closing = false;
}

void TQxYearSpin::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: m_calendar->YearSpinDone(true); break;
    case Qt::Key_Escape: m_calendar->YearSpinDone(false); break;
    case Qt::Key_Up: m_upDown->Step(1); break;
    case Qt::Key_Down: m_upDown->Step(-1); break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Insert: QLineEdit::keyPressEvent(event); return;
    default: break; // every other key and every character is dropped
    }
    event->accept();
}

void TQxYearSpin::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (m_closing || !isVisible() || event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* to = QApplication::focusWidget();
    if (to == m_calendar || to == m_upDown.data())
        return;
    m_calendar->YearSpinDone(false);
}

// ---- TQxDatePad ----------------------------------------------------------------------------

namespace {

// Halves go to the even neighbour, as the platform's Round does.
int roundEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

TQxDatePad::TQxDatePad(QWidget* Owner) : TQxCustomCalendar(Owner)
{
    qx::makeNonActivatingPopup(this);
    SetColor(clBtnFace);
    SetBorderStyle(bsNone);
    SetBevel(TCalendarBevelStyle::bsRaised);
    int h = 0, w = 0;
    CalcLayout(h, w);
    resize(w, h);
    hide();
}

void TQxDatePad::CalcLayout(int& Height, int& Width)
{
    // The pad's size follows its font, not the other way round.
    const QFontMetrics fm(font());
    m_colUnit = roundEven(fm.averageCharWidth() * 1.4);
    m_rowHeight = roundEven((fm.height() + fm.height() / 8.0) * 1.2);
    Height = m_rowHeight * (Options().testFlag(coShowTodayBtn) ? 9 : 8) + 12;
    Width = m_colUnit * (Options().testFlag(coShowWeeks) ? 25 : 21) + 12;
    m_gridMarginX = 0;
    m_topOffset = 0;
    m_weekColWidth = Options().testFlag(coShowWeeks) ? 4 * m_colUnit : 0;
}

void TQxDatePad::Popup(int X, int Y)
{
    PlaceAt(X, Y);
    show();
    raise();
    // The pad takes no focus of its own; the caller keeps it and passes on its keys.
    QWidget* caller = m_caller ? m_caller.data() : parentWidget();
    if (caller && !caller->hasFocus())
        caller->setFocus(Qt::OtherFocusReason);
}

void TQxDatePad::PlaceAt(int X, int Y)
{
    QWidget* anchor = m_caller ? m_caller.data() : parentWidget();
    const QPoint s = anchor ? anchor->mapToGlobal(QPoint(X, Y)) : QPoint(X, Y);
    int h = height(), w = width();
    CalcLayout(h, w);
    QRect r(s.x() + 1, s.y() + 1, w, h);
    QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        if (qx::rectBottom(r) > qx::rectBottom(area))
            r.moveTop(qx::rectBottom(area) - h);
        if (qx::rectRight(r) > qx::rectRight(area))
            r.moveLeft(qx::rectRight(area) - w);
    }
    setGeometry(r);
}

bool TQxDatePad::HandleKeyPress(QKeyEvent* event)
{
    // Tab leaves the edit, and the pad closes with the focus move.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    // An open year spin takes the keys first: Enter keeps its year, Esc cancels.
    if (YearSpin() && YearSpin()->isVisible()) {
        QApplication::sendEvent(YearSpin(), event);
        return true;
    }
    keyPressEvent(event);
    return true;
}

void TQxDatePad::DoAccept()
{
    TQxCustomCalendar::DoAccept();
    hide();
    if (m_caller && !m_caller->hasFocus())
        m_caller->setFocus(Qt::OtherFocusReason);
}

void TQxDatePad::DoCancel()
{
    TQxCustomCalendar::DoCancel();
    hide();
}

