// Paints a report form on any paint device: the preview, a printer, a PDF
// writer or an image.  The device's origin is the paper's top left corner;
// millimetres become device dots through the device's resolution, and fonts
// are sized in points on that same resolution, so a page looks the same on
// every device.
#pragma once

#include "report/ReportForm.h"

#include <QImage>
#include <QRectF>

class QPaintDevice;
class QPainter;

namespace resheat::report {

class ReportRenderer {
public:
    explicit ReportRenderer(const ReportForm &form) : m_form(form) {}

    // Opens a painter on the device (using its own resolution) and paints
    // the page.  Returns false when no painter could be opened on it.
    bool render(QPaintDevice &device) const;
    // Paints on an open painter whose device has the given resolution.
    void render(QPainter &painter, double dpiX, double dpiY) const;

    // Places in device dots at a resolution (dots per inch).
    QRectF bandRect(double dpiX, double dpiY) const;
    QRectF labelRect(const ReportLabel &label, double dpiX, double dpiY) const;
    QRectF imageRect(const ReportImageBox &box, double dpiX, double dpiY) const;

    static QRectF toDots(const QRectF &mm, double dpiX, double dpiY);

private:
    void paintLabel(QPainter &painter, const ReportLabel &label, double dpiX, double dpiY) const;
    void paintImage(QPainter &painter, const ReportImageBox &box, double dpiX, double dpiY) const;

    const ReportForm &m_form;
};

// The whole page as a white image of the given resolution.
QImage RenderPageImage(const ReportForm &form, double dpi);

// Writes the page as a one-page PDF; false when the file cannot be written.
bool WritePdf(const ReportForm &form, const QString &fileName);

} // namespace resheat::report
