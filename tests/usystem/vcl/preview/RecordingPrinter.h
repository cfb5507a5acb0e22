// A printer that records what is printed instead of printing: the texts of every page, in
// the order the pages were sent, and the number of jobs started. The printer maker of the
// report engine hands it out in tests (ScopedRecordingPrinter), and the printer list shows
// one installed printer for it.
#pragma once

#include "platform/report/PrintTarget.h"
#include "usystem/vcl/preview/PrinterList.h"

#include <QHash>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <QTextItem>

#include <memory>

namespace qx::test {

struct PrintLog
{
    int jobs = 0;
    // The texts of each page sent, joined by blanks.
    QStringList pages;
};

class RecordingPrintEngine : public QPaintEngine, public QPrintEngine
{
public:
    explicit RecordingPrintEngine(std::shared_ptr<PrintLog> log) : QPaintEngine(AllFeatures), m_log(std::move(log)) {}

    // Paint engine.
    bool begin(QPaintDevice*) override
    {
        m_state = QPrinter::Active;
        ++m_log->jobs;
        m_log->pages << QString();
        return true;
    }
    bool end() override
    {
        m_state = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& textItem) override
    {
        QString& page = m_log->pages.last();
        page += page.isEmpty() ? textItem.text() : QLatin1Char(' ') + textItem.text();
    }
    Type type() const override { return QPaintEngine::User; }

    // Print engine.
    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { m_properties[int(key)] = value; }
    QVariant property(PrintEnginePropertyKey key) const override
    {
        if (key == PPK_SupportsMultipleCopies)
            return false;
        if (key == PPK_CopyCount)
            return 1;
        if (key == PPK_Resolution)
            return kDpi;
        return m_properties.value(int(key));
    }
    bool newPage() override
    {
        m_log->pages << QString();
        return true;
    }
    bool abort() override
    {
        m_state = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case QPaintDevice::PdmWidth:
            return 210 * kDpi * 10 / 254;
        case QPaintDevice::PdmHeight:
            return 297 * kDpi * 10 / 254;
        case QPaintDevice::PdmWidthMM:
            return 210;
        case QPaintDevice::PdmHeightMM:
            return 297;
        case QPaintDevice::PdmNumColors:
            return 256;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY:
            return kDpi;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }
    QPrinter::PrinterState printerState() const override { return m_state; }

private:
    static constexpr int kDpi = 300;
    std::shared_ptr<PrintLog> m_log;
    QHash<int, QVariant> m_properties;
    QPrinter::PrinterState m_state = QPrinter::Idle;
};

class RecordingPrinter : public QPrinter
{
public:
    explicit RecordingPrinter(std::shared_ptr<PrintLog> log)
        : m_engine(std::make_unique<RecordingPrintEngine>(std::move(log)))
    {
        setEngines(m_engine.get(), m_engine.get());
    }

private:
    std::unique_ptr<RecordingPrintEngine> m_engine;
};

// While it lives every print goes to a recording printer, and the printer list holds one
// printer for it.
class ScopedRecordingPrinter
{
public:
    ScopedRecordingPrinter()
        : log(std::make_shared<PrintLog>()),
          m_maker([log = log](int) -> std::unique_ptr<QPrinter> { return std::make_unique<RecordingPrinter>(log); }),
          m_source([] {
              PrinterEntry entry;
              entry.name = QStringLiteral("记录打印机");
              entry.makeAndModel = QStringLiteral("记录型号");
              entry.location = QStringLiteral("测试");
              entry.isDefault = true;
              return QList<PrinterEntry>{entry};
          })
    {}

    std::shared_ptr<PrintLog> log;

private:
    qx::report::ScopedPrinterMaker m_maker;
    ScopedPrinterSource m_source;
};

} // namespace qx::test
