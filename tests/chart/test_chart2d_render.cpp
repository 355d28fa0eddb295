// A whole chart as a results window shows it: time against temperature,
// auto-scaled, rendered to an image and saved as a PNG for a look.
#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QImage>

#include <cmath>
#include <cstdio>

#include "chart/VxUniChart2D.h"
#include "support/chart2d_helpers.h"

namespace {

QFont PixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Heating curve: 50 points over 245 s rising from 20 towards 1000.
void Fill(TVxUniChart2D &chart)
{
    VxChartBaseLineArray *lines = chart.MainField()->Lines();
    lines->SetLineCount(2);
    lines->SetPointCount(50);
    lines->Line(0)->SetDataType(vxcldXData);
    lines->Line(1)->SetErrorStyle(vxcesNone);
    lines->Line(1)->SetDataType(vxcldYData);
    for (int i = 0; i < 50; ++i) {
        lines->Line(0)->Data()[i] = 5.0 * i;
        lines->Line(1)->Data()[i] = 20.0 + 980.0 * (1.0 - std::exp(-i / 15.0)) / (1.0 - std::exp(-49.0 / 15.0));
    }
    lines->Line(1)->SetLineColor(QColor(0, 0, 255));
    lines->Line(1)->SetPointColor(QColor(0, 0, 127));
    lines->Line(1)->SetErrorColor(QColor(0, 0, 96));
    lines->Line(1)->SetPointSize(6);
    lines->Line(1)->SetPointStyle(vxcpsCircle);
    lines->Line(1)->SetXLine(0);
}

int CountColour(const QImage &img, const QRect &r, const QColor &c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

int CountDark(const QImage &img, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(img.pixel(x, y)) < 64;
    return n;
}

TEST(Chart2dRender, TemperatureHistoryChart)
{
    TVxUniChart2D chart;
    chart.resize(441, 369);
    chart.SetColor(QColor(160, 160, 160));
    chart.MainField()->SetColor(QColor(213, 213, 213));
    chart.MainField()->SetShowGrid(false);
    for (VxChartBaseAxisClassData *a : {chart.XAxis(), chart.YAxis()}) {
        a->SetFont(PixelFont(QStringLiteral("Times New Roman"), 15, true));
        a->SetWantedTicks(5);
        a->SetMinorTicks(0);
        a->SetEndShift(10); // room for the factor labels inside the panel
    }
    chart.XCaption()->SetText(QStringLiteral("<U>t [s]"));
    chart.XCaption()->SetFont(PixelFont(QStringLiteral("Arial"), 13));
    chart.YCaption()->SetText(QStringLiteral("To [oC]"));
    chart.YCaption()->SetFont(chart.XCaption()->Font());
    chart.MainCaption()->SetVisible(false);
    chart.UserTextField()->SetVisible(false);
    chart.LinesField()->SetVisible(false);
    // The axes cross at the field's bottom-left corner.
    chart.XAxis()->SetCenterPointTop(16 + 278);
    chart.YAxis()->SetCenterPointLeft(58);
    chart.MainField()->SetLeft(58);
    chart.MainField()->SetTop(16);
    chart.MainField()->SetWidth(350);
    chart.MainField()->SetHeight(278);
    chart.show();
    Fill(chart);
    chart.AutoScale(10.0);
    Chart2dDrain();

    const QImage img = chart.CreateBitmap();
    const QString path = QDir::temp().filePath(QStringLiteral("resheat_chart2d_sample.png"));
    ASSERT_TRUE(img.save(path));
    std::printf("chart image: %s\n", qPrintable(path));

    const QPoint panel = chart.Panel()->pos();
    const QRect field = chart.MainField()->Control()->geometry().translated(panel);
    EXPECT_EQ(field, QRect(58 + 8, 16 + 8, 350, 278));
    // Frame and panel background.
    EXPECT_EQ(img.pixelColor(2, 100), QColor(224, 224, 224));
    EXPECT_EQ(img.pixelColor(panel + QPoint(430 - 16, 5)), QColor(160, 160, 160));
    // The curve inside the field, in the line's blue, with its markers.
    EXPECT_GT(CountColour(img, field, QColor(0, 0, 255)), 150);
    EXPECT_GT(CountColour(img, field, QColor(0, 0, 127)), 100);
    // The first point (0 s, 20 oC) lies a tenth of the spans in from the
    // bottom-left corner: 350 * 24.5 / 294 and 278 * 98 / 1176 pixels.
    const QPoint first = field.topLeft() + QPoint(qRound(350 * 24.5 / 294.0), 278 - qRound(278 * 98.0 / 1176.0));
    EXPECT_GT(CountColour(img, QRect(first - QPoint(4, 4), QSize(9, 9)), QColor(0, 0, 127)), 4);

    // The x axis line runs along the field's bottom edge (its centre row),
    // with figures below it; the y axis line along the left edge, with
    // figures to its left.
    const QRect xAxis = chart.XAxis()->Control()->geometry().translated(panel);
    const int xLine = xAxis.top() + xAxis.height() / 2;
    EXPECT_EQ(xLine, field.bottom() + 1);
    EXPECT_EQ(img.pixelColor(field.center().x(), xLine), QColor(Qt::black));
    EXPECT_GT(CountDark(img, QRect(field.left(), xLine + 3, field.width(), xAxis.bottom() - xLine - 3)), 50);
    const QRect yAxis = chart.YAxis()->Control()->geometry().translated(panel);
    const int yLine = yAxis.left() + yAxis.width() / 2;
    EXPECT_EQ(yLine, field.left());
    EXPECT_GT(CountDark(img, QRect(yAxis.left(), field.top(), yLine - yAxis.left() - 3, field.height())), 50);

    // Captions: below the x axis' labels and left of the y axis, with dark
    // text.
    const QRect xCaption = chart.XCaption()->Control()->geometry().translated(panel);
    EXPECT_EQ(xCaption.top(), Chart2dBelowTickLabels(chart.XAxis()) + panel.y());
    EXPECT_GT(CountDark(img, xCaption), 10);
    const QRect yCaption = chart.YCaption()->Control()->geometry().translated(panel);
    EXPECT_EQ(yCaption.right() + 1, yAxis.left());
    EXPECT_GT(CountDark(img, yCaption), 10);
}

} // namespace
