#pragma once

#include "reports/Document.h"
#include "reports/Report.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace reports {

// The report viewer window (frmReportViewer): a modeless top-level window
// showing every page of a report in a scrollable view that fills it, with
// Print, Export PDF, zoom and Close. It holds its own reference to the
// report it shows, so other viewers and later prints do not disturb it.
class ReportViewer : public QMainWindow {
    Q_OBJECT
public:
    explicit ReportViewer(QWidget* parent = nullptr);

    // Whether the group tree is shown and can be opened. Our reports have no
    // groups and the viewer no tree, so the value is only kept.
    bool ShowGroupTree = false;

    // Runs the report and shows it at zoom 1 (100 %). Throws ReportError
    // (no report, a report fault, the database refused the query).
    void Load(std::shared_ptr<Report> report);

    const std::shared_ptr<Report>& ShownReport() const { return report_; }
    const Document& ShownDocument() const { return document_; }
    // Page images the view holds.
    int ShownPageCount() const;
    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);

    void Print();
    void ExportPdfFile();
    void ZoomIn();
    void ZoomOut();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void ShowPages();
    void ShowError(const QString& title, const QString& text);
    QString SuggestedPdfName() const;

    std::shared_ptr<Report> report_;
    Document document_;
    double zoom_ = 1.0;

    QScrollArea* scroll_ = nullptr;
    QWidget* pages_ = nullptr;
    QVBoxLayout* pagesLayout_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
};

// Opens a new viewer window on the report (every call another window), with the group-tree value and caption given, and shows it
// modeless. Returns the window, which deletes itself when closed. Throws
// like ReportViewer::Load; no window stays open then.
ReportViewer* ShowReportViewer(std::shared_ptr<Report> report, bool groupTree, const QString& caption);

} // namespace reports
