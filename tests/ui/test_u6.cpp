// The graphic results windows of both geometries: the table and the chart
// filled from the right history column for each point choice, every
// showing starting at the centre, the number format of the table, copying
// table cells, and printing through the clipboard and the print form.
#include "ui/u6.h"
#include "ui/u6a.h"
#include "ui/u7.h"
#include "ui/u7a.h"

#include "chart/VxUniChart2D.h"
#include "core/Heating.h"
#include "files/DataFiles.h"
#include "report/ReportRenderer.h"
#include "support/RecordingHost.h"
#include "ui/ImageBox.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/Startup.h"
#include "ui/u1.h"
#include "ui/support/ChartLabels.h"
#include "ui/support/FakeDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLocale>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace resheat;
using namespace resheat::ui;
using resheat::ui::testing::FakeDesktop;
using resheat::ui::testing::ExpectLabelsApart;

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A history whose columns tell themselves apart: times from 2.4 s to
// 1500 s, To = 20, 21, ..., Tw = 500, 501, ..., Th (or the rz zero column)
// = 1000.5, 1001.5, ...
History DistinctHistory(bool rz)
{
    History h{};
    for (int i = 0; i < kHistoryRows; ++i) {
        auto &row = h[static_cast<std::size_t>(i)];
        row[0] = i == 0 ? 2.4 : 1500.0 * i / (kHistoryRows - 1);
        row[1] = 20 + i;
        row[2] = 500 + i;
        row[3] = rz ? 0 : 1000.5 + i;
    }
    return h;
}

// The texts the table must show for column `column` of DistinctHistory.
QString ExpectedCell(int column, int row /* 1..50 */, bool rz)
{
    const int i = row - 1;
    switch (column) {
    case 1: return QStringLiteral("%1.0").arg(20 + i);
    case 2: return QStringLiteral("%1.0").arg(500 + i);
    default: return rz ? QStringLiteral("0.0") : QStringLiteral("%1.5").arg(1000 + i);
    }
}

// Clicks a radio button on its circle, as a user does.
void Choose(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

// Columns between x and x + width with a pixel of one of the colours in
// rows y - band ... y + band.
int ColourInRows(const QImage &image, int x, int width, int y, int band, const QList<QColor> &colours)
{
    int columns = 0;
    for (int i = x; i < x + width && i < image.width(); ++i) {
        for (int j = std::max(y - band, 0); j <= y + band && j < image.height(); ++j) {
            if (colours.contains(image.pixelColor(i, j))) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

class GraphicWindows : public ::testing::Test {
protected:
    GraphicWindows() : program(state, desktop), xy(program, form7), rz(program, form7a)
    {
        state.historyXY = DistinctHistory(false);
        state.historyRZ = DistinctHistory(true);
        // Marked on the charts; inside the ranges of the histories' To.
        state.resultsXY.heatingTime = 1200;
        state.resultsRZ.heatingTime = 1200;
        state.dataXY.finishTemp = 45;
        state.dataRZ.finishTemp = 45;
    }
    ~GraphicWindows() override
    {
        xy.hide();
        rz.hide();
    }

    // Puts a recognisable picture on the clipboard, as the chart would.
    static void PutPicture(const QColor &colour, QSize size = QSize(441, 369))
    {
        QImage picture(size, QImage::Format_RGB888);
        picture.fill(colour);
        QApplication::clipboard()->setImage(picture);
    }

    // The table and both chart columns show choice `choice` of the window.
    void ExpectShown(const GraphicResultsForm &window, int choice, bool rz)
    {
        const PointChoice &expected = window.choices()[static_cast<std::size_t>(choice)];
        const int column = expected.column;
        const History &history = rz ? state.historyRZ : state.historyXY;

        const HistoryGrid &grid = *window.StringGrid1;
        ASSERT_EQ(grid.RowCount(), 51);
        ASSERT_EQ(grid.ColCount(), 2);
        EXPECT_EQ(grid.Cells(0, 0), "Time [s]");
        EXPECT_EQ(grid.Cells(1, 0), "Temperature [oC]");
        for (int row = 1; row <= 50; ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(grid.Cells(1, row), ExpectedCell(column, row, rz));
        }

        TVxUniChart2D &chart = *window.VxUniChart2D1;
        const VxChartBaseLineArray &lines = *chart.MainField()->Lines();
        ASSERT_EQ(lines.LineCount(), 6); // the point, then the two marks
        ASSERT_EQ(lines.PointCount(), 50);
        const VxChartBaseLine &times = *lines.Line(0);
        const VxChartBaseLine &temperatures = *lines.Line(1);
        EXPECT_EQ(times.DataType(), vxcldXData);
        EXPECT_EQ(temperatures.DataType(), vxcldYData);
        EXPECT_EQ(temperatures.XLine(), 0);
        EXPECT_EQ(temperatures.ErrorStyle(), vxcesNone);
        EXPECT_EQ(temperatures.PointSize(), 6);
        for (int i = 0; i < 50; ++i) {
            EXPECT_EQ(times.Data()[i], history[static_cast<std::size_t>(i)][0]);
            EXPECT_EQ(temperatures.Data()[i], history[static_cast<std::size_t>(i)][static_cast<std::size_t>(column)]);
        }
        EXPECT_EQ(temperatures.LineColor(), expected.lineColor);
        EXPECT_EQ(temperatures.PointColor(), expected.pointColor);
        EXPECT_EQ(temperatures.ErrorColor(), expected.errorColor);
        EXPECT_EQ(chart.YCaption()->Text(), expected.yCaption);
        EXPECT_EQ(chart.YCaption()->Font(), chart.XCaption()->Font());
        EXPECT_EQ(temperatures.LineName(), QString(expected.radioCaption).remove(QLatin1Char('&')));
    }

    ProgramState state;
    FakeDesktop desktop;
    Program program;
    TForm7 form7;
    Tform7a form7a;
    TForm6 xy;
    TForm6a rz;
};

} // namespace

// ---------------------------------------------------------------------------
// Number format of the table

TEST(TableNumberFormat, OneDecimalOfFiveSignificantDigitsThenScientific)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    const std::pair<double, const char *> cases[] = {
        {20, "20.0"},          {1234.56, "1234.6"},   {12345.67, "12346.0"}, {123456, "1.2346E5"},
        {2.4, "2.4"},          {1500, "1500.0"},      {0, "0.0"},            {-20.04, "-20.0"},
        {-0.04, "0.0"},        {0.05, "0.1"},         {99999.4, "99999.0"},
        // 5 significant digits first: 99999.96 becomes 100000, six digits
        // before the separator.
        {99999.96, "1E5"},
        // 12.35 is a little below 12.35 in binary, but its five digits are
        // 12.350, and that rounds away from zero.
        {12.35, "12.4"},
        // 1234.549 keeps 1234.5 at five digits: the second rounding sees
        // no more than that.
        {1234.549, "1234.5"},  {2220.4449, "2220.4"}, {-123456, "-1.2346E5"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(FormatTableNumber(value), QString::fromLatin1(text)) << value;
    QLocale::setDefault(saved);
}

TEST(TableNumberFormat, UsesTheRegionalSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatTableNumber(1234.56), "1234,6");
    EXPECT_EQ(FormatTableNumber(123456), "1,2346E5");
    EXPECT_EQ(FormatTableNumber(1500), "1500,0");
    QLocale::setDefault(saved);
}

// ---------------------------------------------------------------------------
// Layout and captions

TEST_F(GraphicWindows, LayoutAndCaptionsOfBothWindows)
{
    xy.show();
    rz.show();
    EXPECT_EQ(xy.size(), QSize(759, 554));
    EXPECT_EQ(xy.pos(), QPoint(20, 20));
    EXPECT_EQ(xy.windowTitle(), "Temperature for xy geometry");
    EXPECT_EQ(rz.windowTitle(), "Temperature for rz geometry");
    EXPECT_EQ(xy.StringGrid1->geometry(), QRect(472, 24, 265, 361));
    EXPECT_EQ(xy.StringGrid1->ColWidths(0), 130);
    EXPECT_EQ(xy.StringGrid1->ColWidths(1), 130);
    EXPECT_EQ(xy.StringGrid1->rowHeight(0), 24);
    // Captions with their Alt keys.
    EXPECT_EQ(xy.Button1->text(), "&Close");
    EXPECT_EQ(xy.Button1->geometry(), QRect(624, 408, 105, 25));
    EXPECT_EQ(xy.Button2->text(), "&Print this graphic results");
    EXPECT_EQ(xy.Button2->geometry(), QRect(56, 488, 225, 25));

    ASSERT_NE(xy.RadioButton3, nullptr);
    EXPECT_EQ(rz.RadioButton3, nullptr);
    const QStringList xyCaptions{"Temperature &To", "Temperature T&w", "Temperature T&h"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(xy.radioButton(i)->text(), xyCaptions[i]);
        EXPECT_EQ(xy.radioButton(i)->geometry().topLeft(), QPoint(56, 408 + 24 * i));
        EXPECT_EQ(xy.radioButton(i)->width(), 289);
    }
    EXPECT_EQ(rz.RadioButton1->text(), "Temperature &To");
    EXPECT_EQ(rz.RadioButton2->text(), "Temperature T&r");

    EXPECT_EQ(xy.Image1->geometry(), QRect(368, 408, 153, 113));
    EXPECT_EQ(rz.Image1->geometry(), QRect(368, 408, 145, 113));
    EXPECT_TRUE(xy.Image1->isValid());
    EXPECT_TRUE(rz.Image1->isValid());
    EXPECT_TRUE(xy.Image1->isVisible());
}

TEST_F(GraphicWindows, TheChartIsSetUpAndStaysInPlaceOnceShown)
{
    xy.show();
    QCoreApplication::processEvents();
    TVxUniChart2D &chart = *xy.VxUniChart2D1;
    EXPECT_EQ(chart.geometry(), QRect(16, 24, 441, 369));
    EXPECT_FALSE(chart.isEnabled());
    EXPECT_EQ(chart.Color(), QColor(160, 160, 160));

    // The field where it was put, after the chart has settled.
    const VxChartBaseLinesClassData &field = *chart.MainField();
    EXPECT_EQ(QRect(field.Left(), field.Top(), field.Width(), field.Height()), QRect(58, 16, 350, 278));
    EXPECT_EQ(field.Color(), QColor(213, 213, 213));
    EXPECT_FALSE(field.ShowGrid());

    for (const VxChartBaseAxisClassData *axis : {chart.XAxis(), chart.YAxis()}) {
        EXPECT_TRUE(axis->Visible());
        EXPECT_EQ(axis->Font().family(), "Times New Roman");
        EXPECT_TRUE(axis->Font().bold());
        EXPECT_EQ(axis->Font().pixelSize(), 15);
        EXPECT_EQ(axis->FontColor(), QColor(Qt::black));
        EXPECT_EQ(axis->WantedTicks(), 5);
        EXPECT_EQ(axis->MinorTicks(), 0);
    }
    EXPECT_FALSE(chart.YAxis2()->Visible());
    for (const VxChartBaseTextClassData *hidden : {chart.YCaption2(), chart.MainCaption(), chart.UserTextField()})
        EXPECT_FALSE(hidden->Visible());
    EXPECT_TRUE(chart.LinesField()->Visible());

    // "t [s]" underlined below the x axis, the y caption turned left of the y axis.
    const VxChartBaseTextClassData &xCaption = *chart.XCaption();
    const VxChartBaseTextClassData &yCaption = *chart.YCaption();
    EXPECT_EQ(xCaption.Text(), "<U>t [s]");
    EXPECT_EQ(xCaption.Font().family(), "Arial");
    EXPECT_EQ(xCaption.Font().pixelSize(), 13);
    EXPECT_EQ(xCaption.TextOrientation(), vxcbto_0_Degrees);
    EXPECT_EQ(yCaption.TextOrientation(), vxcbto_90_Degrees);
    EXPECT_GE(xCaption.Top(), field.Top() + field.Height());
    EXPECT_LE(xCaption.Top() + xCaption.Height(), chart.Panel()->height());
    EXPECT_LE(yCaption.Left() + yCaption.Width(), field.Left());
    EXPECT_GE(yCaption.Left(), 0);
}

// ---------------------------------------------------------------------------
// Point choices

TEST_F(GraphicWindows, EachChoiceFillsTheTableFromItsHistoryColumn)
{
    xy.show();
    ExpectShown(xy, 0, false);
    // Times in the first column, with one decimal: 2.4 s and 1500 s.
    EXPECT_EQ(xy.StringGrid1->Cells(0, 1), "2.4");
    EXPECT_EQ(xy.StringGrid1->Cells(0, 50), "1500.0");
    // Both axes span the data with a tenth of their range on each side:
    // times 2.4 ... 1500, To 20 ... 69.
    const TVxUniChart2D &chart = *xy.VxUniChart2D1;
    EXPECT_NEAR(chart.XAxis()->BeginValue(), 2.4 - 149.76, 1e-9);
    EXPECT_NEAR(chart.XAxis()->EndValue(), 1500 + 149.76, 1e-9);
    EXPECT_NEAR(chart.YAxis()->BeginValue(), 15.1, 1e-9);
    EXPECT_NEAR(chart.YAxis()->EndValue(), 73.9, 1e-9);
    EXPECT_EQ(chart.YCaption()->Text(), "To [oC]");
    EXPECT_EQ(chart.MainField()->Lines()->Line(1)->LineColor(), QColor(0, 0, 255));

    Choose(xy.RadioButton2);
    EXPECT_EQ(xy.selectedChoice(), 1);
    ExpectShown(xy, 1, false);
    // The finish temperature among Th's values, which alone span the range.
    state.dataXY.finishTemp = 1020;
    Choose(xy.RadioButton3);
    ExpectShown(xy, 2, false);
    EXPECT_EQ(chart.YCaption()->Text(), "Th [oC]");
    EXPECT_EQ(chart.MainField()->Lines()->Line(1)->LineColor(), QColor(0, 127, 127));
    EXPECT_EQ(chart.MainField()->Lines()->Line(1)->PointColor(), QColor(0, 127, 0));
    EXPECT_EQ(chart.MainField()->Lines()->Line(1)->ErrorColor(), QColor(0, 96, 0));
    EXPECT_NEAR(chart.YAxis()->BeginValue(), 1000.5 - 4.9, 1e-9);
    EXPECT_NEAR(chart.YAxis()->EndValue(), 1049.5 + 4.9, 1e-9);
    Choose(xy.RadioButton1);
    ExpectShown(xy, 0, false);

    rz.show();
    ExpectShown(rz, 0, true);
    Choose(rz.RadioButton2);
    ExpectShown(rz, 1, true);
    EXPECT_EQ(rz.VxUniChart2D1->YCaption()->Text(), "Tr [oC]");
    EXPECT_EQ(rz.VxUniChart2D1->MainField()->Lines()->Line(1)->LineColor(), QColor(255, 0, 0));
}

TEST_F(GraphicWindows, EveryShowingStartsAtTheCentre)
{
    xy.show();
    Choose(xy.RadioButton3);
    ExpectShown(xy, 2, false);
    QTest::mouseClick(xy.Button1, Qt::LeftButton);
    EXPECT_FALSE(xy.isVisible());
    // The choice survives hiding ...
    EXPECT_TRUE(xy.RadioButton3->isChecked());

    // ... and a run in between shows at the next showing only.
    state.historyXY[0][1] = 64.04;
    xy.show();
    EXPECT_TRUE(xy.RadioButton1->isChecked());
    EXPECT_FALSE(xy.RadioButton3->isChecked());
    EXPECT_EQ(xy.VxUniChart2D1->MainField()->Lines()->Line(1)->Data()[0], 64.04);
    EXPECT_EQ(xy.VxUniChart2D1->YCaption()->Text(), "To [oC]");
    EXPECT_EQ(xy.VxUniChart2D1->MainField()->Lines()->Line(1)->LineColor(), QColor(0, 0, 255));
    EXPECT_EQ(xy.StringGrid1->Cells(1, 1), "64.0");
    EXPECT_EQ(xy.StringGrid1->Cells(1, 50), "69.0");

    // While shown, the window keeps its snapshot until the next click.
    state.historyXY[0][1] = 70;
    EXPECT_EQ(xy.StringGrid1->Cells(1, 1), "64.0");
    Choose(xy.RadioButton2);
    Choose(xy.RadioButton1);
    EXPECT_EQ(xy.StringGrid1->Cells(1, 1), "70.0");
}

TEST_F(GraphicWindows, TheTableListsAllFiftyRowsInTimeOrder)
{
    state.historyXY[49] = {2227.25, 2219.96, 1500.0, 123456.0};
    xy.show();
    Choose(xy.RadioButton3);
    const HistoryGrid &grid = *xy.StringGrid1;
    EXPECT_EQ(grid.RowCount(), 51);
    EXPECT_EQ(grid.Cells(0, 50), "2227.3");
    EXPECT_EQ(grid.Cells(1, 50), "1.2346E5");
    EXPECT_EQ(grid.Cells(1, 49), "1048.5");
    // Nothing beyond the 50th row.
    EXPECT_EQ(grid.Cells(0, 51), "");
}

TEST_F(GraphicWindows, EqualTemperaturesGiveAnEmptyRangeThatStillDraws)
{
    for (auto &row : state.historyRZ)
        row[1] = 20;
    state.dataRZ.finishTemp = 20;
    rz.show();
    QCoreApplication::processEvents();
    for (int row = 1; row <= 50; ++row)
        EXPECT_EQ(rz.StringGrid1->Cells(1, row), "20.0");

    TVxUniChart2D &chart = *rz.VxUniChart2D1;
    EXPECT_EQ(chart.YAxis()->BeginValue(), 20);
    EXPECT_EQ(chart.YAxis()->EndValue(), 20);
    // The axis widens the empty range to half and one and a half times
    // the value, and the field draws against that: the line runs across
    // the middle of the field.
    EXPECT_EQ(chart.YAxis()->CurrBegin(), 10);
    EXPECT_EQ(chart.YAxis()->CurrEnd(), 30);
    // The finish temperature's mark (purple) lies on the line there.
    const QImage bitmap = chart.CreateBitmap();
    const QWidget &field = *chart.MainField()->Control();
    const QPoint origin = field.mapTo(&chart, QPoint(0, 0));
    const QList<QColor> line{QColor(0, 0, 255), QColor(160, 0, 160)};
    EXPECT_GT(ColourInRows(bitmap, origin.x(), field.width(), origin.y() + field.height() / 2, 3, line),
              field.width() * 3 / 4);
    // Nothing of them in the lower half.
    EXPECT_EQ(ColourInRows(bitmap, origin.x(), field.width(), origin.y() + field.height() * 3 / 4 + 2,
                           field.height() / 4 - 5, line),
              0);
}

// ---------------------------------------------------------------------------
// The marks of the heating time and the finish temperature, the legend

TEST_F(GraphicWindows, HeatingTimeAndFinishTemperatureAreMarkedAndNamedInTheLegend)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    state.resultsXY.heatingTime = 1234.56;
    state.dataXY.finishTemp = 45.5;
    xy.show();
    QCoreApplication::processEvents();
    TVxUniChart2D &chart = *xy.VxUniChart2D1;
    const VxChartBaseLineArray &lines = *chart.MainField()->Lines();

    // Columns 2/3: the heating time, a vertical line from the bottom of the
    // temperature range to its top; 4/5: the finish temperature, a
    // horizontal line across the whole time range.
    const double xb = chart.XAxis()->CurrBegin(), xe = chart.XAxis()->CurrEnd();
    const double yb = chart.YAxis()->CurrBegin(), ye = chart.YAxis()->CurrEnd();
    EXPECT_EQ(lines.Line(3)->LineName(), "Heating time 1235 s");
    EXPECT_EQ(lines.Line(5)->LineName(), "Finish temperature 45,5 oC");
    EXPECT_EQ(lines.Line(3)->XLine(), 2);
    EXPECT_EQ(lines.Line(5)->XLine(), 4);
    for (int i : {0, 25, 49}) {
        EXPECT_EQ(lines.Line(2)->Data()[i], 1234.56);
        EXPECT_EQ(lines.Line(5)->Data()[i], 45.5);
    }
    EXPECT_DOUBLE_EQ(lines.Line(3)->Data()[0], yb);
    EXPECT_DOUBLE_EQ(lines.Line(3)->Data()[49], ye);
    EXPECT_DOUBLE_EQ(lines.Line(4)->Data()[0], xb);
    EXPECT_DOUBLE_EQ(lines.Line(4)->Data()[49], xe);

    // The legend lists the point, then both marks, each with its sample.
    EXPECT_EQ(chart.LinesField()->Text().split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{"<inline>0</inline>Temperature To", "<inline>1</inline>Heating time 1235 s",
                           "<inline>2</inline>Finish temperature 45,5 oC"}));

    // On screen: a black column at 1234.56 s and a purple row at 45.5 oC,
    // each across most of the field.
    const QImage bitmap = chart.CreateBitmap();
    const QWidget &field = *chart.MainField()->Control();
    const QPoint origin = field.mapTo(&chart, QPoint(0, 0));
    const int x = origin.x() + qRound(field.width() * (1234.56 - xb) / (xe - xb));
    const int y = origin.y() + field.height() - qRound(field.height() * (45.5 - yb) / (ye - yb));
    int black = 0, purple = 0;
    for (int j = origin.y(); j < origin.y() + field.height(); ++j)
        black += bitmap.pixelColor(x, j) == QColor(0, 0, 0) ? 1 : 0;
    for (int i = origin.x(); i < origin.x() + field.width(); ++i)
        purple += bitmap.pixelColor(i, y) == QColor(160, 0, 160) ? 1 : 0;
    EXPECT_GT(black, field.height() * 2 / 3);
    EXPECT_GT(purple, field.width() * 2 / 3);
    QLocale::setDefault(saved);
}

TEST_F(GraphicWindows, AFinishTemperatureNeverReachedStillShowsOnTheChart)
{
    // To ends at 69 oC; the case wanted 200.
    state.dataXY.finishTemp = 200;
    xy.show();
    const TVxUniChart2D &chart = *xy.VxUniChart2D1;
    EXPECT_NEAR(chart.YAxis()->EndValue(), 200 + 18, 1e-9); // 20 ... 200 and a tenth on each side
    EXPECT_NEAR(chart.YAxis()->BeginValue(), 20 - 18, 1e-9);
}

TEST_F(GraphicWindows, TheLegendLiesInTheFieldWhereItCoversNoCurveAndNoLabel)
{
    xy.show();
    QCoreApplication::processEvents();
    const TVxUniChart2D &chart = *xy.VxUniChart2D1;
    const VxChartBaseTextClassData &legend = *chart.LinesField();
    const VxChartBaseLinesClassData &field = *chart.MainField();
    const QRect legendBox(legend.Left(), legend.Top(), legend.Width(), legend.Height());
    const QRect fieldBox(field.Left(), field.Top(), field.Width(), field.Height());
    EXPECT_TRUE(fieldBox.contains(legendBox));
    // To rises from the bottom left to the top right: the top left corner
    // is free.
    EXPECT_LT(legendBox.center().x(), fieldBox.center().x());
    EXPECT_LT(legendBox.center().y(), fieldBox.center().y());
    ExpectLabelsApart(chart);
}

TEST_F(GraphicWindows, NoLabelCutOffOrOverAnotherAtThreeSizes)
{
    // The worked bar: temperatures in thousands, times in tens.
    resheat::testing::RecordingHost host;
    const QString examples = qEnvironmentVariable("RESHEAT_EXAMPLES", QStringLiteral(RESHEAT_SOURCE_DIR "/examples"));
    ASSERT_TRUE(LoadDataXY(examples.toStdString() + "/steel-bar.dxy", state.dataXY, host));
    CalculationXY(state.dataXY, false, state.resultsXY, 0, state.historyXY, host);
    xy.show();
    TVxUniChart2D &chart = *xy.VxUniChart2D1;
    for (const QSize size : {QSize(441, 369), QSize(330, 280), QSize(720, 600)}) {
        SCOPED_TRACE(size.width());
        chart.resize(size);
        QCoreApplication::processEvents();
        for (int choice = 0; choice < 3; ++choice) {
            Choose(xy.radioButton(choice));
            QCoreApplication::processEvents();
            ExpectLabelsApart(chart);
        }
    }
}

// ---------------------------------------------------------------------------
// The keyboard

TEST_F(GraphicWindows, TabWalksThePointChoicePrintCloseAndTheTableAndNeverStaysInTheTable)
{
    xy.show();
    xy.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&xy));
    // The keyboard starts at the point choice, above the table.
    EXPECT_EQ(QApplication::focusWidget(), xy.RadioButton1);
    const QList<QWidget *> cycle{xy.Button2, xy.Button1, xy.StringGrid1, xy.RadioButton1};
    for (QWidget *expected : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    // Backwards the other way round.
    for (QWidget *expected : QList<QWidget *>{xy.StringGrid1, xy.Button1, xy.Button2, xy.RadioButton1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    // Inside the table the arrows move; Tab leaves after any of them.
    xy.StringGrid1->setFocus();
    QTest::keyClick(xy.StringGrid1, Qt::Key_Down);
    QTest::keyClick(xy.StringGrid1, Qt::Key_Down);
    EXPECT_EQ(xy.StringGrid1->currentRow(), 2);
    QTest::keyClick(xy.StringGrid1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), xy.RadioButton1);
    // The arrows pick the point.
    QTest::keyClick(xy.RadioButton1, Qt::Key_Down);
    EXPECT_EQ(xy.selectedChoice(), 1);
    EXPECT_EQ(xy.VxUniChart2D1->YCaption()->Text(), "Tw [oC]");
}

TEST_F(GraphicWindows, AltKeysPickThePointCloseAndPrint)
{
    xy.show();
    xy.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&xy));
    // A mnemonic clicks its button after a short animation.
    auto alt = [this](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier); };
    alt(Qt::Key_H);
    EXPECT_TRUE(QTest::qWaitFor([this] { return xy.selectedChoice() == 2; }));
    alt(Qt::Key_W);
    EXPECT_TRUE(QTest::qWaitFor([this] { return xy.selectedChoice() == 1; }));
    alt(Qt::Key_P);
    EXPECT_TRUE(QTest::qWaitFor([this] { return desktop.previews == 1; }));
    EXPECT_EQ(form7.subtitle().caption, "Temperature Tw");
    alt(Qt::Key_C);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !xy.isVisible(); }));
}

// ---------------------------------------------------------------------------
// The fixed time column

TEST_F(GraphicWindows, SidewaysScrollingMovesOnlyTheTemperatures)
{
    xy.show();
    QApplication::processEvents(); // lays the table out
    HistoryGrid &grid = *xy.StringGrid1;
    QScrollBar *sideways = grid.horizontalScrollBar();
    // Two 130-pixel columns and a scroll bar do not fit into 265 pixels.
    ASSERT_GT(sideways->maximum(), 0);

    const QRect times = grid.verticalHeader()->geometry();
    const QRect timesOnScreen(times.left(), 0, times.width(), times.bottom() + 1);
    const QImage before = grid.grab(timesOnScreen).toImage();
    const int temperatureLeft = grid.visualItemRect(grid.item(0, 0)).left();
    sideways->setValue(sideways->maximum());

    EXPECT_EQ(grid.visualItemRect(grid.item(0, 0)).left(), temperatureLeft - sideways->maximum());
    EXPECT_EQ(grid.verticalHeader()->geometry(), times);
    EXPECT_EQ(grid.grab(timesOnScreen).toImage(), before);
    EXPECT_EQ(grid.Cells(0, 0), "Time [s]");
    EXPECT_EQ(grid.Cells(0, 1), "2.4");
}

TEST_F(GraphicWindows, TimesTakeNeitherTheSelectionNorTheFocus)
{
    xy.show();
    HistoryGrid &grid = *xy.StringGrid1;
    QHeaderView *times = grid.verticalHeader();
    EXPECT_EQ(times->focusPolicy(), Qt::NoFocus);

    // A click on a time selects nothing; a click on a temperature does.
    const int rowCentre = times->sectionViewportPosition(2) + times->sectionSize(2) / 2;
    QTest::mouseClick(times->viewport(), Qt::LeftButton, {}, QPoint(20, rowCentre));
    EXPECT_TRUE(grid.selectedRanges().isEmpty());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(20, rowCentre));
    EXPECT_EQ(grid.SelectedText(), "61.2\t22.0");

    // The keyboard's first and leftmost cell is a temperature.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.currentItem()->text(), "20.0");
}

// ---------------------------------------------------------------------------
// Copying from the table

TEST_F(GraphicWindows, CtrlCCopiesTheSelectedCellsAsTabSeparatedText)
{
    xy.show();
    HistoryGrid &grid = *xy.StringGrid1;
    QApplication::clipboard()->setText(QStringLiteral("before"));

    // Nothing selected: the clipboard keeps what it had.
    grid.clearSelection();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");

    // The selected temperatures come with the times of their rows.
    grid.setRangeSelected(QTableWidgetSelectionRange(0, 0, 2, 0), true);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2.4\t20.0\n30.6\t21.0\n61.2\t22.0");

    // Two separate rows: the row between them has its time only.
    grid.clearSelection();
    grid.setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 0), true);
    grid.setRangeSelected(QTableWidgetSelectionRange(2, 0, 2, 0), true);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2.4\t20.0\n30.6\t\n61.2\t22.0");
}

// ---------------------------------------------------------------------------
// Printing

TEST_F(GraphicWindows, PrintingPutsTheClipboardPictureIntoThePrintForm)
{
    xy.copyChartToClipboard = [] { PutPicture(QColor(10, 200, 30)); };
    xy.show();
    Choose(xy.RadioButton2);
    QTest::mouseClick(xy.Button2, Qt::LeftButton);

    EXPECT_TRUE(desktop.boxes.empty());
    ASSERT_EQ(desktop.previews, 1);
    EXPECT_EQ(desktop.lastPreview, &form7);
    EXPECT_EQ(form7.title().caption, "Temperature for xy geometry");
    EXPECT_EQ(form7.subtitle().caption, "Temperature Tw");
    ASSERT_EQ(form7.image().picture.size(), QSize(441, 369));
    EXPECT_EQ(form7.image().picture.pixelColor(200, 200), QColor(10, 200, 30));

    rz.copyChartToClipboard = [] { PutPicture(Qt::red, QSize(100, 80)); };
    rz.show();
    Choose(rz.RadioButton2);
    QTest::mouseClick(rz.Button2, Qt::LeftButton);
    ASSERT_EQ(desktop.previews, 2);
    EXPECT_EQ(desktop.lastPreview, &form7a);
    EXPECT_EQ(form7a.title().caption, "Temperature for rz geometry");
    EXPECT_EQ(form7a.subtitle().caption, "Temperature Tr");
    EXPECT_EQ(form7a.image().picture.size(), QSize(100, 80));
}

QString PdfText(const report::ReportForm &form)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("graphic.pdf"));
    if (!report::WritePdf(form, pdf))
        return QStringLiteral("(no PDF written)");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(GraphicWindows, PrintingPutsTheChartOnTheClipboardAndPreviewsIt)
{
    QApplication::clipboard()->setText(QStringLiteral("what the user had copied"));
    xy.show();
    QCoreApplication::processEvents();
    Choose(xy.RadioButton3);
    QCoreApplication::processEvents();
    QTest::mouseClick(xy.Button2, Qt::LeftButton);

    // The clipboard now holds the chart, in the chart's size.
    const QMimeData *content = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(content && content->hasImage());
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(441, 369));
    // Panel grey below the x caption, and the line of Th in its colour.
    const QWidget &panel = *xy.VxUniChart2D1->Panel();
    const QPoint panelOrigin = panel.mapTo(xy.VxUniChart2D1, QPoint(0, 0));
    EXPECT_EQ(copied.pixelColor(panelOrigin.x() + 5, panelOrigin.y() + panel.height() - 5),
              QColor(160, 160, 160));
    bool lineSeen = false;
    for (int y = 0; y < copied.height() && !lineSeen; ++y)
        for (int x = 0; x < copied.width() && !lineSeen; ++x)
            lineSeen = copied.pixelColor(x, y) == QColor(0, 127, 127);
    EXPECT_TRUE(lineSeen);

    EXPECT_TRUE(desktop.boxes.empty());
    ASSERT_EQ(desktop.previews, 1);
    ASSERT_EQ(desktop.lastPreview, &form7);
    EXPECT_EQ(form7.image().picture.size(), QSize(441, 369));
    EXPECT_EQ(form7.image().picture.convertToFormat(QImage::Format_RGB32),
              copied.convertToFormat(QImage::Format_RGB32));

    const QString text = PdfText(*desktop.lastPreview);
    EXPECT_TRUE(text.contains("Temperature for xy geometry")) << text.toStdString();
    EXPECT_TRUE(text.contains("Temperature Th")) << text.toStdString();
    // The title comes before the subtitle.
    EXPECT_LT(text.indexOf("Temperature for xy geometry"), text.indexOf("Temperature Th"));
}

// Results of the classic formulas say so, on the window and on its print;
// the window shows the history it was opened with, and so does the print.
TEST_F(GraphicWindows, ClassicResultsAreMarkedOnTheWindowAndItsPrint)
{
    struct Row {
        GraphicResultsForm *window;
        GraphicReportForm *form;
        bool *classic;
    };
    for (const Row &row : {Row{&xy, &form7, &state.classicResultsXY}, Row{&rz, &form7a, &state.classicResultsRZ}}) {
        for (const bool classic : {true, false}) {
            SCOPED_TRACE(row.window->objectName().toStdString() + (classic ? " classic" : " series"));
            *row.classic = classic;
            row.window->show();
            EXPECT_EQ(row.window->Label1->isVisible(), classic);
            EXPECT_EQ(row.window->Label1->text(), "Classic formulas");
            EXPECT_EQ(row.window->Label1->geometry(), QRect(16, 4, 300, 17));
            EXPECT_LE(row.window->Label1->geometry().bottom(), row.window->VxUniChart2D1->geometry().top());
            *row.classic = !classic; // a later run changes neither until the next showing
            row.window->Button2->click();
            ASSERT_EQ(desktop.lastPreview, row.form);
            EXPECT_EQ(row.form->formulas().caption, classic ? "Classic formulas" : "");
            const QString text = PdfText(*row.form);
            EXPECT_EQ(text.contains("Classic formulas"), classic) << text.toStdString();
            if (classic)
                EXPECT_LT(text.indexOf("Temperature To"), text.indexOf("Classic formulas"));
            row.window->hide();
        }
    }
}

TEST_F(GraphicWindows, WithoutABitmapOnTheClipboardThePreviewKeepsTheOldPicture)
{
    // First print: nothing on the clipboard, the form has no picture yet.
    xy.copyChartToClipboard = [] { QApplication::clipboard()->setText(QStringLiteral("no picture")); };
    xy.show();
    QTest::mouseClick(xy.Button2, Qt::LeftButton);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].kind, FakeDesktop::BoxKind::Information);
    EXPECT_EQ(desktop.boxes[0].caption, "Information");
    EXPECT_EQ(desktop.boxes[0].text, "There is no bitmap on the Clipboard");
    EXPECT_EQ(desktop.previews, 1);
    EXPECT_TRUE(form7.image().picture.isNull());
    EXPECT_EQ(form7.subtitle().caption, "Temperature To");

    // A picture, then none again: the form keeps the earlier picture.
    xy.copyChartToClipboard = [] { PutPicture(Qt::blue); };
    QTest::mouseClick(xy.Button2, Qt::LeftButton);
    xy.copyChartToClipboard = [] { QApplication::clipboard()->clear(); };
    Choose(xy.RadioButton3);
    QTest::mouseClick(xy.Button2, Qt::LeftButton);
    EXPECT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.previews, 3);
    EXPECT_EQ(form7.image().picture.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(form7.subtitle().caption, "Temperature Th");
}

// ---------------------------------------------------------------------------
// The worked case

namespace {

void SaveShot(QWidget &widget, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("RESHEAT_SHOTS");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(fileName));
}

} // namespace

TEST_F(GraphicWindows, WorkedSteelBarShowsTheCentreRisingFromAbout64To2237Degrees)
{
    resheat::testing::RecordingHost host;
    const QString examples = qEnvironmentVariable("RESHEAT_EXAMPLES", QStringLiteral(RESHEAT_SOURCE_DIR "/examples"));
    const std::string file = examples.toStdString() + "/steel-bar.dxy";
    ASSERT_TRUE(LoadDataXY(file, state.dataXY, host));
    CalculationXY(state.dataXY, false, state.resultsXY, 0, state.historyXY, host);
    ASSERT_TRUE(host.messages.empty());

    xy.show();
    QCoreApplication::processEvents();
    const HistoryGrid &grid = *xy.StringGrid1;
    double first = 0, last = 0;
    ASSERT_TRUE(ParseRegionalNumber(grid.Cells(1, 1), first));
    ASSERT_TRUE(ParseRegionalNumber(grid.Cells(1, 50), last));
    // At 0.317 s and at the lumped 15.829 s (the series; an independent
    // evaluation gives 64.40 and 2236.93 oC).
    EXPECT_EQ(grid.Cells(1, 1), "64.4");
    EXPECT_NEAR(last, 2236.9, 0.05);
    EXPECT_EQ(grid.Cells(0, 50), FormatTableNumber(state.historyXY[49][0]));
    SaveShot(xy, "Form6-worked.png");

    // The printed page holds the chart under its title.
    QTest::mouseClick(xy.Button2, Qt::LeftButton);
    ASSERT_EQ(desktop.lastPreview, &form7);
    EXPECT_EQ(form7.image().picture.size(), QSize(441, 369));
    EXPECT_GT(form7.imageRectMm(form7.image()).top(), form7.labelRectMm(form7.subtitle()).bottom());
    const QString shots = qEnvironmentVariable("RESHEAT_SHOTS");
    if (!shots.isEmpty())
        report::RenderPageImage(form7, 96).save(QDir(shots).filePath("Form7-worked.png"));

    Choose(xy.RadioButton2);
    QCoreApplication::processEvents();
    SaveShot(xy, "Form6-worked-Tw.png");

    state.historyRZ = DistinctHistory(true);
    rz.show();
    QCoreApplication::processEvents();
    SaveShot(rz, "Form6a.png");
}

// ---------------------------------------------------------------------------
// Opening from the main window

TEST(GraphicResultsCommands, OpenTheWindowsAndCloseBackToTheMainWindow)
{
    ProgramState state;
    FakeDesktop desktop;
    Application application(state, desktop);
    Windows &w = application.windows();
    ASSERT_NE(w.Form7, nullptr);
    ASSERT_NE(w.form7a, nullptr);
    ASSERT_NE(w.Form6, nullptr);
    ASSERT_NE(w.Form6a, nullptr);
    EXPECT_EQ(w.Form6->objectName(), "Form6");
    EXPECT_EQ(w.Form6a->objectName(), "Form6a");

    state.historyXY = DistinctHistory(false);
    state.historyRZ = DistinctHistory(true);
    application.showMainWindow();
    w.Form1->gr1Click();
    EXPECT_FALSE(w.Form1->isVisible());
    ASSERT_TRUE(w.Form6->isVisible());
    auto &xy = static_cast<TForm6 &>(*w.Form6);
    EXPECT_EQ(xy.StringGrid1->Cells(1, 50), "69.0");
    QTest::mouseClick(xy.Button1, Qt::LeftButton);
    EXPECT_FALSE(w.Form6->isVisible());
    EXPECT_TRUE(w.Form1->isVisible());

    w.Form1->gr2Click();
    EXPECT_FALSE(w.Form1->isVisible());
    ASSERT_TRUE(w.Form6a->isVisible());
    auto &rz = static_cast<TForm6a &>(*w.Form6a);
    EXPECT_EQ(rz.windowTitle(), "Temperature for rz geometry");
    // Printing goes to the rz print form of the program.
    rz.copyChartToClipboard = [] { QApplication::clipboard()->clear(); };
    QTest::mouseClick(rz.Button2, Qt::LeftButton);
    EXPECT_EQ(desktop.lastPreview, w.form7a);
    w.Form6a->close();
    EXPECT_TRUE(w.Form1->isVisible());
    w.Form1->hide();
}

TEST(GraphicResultsCommands, ChartAxesWriteTheRegionalSeparatorWhileTheProgramRuns)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const VxChartAxisScale scale = VxChartAxisScaleUpdate(1000.1, 1000.5, 5);
    {
        ProgramState state;
        FakeDesktop desktop;
        Application application(state, desktop);
        EXPECT_EQ(VxChartAxisLabel(scale, 0.12), " 1,20");
        // A change of the regional format shows at the next painting.
        QLocale::setDefault(QLocale::c());
        EXPECT_EQ(VxChartAxisLabel(scale, 0.12), " 1.20");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    // The chart on its own writes a point.
    EXPECT_EQ(VxChartAxisLabel(scale, 0.12), " 1.20");
    QLocale::setDefault(saved);
}
