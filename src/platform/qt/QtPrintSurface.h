#pragma once

#include "core/reports/PrintSurface.h"
#include "platform/Printer.h"

#include <QImage>

#include <functional>

class QPainter;
class QWidget;

namespace tepa::platform {

// A print surface on an active QPainter whose device has `dpi` dots per inch; the painter's
// origin is the top left corner of the printable area. `newPage` ends the page on the device
// (QPrinter::newPage, QPdfWriter::newPage).
class QtPrintSurface : public PrintSurface
{
public:
    QtPrintSurface(QPainter& painter, int dpi, std::function<void()> newPage);

    int verticalDpi() const override { return m_dpi; }
    void setFont(const std::string& name, int points, bool bold) override;
    void drawText(int x, int y, const std::string& text) override;
    int textWidth(const std::string& text) override;
    Status loadBitmap(const std::filesystem::path& file) override;
    void drawBitmap(int left, int top, int width, int height) override;
    void newPage() override;

private:
    QPainter& m_painter;
    int m_dpi;
    std::function<void()> m_newPage;
    QImage m_bitmap;
};

// Resolution of the PDF files the program writes: the layout then runs at scale 2.
inline constexpr int PdfResolution = 600;
// The creator named in the PDF files and print jobs.
inline constexpr const char* PrintCreator = "ORVA TEPA";

// Writes a printout as a PDF file: A4 portrait, no margins (the printable area is the whole
// sheet), `dpi` dots per inch, `title` as the document title. The fonts are embedded. On
// failure no file is left behind.
Status writePdf(const QString& file, const QString& title, int dpi, const PrintLayout& layout);

// The application's printer: the printer dialog, or a PDF file name when the machine has no
// printer; then a preview of the sheets, which the user prints or cancels.
class QtPrinter : public Printer
{
public:
    void setOwner(QWidget* owner) { m_owner = owner; }
    std::optional<Status> print(const QString& jobName, const PrintLayout& layout) override;

private:
    QWidget* m_owner = nullptr;
};

} // namespace tepa::platform
