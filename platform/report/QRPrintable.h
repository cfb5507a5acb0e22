// TQRPrintable: the base of everything printed on a band.
//
// Geometry: Size holds the place on the band in report units (0.1 mm); Left, Top, Width and
// Height give and take the same in pixels at 100 % (96 dpi). A printable may stand partly
// outside its band (a negative Top draws above it).
//
// The print cycle, driven by the report:
//   Prepare()            when a run starts (look up fields, parse expressions...)
//   Print(OffsetX, OffsetY)
//                        each time the band prints; the offsets (report units) move Size to
//                        the band's place on the page. The base fills the background (unless
//                        Transparent) and draws the frame; derived classes draw their content
//                        on Canvas() after calling it.
//   Unprepare()          when the run is over.
// Drawing happens only in the final pass (FinalPass); while the report is exporting
// (IsExporting) a printable may hand its text to ExportFilter() as well.
//
// Stretching: a printable with AutoStretch says through StretchHeight how much height (from
// its top) it needs to show everything; the band grows to the largest need, as far as the
// page allows. AvailableHeight tells Print how much room there is from the printable's top on
// this page. A printable that could not show everything returns false from Finished; the band
// then continues on the next page, where only the unfinished printables print again (from the
// top of the band) until every one is finished.
#pragma once

#include "platform/db/DB.h"
#include "platform/report/QRGraphics.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

class QPainter;
class TQRCustomBand;
class TQRExportFilter;
class TQRPrinter;
class TQuickRep;

// A place in report units.
struct TQRUnitRect
{
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

class TQRPrintable : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool AlignToBand READ AlignToBand WRITE SetAlignToBand)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    // The printable stands on band (its QObject parent, which owns it).
    explicit TQRPrintable(TQRCustomBand* band);
    ~TQRPrintable() override;

    TQRCustomBand* ParentBand() const;
    // Moves the printable to another band (which then owns it).
    void SetParentBand(TQRCustomBand* band);
    TQuickRep* ParentReport() const;

    // ---- geometry ------------------------------------------------------------------------
    TQRUnitRect& Size() { return m_size; }
    const TQRUnitRect& Size() const { return m_size; }
    int Left() const;
    void SetLeft(int pixels);
    int Top() const;
    void SetTop(int pixels);
    int Width() const;
    void SetWidth(int pixels);
    int Height() const;
    void SetHeight(int pixels);

    // ---- look ----------------------------------------------------------------------------
    TQRFrame& Frame() { return m_frame; }
    const TQRFrame& Frame() const { return m_frame; }
    TAlignment Alignment() const { return m_alignment; }
    virtual void SetAlignment(TAlignment alignment) { m_alignment = alignment; }
    // Placed at the band's left edge, centre or right edge by Alignment when printing.
    bool AlignToBand() const { return m_alignToBand; }
    void SetAlignToBand(bool on) { m_alignToBand = on; }
    bool AutoSize() const { return m_autoSize; }
    virtual void SetAutoSize(bool on) { m_autoSize = on; }
    bool AutoStretch() const { return m_autoStretch; }
    void SetAutoStretch(bool on) { m_autoStretch = on; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on) { m_transparent = on; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    // The printable's font, or the report's while ParentFont is set. Setting a font clears
    // ParentFont. Fonts are kept as report fonts (pixel-sized at 96 dpi).
    QFont Font() const;
    virtual void SetFont(const QFont& font);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool on) { m_parentFont = on; }
    // The colour of the printable's text.
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor color) { m_fontColor = color; }
    // The zoom of the parent report, in percent.
    int Zoom() const;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // Drawn first (behind the others) or last on the band.
    void SendToBack();
    void BringToFront();
    // With AlignToBand: moves the printable to the band's left edge, centre or right edge by
    // Alignment (the engine does this before each print; a printable that changes its own
    // width while printing calls it again).
    void ApplyAlignToBand();

    // ---- print cycle ---------------------------------------------------------------------
    virtual void Prepare();
    virtual void Unprepare();
    virtual void Print(double OffsetX, double OffsetY);
    // The height from the top that shows everything (report units); Size().Height unless a
    // stretching printable needs more.
    virtual double StretchHeight();
    // False while a stretching printable has more to show on the next page.
    virtual bool Finished() const { return true; }
    // Drops what is left over from an earlier print, so the next print starts from the
    // beginning (the engine calls it where a band does not continue on the next page).
    virtual void ResetStretch() {}
    // The room from the printable's top to the bottom of the band on this page (report units).
    double AvailableHeight() const { return m_available; }
    void SetAvailableHeight(double units) { m_available = units; }

    // ---- the run -------------------------------------------------------------------------
    bool FinalPass() const;
    bool IsExporting() const;
    TQRExportFilter* ExportFilter() const;
    // The parent report's printer object and the canvas of the page being produced.
    TQRPrinter* QRPrinter() const;
    QPainter* Canvas() const;

    // ---- measuring (report units, in the printable's font unless given) -------------------
    double TextWidth(const QString& text) const;
    double TextWidth(const QFont& font, const QString& text) const;
    double TextHeight() const;

protected:
    // The printable's area on the page for the given offsets (report units).
    TQRUnitRect PrintArea(double OffsetX, double OffsetY) const;
    // The same in canvas pixels.
    QRectF PrintRectPixels(double OffsetX, double OffsetY) const;
    // Fills the area with Color (unless Transparent) and draws the frame lines.
    void PaintBackground(const QRectF& pixels);
    void PaintFrame(const QRectF& pixels);

private:
    TQRUnitRect m_size;
    TQRFrame m_frame;
    TAlignment m_alignment = taLeftJustify;
    bool m_alignToBand = false;
    bool m_autoSize = false;
    bool m_autoStretch = false;
    bool m_transparent = false;
    TColor m_color = clWhite;
    QFont m_font;
    bool m_parentFont = true;
    TColor m_fontColor = clBlack;
    bool m_enabled = true;
    int m_tag = 0;
    double m_available = 0;
};
