// Speed of the chart: a full repaint of a plotting field with long series,
// one mouse move of a zoom rubber band over such a field, and a repaint of
// the small temperature chart of the graphic results window.  Everything is
// rendered offscreen into an 800 x 600 image (or the chart's own size).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <memory>
#include <random>

#include "chart/VxUniChart2D.h"

namespace {

constexpr int kFieldWidth = 800;
constexpr int kFieldHeight = 600;

// A field of 800 x 600 on its own panel with one Y column of n points drawn
// against the point index: a slow sine with noise on top, so that every pixel
// column holds many points spread over a few rows.
struct BigField
{
    QWidget panel;
    VxChartBaseLinesClass *field = new VxChartBaseLinesClass(&panel);
    QImage image{kFieldWidth, kFieldHeight, QImage::Format_ARGB32_Premultiplied};

    BigField(int n, int lineStyle, int pointStyle)
    {
        panel.resize(kFieldWidth, kFieldHeight);
        field->SetBounds(0, 0, kFieldWidth, kFieldHeight);
        field->SetShowGrid(true);
        field->SetXBegin(0.0);
        field->SetXEnd(n);
        field->SetXStep(n / 8.0);
        field->SetYBegin(-1.5);
        field->SetYEnd(1.5);
        field->SetYStep(0.5);
        VxChartBaseLineArray &lines = *field->Lines();
        lines.SetLineCount(1);
        lines.SetPointCount(n);
        VxChartBaseLine &y = *lines.Line(0);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> noise(-0.2, 0.2);
        for (int i = 0; i < n; ++i)
            y.Data()[i] = std::sin(6.0 * M_PI * i / n) + noise(random);
        y.SetLineStyle(quint8(lineStyle));
        y.SetPointStyle(quint8(pointStyle));
        y.SetPointSize(6);
        y.SetErrorStyle(vxcesNone);
        panel.show();
    }

    void Render()
    {
        image.fill(Qt::white);
        field->render(&image);
    }

    void Mouse(QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(local), QPointF(field->mapToGlobal(local)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(field, &e);
    }
};

void BM_FieldRepaintLines(benchmark::State &state)
{
    BigField big(int(state.range(0)), vxclsLine, vxcpsNone);
    for (auto _ : state) {
        big.Render();
        benchmark::DoNotOptimize(big.image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FieldRepaintLines)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_FieldRepaintSplineAndMarkers(benchmark::State &state)
{
    BigField big(int(state.range(0)), vxclsSpline, vxcpsCircle);
    for (auto _ : state) {
        big.Render();
        benchmark::DoNotOptimize(big.image.constBits());
    }
}
BENCHMARK(BM_FieldRepaintSplineAndMarkers)->Arg(100'000)->Unit(benchmark::kMillisecond);

// One mouse move of a zoom drag and the repaint it causes.
void BM_RubberBandMove(benchmark::State &state)
{
    BigField big(int(state.range(0)), vxclsLine, vxcpsNone);
    big.Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    big.Render(); // the first paint of the drag
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        big.Mouse(QEvent::MouseMove, {300 + step, 300 + step / 2}, Qt::LeftButton);
        big.Render();
        benchmark::DoNotOptimize(big.image.constBits());
    }
    big.Mouse(QEvent::MouseButtonRelease, {300, 300}, Qt::NoButton);
}
BENCHMARK(BM_RubberBandMove)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The chart of the graphic results window: 441 x 369, 50 points of a heating
// curve with circles, axes with figures, the x and y captions.
void BM_ResultsChartRepaint(benchmark::State &state)
{
    TVxUniChart2D chart;
    chart.resize(441, 369);
    QFont axisFont(QStringLiteral("Times New Roman"));
    axisFont.setPixelSize(15);
    axisFont.setBold(true);
    for (VxChartBaseAxisClassData *a : {chart.XAxis(), chart.YAxis()}) {
        a->SetFont(axisFont);
        a->SetWantedTicks(5);
        a->SetMinorTicks(0);
    }
    chart.XCaption()->SetText(QStringLiteral("<U>t [s]"));
    chart.YCaption()->SetText(QStringLiteral("Centre temperature To [oC]"));
    chart.MainCaption()->SetVisible(false);
    chart.UserTextField()->SetVisible(false);
    chart.LinesField()->SetVisible(false);
    chart.MainField()->SetShowGrid(false);
    VxChartBaseLineArray &lines = *chart.MainField()->Lines();
    lines.SetLineCount(2);
    lines.SetPointCount(50);
    lines.Line(0)->SetDataType(vxcldXData);
    for (int i = 0; i < 50; ++i) {
        lines.Line(0)->Data()[i] = 5.0 * i;
        lines.Line(1)->Data()[i] = 20.0 + 980.0 * (1.0 - std::exp(-i / 15.0));
    }
    lines.Line(1)->SetXLine(0);
    lines.Line(1)->SetErrorStyle(vxcesNone);
    lines.Line(1)->SetPointStyle(vxcpsCircle);
    lines.Line(1)->SetPointSize(6);
    chart.show();
    chart.AutoScale(10.0);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::sendPostedEvents();

    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ResultsChartRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
