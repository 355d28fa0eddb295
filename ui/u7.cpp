#include "ui/u7.h"

#include <cmath>

namespace resheat::ui {

namespace {

using report::LabelAlignment;
using report::ReportFont;
using report::ReportLabel;

// Places on the band, in millimetres from its top left corner.
constexpr double kBandWidth = 190.1;
constexpr double kBandHeight = 85.1;
constexpr double kTitleTop = 11.9;
constexpr double kSubtitleTop = 32.2;
constexpr double kFormulasTop = 42.0;
constexpr double kImageLeft = 47.4;
constexpr double kImageTop = 50.8;
// The image box as designed; it takes the size of the picture it gets.
constexpr double kImageWidth = 64.6;
constexpr double kImageHeight = 37.5;

constexpr double kMmPerInch = 25.4;

} // namespace

GraphicReportForm::GraphicReportForm()
{
    setMarginsMm(QMarginsF(10, 10, 10, 10));
    band().widthMm = kBandWidth;
    band().heightMm = kBandHeight;
    band().color = Qt::white;
    setBaseFont(ReportFont{QStringLiteral("Arial"), 10, false, Qt::black});

    ReportLabel &titleLabel = addLabel(QStringLiteral("Title"), 0, kTitleTop);
    titleLabel.font.pointSize = 18;
    titleLabel.font.bold = true;
    titleLabel.alignment = LabelAlignment::CentreOnBand;

    ReportLabel &subtitleLabel = addLabel(QStringLiteral("Subtitle"), 0, kSubtitleTop);
    subtitleLabel.font.pointSize = 14;
    subtitleLabel.alignment = LabelAlignment::CentreOnBand;

    ReportLabel &formulasLabel = addLabel(QStringLiteral("Formulas"), 0, kFormulasTop);
    formulasLabel.alignment = LabelAlignment::CentreOnBand;

    addImageBox(QStringLiteral("Image1"), kImageLeft, kImageTop, kImageWidth, kImageHeight);
}

void GraphicReportForm::setPicture(const QImage &picture)
{
    QImage copy = picture;
    const int dotsPerMetre = static_cast<int>(std::lround(kPictureDpi / kMmPerInch * 1000));
    copy.setDotsPerMeterX(dotsPerMetre);
    copy.setDotsPerMeterY(dotsPerMetre);
    image().setPicture(copy);
}

} // namespace resheat::ui
