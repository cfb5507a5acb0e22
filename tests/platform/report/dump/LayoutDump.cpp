// Lays out the sample report and writes its recorded pages to the file named by the first
// argument; prints the screen's logical dots per inch, so the caller can see what it ran under.
#include "../SampleReport.h"

#include <QApplication>
#include <QFile>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    rpt::SampleReport sample;
    sample.report.Prepare();
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly))
        return 3;
    out.write(qx::report::describePages(*sample.report.QRPrinter()).join(u'\n').toUtf8());
    if (!out.flush())
        return 3;
    std::printf("%d\n", qRound(app.primaryScreen()->logicalDotsPerInch()));
    return 0;
}
