#include "report/ReportPreview.h"

#include "report/ReportForm.h"
#include "report/ReportRenderer.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace resheat::report {

namespace {

// Room left around the preview window for its frame and title bar.
constexpr int kFrameAllowance = 60;

void SaveAsPdf(const ReportForm &form, QWidget *parent)
{
    QString fileName = QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"),
                                                    QString(), QStringLiteral("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    if (!WritePdf(form, fileName))
        QMessageBox::warning(parent, QStringLiteral("Save as PDF"),
                             QStringLiteral("The file %1 could not be written.").arg(fileName));
}

} // namespace

void ShowPreviewDialog(const ReportForm &form, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(form.pageLayout());
    // The renderer places everything from the paper's corner and draws the
    // form's own margins.
    printer.setFullPage(true);

    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&form](QPrinter *target) {
                         QPainter painter;
                         if (!painter.begin(target))
                             return;
                         ReportRenderer(form).render(painter, target->resolution(),
                                                     target->resolution());
                         painter.end();
                     });

    if (auto *toolBar = dialog.findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *pdf = toolBar->addAction(QStringLiteral("Save as PDF"));
        pdf->setToolTip(QStringLiteral("Save the page as a PDF file"));
        QObject::connect(pdf, &QAction::triggered, &dialog,
                         [&form, &dialog] { SaveAsPdf(form, &dialog); });
    }
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>())
        view->fitInView();
    // A whole page at a readable size, but never larger than the screen.
    QSize size(820, 940);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        size = size.boundedTo(available.size() - QSize(kFrameAllowance, kFrameAllowance));
        dialog.resize(size);
        dialog.move(available.topLeft() + QPoint(kFrameAllowance / 2, kFrameAllowance / 2));
    } else {
        dialog.resize(size);
    }
    dialog.exec();
}

} // namespace resheat::report
