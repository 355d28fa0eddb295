// The printed page of a compare window (TForm10): one A4 page with the case,
// the key results of both models side by side, the properties used with
// every warning, and the chart.  The window fills it and asks for a
// preview; the form is never shown as a window of its own.
#pragma once

#include "report/ReportForm.h"
#include "ui/Comparison.h"

#include <QImage>
#include <QStringList>
#include <vector>

namespace resheat::ui {

// What the page shows.
struct ComparePage {
    QString title;
    QStringList inputNames;   // the case: names and values, the material first
    QStringList inputValues;
    std::vector<CompareRow> rows;
    QStringList notes;        // one paragraph each; long ones are wrapped
    QImage chart;
};

class TForm10 : public report::ReportForm {
public:
    TForm10();

    // Lays the page out afresh from `page`.
    void Fill(const ComparePage &page);

    // Labels by name: "Title", "InputName<i>", "InputValue<i>", "ResultName<i>",
    // "Constant<i>", "Refined<i>", "Note<i>" (lines after wrapping), and
    // the image box "Chart".
    static constexpr double kBandWidth = 190.1;
    static constexpr double kBandHeight = 277.0;
};

// Splits `text` at blanks into lines no wider than `widthMm` in `font`; a
// word longer than the width stays whole on a line of its own.
QStringList WrapText(const QString &text, const report::ReportFont &font, double widthMm);

} // namespace resheat::ui
