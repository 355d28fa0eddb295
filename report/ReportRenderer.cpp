#include "report/ReportRenderer.h"

#include <QBuffer>
#include <QFile>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "core/Errors.h"
#include "files/SafeWriter.h"

namespace resheat::report {

namespace {
constexpr double kMmPerInch = 25.4;
} // namespace

QRectF ReportRenderer::toDots(const QRectF &mm, double dpiX, double dpiY)
{
    const double sx = dpiX / kMmPerInch;
    const double sy = dpiY / kMmPerInch;
    return {mm.left() * sx, mm.top() * sy, mm.width() * sx, mm.height() * sy};
}

QRectF ReportRenderer::bandRect(double dpiX, double dpiY) const
{
    return toDots(m_form.bandRectMm(), dpiX, dpiY);
}

QRectF ReportRenderer::labelRect(const ReportLabel &label, double dpiX, double dpiY) const
{
    return toDots(m_form.labelRectMm(label), dpiX, dpiY);
}

QRectF ReportRenderer::imageRect(const ReportImageBox &box, double dpiX, double dpiY) const
{
    return toDots(m_form.imageRectMm(box), dpiX, dpiY);
}

bool ReportRenderer::render(QPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    render(painter, device.logicalDpiX(), device.logicalDpiY());
    return painter.end();
}

void ReportRenderer::render(QPainter &painter, double dpiX, double dpiY) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const ReportBand &band = m_form.band();
    if (band.color.isValid() && band.color.alpha() > 0)
        painter.fillRect(bandRect(dpiX, dpiY), band.color);

    for (const ReportImageBox &box : m_form.imageBoxes())
        paintImage(painter, box, dpiX, dpiY);
    for (const ReportLabel &label : m_form.labels())
        paintLabel(painter, label, dpiX, dpiY);
    painter.restore();
}

void ReportRenderer::paintLabel(QPainter &painter, const ReportLabel &label, double dpiX,
                                double dpiY) const
{
    if (label.caption.isEmpty())
        return;
    painter.setFont(label.font.toQFont());
    painter.setPen(label.font.color);
    const QRectF place = labelRect(label, dpiX, dpiY);
    // Centred labels are centred again with the device's own metrics, so
    // hinting on a coarse device cannot push them off the middle.
    if (label.alignment == LabelAlignment::CentreOnBand) {
        const QRectF band = bandRect(dpiX, dpiY);
        painter.drawText(QRectF(band.left(), place.top(), band.width(), place.height()),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, label.caption);
    } else {
        painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label.caption);
    }
}

void ReportRenderer::paintImage(QPainter &painter, const ReportImageBox &box, double dpiX,
                                double dpiY) const
{
    if (box.picture.isNull())
        return;
    const QRectF place = imageRect(box, dpiX, dpiY);
    const QSizeF natural = box.pictureSizeMm();
    const QSizeF dots(natural.width() * dpiX / kMmPerInch, natural.height() * dpiY / kMmPerInch);
    const QRectF target(place.center().x() - dots.width() / 2,
                        place.center().y() - dots.height() / 2, dots.width(), dots.height());
    painter.save();
    painter.setClipRect(place, Qt::IntersectClip);
    painter.drawImage(target, box.picture);
    painter.restore();
}

QImage RenderPageImage(const ReportForm &form, double dpi)
{
    const QSizeF page = form.pageSizeMm();
    const QSize size(static_cast<int>(std::lround(page.width() * dpi / kMmPerInch)),
                     static_cast<int>(std::lround(page.height() * dpi / kMmPerInch)));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMmPerInch * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    ReportRenderer(form).render(painter, dpi, dpi);
    painter.end();
    return image;
}

bool WritePdf(const ReportForm &form, const QString &fileName)
{
    // The page is made in memory and saved whole: a page that cannot be
    // drawn, or a disk that fills, leaves a PDF already there as it was.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("ResHeat"));
        QPageLayout layout = form.pageLayout();
        layout.setMinimumMargins(QMarginsF());
        layout.setMargins(QMarginsF()); // origin at the paper's corner
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        ReportRenderer(form).render(painter, writer.resolution(), writer.resolution());
        if (!painter.end())
            return false;
    }
    try {
        WriteBytes(QFile::encodeName(fileName).toStdString(), buffer.data().toStdString());
        return true;
    } catch (const IoError &) {
        return false;
    }
}

} // namespace resheat::report
