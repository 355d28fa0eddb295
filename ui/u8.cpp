#include "ui/u8.h"

#include <array>
#include <stdexcept>

namespace resheat::ui {

namespace {

using report::LabelAlignment;
using report::ReportFont;
using report::ReportLabel;

// Places on the band, in millimetres from its top left corner.
constexpr double kTitleTop = 3.4;
constexpr double kInputHeadingLeft = 49.1;
constexpr double kInputHeadingTop = 16.9;
constexpr std::array<double, 7> kInputRowTops{30.5, 40.6, 50.8, 61.0, 71.1, 81.3, 91.4};
constexpr double kBlock1NameLeft = 5.1;
constexpr double kBlock1ValueLeft = 55.9;
constexpr double kBlock2NameLeft = 99.9;
constexpr double kBlock2ValueLeft = 155.8;
constexpr double kResultsHeadingLeft = 35.6;
constexpr double kResultsHeadingTop = 137.6;
constexpr double kResultNameLeft = 3.4;
constexpr double kResultValueLeft = 79.6;
// Result rows run from 150.7 to 261.8 for the twelve xy rows; the rz form
// keeps the same pitch.
constexpr double kFirstResultTop = 150.7;
constexpr double kResultPitch = (261.8 - 150.7) / 11;
// "Classic formulas" over the result values, on the line of the heading.
constexpr double kFormulasTop = 138.9;

} // namespace

TextReportForm::TextReportForm(int block1Rows, int resultRows)
    : m_block1Rows(block1Rows), m_resultRows(resultRows)
{
    setMarginsMm(QMarginsF(10, 10, 10, 10));
    band().widthMm = 190.1;
    band().heightMm = 273.5;
    band().color = Qt::white;
    setBaseFont(ReportFont{QStringLiteral("Arial"), 10, false, Qt::black});

    ReportLabel &titleLabel = addLabel(QStringLiteral("Title"), 0, kTitleTop);
    titleLabel.font.pointSize = 18;
    titleLabel.font.bold = true;
    titleLabel.alignment = LabelAlignment::CentreOnBand;
    // The headings are part of the design; every other caption is set by
    // the text results window before each preview.
    addLabel(QStringLiteral("InputHeading"), kInputHeadingLeft, kInputHeadingTop,
             QStringLiteral("Input data"))
        .font.pointSize = 14;
    addLabel(QStringLiteral("ResultsHeading"), kResultsHeadingLeft, kResultsHeadingTop,
             QStringLiteral("Results"))
        .font.pointSize = 14;

    for (int i = 0; i < inputCount(); ++i) {
        const bool block1 = i < m_block1Rows;
        const double top = kInputRowTops[static_cast<std::size_t>(block1 ? i : i - m_block1Rows)];
        addLabel(QStringLiteral("InputName%1").arg(i + 1), block1 ? kBlock1NameLeft : kBlock2NameLeft, top);
        addLabel(QStringLiteral("InputValue%1").arg(i + 1), block1 ? kBlock1ValueLeft : kBlock2ValueLeft,
                 top);
    }
    for (int i = 0; i < m_resultRows; ++i) {
        const double top = kFirstResultTop + i * kResultPitch;
        addLabel(QStringLiteral("ResultName%1").arg(i + 1), kResultNameLeft, top);
        addLabel(QStringLiteral("ResultValue%1").arg(i + 1), kResultValueLeft, top);
    }
    addLabel(QStringLiteral("Formulas"), kResultValueLeft, kFormulasTop);
}

int TextReportForm::inputLabelIndex(int index, bool value) const
{
    if (index < 0 || index >= inputCount())
        throw std::out_of_range("input row of the text report");
    return 3 + 2 * index + (value ? 1 : 0);
}

int TextReportForm::resultLabelIndex(int index, bool value) const
{
    if (index < 0 || index >= m_resultRows)
        throw std::out_of_range("result row of the text report");
    return 3 + 2 * inputCount() + 2 * index + (value ? 1 : 0);
}

ReportLabel &TextReportForm::inputName(int index) { return labels()[inputLabelIndex(index, false)]; }
ReportLabel &TextReportForm::inputValue(int index) { return labels()[inputLabelIndex(index, true)]; }
ReportLabel &TextReportForm::resultName(int index) { return labels()[resultLabelIndex(index, false)]; }
ReportLabel &TextReportForm::resultValue(int index) { return labels()[resultLabelIndex(index, true)]; }

const ReportLabel &TextReportForm::inputName(int index) const
{
    return labels()[inputLabelIndex(index, false)];
}
const ReportLabel &TextReportForm::inputValue(int index) const
{
    return labels()[inputLabelIndex(index, true)];
}
const ReportLabel &TextReportForm::resultName(int index) const
{
    return labels()[resultLabelIndex(index, false)];
}
const ReportLabel &TextReportForm::resultValue(int index) const
{
    return labels()[resultLabelIndex(index, true)];
}

TForm8::TForm8() : TextReportForm(7, 12) {}

} // namespace resheat::ui
