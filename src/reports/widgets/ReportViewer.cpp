#include "reports/widgets/ReportViewer.h"

#include "forms/widgets/WindowPlacement.h"
#include "reports/Layout.h"
#include "reports/Paint.h"
#include "reports/Printing.h"
#include "reports/ReportError.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>
#include <cmath>

namespace reports {

namespace {

constexpr std::array<double, 8> kZoomSteps{0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};

const QString kPlacement = QStringLiteral("ReportViewer");

} // namespace

ReportViewer::ReportViewer(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    forms::PlaceWindow(this, kPlacement, {900, 1000});

    pages_ = new QWidget;
    pagesLayout_ = new QVBoxLayout(pages_);
    pagesLayout_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    pagesLayout_->setSpacing(12);
    pagesLayout_->setContentsMargins(12, 12, 12, 12);

    // The central widget of a main window always fills it, so resizing the
    // window resizes the view.
    scroll_ = new QScrollArea;
    scroll_->setWidget(pages_);
    scroll_->setWidgetResizable(true);
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(scroll_);

    BuildActions();
}

void ReportViewer::BuildActions()
{
    QToolBar* bar = addToolBar(tr("Report"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    QAction* print = bar->addAction(tr("&Print..."), this, &ReportViewer::Print);
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(tr("Print the report (Ctrl+P)"));

    QAction* exportPdf = bar->addAction(tr("&Export PDF..."), this, &ReportViewer::ExportPdfFile);
    exportPdf->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportPdf->setToolTip(tr("Save the report as a PDF file (Ctrl+E)"));

    bar->addSeparator();
    zoomOut_ = bar->addAction(tr("Zoom &Out"), this, &ReportViewer::ZoomOut);
    zoomOut_->setShortcuts(QKeySequence::ZoomOut);
    zoomLabel_ = new QLabel;
    zoomLabel_->setMinimumWidth(48);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(zoomLabel_);
    zoomIn_ = bar->addAction(tr("Zoom &In"), this, &ReportViewer::ZoomIn);
    zoomIn_->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});

    bar->addSeparator();
    QAction* close = bar->addAction(tr("&Close"), this, &QWidget::close);
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    close->setToolTip(tr("Close the viewer (Esc)"));
}

void ReportViewer::Load(std::shared_ptr<Report> report)
{
    report_ = std::move(report);
    if (!report_)
        throw ReportError(tr("There is no report to show."));
    document_ = RunReport(*report_);
    zoom_ = 1.0;
    ShowPages();
    statusBar()->showMessage(document_.pages.size() == 1 ? tr("1 page")
                                                         : tr("%1 pages").arg(document_.pages.size()));
}

int ReportViewer::ShownPageCount() const
{
    return pagesLayout_->count();
}

void ReportViewer::ShowPages()
{
    while (QLayoutItem* item = pagesLayout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    // Rendered at the screen's true resolution, so the text stays sharp on
    // high-density screens.
    const double ratio = devicePixelRatioF();
    const double dpi = logicalDpiX() * zoom_ * ratio;
    for (int i = 0; i < document_.pages.size(); ++i) {
        QPixmap pixmap = QPixmap::fromImage(RenderPage(document_, i, dpi));
        pixmap.setDevicePixelRatio(ratio);
        auto* page = new QLabel;
        page->setPixmap(pixmap);
        page->setFixedSize(pixmap.deviceIndependentSize().toSize());
        page->setFrameShape(QFrame::Box);
        page->setAccessibleName(tr("Page %1").arg(i + 1));
        pagesLayout_->addWidget(page);
    }
    zoomLabel_->setText(QStringLiteral("%1%").arg(std::lround(zoom_ * 100)));
    zoomIn_->setEnabled(zoom_ < kZoomSteps.back());
    zoomOut_->setEnabled(zoom_ > kZoomSteps.front());
}

void ReportViewer::SetZoom(double zoom)
{
    zoom_ = std::clamp(zoom, kZoomSteps.front(), kZoomSteps.back());
    if (report_)
        ShowPages();
}

void ReportViewer::ZoomIn()
{
    for (double step : kZoomSteps)
        if (step > zoom_ + 1e-9) {
            SetZoom(step);
            return;
        }
}

void ReportViewer::ZoomOut()
{
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < zoom_ - 1e-9) {
            SetZoom(*it);
            return;
        }
}

void ReportViewer::ShowError(const QString& title, const QString& text)
{
    QMessageBox::warning(this, title, text);
}

void ReportViewer::Print()
{
    if (document_.pages.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    // The pages carry their own margins, measured from the paper's corner.
    printer.setFullPage(true);
    printer.setPageLayout(document_.PageLayout());
    printer.setDocName(document_.title.isEmpty() ? windowTitle() : document_.title);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, int(document_.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        PaintDocument(document_, printer, std::max(printer.fromPage(), 1), printer.toPage());
    } catch (const ReportError& e) {
        ShowError(tr("Print"), e.Description());
    }
}

QString ReportViewer::SuggestedPdfName() const
{
    QString name = report_ ? QFileInfo(report_->FilePath()).completeBaseName() : QString();
    if (name.isEmpty())
        name = QStringLiteral("Report");
    if (report_) {
        const QString number = report_->ParameterValue(QStringLiteral("{?@DocumentNumber}")).trimmed();
        if (!number.isEmpty())
            name += QLatin1Char('_') + number;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void ReportViewer::ExportPdfFile()
{
    if (document_.pages.isEmpty())
        return;
    QString file = QFileDialog::getSaveFileName(this, tr("Export PDF"), SuggestedPdfName(), tr("PDF files (*.pdf)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    try {
        ExportPdf(document_, file);
    } catch (const ReportError& e) {
        ShowError(tr("Export PDF"), e.Description());
    }
}

void ReportViewer::closeEvent(QCloseEvent* event)
{
    forms::RememberPlacement(this, kPlacement);
    QMainWindow::closeEvent(event);
}

ReportViewer* ShowReportViewer(std::shared_ptr<Report> report, bool groupTree, const QString& caption)
{
    // No parent: the viewer lives on after the screen that opened it, and the
    // program ends only when the last such window has closed.
    auto* viewer = new ReportViewer;
    viewer->ShowGroupTree = groupTree;
    viewer->setWindowTitle(caption);
    try {
        viewer->Load(std::move(report));
    } catch (...) {
        delete viewer;
        throw;
    }
    viewer->show();
    return viewer;
}

} // namespace reports
