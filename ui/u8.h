// The report form of the xy text results: one A4 page with the input data
// and the results of the rectangular charge.  TForm8a (u8a) is its rz twin.
// The text results window sets the captions and asks for a preview; the
// form itself has no behaviour and is never shown as a window.
#pragma once

#include "report/ReportForm.h"

namespace resheat::ui {

// Layout shared by both text results report forms: title, "Input data"
// with names and values in two blocks, "Results" with names and values.
class TextReportForm : public report::ReportForm {
public:
    TextReportForm(int block1Rows, int resultRows);
    TextReportForm(const TextReportForm &) = default;

    int inputCount() const { return m_block1Rows + kBlock2Rows; }
    int resultCount() const { return m_resultRows; }

    report::ReportLabel &title() { return labels()[0]; }
    report::ReportLabel &inputHeading() { return labels()[1]; }
    report::ReportLabel &resultsHeading() { return labels()[2]; }
    // Beside the results heading: "Classic formulas" for results of the
    // classic formulas, empty otherwise.
    report::ReportLabel &formulas() { return *findLabel(QStringLiteral("Formulas")); }
    const report::ReportLabel &formulas() const { return *findLabel(QStringLiteral("Formulas")); }
    // Input rows in order: block 1 top to bottom, then block 2.  Value 0 of
    // block 1 is the material name.
    report::ReportLabel &inputName(int index);
    report::ReportLabel &inputValue(int index);
    report::ReportLabel &resultName(int index);
    report::ReportLabel &resultValue(int index);
    const report::ReportLabel &inputName(int index) const;
    const report::ReportLabel &inputValue(int index) const;
    const report::ReportLabel &resultName(int index) const;
    const report::ReportLabel &resultValue(int index) const;

    static constexpr int kBlock2Rows = 7;

private:
    int inputLabelIndex(int index, bool value) const;
    int resultLabelIndex(int index, bool value) const;

    int m_block1Rows;
    int m_resultRows;
};

class TForm8 : public TextReportForm {
public:
    TForm8();
};

} // namespace resheat::ui
