#include "platform/qt/QtPrintSurface.h"

#include "core/model/AtomicFile.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace tepa::platform {

QtPrintSurface::QtPrintSurface(QPainter& painter, int dpi, std::function<void()> newPage)
    : m_painter(painter)
    , m_dpi(dpi)
    , m_newPage(std::move(newPage))
{}

void QtPrintSurface::setFont(const std::string& name, int points, bool bold)
{
    QFont font(QString::fromStdString(name));
    font.setPointSize(points);
    font.setBold(bold);
    // Widths measured must be the widths printed, whatever the device's pixel grid.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    m_painter.setFont(font);
}

void QtPrintSurface::drawText(int x, int y, const std::string& text)
{
    // The layout places the top of the line box; QPainter places the baseline.
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), QString::fromStdString(text));
}

int QtPrintSurface::textWidth(const std::string& text)
{
    return m_painter.fontMetrics().horizontalAdvance(QString::fromStdString(text));
}

Status QtPrintSurface::loadBitmap(const std::filesystem::path& file)
{
    QImage image;
    if (!image.load(QString::fromStdString(file.string())))
        return Error{fileOpenError(file)};
    m_bitmap = std::move(image);
    return Done{};
}

void QtPrintSurface::drawBitmap(int left, int top, int width, int height)
{
    // The picture keeps its proportions: as large as the box allows, centred in it.
    if (m_bitmap.isNull() || width <= 0 || height <= 0)
        return;
    const QSize fitted = m_bitmap.size().scaled(width, height, Qt::KeepAspectRatio);
    const QRect target(left + (width - fitted.width()) / 2, top + (height - fitted.height()) / 2,
                       fitted.width(), fitted.height());
    m_painter.drawImage(target, m_bitmap);
}

void QtPrintSurface::newPage()
{
    if (m_newPage)
        m_newPage();
}

Status writePdf(const QString& file, const QString& title, int dpi, const PrintLayout& layout)
{
    // Drawn into a temporary file beside the target and renamed over it only when complete: a
    // failed or killed printout leaves an existing PDF as it was.
    Result<PendingFile> pending = PendingFile::create(std::filesystem::path(file.toStdU16String()));
    if (!pending)
        return Error{pending.error()};
    Status outcome = Done{};
    {
        QPdfWriter writer(QString::fromStdU16String(pending->temporaryPath().u16string()));
        writer.setTitle(title);
        writer.setCreator(PrintCreator);
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return Error{"Datei " + file.toStdString() + " kann nicht erstellt werden"};
        QtPrintSurface surface(painter, dpi, [&writer] { writer.newPage(); });
        outcome = layout(surface);
        if (!painter.end() && outcome)
            outcome = Error{"Datei " + file.toStdString() + " kann nicht geschrieben werden"};
    }
    if (!outcome)
        return outcome;
    return pending->commit();
}

namespace {

// A dry run of the layout, drawing nowhere: it finds what would stop the printout (a missing
// logo) before a preview or a sheet of paper shows half of it.
Status tryLayout(const PrintLayout& layout, int dpi)
{
    QPicture picture;
    QPainter painter(&picture);
    QtPrintSurface surface(painter, dpi, {});
    return layout(surface);
}

void paint(QPrinter& printer, const PrintLayout& layout)
{
    QPainter painter(&printer);
    QtPrintSurface surface(painter, printer.resolution(), [&printer] { printer.newPage(); });
    layout(surface);
}

} // namespace

std::optional<Status> QtPrinter::print(const QString& jobName, const PrintLayout& layout)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName);
    printer.setCreator(PrintCreator);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    std::optional<PendingFile> pdfFile;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Without a printer the sheets go to a PDF file at the resolution of a laser printer.
        const QString file = QFileDialog::getSaveFileName(
            m_owner, jobName, QDir::homePath() + "/" + jobName + ".pdf", QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty())
            return std::nullopt;
        // Printed into a temporary file and renamed over the chosen one when complete.
        Result<PendingFile> created = PendingFile::create(std::filesystem::path(file.toStdU16String()));
        if (!created)
            return Status(Error{created.error()});
        pdfFile.emplace(std::move(created).value());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdU16String(pdfFile->temporaryPath().u16string()));
        printer.setResolution(PdfResolution);
    } else {
        QPrintDialog dialog(&printer, m_owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
    }

    if (Status trial = tryLayout(layout, printer.resolution()); !trial)
        return trial;

    QDialog preview(m_owner);
    preview.setWindowTitle(jobName);
    preview.resize(800, 1000);
    auto* box = new QVBoxLayout(&preview);
    auto* sheets = new QPrintPreviewWidget(&printer, &preview);
    QObject::connect(sheets, &QPrintPreviewWidget::paintRequested, &preview,
                     [&layout](QPrinter* target) { paint(*target, layout); });
    box->addWidget(sheets);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &preview);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Drucken"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &preview, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &preview, &QDialog::reject);
    box->addWidget(buttons);
    if (preview.exec() != QDialog::Accepted)
        return std::nullopt;
    sheets->print();
    if (pdfFile)
        return pdfFile->commit();
    return Done{};
}

} // namespace tepa::platform
