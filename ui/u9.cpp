#include "ui/u9.h"

#include <QFile>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <algorithm>

#include "chart/VxUniChart2D.h"
#include "files/PropertyTableFile.h"
#include "ui/ErrorReport.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u1.h"
#include "ui/u5.h"
#include "ui/WindowPlacement.h"

namespace resheat::ui {

namespace {

// Window layout in pixels: the table and the notes on the left, the chart
// with the run's progress on the right, the controls along the bottom.
constexpr int kWidth = 1080;
constexpr int kHeight = 640;
constexpr QRect kGrid{16, 16, 444, 402}; // the bar's 18 rows without scrolling
constexpr int kGridNameWidth = 196;
constexpr int kGridValueWidth = 118;
constexpr int kGridRowHeight = 20;
constexpr int kGridHeadingHeight = 36; // two lines
constexpr QRect kMemo{16, 426, 444, 156};
constexpr QRect kEmissivityLabel{16, 600, 90, 24};
constexpr QRect kEmissivityBox{106, 598, 80, 26};
constexpr QRect kLoadButton{204, 596, 180, 30};
constexpr QRect kChart{476, 16, 588, 520};
constexpr QRect kProgressBar{476, 548, 472, 24};
constexpr QRect kCancelButton{964, 546, 100, 28};
constexpr QRect kStatusLabel{476, 574, 588, 18};
constexpr QRect kCalculateButton{476, 596, 120, 30};
constexpr QRect kPrintButton{612, 596, 120, 30};
constexpr QRect kCloseButton{944, 596, 120, 30};

constexpr int kScreenLeft = 20;
constexpr int kScreenTop = 20;

// The chart: the plotting field on the panel, the temperature axis on its
// left, the current axis on its right.  The chart puts the legend in the
// top right corner beside the current axis; the field starts below it.
const QColor kChartColor(160, 160, 160);
const QColor kFieldColor(213, 213, 213);
constexpr QRect kField{64, 196, 396, 244};
constexpr int kAxisEndShift = 12;
constexpr int kWantedTicks = 5;
constexpr int kCaptionGap = 2;
constexpr double kScaleMargin = 10.0;
constexpr int kPointSize = 5;

// One temperature or current curve of a model: its history column (0 for
// the current) and how it is drawn.
struct Curve {
    int column;
    const char *name;
    QColor constantColor;
    QColor refinedColor;
};

const QColor kBlue(0, 0, 255), kSkyBlue(0, 150, 255);
const QColor kRed(220, 0, 0), kOrange(255, 130, 0);
const QColor kTeal(0, 110, 110), kTurquoise(0, 190, 170);
const QColor kBlack(0, 0, 0), kGreen(0, 140, 0);

QFont WindowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(13);
    return font;
}

QFont PixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

std::string LocalPath(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

} // namespace

CompareForm::CompareForm(Program &program, QWidget *parent) : QDialog(parent), m_program(program)
{
    setFixedSize(kWidth, kHeight);
    setModal(false);
    setSizeGripEnabled(false);
    setFont(WindowFont());

    StringGrid1 = new QTableWidget(0, 3, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(kGrid);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setFixedHeight(kGridHeadingHeight);
    StringGrid1->setColumnWidth(0, kGridNameWidth);
    StringGrid1->setColumnWidth(1, kGridValueWidth);
    StringGrid1->setColumnWidth(2, kGridValueWidth);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(kMemo);
    Memo1->setReadOnly(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kEmissivityLabel);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(kEmissivityBox);
    Label1->setBuddy(Edit1);
    connect(Edit1, &QLineEdit::editingFinished, this, [this] { runGuarded([this] { Edit1Exit(); }); });

    setUpChart();

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(kProgressBar);
    ProgressBar1->setRange(0, CompareRun::kProgressSteps);
    ProgressBar1->setTextVisible(false);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(kStatusLabel);

    Button1 = MakeButton(this, "Button1", kCloseButton);
    Button2 = MakeButton(this, "Button2", kPrintButton);
    Button3 = MakeButton(this, "Button3", kLoadButton);
    Button4 = MakeButton(this, "Button4", kCancelButton);
    Button5 = MakeButton(this, "Button5", kCalculateButton);
    connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { runGuarded([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { runGuarded([this] { Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { runGuarded([this] { Button5Click(); }); });

    connect(&m_run, &CompareRun::progressed, ProgressBar1, &QProgressBar::setValue);
    connect(&m_run, &CompareRun::finished, this, [this] { runGuarded([this] { runFinished(); }); });
    setRunning(false);
}

CompareForm::~CompareForm() = default;

void CompareForm::setUpChart()
{
    VxUniChart2D1 = new TVxUniChart2D(this);
    TVxUniChart2D &chart = *VxUniChart2D1;
    chart.setObjectName(QStringLiteral("VxUniChart2D1"));
    chart.setGeometry(kChart);
    chart.SetColor(kChartColor);

    // Axes as in the graphic results windows: temperatures on the left,
    // the current on the right of the field, time along its bottom.
    const QFont axisFont = PixelFont(QStringLiteral("Times New Roman"), 15, true);
    VxChartBaseAxisClassData &xAxis = *chart.XAxis();
    VxChartBaseAxisClassData &yAxis = *chart.YAxis();
    VxChartBaseAxisClassData &yAxis2 = *chart.YAxis2();
    for (VxChartBaseAxisClassData *axis : {&xAxis, &yAxis, &yAxis2}) {
        axis->SetVisible(true);
        axis->SetFont(axisFont);
        axis->SetFontColor(Qt::black);
        axis->SetColor(Qt::white);
        axis->SetScaleStyle(vxcbasLinear);
        axis->SetWantedTicks(kWantedTicks);
        axis->SetMinorTicks(0);
        axis->SetEndShift(kAxisEndShift);
        axis->SetBeginShift(0);
    }
    const int bottom = kField.top() + kField.height();
    xAxis.SetLength(kField.width() + kAxisEndShift);
    xAxis.SetCenterPointLeft(kField.left());
    xAxis.SetCenterPointTop(bottom);
    yAxis.SetLength(kField.height() + kAxisEndShift);
    yAxis.SetCenterPointLeft(kField.left());
    yAxis.SetCenterPointTop(bottom);
    yAxis2.SetAxisType(vxcbatVertical);
    yAxis2.SetLength(kField.height() + kAxisEndShift);
    yAxis2.SetCenterPointLeft(kField.left() + kField.width());
    yAxis2.SetCenterPointTop(bottom);

    VxChartBaseLinesClassData &field = *chart.MainField();
    field.SetColor(kFieldColor);
    field.SetShowGrid(false);
    field.Control()->SetBounds(kField.left(), kField.top(), kField.width(), kField.height());
    field.Lines()->SetListName(QString());

    const QFont captionFont = PixelFont(QStringLiteral("Arial"), 13);
    chart.XCaption()->SetText(QStringLiteral("<U>t [s]"));
    chart.XCaption()->SetFont(captionFont);
    chart.YCaption()->SetText(QStringLiteral("T [oC]"));
    chart.YCaption()->SetFont(captionFont);
    chart.YCaption()->SetTextOrientation(vxcbto_90_Degrees);
    chart.YCaption2()->SetText(QStringLiteral("I [A]"));
    chart.YCaption2()->SetFont(captionFont);
    chart.YCaption2()->SetTextOrientation(vxcbto_90_Degrees);
    chart.YCaption2()->SetVisible(true);

    VxChartBaseTextClassData &legend = *chart.LinesField();
    legend.SetFont(PixelFont(QStringLiteral("Arial"), 12));
    legend.SetVisible(true);
    chart.MainCaption()->SetVisible(false);
    chart.UserTextField()->SetVisible(false);

    // The user looks at the chart; its elements cannot be moved or edited.
    chart.setEnabled(false);
}

void CompareForm::runGuarded(const std::function<void()> &handler)
{
    RunGuarded(m_program.desktop, handler);
}

void CompareForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void CompareForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void CompareForm::FormShow()
{
    PlaceWindowFrame(*this, QPoint(kScreenLeft, kScreenTop));
    setWindowTitle(caption());
    Label1->setText(QStringLiteral("Emissivity [-]"));
    Button1->setText(QStringLiteral("Close"));
    Button2->setText(QStringLiteral("Print"));
    Button3->setText(QStringLiteral("Load property table..."));
    Button4->setText(QStringLiteral("Cancel"));
    Button5->setText(QStringLiteral("Calculate"));
    StringGrid1->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Constant\nproperties"), QStringLiteral("Temperature-\ndependent")});

    const CompareCase c = currentCase();
    m_table = c.bar ? DefaultPropertyTable(c.xy.name.str(), c.xy.resistivity, c.xy.conductivity,
                                           c.xy.specificHeat)
                    : DefaultPropertyTable(c.rz.name.str(), c.rz.resistivity, c.rz.conductivity,
                                           c.rz.specificHeat);
    setEmissivity(m_table.emissivity);
    startRun();
}

void CompareForm::FormHide()
{
    // Nothing is left running for a window nobody sees.
    m_run.cancel();
    if (QWidget *mainWindow = m_program.windows.Form1)
        mainWindow->show();
}

void CompareForm::setEmissivity(double emissivity)
{
    m_emissivity = emissivity;
    m_shownEmissivity = FormatGeneral(emissivity, 15);
    m_refusedEmissivity.clear();
    Edit1->setText(m_shownEmissivity);
}

void CompareForm::setRunning(bool running)
{
    Button4->setEnabled(running);
    for (QWidget *control : std::initializer_list<QWidget *>{Edit1, Button2, Button3, Button5})
        control->setEnabled(!running);
    ProgressBar1->setVisible(running);
}

void CompareForm::startRun()
{
    clearResults();
    m_runTable = m_table;
    const CompareCase c = currentCase();
    const PropertyTable table = m_table;
    const double emissivity = m_emissivity;
    auto computation = compute;
    ProgressBar1->setValue(0);
    setRunning(true);
    Label2->setText(QStringLiteral("Calculating..."));
    m_run.start([c, table, emissivity, computation](const RefinedOptions &options) {
        RefinedOptions withEmissivity = options;
        withEmissivity.emissivity = emissivity;
        return computation(c, table, withEmissivity);
    });
}

void CompareForm::runFinished()
{
    setRunning(false);
    if (std::exception_ptr error = m_run.error()) {
        Label2->setText(QString());
        std::rethrow_exception(error);
    }
    m_shown = m_run.result();
    m_shownTable = m_runTable;
    m_hasShown = true;
    showComparison();
}

void CompareForm::clearResults()
{
    m_hasShown = false;
    m_shown = Comparison{};
    StringGrid1->setRowCount(0);
    Memo1->clear();
    Label2->clear();
    VxChartBaseLineArray &lines = *VxUniChart2D1->MainField()->Lines();
    lines.SetLineCount(0);
    lines.SetPointCount(0);
    VxUniChart2D1->AutoScale(kScaleMargin);
    placeCaptions();
}

void CompareForm::showComparison()
{
    fillTable();
    fillChart();
    Memo1->setPlainText(CompareNotes(m_shown, m_shownTable, material()).join(QLatin1Char('\n')));
    switch (m_shown.refined.status) {
    case RefinedStatus::Reached:
        Label2->setText(QStringLiteral("Calculated."));
        break;
    case RefinedStatus::Cancelled:
        Label2->setText(QStringLiteral("The calculation was cancelled."));
        break;
    default:
        Label2->setText(QStringLiteral("The temperature-dependent calculation stopped; see the notes."));
        break;
    }
}

void CompareForm::fillTable()
{
    const std::vector<CompareRow> rows = CompareRows(m_shown);
    StringGrid1->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const CompareRow &row = rows[static_cast<std::size_t>(i)];
        const QString texts[3] = {row.name, FormatCompareValue(row.constant), FormatCompareValue(row.refined)};
        for (int column = 0; column < 3; ++column) {
            auto *cell = new QTableWidgetItem(texts[column]);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(column == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                               : (Qt::AlignRight | Qt::AlignVCenter));
            StringGrid1->setItem(i, column, cell);
        }
    }
    StringGrid1->setCurrentItem(nullptr);
}

void CompareForm::fillChart()
{
    const bool bar = m_shown.input.bar;
    const std::vector<Curve> curves =
        bar ? std::vector<Curve>{{1, "To", kSkyBlue, kBlue}, {2, "Tw", kOrange, kRed},
                                 {3, "Th", kTurquoise, kTeal}, {0, "I", kGreen, kBlack}}
            : std::vector<Curve>{{1, "To", kSkyBlue, kBlue}, {2, "Tr", kOrange, kRed}, {0, "I", kGreen, kBlack}};
    const double startTemp = bar ? m_shown.input.xy.startTemp : m_shown.input.rz.startTemp;

    // The points of a model: the start of the heating (time 0, the start
    // temperature, the current at the start), then its 50 history rows.
    struct Model {
        bool refined;
        QString name;
        std::function<double(int point, int column)> value; // column 0: the time, -1: the current
    };
    std::vector<Model> models;
    const ConstantRun &k = m_shown.constant;
    if (k.completed) {
        const double current = bar ? k.xy.current : k.rz.current;
        models.push_back({false, QStringLiteral("constant properties"), [&k, current, startTemp](int i, int c) {
                              if (c < 0)
                                  return current;
                              if (i == 0)
                                  return c == 0 ? 0.0 : startTemp;
                              return k.history[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c)];
                          }});
    }
    const RefinedResult &r = m_shown.refined;
    if (r.status == RefinedStatus::Reached) {
        models.push_back({true, QStringLiteral("temperature-dependent"), [&r, startTemp](int i, int c) {
                              if (i == 0)
                                  return c < 0 ? r.currentStart : c == 0 ? 0.0 : startTemp;
                              const RefinedRow &row = r.history[static_cast<std::size_t>(i - 1)];
                              return c < 0 ? row.current : row.temperatures[static_cast<std::size_t>(c)];
                          }});
    }

    // Per model the times, then each curve drawn against them.
    const int columnsPerModel = 1 + static_cast<int>(curves.size());
    constexpr int kPoints = kHistoryRows + 1;
    VxChartBaseLineArray &lines = *VxUniChart2D1->MainField()->Lines();
    lines.SetLineCount(static_cast<int>(models.size()) * columnsPerModel);
    lines.SetPointCount(kPoints);
    int first = 0;
    for (const Model &model : models) {
        VxChartBaseLine &times = *lines.Line(first);
        times.SetDataType(vxcldXData);
        for (int i = 0; i < kPoints; ++i)
            times.Data()[i] = model.value(i, 0);
        for (std::size_t c = 0; c < curves.size(); ++c) {
            const Curve &curve = curves[c];
            const bool current = curve.column == 0;
            VxChartBaseLine &line = *lines.Line(first + 1 + static_cast<int>(c));
            for (int i = 0; i < kPoints; ++i)
                line.Data()[i] = model.value(i, current ? -1 : curve.column);
            line.SetDataType(current ? vxcldY2Data : vxcldYData);
            line.SetXLine(first);
            line.SetErrorStyle(vxcesNone);
            line.SetLineStyle(vxclsLine);
            const QColor colour = model.refined ? curve.refinedColor : curve.constantColor;
            line.SetLineColor(colour);
            line.SetPointColor(colour);
            line.SetPointStyle(vxcpsNone);
            line.SetPointSize(kPointSize); // the size of the legend's samples
            line.SetLineName(QString::fromLatin1(curve.name) + QLatin1Char(' ') + model.name);
        }
        first += columnsPerModel;
    }
    VxUniChart2D1->AutoScale(kScaleMargin);
    placeCaptions();
}

void CompareForm::placeCaptions()
{
    TVxUniChart2D &chart = *VxUniChart2D1;
    const VxChartBaseAxisClassData &xAxis = *chart.XAxis();
    const VxChartBaseAxisClassData &yAxis = *chart.YAxis();
    const VxChartBaseAxisClassData &yAxis2 = *chart.YAxis2();
    VxChartBaseTextClassData &xCaption = *chart.XCaption();
    VxChartBaseTextClassData &yCaption = *chart.YCaption();
    VxChartBaseTextClassData &yCaption2 = *chart.YCaption2();
    xCaption.SetLeft(xAxis.Left() + xAxis.Width() / 2 - xCaption.Width() / 2);
    xCaption.SetTop(xAxis.Top() + xAxis.Height() + kCaptionGap);
    yCaption.SetLeft(std::max(yAxis.Left() - yCaption.Width() - kCaptionGap, 0));
    yCaption.SetTop(yAxis.Top() + yAxis.Height() / 2 - yCaption.Height() / 2);
    yCaption2.SetLeft(yAxis2.Left() + yAxis2.Width() + kCaptionGap);
    yCaption2.SetTop(yAxis2.Top() + yAxis2.Height() / 2 - yCaption2.Height() / 2);
}

void CompareForm::Button1Click()
{
    hide();
}

void CompareForm::Button2Click()
{
    if (m_run.running())
        return;
    ComparePage page;
    page.title = caption();
    page.inputNames = inputNames();
    page.inputValues = inputValues();
    if (m_hasShown) {
        page.rows = CompareRows(m_shown);
        page.notes = CompareNotes(m_shown, m_shownTable, material());
    }
    page.chart = VxUniChart2D1->CreateBitmap();
    m_report.Fill(page);
    m_program.desktop.previewReport(m_report);
}

void CompareForm::Button3Click()
{
    if (m_run.running() || !m_program.desktop.openFileDialog(OpenDialogcsv))
        return;
    const PropertyTableRead read = LoadPropertyTable(LocalPath(OpenDialogcsv.fileName));
    if (!read.ok) {
        // The table in use stays.
        m_program.desktop.messageBox(QStringLiteral("Execution Error"), QString::fromStdString(read.message));
        return;
    }
    m_table = read.table;
    setEmissivity(m_table.emissivity);
    startRun();
}

void CompareForm::Button4Click()
{
    m_run.cancel();
}

void CompareForm::Button5Click()
{
    if (!m_run.running())
        startRun();
}

void CompareForm::Edit1Exit()
{
    const QString text = Edit1->text();
    // Dealt with already: the value shown, or a text refused just now
    // (a message box taking the focus ends the editing a second time).
    if (text == m_shownEmissivity || text == m_refusedEmissivity)
        return;
    double value = 0;
    if (!ParseRegionalNumber(text, value)) {
        m_refusedEmissivity = text;
        m_program.desktop.messageBox(QStringLiteral("Input Error"), QStringLiteral("Incorrect numerical format"));
        return;
    }
    if (!(value >= 0 && value <= 1)) {
        m_refusedEmissivity = text;
        m_program.desktop.messageBox(QStringLiteral("Input Error"),
                                     QStringLiteral("Emissivity must be a number from 0 to 1"));
        return;
    }
    m_shownEmissivity = text;
    m_refusedEmissivity.clear();
    if (value == m_emissivity)
        return;
    m_emissivity = value;
    startRun();
}

// The xy window.

TForm9::TForm9(Program &program, QWidget *parent) : CompareForm(program, parent)
{
    setObjectName(QStringLiteral("Form9"));
}

QString TForm9::caption() const
{
    return QStringLiteral("Constant and temperature-dependent properties, xy geometry");
}

CompareCase TForm9::currentCase() const
{
    CompareCase c;
    c.bar = true;
    c.xy = m_program.state.dataXY;
    return c;
}

QString TForm9::material() const
{
    return MaterialText(m_program.state.dataXY.name);
}

QStringList TForm9::inputNames() const
{
    return InputNamesXY();
}

QStringList TForm9::inputValues() const
{
    QStringList values{material()};
    for (auto field : kDataXYNumbers)
        values << FormatGeneral(m_program.state.dataXY.*field, 15);
    return values;
}

} // namespace resheat::ui
