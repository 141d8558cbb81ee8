#pragma once
// Printing to PDF in tests: a window's picture printed through QPrinter and
// read back by pdftoppm (poppler-utils), the reader a user's PDF viewer uses.
#include "ui/tool_window.h"

#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QString>

#include <cstdlib>

namespace qx::test {

// Prints the window to a PDF, then renders its one page at `dpi`; a null
// image when either step fails.
inline QImage printedPage(ui::ToolWindow& w, const QString& name, int dpi = 40)
{
    const QString pdf = QDir::tempPath() + QStringLiteral("/qx_print_") + name + QStringLiteral(".pdf");
    const QString png = QDir::tempPath() + QStringLiteral("/qx_print_") + name;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        if (!w.printTo(printer))
            return {};
    }
    const QString cmd = QStringLiteral("pdftoppm -r %1 -png -singlefile '%2' '%3' 2>/dev/null").arg(dpi).arg(pdf, png);
    if (std::system(cmd.toLocal8Bit().constData()) != 0)
        return {};
    QImage page(png + QStringLiteral(".png"));
    if (!std::getenv("QX_KEEP_PRINTS")) { // kept to look at them
        QFile::remove(pdf);
        QFile::remove(png + QStringLiteral(".png"));
    }
    return page;
}

// Pixels of the page that are not the paper's white.
inline int inkedPixels(const QImage& page, QRgb* sample = nullptr)
{
    int n = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if ((page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                if (sample && !n)
                    *sample = page.pixel(x, y);
                ++n;
            }
    return n;
}

} // namespace qx::test
