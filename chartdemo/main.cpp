// chart-demo: one enabled chart with sample data, to try the chart by hand.
//
// Click an element to select it, drag it to move it, drag its edges to
// resize it; drag over the unselected plotting field to zoom; double-click
// the field (picks the nearest point), an axis or a caption to open its
// editor.  "AutoScale" undoes a zoom, "Copy to Clipboard" copies the chart.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>

#include "chart/VxUniChart2D.h"
#include "chart/VxUniChart2DEditorUnit.h"

namespace {

constexpr int kPoints = 13;

// Columns of the sample: time, two curves drawn against it and the offsets
// of their error marks (the power's boxes span time as well as power).
enum Column {
    Time,
    Temperature,
    Power,
    TempErrUp,
    TempErrDown,
    PowerErrUp,
    PowerErrDown,
    PowerErrLater,
    PowerErrEarlier,
    ColumnCount
};

void FillSample(TVxUniChart2D &chart)
{
    VxChartBaseLineArray &lines = *chart.MainField()->Lines();
    // Both counts first: a later point count would reset the columns.
    lines.SetPointCount(kPoints);
    lines.SetLineCount(ColumnCount);
    lines.SetListName(QStringLiteral("<U>Lines Info :"));

    for (int i = 0; i < kPoints; ++i) {
        const double t = 20.0 * i;
        lines.Line(Time)->Data()[i] = t;
        lines.Line(Temperature)->Data()[i] = 20.0 + 980.0 * (1.0 - std::exp(-t / 80.0));
        lines.Line(Power)->Data()[i] = 5.0 + 45.0 * std::exp(-t / 100.0);
        lines.Line(TempErrUp)->Data()[i] = 25.0 + 2.0 * i;
        lines.Line(TempErrDown)->Data()[i] = -(25.0 + 2.0 * i);
        lines.Line(PowerErrUp)->Data()[i] = 2.0;
        lines.Line(PowerErrDown)->Data()[i] = -2.0;
        lines.Line(PowerErrLater)->Data()[i] = 4.0;
        lines.Line(PowerErrEarlier)->Data()[i] = -4.0;
    }

    lines.Line(Time)->SetDataType(vxcldXData);
    lines.Line(Time)->SetLineName(QStringLiteral("time"));
    for (int c : {TempErrUp, TempErrDown, PowerErrUp, PowerErrDown, PowerErrLater, PowerErrEarlier}) {
        lines.Line(c)->SetDataType(vxcldOffsetData);
        lines.Line(c)->SetLineName(QStringLiteral("error offsets"));
    }

    VxChartBaseLine &temperature = *lines.Line(Temperature);
    temperature.SetDataType(vxcldYData);
    temperature.SetXLine(Time);
    temperature.SetLineStyle(vxclsSpline);
    temperature.SetLineColor(QColor(170, 0, 0));
    temperature.SetPointStyle(vxcpsCircle);
    temperature.SetPointColor(QColor(170, 0, 0));
    temperature.SetPointSize(8);
    temperature.SetErrorStyle(vxcesCross);
    temperature.SetErrorColor(QColor(90, 0, 0));
    temperature.SetYPlusErrLine(TempErrUp);
    temperature.SetYMinusErrLine(TempErrDown);
    temperature.SetLineName(QStringLiteral("<I>T</I><down>o</down> centre"));

    VxChartBaseLine &power = *lines.Line(Power);
    power.SetDataType(vxcldY2Data);
    power.SetXLine(Time);
    power.SetLineStyle(vxclsLine);
    power.SetLineColor(QColor(0, 0, 160));
    power.SetPointStyle(vxcpsSquare);
    power.SetPointColor(QColor(0, 0, 160));
    power.SetPointSize(8);
    power.SetErrorStyle(vxcesRect);
    power.SetErrorColor(QColor(0, 0, 90));
    // A box needs a width as well as a height to show.
    power.SetYPlusErrLine(PowerErrUp);
    power.SetYMinusErrLine(PowerErrDown);
    power.SetXPlusErrLine(PowerErrLater);
    power.SetXMinusErrLine(PowerErrEarlier);
    power.SetLineName(QStringLiteral("<I>P</I> power"));
}

void SetLooks(TVxUniChart2D &chart)
{
    VxChartBaseLinesClassData &field = *chart.MainField();
    field.SetColor(QColor(236, 236, 228));
    field.SetColorGridX(QColor(150, 150, 150));
    field.SetColorGridY(QColor(150, 150, 150));
    field.SetColorGridY2(QColor(170, 170, 220));

    chart.MainCaption()->SetText(QStringLiteral("<B>Chart demo</B> <I>(double-click to edit)</I>"));
    chart.XCaption()->SetText(QStringLiteral("<U>t [s]"));
    chart.YCaption()->SetText(QStringLiteral("<B>T</B> [<up>o</up>C]"));
    chart.YCaption2()->SetText(QStringLiteral("<B>P</B> [kW]"));
    chart.YCaption2()->SetVisible(true);
    chart.YAxis2()->SetVisible(true);
    chart.UserTextField()->SetStringsArray({QStringLiteral("Click: select, drag: move,"),
                                            QStringLiteral("edges: resize, field: zoom,"),
                                            QStringLiteral("x<up>2</up> and x<down>i</down> by markup")});
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    VxChartInstallEditors();

    QWidget window;
    window.setWindowTitle(QStringLiteral("chart-demo"));
    auto *chart = new TVxUniChart2D(&window);
    auto *autoScale = new QPushButton(QStringLiteral("AutoScale"), &window);
    auto *copy = new QPushButton(QStringLiteral("Copy to Clipboard"), &window);
    auto *status = new QLabel(&window);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(autoScale);
    buttons->addWidget(copy);
    buttons->addWidget(status, 1);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(chart, 1);
    layout->addLayout(buttons);
    // The window may be made as small as one likes, to try the chart's
    // resize reaction down to a single pixel and back.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    FillSample(*chart);
    SetLooks(*chart);
    chart->AutoScale(10.0);

    QObject::connect(autoScale, &QPushButton::clicked, chart, [chart] { chart->AutoScale(10.0); });
    QObject::connect(copy, &QPushButton::clicked, chart, [chart, status] {
        chart->CopyToClipboard();
        status->setText(QStringLiteral("Chart copied to the clipboard."));
    });
    QObject::connect(chart, &TVxUniChart2D::OnMainFieldDblClick, chart, [chart, status](QObject *) {
        const VxChartBaseLinesClass *field = chart->MainField()->Control();
        if (field->PickedLine() < 0) {
            status->setText(QStringLiteral("No point near the double click."));
            return;
        }
        const int c = field->PickedLine(), i = field->PickedPoint();
        status->setText(QStringLiteral("Picked column %1, point %2: x = %3, y = %4")
                            .arg(c)
                            .arg(i)
                            .arg(field->XValue(c, i))
                            .arg(field->Lines()->Line(c)->Data().value(i)));
    });

    window.resize(820, 600);
    window.show();
    return app.exec();
}
