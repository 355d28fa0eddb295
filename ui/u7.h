// The print form of the xy graphic results (TForm7): one A4 page with a
// title, a subtitle naming the plotted point and the chart picture.
// Tform7a (u7a) is its rz twin.  The graphic results window sets the texts
// and the picture and asks for a preview; the form is never shown as a
// window of its own.
#pragma once

#include "report/ReportForm.h"

#include <QImage>

namespace resheat::ui {

// Layout shared by both graphic print forms.
//
// The chart picture is printed at the size it has on a standard screen:
// each pixel of the bitmap counts as 1/96 inch, so the 441 by 369 pixel
// chart becomes about 117 by 98 mm, as legible as on the screen (scaling the
// bitmap up would only blur it).  Its box keeps the designed top left
// corner and takes the size of the picture; it reaches below the white
// title band, which the engine does not clip, and ends about 26 mm inside
// the right margin.
class GraphicReportForm : public report::ReportForm {
public:
    GraphicReportForm();

    report::ReportLabel &title() { return labels()[0]; }
    report::ReportLabel &subtitle() { return labels()[1]; }
    // Under the subtitle: "Classic formulas" for their results, empty otherwise.
    report::ReportLabel &formulas() { return labels()[2]; }
    const report::ReportLabel &formulas() const { return labels()[2]; }
    const report::ReportLabel &title() const { return labels()[0]; }
    const report::ReportLabel &subtitle() const { return labels()[1]; }
    report::ReportImageBox &image() { return imageBoxes()[0]; }
    const report::ReportImageBox &image() const { return imageBoxes()[0]; }

    // Loads a picture into the image, at the screen resolution of the
    // chart whatever resolution the bitmap carries.
    void setPicture(const QImage &picture);

    // The screen resolution the chart bitmap is printed at.
    static constexpr double kPictureDpi = 96.0;
};

class TForm7 : public GraphicReportForm {
public:
    TForm7() = default;
};

} // namespace resheat::ui
