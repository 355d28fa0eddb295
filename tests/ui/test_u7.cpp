// The graphic print forms of both geometries: page, band, title and
// subtitle centred in their fonts, and the chart picture at its place in
// the size it has on a standard screen.
#include "ui/u7.h"
#include "ui/u7a.h"

#include "report/ReportRenderer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace resheat;
using namespace resheat::ui;

namespace {

constexpr double kMmPerPixel = 25.4 / 96;

void ExpectLayout(const GraphicReportForm &form)
{
    EXPECT_EQ(form.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(form.pageSizeMm().width(), 210, 0.01);
    EXPECT_NEAR(form.pageSizeMm().height(), 297, 0.01);
    EXPECT_EQ(form.marginsMm(), QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(form.band().widthMm, 190.1);
    EXPECT_EQ(form.band().heightMm, 85.1);
    EXPECT_EQ(form.band().color, QColor(Qt::white));
    EXPECT_EQ(form.baseFont().family, "Arial");
    EXPECT_EQ(form.baseFont().pointSize, 10);

    const report::ReportLabel &title = form.title();
    EXPECT_EQ(title.alignment, report::LabelAlignment::CentreOnBand);
    EXPECT_NEAR(title.topMm, 11.9, 1e-9);
    EXPECT_EQ(title.font.family, "Arial");
    EXPECT_EQ(title.font.pointSize, 18);
    EXPECT_TRUE(title.font.bold);

    const report::ReportLabel &subtitle = form.subtitle();
    EXPECT_EQ(subtitle.alignment, report::LabelAlignment::CentreOnBand);
    EXPECT_NEAR(subtitle.topMm, 32.2, 1e-9);
    EXPECT_EQ(subtitle.font.family, "Arial");
    EXPECT_EQ(subtitle.font.pointSize, 14);
    EXPECT_FALSE(subtitle.font.bold);

    // "Classic formulas" centred under the subtitle, in the base font, above
    // the picture; empty until a print of classic results.
    const report::ReportLabel &formulas = form.formulas();
    EXPECT_EQ(formulas.name, "Formulas");
    EXPECT_EQ(formulas.alignment, report::LabelAlignment::CentreOnBand);
    EXPECT_NEAR(formulas.topMm, 42.0, 1e-9);
    EXPECT_EQ(formulas.font.pointSize, 10);
    EXPECT_EQ(formulas.caption, "");

    ASSERT_EQ(form.imageBoxes().size(), 1u);
    const report::ReportImageBox &image = form.image();
    EXPECT_NEAR(image.leftMm, 47.4, 1e-9);
    EXPECT_NEAR(image.topMm, 50.8, 1e-9);
    EXPECT_TRUE(image.autoSize);
    EXPECT_EQ(image.alignment, report::LabelAlignment::Left);
}

} // namespace

TEST(GraphicPrintForms, BothFormsShareTheLayout)
{
    TForm7 xy;
    Tform7a rz;
    ExpectLayout(xy);
    ExpectLayout(rz);
    // Before the first print the box has its designed size and no picture.
    EXPECT_TRUE(xy.image().picture.isNull());
    EXPECT_NEAR(xy.image().widthMm, 64.6, 1e-9);
    EXPECT_NEAR(xy.image().heightMm, 37.5, 1e-9);
}

TEST(GraphicPrintForms, TitlesAreCentredOnTheBand)
{
    TForm7 form;
    form.title().caption = QStringLiteral("Temperature for xy geometry");
    form.subtitle().caption = QStringLiteral("Temperature Tw");
    const double bandCentre = 10 + 190.1 / 2;
    const QRectF title = form.labelRectMm(form.title());
    const QRectF subtitle = form.labelRectMm(form.subtitle());
    EXPECT_NEAR(title.center().x(), bandCentre, 0.01);
    EXPECT_NEAR(subtitle.center().x(), bandCentre, 0.01);
    EXPECT_NEAR(title.top(), 21.9, 1e-9);
    EXPECT_NEAR(subtitle.top(), 42.2, 1e-9);
    form.formulas().caption = QStringLiteral("Classic formulas");
    const QRectF formulas = form.labelRectMm(form.formulas());
    EXPECT_NEAR(formulas.center().x(), bandCentre, 0.01);
    EXPECT_GT(formulas.top(), subtitle.bottom());
    EXPECT_LT(formulas.bottom(), form.imageRectMm(form.image()).top());
    // 18 points bold is wider than 14 points for texts of similar length.
    EXPECT_GT(title.height(), subtitle.height());
}

TEST(GraphicPrintForms, ThePictureKeepsItsScreenSizeWhateverItsResolution)
{
    TForm7 form;
    QImage chart(441, 369, QImage::Format_RGB888);
    chart.fill(QColor(160, 160, 160));
    {
        QPainter painter(&chart);
        painter.fillRect(QRect(0, 0, 20, 20), Qt::blue);   // top left corner
    }
    chart.setDotsPerMeterX(11811);   // 300 dots per inch
    chart.setDotsPerMeterY(11811);
    form.setPicture(chart);

    EXPECT_NEAR(form.image().widthMm, 441 * kMmPerPixel, 0.05);    // about 116.7 mm
    EXPECT_NEAR(form.image().heightMm, 369 * kMmPerPixel, 0.05);   // about 97.6 mm
    EXPECT_NEAR(form.image().topMm, 50.8, 1e-9);

    // On a 96 dpi page every chart pixel is one page dot.  The picture
    // starts 47.4 mm into the band, 57.4 mm from the paper's edge, its top
    // 60.8 mm down, and ends 57.4 + 116.7 = 174.1 mm from the edge.
    const QRectF place = form.imageRectMm(form.image());
    EXPECT_NEAR(place.left(), 57.4, 1e-9);
    EXPECT_NEAR(place.right(), 174.1, 0.05);
    const QImage page = report::RenderPageImage(form, 96);
    const int left = static_cast<int>(57.4 / kMmPerPixel + 0.5);
    const int top = static_cast<int>(60.8 / kMmPerPixel + 0.5);
    EXPECT_EQ(page.pixelColor(left + 10, top + 10), QColor(Qt::blue));
    EXPECT_EQ(page.pixelColor(left + 30, top + 10), QColor(160, 160, 160));
    EXPECT_EQ(page.pixelColor(left + 430, top + 360), QColor(160, 160, 160));
    EXPECT_EQ(page.pixelColor(left + 445, top + 360), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(left + 430, top + 373), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(left - 4, top + 10), QColor(Qt::white));
}
