// The page model of a fixed-layout report: one A4 portrait page with margins,
// one title band at the top left of the printable area, and on the band text
// labels and image boxes at fixed positions in millimetres.  The model knows
// nothing of devices; ReportRenderer paints it on any QPaintDevice.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <deque>

namespace resheat::report {

struct ReportFont {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    QColor color = Qt::black;

    // The font as Qt draws it; its pixel size follows the device it is
    // used on (points are converted with the device's resolution).
    QFont toQFont() const;
    bool operator==(const ReportFont &) const = default;
};

enum class LabelAlignment {
    Left,          // the label's left edge is at its position
    CentreOnBand   // the label is centred on the band width; its left is ignored
};

// A text label that sizes itself to its caption.
struct ReportLabel {
    QString name;
    QString caption;
    double leftMm = 0;   // from the band's left edge
    double topMm = 0;    // from the band's top edge
    ReportFont font;
    LabelAlignment alignment = LabelAlignment::Left;
};

// A picture box.  With autoSize (the default) the box takes the size of its
// picture, measured with the picture's own resolution; the picture is drawn
// at that size, centred in the box and clipped to it.  A box centred on the
// band keeps its top and is centred on the band width whatever its size.
struct ReportImageBox {
    QString name;
    double leftMm = 0;
    double topMm = 0;
    double widthMm = 0;
    double heightMm = 0;
    bool autoSize = true;
    LabelAlignment alignment = LabelAlignment::Left;
    QImage picture;

    void setPicture(const QImage &image);
    // The picture's natural size in millimetres (its dots per metre; an
    // image without a resolution counts as 96 dots per inch).
    QSizeF pictureSizeMm() const;
};

struct ReportBand {
    double widthMm = 0;
    double heightMm = 0;
    QColor color = Qt::white;
};

class ReportForm {
public:
    ReportForm();
    virtual ~ReportForm() = default;
    ReportForm(const ReportForm &) = default;
    ReportForm &operator=(const ReportForm &) = default;

    // Page: size and orientation (A4 portrait unless changed) and margins.
    QPageLayout pageLayout() const;
    QSizeF pageSizeMm() const;
    QMarginsF marginsMm() const { return m_margins; }
    void setMarginsMm(const QMarginsF &margins) { m_margins = margins; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation o) { m_orientation = o; }

    // The one title band; its top left corner is the page's top left margin.
    ReportBand &band() { return m_band; }
    const ReportBand &band() const { return m_band; }
    QRectF bandRectMm() const;

    // Default font of new labels.
    ReportFont baseFont() const { return m_baseFont; }
    void setBaseFont(const ReportFont &font) { m_baseFont = font; }

    // Adds a label in the base font, at (left, top) mm on the band.
    ReportLabel &addLabel(const QString &name, double leftMm, double topMm,
                          const QString &caption = QString());
    ReportImageBox &addImageBox(const QString &name, double leftMm, double topMm,
                                double widthMm, double heightMm);

    const std::deque<ReportLabel> &labels() const { return m_labels; }
    std::deque<ReportLabel> &labels() { return m_labels; }
    const std::deque<ReportImageBox> &imageBoxes() const { return m_images; }
    std::deque<ReportImageBox> &imageBoxes() { return m_images; }

    ReportLabel *findLabel(const QString &name);
    const ReportLabel *findLabel(const QString &name) const;
    ReportImageBox *findImageBox(const QString &name);
    const ReportImageBox *findImageBox(const QString &name) const;

    // The label's rectangle in millimetres on the page, sized to its text
    // (measured at a fine reference resolution, so the layout does not depend
    // on the device).
    QRectF labelRectMm(const ReportLabel &label) const;
    QRectF imageRectMm(const ReportImageBox &box) const;

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins{10, 10, 10, 10};
    ReportBand m_band;
    ReportFont m_baseFont;
    std::deque<ReportLabel> m_labels;   // deque: references stay valid on add
    std::deque<ReportImageBox> m_images;
};

// Size of the label's text in millimetres, one line per '\n'.
QSizeF TextSizeMm(const ReportFont &font, const QString &text);

} // namespace resheat::report
