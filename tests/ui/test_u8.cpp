// The printed results pages of both geometries: every label at its place
// and in its font, and a PDF of each page whose text reads in page order.
#include "ui/u5.h"
#include "ui/u5a.h"
#include "ui/u8.h"
#include "ui/u8a.h"

#include "report/ReportRenderer.h"
#include "ui/CalculationRun.h"
#include "ui/support/TestProgram.h"
#include "ui/support/TextResultsSupport.h"

#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

const double kInputTops[7] = {30.5, 40.6, 50.8, 61.0, 71.1, 81.3, 91.4};

void ExpectLabel(const report::ReportLabel &label, double left, double top, double points,
                 bool bold = false)
{
    SCOPED_TRACE(label.name.toStdString());
    EXPECT_NEAR(label.leftMm, left, 1e-9);
    EXPECT_NEAR(label.topMm, top, 1e-9);
    EXPECT_EQ(label.font.family, "Arial");
    EXPECT_EQ(label.font.pointSize, points);
    EXPECT_EQ(label.font.bold, bold);
    EXPECT_EQ(label.font.color, QColor(Qt::black));
    EXPECT_EQ(label.alignment, report::LabelAlignment::Left);
}

void ExpectPage(const TextReportForm &form)
{
    EXPECT_EQ(form.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(form.pageSizeMm().width(), 210, 0.01);
    EXPECT_NEAR(form.pageSizeMm().height(), 297, 0.01);
    EXPECT_EQ(form.marginsMm(), QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(form.band().widthMm, 190.1);
    EXPECT_EQ(form.band().heightMm, 273.5);
    EXPECT_EQ(form.band().color, QColor(Qt::white));

    const report::ReportLabel &title = form.labels()[0];
    EXPECT_EQ(title.alignment, report::LabelAlignment::CentreOnBand);
    EXPECT_NEAR(title.topMm, 3.4, 1e-9);
    EXPECT_EQ(title.font.pointSize, 18);
    EXPECT_TRUE(title.font.bold);
    EXPECT_EQ(title.font.family, "Arial");

    ExpectLabel(*form.findLabel("InputHeading"), 49.1, 16.9, 14);
    EXPECT_EQ(form.findLabel("InputHeading")->caption, "Input data");
    ExpectLabel(*form.findLabel("ResultsHeading"), 35.6, 137.6, 14);
    EXPECT_EQ(form.findLabel("ResultsHeading")->caption, "Results");
}

TEST(TextReportForms, XyPageHasTwoBlocksOfSevenInputRowsAndTwelveResultRows)
{
    TForm8 form;
    ExpectPage(form);
    ASSERT_EQ(form.inputCount(), 14);
    ASSERT_EQ(form.resultCount(), 12);
    EXPECT_EQ(form.labels().size(), 3u + 2 * 14 + 2 * 12 + 1);
    // "Classic formulas" over the result values, on the line of the heading.
    ExpectLabel(form.formulas(), 79.6, 138.9, 10);
    EXPECT_EQ(form.formulas().caption, "");
    for (int i = 0; i < 7; ++i) {
        ExpectLabel(form.inputName(i), 5.1, kInputTops[i], 10);
        ExpectLabel(form.inputValue(i), 55.9, kInputTops[i], 10);
        ExpectLabel(form.inputName(7 + i), 99.9, kInputTops[i], 10);
        ExpectLabel(form.inputValue(7 + i), 155.8, kInputTops[i], 10);
    }
    for (int i = 0; i < 12; ++i) {
        ExpectLabel(form.resultName(i), 3.4, form.resultName(i).topMm, 10);
        ExpectLabel(form.resultValue(i), 79.6, form.resultName(i).topMm, 10);
    }
    // Rows about 10.1 mm apart from 150.7 down to 261.8.
    EXPECT_NEAR(form.resultName(0).topMm, 150.7, 1e-9);
    EXPECT_NEAR(form.resultName(11).topMm, 261.8, 1e-9);
    for (int i = 1; i < 12; ++i)
        EXPECT_NEAR(form.resultName(i).topMm - form.resultName(i - 1).topMm, 10.1, 0.07);
    // The last row still lies on the band.
    EXPECT_LT(form.labelRectMm(form.resultName(11)).bottom(), form.bandRectMm().bottom());
}

TEST(TextReportForms, RzPageHasOneInputRowLessAndTenResultRows)
{
    TForm8a form;
    ExpectPage(form);
    ASSERT_EQ(form.inputCount(), 13);
    ASSERT_EQ(form.resultCount(), 10);
    for (int i = 0; i < 6; ++i) {
        ExpectLabel(form.inputName(i), 5.1, kInputTops[i], 10);
        ExpectLabel(form.inputValue(i), 55.9, kInputTops[i], 10);
    }
    for (int i = 0; i < 7; ++i) {
        ExpectLabel(form.inputName(6 + i), 99.9, kInputTops[i], 10);
        ExpectLabel(form.inputValue(6 + i), 155.8, kInputTops[i], 10);
    }
    EXPECT_NEAR(form.resultName(0).topMm, 150.7, 1e-9);
    EXPECT_NEAR(form.resultValue(9).topMm, 150.7 + 9 * 10.1, 1e-9);
    EXPECT_THROW(form.resultName(10), std::out_of_range);
    EXPECT_THROW(form.inputValue(13), std::out_of_range);
}

QString PdfText(const report::ReportForm &form, const QString &fileName)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(fileName);
    if (!report::WritePdf(form, pdf))
        return {};
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Each line holds the words in the given order, blanks squeezed.
void ExpectLinesInOrder(const QString &text, const std::vector<QStringList> &lines)
{
    QStringList pageLines;
    for (QString line : text.split('\n'))
        pageLines << line.simplified();
    qsizetype from = 0;
    for (const QStringList &expected : lines) {
        QStringList escaped;
        for (const QString &part : expected)
            escaped << QRegularExpression::escape(part.simplified());
        const QRegularExpression exact("^" + escaped.join(" ") + "$");
        qsizetype found = -1;
        for (qsizetype i = from; i < pageLines.size(); ++i)
            if (exact.match(pageLines[i]).hasMatch()) {
                found = i;
                break;
            }
        EXPECT_GE(found, 0) << "line not found after line " << from << ": "
                            << expected.join(" | ").toStdString() << "\n"
                            << text.toStdString();
        if (found >= 0)
            from = found + 1;
    }
}

class PrintedPages : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(savedLocale); }

    QLocale savedLocale;
    TestProgram program;
    ProgramState &state = program.state;
    FakeDesktop &desktop = program.desktop;
};

// Series (the default): half sizes in the Biot numbers, 146 256 A over
// 1000 A rounded up to 147 contacts, the centre at 1500 oC after 10.5601 s
// (bar) and 10.5619 s (rod) with 2.5016 K and 2.6562 K to the faces (an
// independent evaluation).  Classic: the worked figures of earlier
// versions: 10.764 s, 146 and 115 contacts, full sizes in the Biot numbers
// of the bar, 48.399 K and 426.51 K at the last row.
struct PageRow {
    bool classic;
    std::vector<QStringList> results; // from the "Results" line on
};

TEST_F(PrintedPages, XyPdfReadsTitleInputsAndResultsInOrder)
{
    const PageRow rows[] = {
        {false, {{"Results"}, {"Heating time [s]", "10.56"}, {"Number of contact [-]", "147"},
                 {"Biot number (width)", "0.004267"}, {"Biot number (height)", "0.004267"},
                 {"Temp. difference: centre - width [K]", "2.502"},
                 {"Temp. difference: centre - height [K]", "2.502"}}},
        {true, {{"Results", "Classic formulas"}, {"Heating time [s]", "10.76"}, {"Number of contact [-]", "146"},
                {"Biot number (width)", "0.008534"}, {"Biot number (height)", "0.008534"},
                {"Temp. difference: centre - width [K]", "48.4"},
                {"Temp. difference: centre - height [K]", "48.4"}}},
    };
    for (const PageRow &row : rows) {
        state.classicFormulas = row.classic;
        state.dataXY = SteelBar();
        RunCalculationXY(program.program());
        static_cast<TForm5 *>(program.windows().Form5)->Button2Click();
        ASSERT_TRUE(desktop.lastPreview);

        // Resistance 1.5384E-7 / 0.0025 ohm, current 9 V over it, power 9 V
        // times the current, density the power over 0.0025 m3.
        const QString text = PdfText(*desktop.lastPreview, "xy.pdf");
        ExpectLinesInOrder(text, {
            {"Text results for xy"},
            {"Input data"},
            {"Material", "steel", "Resistivity [om*m]", "1.5384E-7"},
            {"Length of charge [m]", "1", "Supply voltage [V]", "10"},
            {"Width of charge [m]", "0.05", "Voltage drop [%]", "10"},
            {"Thickness of charge [m]", "0.05", "Start temperature [oC]", "20"},
            {"Density [kg/m3]", "7800", "Finish temperature [oC]", "1500"},
            {"Specific heat [Ws/(kgK)]", "481.32", "Alfa coefficient [W/(m2K)]", "15"},
            {"Heat conductivity [W/(mK)]", "87.88", "Max contact current [A]", "1000"},
            row.results[0],
            {"Charge mass [kg]", "19.5"},
            {"Charge resistance [om]", "6.154E-5"},
            {"Real voltage supply [V]", "9"},
            {"Current intesity [A]", "1.463E5"},
            {"Applied power [W]", "1.316E6"},
            {"Vol. power density [W/m3]", "5.265E8"},
        });
        ExpectLinesInOrder(text, row.results);
        EXPECT_EQ(text.contains("Classic formulas"), row.classic);
    }
}

TEST_F(PrintedPages, RzPdfReadsTitleInputsAndResultsInOrder)
{
    const PageRow rows[] = {
        {false, {{"Results"}, {"Heating time [s]", "10.56"}, {"Number of contact [-]", "115"},
                 {"Biot number", "0.004267"}, {"Temp. difference: centre - surface [K]", "2.656"}}},
        {true, {{"Results", "Classic formulas"}, {"Heating time [s]", "10.76"}, {"Number of contact [-]", "115"},
                {"Biot number", "0.004267"}, {"Temp. difference: centre - surface [K]", "426.5"}}},
    };
    for (const PageRow &row : rows) {
        state.classicFormulas = row.classic;
        state.dataRZ = SteelRod();
        RunCalculationRZ(program.program());
        static_cast<TForm5a *>(program.windows().Form5a)->Button2Click();
        ASSERT_TRUE(desktop.lastPreview);

        // Cross-section pi/4 * 0.05^2 m2 for resistance and density; mass
        // pi/4 * 0.05^2 * 7800.
        const QString text = PdfText(*desktop.lastPreview, "rz.pdf");
        ExpectLinesInOrder(text, {
            {"Text results for rz"},
            {"Input data"},
            {"Material", "steel", "Resistivity [om*m]", "1.5384E-7"},
            {"Length of charge [m]", "1", "Supply voltage [V]", "10"},
            {"Diameter of charge [m]", "0.05", "Voltage drop [%]", "10"},
            {"Density [kg/m3]", "7800", "Start temperature [oC]", "20"},
            {"Specific heat [Ws/(kgK)]", "481.32", "Finish temperature [oC]", "1500"},
            {"Heat conductivity [W/(mK)]", "87.88", "Alfa coefficient [W/(m2K)]", "15"},
            {"Max contact current [A]", "1000"},
            row.results[0],
            {"Charge mass [kg]", "15.315"},
            {"Charge resistance [om]", "7.835E-5"},
            {"Real voltage supply [V]", "9"},
            {"Current intesity [A]", "1.149E5"},
            {"Applied power [W]", "1.034E6"},
            {"Vol. power density [W/m3]", "5.265E8"},
        });
        ExpectLinesInOrder(text, row.results);
        EXPECT_EQ(text.contains("Classic formulas"), row.classic);
        if (!qEnvironmentVariableIsEmpty("RESHEAT_SHOTS"))
            report::RenderPageImage(*desktop.lastPreview, 100)
                .save(QDir(qEnvironmentVariable("RESHEAT_SHOTS"))
                          .filePath(row.classic ? "u8a-page-classic.png" : "u8a-page.png"));
    }
}

} // namespace
