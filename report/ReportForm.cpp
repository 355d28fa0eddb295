#include "report/ReportForm.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <cmath>

namespace resheat::report {

namespace {

constexpr double kMmPerInch = 25.4;
// Labels are measured on a device of this resolution: fine enough that
// hinting hardly changes the widths, so every device gets the same layout.
constexpr double kReferenceDpi = 1200;

const QImage &ReferenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(std::lround(kReferenceDpi / kMmPerInch * 1000));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

template <typename Items, typename Item>
Item *FindByName(Items &items, const QString &name)
{
    for (auto &item : items)
        if (item.name == name)
            return &item;
    return nullptr;
}

} // namespace

QFont ReportFont::toQFont() const
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

void ReportImageBox::setPicture(const QImage &image)
{
    picture = image;
    if (autoSize) {
        const QSizeF size = pictureSizeMm();
        widthMm = size.width();
        heightMm = size.height();
    }
}

QSizeF ReportImageBox::pictureSizeMm() const
{
    if (picture.isNull())
        return {};
    auto mmPerDot = [](int dotsPerMetre) {
        return dotsPerMetre > 0 ? 1000.0 / dotsPerMetre : kMmPerInch / 96.0;
    };
    return {picture.width() * mmPerDot(picture.dotsPerMeterX()),
            picture.height() * mmPerDot(picture.dotsPerMeterY())};
}

ReportForm::ReportForm() = default;

QPageLayout ReportForm::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_orientation, m_margins, QPageLayout::Millimeter);
}

QSizeF ReportForm::pageSizeMm() const
{
    const QSizeF portrait = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return m_orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QRectF ReportForm::bandRectMm() const
{
    return {m_margins.left(), m_margins.top(), m_band.widthMm, m_band.heightMm};
}

ReportLabel &ReportForm::addLabel(const QString &name, double leftMm, double topMm,
                                  const QString &caption)
{
    ReportLabel label;
    label.name = name;
    label.caption = caption;
    label.leftMm = leftMm;
    label.topMm = topMm;
    label.font = m_baseFont;
    m_labels.push_back(label);
    return m_labels.back();
}

ReportImageBox &ReportForm::addImageBox(const QString &name, double leftMm, double topMm,
                                        double widthMm, double heightMm)
{
    ReportImageBox box;
    box.name = name;
    box.leftMm = leftMm;
    box.topMm = topMm;
    box.widthMm = widthMm;
    box.heightMm = heightMm;
    m_images.push_back(box);
    return m_images.back();
}

ReportLabel *ReportForm::findLabel(const QString &name)
{
    return FindByName<std::deque<ReportLabel>, ReportLabel>(m_labels, name);
}

const ReportLabel *ReportForm::findLabel(const QString &name) const
{
    return FindByName<const std::deque<ReportLabel>, const ReportLabel>(m_labels, name);
}

ReportImageBox *ReportForm::findImageBox(const QString &name)
{
    return FindByName<std::deque<ReportImageBox>, ReportImageBox>(m_images, name);
}

const ReportImageBox *ReportForm::findImageBox(const QString &name) const
{
    return FindByName<const std::deque<ReportImageBox>, const ReportImageBox>(m_images, name);
}

QSizeF TextSizeMm(const ReportFont &font, const QString &text)
{
    const QFontMetricsF metrics(font.toQFont(), &ReferenceDevice());
    const QSizeF dots = metrics.size(0, text.isEmpty() ? QStringLiteral(" ") : text);
    const double mmPerDot = kMmPerInch / kReferenceDpi;
    const double width = text.isEmpty() ? 0.0 : dots.width() * mmPerDot;
    return {width, dots.height() * mmPerDot};
}

QRectF ReportForm::labelRectMm(const ReportLabel &label) const
{
    const QSizeF size = TextSizeMm(label.font, label.caption);
    const QRectF band = bandRectMm();
    const double left = label.alignment == LabelAlignment::CentreOnBand
                            ? band.left() + (band.width() - size.width()) / 2
                            : band.left() + label.leftMm;
    return {left, band.top() + label.topMm, size.width(), size.height()};
}

QRectF ReportForm::imageRectMm(const ReportImageBox &box) const
{
    const QRectF band = bandRectMm();
    const double left = box.alignment == LabelAlignment::CentreOnBand
                            ? band.left() + (band.width() - box.widthMm) / 2
                            : band.left() + box.leftMm;
    return {left, band.top() + box.topMm, box.widthMm, box.heightMm};
}

} // namespace resheat::report
