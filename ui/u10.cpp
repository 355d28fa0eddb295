#include "ui/u10.h"

#include <algorithm>
#include <cmath>

namespace resheat::ui {

namespace {

using report::LabelAlignment;
using report::ReportFont;
using report::ReportLabel;

// Places on the band, in millimetres from its top left corner.  The case
// stands on the left, the results table on the right, the notes under both
// and the chart in what is left of the page.
constexpr double kTitleTop = 2;
constexpr double kHeadingTop = 14;
constexpr double kFirstRowTop = 22;
constexpr double kRowPitch = 4.6;
constexpr double kInputValueLeft = 48;
constexpr double kResultsLeft = 86;
constexpr double kConstantLeft = 134;
constexpr double kRefinedLeft = 157;
constexpr double kGap = 4;
constexpr double kNotePitch = 4.2;

constexpr double kMmPerInch = 25.4;
constexpr double kScreenDpi = 96;

ReportFont Font(double points, bool bold = false)
{
    return ReportFont{QStringLiteral("Arial"), points, bold, Qt::black};
}

} // namespace

QStringList WrapText(const QString &text, const ReportFont &font, double widthMm)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && report::TextSizeMm(font, longer).width() > widthMm) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

TForm10::TForm10()
{
    setMarginsMm(QMarginsF(10, 10, 10, 10));
    band().widthMm = kBandWidth;
    band().heightMm = kBandHeight;
    band().color = Qt::white;
    setBaseFont(Font(9));
}

void TForm10::Fill(const ComparePage &page)
{
    labels().clear();
    imageBoxes().clear();

    ReportLabel &title = addLabel(QStringLiteral("Title"), 0, kTitleTop, page.title);
    title.font = Font(15, true);
    title.alignment = LabelAlignment::CentreOnBand;

    addLabel(QStringLiteral("InputHeading"), 0, kHeadingTop, QStringLiteral("Input data")).font = Font(12, true);
    for (int i = 0; i < page.inputNames.size(); ++i) {
        const double top = kFirstRowTop + i * kRowPitch;
        addLabel(QStringLiteral("InputName%1").arg(i), 0, top, page.inputNames[i]);
        addLabel(QStringLiteral("InputValue%1").arg(i), kInputValueLeft, top, page.inputValues.value(i));
    }

    addLabel(QStringLiteral("ResultsHeading"), kResultsLeft, kHeadingTop, QStringLiteral("Results")).font =
        Font(12, true);
    addLabel(QStringLiteral("ConstantHeading"), kConstantLeft, kFirstRowTop, QStringLiteral("Constant")).font =
        Font(9, true);
    addLabel(QStringLiteral("RefinedHeading"), kRefinedLeft, kFirstRowTop, QStringLiteral("Temp.-dependent")).font =
        Font(9, true);
    for (std::size_t i = 0; i < page.rows.size(); ++i) {
        const CompareRow &row = page.rows[i];
        const double top = kFirstRowTop + static_cast<double>(i + 1) * kRowPitch;
        addLabel(QStringLiteral("ResultName%1").arg(i), kResultsLeft, top, row.name);
        addLabel(QStringLiteral("Constant%1").arg(i), kConstantLeft, top, FormatCompareValue(row.constant));
        addLabel(QStringLiteral("Refined%1").arg(i), kRefinedLeft, top, FormatCompareValue(row.refined));
    }

    const auto inputRows = static_cast<double>(page.inputNames.size());
    const auto resultRows = static_cast<double>(page.rows.size() + 1);
    double top = kFirstRowTop + std::max(inputRows, resultRows) * kRowPitch + kGap;
    int line = 0;
    for (const QString &note : page.notes)
        for (const QString &text : WrapText(note, baseFont(), kBandWidth)) {
            addLabel(QStringLiteral("Note%1").arg(line++), 0, top, text);
            top += kNotePitch;
        }

    // The chart keeps its screen size where it fits, and is made smaller
    // (never larger) to fit the rest of the page.
    top += kGap;
    if (!page.chart.isNull()) {
        const double room = std::max(kBandHeight - top, 1.0);
        const double dpi = std::max({kScreenDpi, page.chart.width() * kMmPerInch / kBandWidth,
                                     page.chart.height() * kMmPerInch / room});
        QImage picture = page.chart;
        const int dotsPerMetre = static_cast<int>(std::ceil(dpi / kMmPerInch * 1000));
        picture.setDotsPerMeterX(dotsPerMetre);
        picture.setDotsPerMeterY(dotsPerMetre);
        report::ReportImageBox &chart = addImageBox(QStringLiteral("Chart"), 0, top, 0, 0);
        chart.alignment = LabelAlignment::CentreOnBand;
        chart.setPicture(picture);
    }
}

} // namespace resheat::ui
