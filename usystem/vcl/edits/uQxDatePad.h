// The library's owner-drawn month calendar: a title with the month and year between a previous
// and a next button, the weekday titles, six rows of seven day cells, optionally the week
// numbers on the left and a today button at the bottom. TQxCustomCalendar does the drawing,
// layout, mouse and keys over a TQxCalendarDate; TQxCalendar publishes it. The title's month
// opens the shared month menu (TQxMonthPopup), its year a small spin editor (TQxYearSpin).
#pragma once

#include "usystem/vcl/edits/uQxDate.h"
#include "usystem/vcl/edits/uQxTransControl.h"

#include "platform/ui/Focus.h"

#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

#include <memory>

namespace QxCalendarTypes {
Q_NAMESPACE

enum TCalendarOption {
    coFullDisplay = 0x01,  // the neighbour months' days are shown and can be picked
    coShowPopups = 0x02,   // the title's month and year open the month menu and the year spin
    coMonthSwitch = 0x04,  // a click on a neighbour month's day turns the page
    coCancelIfOut = 0x08,  // a press in the grid released outside it accepts nothing
    coShowWeeks = 0x10,    // week numbers on the left
    coShowToday = 0x20,    // today's mark
    coShowTodayBtn = 0x40, // the today button at the bottom
};
Q_DECLARE_FLAGS(TCalendarOptions, TCalendarOption)
Q_FLAG_NS(TCalendarOptions)

enum class TSelectStyle { ssNone, ssFrame, ssOval };
Q_ENUM_NS(TSelectStyle)
enum class TCalendarBevelStyle { bsNone, bsLowered, bsRaised };
Q_ENUM_NS(TCalendarBevelStyle)
enum class THilightStyle { hsNone, hsMoving, hsRaising, hsFlushing, hsUnderline, hsColor, hsFrame };
Q_ENUM_NS(THilightStyle)

} // namespace QxCalendarTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(QxCalendarTypes::TCalendarOptions)

using QxCalendarTypes::TCalendarOption;
using QxCalendarTypes::TCalendarOptions;
using enum QxCalendarTypes::TCalendarOption;
using QxCalendarTypes::TSelectStyle;
using QxCalendarTypes::TCalendarBevelStyle;
using QxCalendarTypes::THilightStyle;

class TQxCustomCalendar;
class TQxYearSpin;

// The colours of a calendar; each change repaints the calendar that owns the set.
class TQxCalendarColors : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Titles=clWindowText;WeekEnd=clMaroon;Inactive=cl3DLight;"
                              "InactiveWeekEnd=clInfoBk;Select=clHighlight")
    Q_CLASSINFO("QxIntegerKinds", "Titles,WeekEnd,Inactive,InactiveWeekEnd,Select=TColor")
    Q_PROPERTY(int Titles READ Titles WRITE SetTitles)
    Q_PROPERTY(int WeekEnd READ WeekEnd WRITE SetWeekEnd)
    Q_PROPERTY(int Inactive READ Inactive WRITE SetInactive)
    Q_PROPERTY(int InactiveWeekEnd READ InactiveWeekEnd WRITE SetInactiveWeekEnd)
    Q_PROPERTY(int Select READ Select WRITE SetSelect)

public:
    explicit TQxCalendarColors(TQxCustomCalendar* owner);

    TColor Titles() const { return m_titles; }
    TColor WeekEnd() const { return m_weekEnd; }
    TColor Inactive() const { return m_inactive; }
    TColor InactiveWeekEnd() const { return m_inactiveWeekEnd; }
    TColor Select() const { return m_select; }
    void SetTitles(TColor value);
    void SetWeekEnd(TColor value);
    void SetInactive(TColor value);
    void SetInactiveWeekEnd(TColor value);
    void SetSelect(TColor value);

    // Copies all five colours of another set; anything else raises EConvertError.
    void Assign(const QObject* Source);

private:
    void set(TColor& field, TColor value);

    TQxCustomCalendar* m_owner = nullptr;
    TColor m_titles;
    TColor m_weekEnd;
    TColor m_inactive;
    TColor m_inactiveWeekEnd;
    TColor m_select;
};

class TQxCustomCalendar : public TQxTransControl
{
    Q_OBJECT

public:
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    // The parts of the calendar that react to the mouse.
    enum Part { NoPart = 0, PrevPart = 1, NextPart = 2, TodayPart = 3, MonthPart = 4, YearPart = 5, GridPart = 4 };

    explicit TQxCustomCalendar(QWidget* parent = nullptr);
    ~TQxCustomCalendar() override;

    TQxCalendarDate* CalendarDate() const { return m_date.get(); }
    TQxCalendarColors* Colors() const { return m_colors; }
    void SetColors(TQxCalendarColors* value);

    TWeekDay BeginingOfWeek() const { return m_date->BeginingOfWeek(); }
    void SetBeginingOfWeek(TWeekDay value);
    TCalendarBevelStyle Bevel() const { return m_bevel; }
    void SetBevel(TCalendarBevelStyle value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TCalendarOptions Options() const { return m_options; }
    void SetOptions(TCalendarOptions value);
    TWeekEnds WeekEnds() const { return m_weekEnds; }
    void SetWeekEnds(TWeekEnds value);
    THilightStyle HilightStyle() const { return m_hilightStyle; }
    void SetHilightStyle(THilightStyle value) { m_hilightStyle = value; }
    TSelectStyle SelectStyle() const { return m_selectStyle; }
    void SetSelectStyle(TSelectStyle value);
    QMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool value) { m_parentShowHint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    // The control's own flags, whatever its parent's state.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    bool Visible() const { return !isHidden(); }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

    // Places the control; the layout is recomputed for the new size first.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // Layout and geometry, in the calendar's client coordinates.
    int RowHeight() const { return m_rowHeight; }
    int ColUnit() const { return m_colUnit; }
    int GridMarginX() const { return m_gridMarginX; }
    int WeekColWidth() const { return m_weekColWidth; }
    int TopOffset() const { return m_topOffset; }
    QString Title() const { return m_title; }
    QRect TitleRect() const;
    QRect PartRect(int part) const; // 1 previous, 2 next, 3 today, 4 month, 5 year
    QRect GridRect() const;
    QRect CellRect(int cell) const;
    QRect WeekNumberRect(int row) const;
    int CellAt(int X, int Y) const;
    // The colour a day cell's number is drawn in.
    TColor DayColor(int cell) const;
    // The cell that carries the selection mark, -1 for none; the day cell with the hover frame.
    int DrawnSelection() const { return m_drawnSelection; }
    int HotCell() const { return m_hotCell; }
    int HotPart() const { return m_hotPart; }
    TColor NormalTextColor() const { return m_normalTextColor; }

    void UpdateTitle();
    void DrawSelection(int Cell, bool Force);
    void DrawHot(int Cell);

    void ShowMonthPopup();
    void ShowYearSpin();
    TQxYearSpin* YearSpin() const { return m_yearSpin; }
    // The year spin's answer: accept sets the year shown in it, cancel cancels the calendar.
    void YearSpinDone(bool accept);

    TNotifyEvent OnAccept;
    TNotifyEvent OnCancel;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnValueChange;

protected:
    virtual void CalcLayout(int& Height, int& Width);
    virtual void DoCancel();
    virtual void DoAccept();
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DateChanged();

    void Paint(QPainter& canvas) override;

    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // The pointer position in client coordinates (inside the window border of bsSingle).
    QPoint clientPos(const QPointF& widgetPos) const;

private:
    QFont boldFont() const;
    int boldWidth(const QString& text) const;
    void applyLayout();
    void paintDayCell(QPainter& p, int cell, bool bold);
    void paintButton(QPainter& p, int part, bool pressed);
    void paintTodayButton(QPainter& p, bool pressed);
    void paintTodayMark(QPainter& p);
    void setHotPart(int part);
    int partAt(const QPoint& pos) const;
    void track(const QPoint& pos);

protected:
    // The layout CalcLayout computes; a descendant that sizes itself sets them all.
    int m_rowHeight = 0;
    int m_colUnit = 0;
    int m_gridMarginX = 0;
    int m_weekColWidth = 0;
    int m_topOffset = 0;

private:
    std::unique_ptr<TQxCalendarDate> m_date;
    TQxCalendarColors* m_colors = nullptr;
    TCalendarBevelStyle m_bevel = TCalendarBevelStyle::bsRaised;
    TBorderStyle m_borderStyle = bsNone;
    QString m_title;
    TColor m_normalTextColor = 0;
    THilightStyle m_hilightStyle = THilightStyle::hsFrame;
    int m_hotPart = 0;
    int m_pressStartCell = 0;
    int m_drawnSelection = -1;
    TCalendarOptions m_options = coShowPopups;
    int m_hotCell = -1;
    TSelectStyle m_selectStyle = TSelectStyle::ssFrame;
    bool m_pressInside = false;
    int m_pressedPart = 0;
    TWeekEnds m_weekEnds = TWeekEnd::Sat | TWeekEnd::Sun;
    QPointer<TQxYearSpin> m_yearSpin;
    QPointer<QMenu> m_popupMenu;
    bool m_parentShowHint = true;
    bool m_showHint = false;
    bool m_mouseInside = false;
};

class TQxCalendar : public TQxCustomCalendar
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "BeginingOfWeek=Mon;Bevel=bsRaised;BorderStyle=bsNone;Color=clBtnFace;"
                              "HilightStyle=hsFrame;SelectStyle=ssFrame;Options=[coShowPopups];"
                              "TabStop=false;WeekEnds=[Sat,Sun]")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(QxDateTypes::TWeekDay BeginingOfWeek READ BeginingOfWeek WRITE SetBeginingOfWeek)
    Q_PROPERTY(QxCalendarTypes::TCalendarBevelStyle Bevel READ Bevel WRITE SetBevel)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(TQxCalendarColors* Colors READ Colors WRITE SetColors)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QxCalendarTypes::THilightStyle HilightStyle READ HilightStyle WRITE SetHilightStyle)
    Q_PROPERTY(QxCalendarTypes::TSelectStyle SelectStyle READ SelectStyle WRITE SetSelectStyle)
    Q_PROPERTY(QxCalendarTypes::TCalendarOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(QxDateTypes::TWeekEnds WeekEnds READ WeekEnds WRITE SetWeekEnds)

public:
    explicit TQxCalendar(QWidget* parent = nullptr);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    qx::FocusNotifier m_focusNotifier;
};

// The month menu of the calendars' titles: one for the whole program, handed to whichever
// calendar opens it.
class TQxMonthPopup : public QMenu
{
    Q_OBJECT

public:
    // The shared menu, made on first use.
    static TQxMonthPopup* Instance();

    // (X, Y) in the client coordinates of Calendar; the menu's right edge goes there.
    void Popup(int X, int Y);
    void MonthClick(QObject* Sender);

    QPointer<TQxCustomCalendar> Calendar;
    TQxCalendarDate* Date = nullptr;

private:
    TQxMonthPopup();
};

namespace qx {

// A small up-down control tied to an edit: its arrows (and the edit's Up and Down keys) step
// Position inside Min..Max and write it into the edit without thousands separators.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    UpDown(QWidget* parent, QLineEdit* associate, int min, int max);

    int Position() const { return m_position; }
    void SetPosition(int value);
    void Step(int delta);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* m_associate;
    int m_min;
    int m_max;
    int m_position;
    TColor m_color = clBtnFace;
};

} // namespace qx

// The year editor laid over the title's year: read-only text stepped by its up-down; Enter
// accepts, Esc and a move of the focus away cancel.
class TQxYearSpin : public QLineEdit
{
    Q_OBJECT

public:
    // The years the spin offers; the date model encodes no other.
    static constexpr int MinYear = 1;
    static constexpr int MaxYear = 9999;

    explicit TQxYearSpin(TQxCustomCalendar* calendar);
    ~TQxYearSpin() override;

    qx::UpDown* UpDown() const { return m_upDown; }
    void Show();
    void HideSpin();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // While the spin is open, a press on any other control of the program cancels it, also
    // on one that takes no focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQxCustomCalendar* m_calendar = nullptr;
    QPointer<qx::UpDown> m_upDown;
    bool m_closing = false;
};

// The month calendar as a drop-down pad under a date edit. The program keeps one pad for all
// date edits; the edit that opens it becomes its parent and Caller and binds OnAccept,
// OnCancel and OnValueChange. The pad sizes itself from its font and never takes the focus:
// the edit keeps it and hands the pad its keys (HandleKeyPress). It closes on accept, Esc, or
// when the edit loses the focus.
class TQxDatePad : public TQxCustomCalendar
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "BeginingOfWeek=Mon;Bevel=bsRaised;Color=clBtnFace;"
                              "HilightStyle=hsFrame;SelectStyle=ssFrame;Options=[coShowPopups];"
                              "TabStop=false;WeekEnds=[Sat,Sun]")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(QxDateTypes::TWeekDay BeginingOfWeek READ BeginingOfWeek WRITE SetBeginingOfWeek)
    Q_PROPERTY(QxCalendarTypes::TCalendarBevelStyle Bevel READ Bevel WRITE SetBevel)
    Q_PROPERTY(QWidget* Caller READ Caller WRITE SetCaller)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(TQxCalendarColors* Colors READ Colors WRITE SetColors)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QxCalendarTypes::THilightStyle HilightStyle READ HilightStyle WRITE SetHilightStyle)
    Q_PROPERTY(QxCalendarTypes::TSelectStyle SelectStyle READ SelectStyle WRITE SetSelectStyle)
    Q_PROPERTY(QxCalendarTypes::TCalendarOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(QxDateTypes::TWeekEnds WeekEnds READ WeekEnds WRITE SetWeekEnds)

public:
    // Owner: the windowed control that creates the pad; it is also its first parent.
    explicit TQxDatePad(QWidget* Owner);

    QWidget* Caller() const { return m_caller; }
    void SetCaller(QWidget* value) { m_caller = value; }
    // A pop-up window has no place in a tab order; the value is only kept for the form file.
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int value) { m_tabOrder = value; }

    // (X, Y) in the client coordinates of Caller (of the parent when there is no Caller).
    void Popup(int X, int Y);
    void PlaceAt(int X, int Y);

    // Keys the edit passes on while the pad is open; true when the pad took the key.
    bool HandleKeyPress(QKeyEvent* event);

    void DoAccept() override;
    void DoCancel() override;

protected:
    void CalcLayout(int& Height, int& Width) override;

private:
    QPointer<QWidget> m_caller;
    int m_tabOrder = -1;
};
