#include "ui/u9.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
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
#include "ui/ChartMarks.h"
#include "ui/ErrorReport.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u1.h"
#include "ui/u5.h"
#include "ui/WindowPlacement.h"

namespace resheat::ui {

namespace {

// Window layout: the inputs along the top, the table and the notes on the
// left, the chart on the right taking what the window gives, the run's
// progress and the buttons along the bottom.  The minimum leaves room for
// a panel on a 1024 x 768 screen; a smaller screen scrolls.
constexpr QSize kPreferredSize{1080, 700};
constexpr int kGridNameWidth = 196;
constexpr int kGridValueWidth = 118;
constexpr int kGridRowHeight = 20;
constexpr int kGridHeadingHeight = 36; // two lines
constexpr int kGridMinHeight = 160;
constexpr int kMemoMinHeight = 90;
constexpr int kEmissivityWidth = 90;
constexpr QSize kChartMinSize{480, 520};
constexpr int kProgressWidth = 220;
// Room kept around a control scrolled into view (its label beside it).
constexpr int kFocusMargin = 120;
// A window frame the window manager has not drawn yet is taken as this.
constexpr QSize kAssumedFrame{10, 36};

constexpr int kScreenLeft = 20;
constexpr int kScreenTop = 20;

// The chart: the plotting field on the panel, the temperature axis on its
// left, the current axis on its right, the legend above the field's right
// end.  The field takes the panel but for room for the axes' labels and
// captions, and starts below the legend, whatever its length.
const QColor kChartColor(160, 160, 160);
const QColor kFieldColor(213, 213, 213);
constexpr int kFieldLeft = 64;
constexpr int kFieldRightRoom = 64;
constexpr int kFieldBottomRoom = 63;
constexpr QRect kField{kFieldLeft, 196, 443, 244}; // on the chart of the first size
constexpr int kChartFirstWidth = 588;
constexpr int kChartFirstHeight = 520;
constexpr int kAxisEndShift = 12;
constexpr int kWantedTicks = 5;
constexpr int kCaptionGap = 2;
constexpr int kLegendTop = 4;
constexpr int kLegendRight = 4;  // from the panel's right edge
constexpr int kLegendGap = 6;    // between the legend and the axes' tops
constexpr double kScaleMargin = 10.0;
constexpr int kPointSize = 5;

// The marks: each model's heating time and the finish temperature.
const QColor kConstantTimeColor(170, 120, 230);
const QColor kRefinedTimeColor(90, 0, 150);
const QColor kFinishColor(200, 0, 120);

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

QPushButton *MakeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
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
    setModal(false);
    setSizeGripEnabled(true);
    setFont(WindowFont());

    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("content"));

    StringGrid1 = new QTableWidget(0, 3, m_content);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StringGrid1->setWordWrap(false);
    // Tab leaves the table; the arrow keys move inside it.
    StringGrid1->setTabKeyNavigation(false);
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
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The three columns and the scroll bar, whatever the window's width.
    StringGrid1->setFixedWidth(kGridNameWidth + 2 * kGridValueWidth + 2 * StringGrid1->frameWidth() +
                               StringGrid1->verticalScrollBar()->sizeHint().width());
    StringGrid1->setMinimumHeight(kGridMinHeight);

    Memo1 = new QPlainTextEdit(m_content);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setTabChangesFocus(true);
    Memo1->setMinimumHeight(kMemoMinHeight);

    Label1 = new QLabel(m_content);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(m_content);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(kEmissivityWidth);
    connect(Edit1, &QLineEdit::editingFinished, this, [this] { runGuarded([this] { Edit1Exit(); }); });

    setUpChart();

    ProgressBar1 = new QProgressBar(m_content);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, CompareRun::kProgressSteps);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedWidth(kProgressWidth);
    // The bar's place stays taken while it is hidden, so nothing moves.
    QSizePolicy keepPlace = ProgressBar1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    ProgressBar1->setSizePolicy(keepPlace);
    Label2 = new QLabel(m_content);
    Label2->setObjectName(QStringLiteral("Label2"));

    Button1 = MakeButton(m_content, "Button1");
    Button2 = MakeButton(m_content, "Button2");
    Button3 = MakeButton(m_content, "Button3");
    Button4 = MakeButton(m_content, "Button4");
    Button5 = MakeButton(m_content, "Button5");
    connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { runGuarded([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { runGuarded([this] { Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { runGuarded([this] { Button5Click(); }); });

    // Along the top: what the next run takes, then the commands that start
    // it.  Further input boxes go in with addInput.
    InputRow = new QHBoxLayout;
    InputRow->addWidget(Button3);
    InputRow->addWidget(Button5);
    InputRow->addStretch(1);
    addInput(Label1, Edit1);

    auto *left = new QVBoxLayout;
    left->addWidget(StringGrid1, 3);
    left->addWidget(Memo1, 2);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 0);
    middle->addWidget(VxUniChart2D1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1);
    bottom->addWidget(Button4);
    bottom->addWidget(Label2, 1);
    bottom->addWidget(Button2);
    bottom->addSpacing(16);
    bottom->addWidget(Button1);

    auto *rows = new QVBoxLayout(m_content);
    rows->addLayout(InputRow);
    rows->addLayout(middle, 1);
    rows->addLayout(bottom);

    // A screen too small for the window scrolls its content.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollArea1"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    // Only the controls take the focus; the area scrolls to the one that has it.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);
    // The control that takes the focus, by the keyboard or from the window
    // (Cancel during a run, the first input afterwards), scrolls into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_content->isAncestorOf(now))
            m_scroll->ensureWidgetVisible(now, kFocusMargin, kFocusMargin / 4);
    });

    // Tab order: the inputs and the commands above the table, the table,
    // the notes, then the buttons along the bottom.
    setTabOrder(Button5, StringGrid1);
    setTabOrder(StringGrid1, Memo1);
    setTabOrder(Memo1, Button4);
    setTabOrder(Button4, Button2);
    setTabOrder(Button2, Button1);

    connect(&m_run, &CompareRun::progressed, ProgressBar1, &QProgressBar::setValue);
    connect(&m_run, &CompareRun::finished, this, [this] { runGuarded([this] { runFinished(); }); });
    setRunning(false);
}

void CompareForm::addInput(QLabel *label, QLineEdit *box)
{
    // Before the commands, after the inputs already there.
    const int at = static_cast<int>(m_inputs.size()) * 3;
    InputRow->insertWidget(at, label);
    InputRow->insertWidget(at + 1, box);
    InputRow->insertSpacing(at + 2, 12);
    label->setBuddy(box);
    QWidget *previous = m_inputs.empty() ? nullptr : m_inputs.back();
    if (previous)
        setTabOrder(previous, box);
    setTabOrder(box, Button3);
    m_inputs.push_back(box);
}

QSize CompareForm::sizeHint() const
{
    return kPreferredSize;
}

void CompareForm::fitToScreen()
{
    // Frame and screen as far as known; the minimum is the content's, but
    // never more than the screen holds beside the window's place.
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect available = where->availableGeometry();
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty())
        frame = kAssumedFrame;
    const QSize room = available.size() - frame - QSize(kScreenLeft, kScreenTop);
    const QSize content = m_content->minimumSizeHint();
    setMinimumSize(content.boundedTo(room));
    if (!m_sized) {
        resize(kPreferredSize.expandedTo(minimumSize()).boundedTo(room.expandedTo(minimumSize())));
        m_sized = true;
    }
}

CompareForm::~CompareForm()
{
    // Closing the dialog moves the focus away from the emissivity box once
    // this part of the object is gone; nothing may call back into it then.
    QObject::disconnect(Edit1, nullptr, this, nullptr);
    QObject::disconnect(qApp, nullptr, this, nullptr);
}

void CompareForm::setUpChart()
{
    VxUniChart2D1 = new TVxUniChart2D(m_content);
    TVxUniChart2D &chart = *VxUniChart2D1;
    chart.setObjectName(QStringLiteral("VxUniChart2D1"));
    // Laid out for this size; the chart moves its elements along when the
    // window gives it another.
    chart.resize(kChartFirstWidth, kChartFirstHeight);
    chart.setMinimumSize(kChartMinSize);
    chart.SetColor(kChartColor);
    // The window places the field on every change of size (the axes follow
    // it), below a legend whose height changes with its lines.
    chart.SetResizeReaction(vxcrrNone);

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
    yAxis2.SetAxisType(vxcbatVertical);
    VxChartBaseLinesClassData &field = *chart.MainField();
    field.SetColor(kFieldColor);
    field.SetShowGrid(false);
    field.Lines()->SetListName(QString());
    placeField(kField);

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
    // The chart places captions and legend by its own rules when something
    // changes size; this window puts them back where it wants them.
    connect(&chart, &TVxUniChart2D::Rearranged, this, [this] { placeChartElements(); });
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
    fitToScreen();
    PlaceWindowFrame(*this, QPoint(kScreenLeft, kScreenTop));
    setWindowTitle(caption());
    Label1->setText(QStringLiteral("&Emissivity [-]"));
    Button1->setText(QStringLiteral("&Close"));
    Button2->setText(QStringLiteral("&Print"));
    Button3->setText(QStringLiteral("&Load property table..."));
    Button4->setText(QStringLiteral("Ca&ncel"));
    Button5->setText(QStringLiteral("C&alculate"));
    // The keyboard starts at the first input, above the table (taken back
    // there when the run that starts now ends).
    Edit1->setFocus(Qt::OtherFocusReason);
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
    // What waits during a run cannot keep the focus: it goes to Cancel and
    // comes back when the run ends, unless the user has moved it since.
    std::vector<QWidget *> waiting(m_inputs.begin(), m_inputs.end());
    waiting.insert(waiting.end(), {Button2, Button3, Button5});
    QWidget *focus = focusWidget();
    if (running && std::find(waiting.begin(), waiting.end(), focus) != waiting.end()) {
        m_focusBeforeRun = focus;
        Button4->setEnabled(true);
        Button4->setFocus(Qt::OtherFocusReason);
    }
    const bool cancelHadFocus = focus == Button4;
    Button4->setEnabled(running);
    for (QWidget *control : waiting)
        control->setEnabled(!running);
    ProgressBar1->setVisible(running);
    if (!running) {
        if (cancelHadFocus && m_focusBeforeRun)
            m_focusBeforeRun->setFocus(Qt::OtherFocusReason);
        m_focusBeforeRun = nullptr;
    }
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
    VxUniChart2D1->RebuildLegend();
    placeChartElements();
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

    // What the chart marks: the heating time of each model that has one and
    // the finish temperature.
    std::vector<ChartMark> marks;
    if (k.completed) {
        const double time = bar ? k.xy.heatingTime : k.rz.heatingTime;
        marks.push_back(
            {true, time, kConstantTimeColor, HeatingTimeText(time) + QStringLiteral(", constant properties")});
    }
    if (r.status == RefinedStatus::Reached)
        marks.push_back({true, r.heatingTime, kRefinedTimeColor,
                         HeatingTimeText(r.heatingTime) + QStringLiteral(", temperature-dependent")});
    if (!models.empty()) {
        const double finish = bar ? m_shown.input.xy.finishTemp : m_shown.input.rz.finishTemp;
        marks.push_back({false, finish, kFinishColor, FinishTemperatureText(finish)});
    }

    // Per model the times, then each curve drawn against them; the marks
    // after them.
    const int columnsPerModel = 1 + static_cast<int>(curves.size());
    const int firstMark = static_cast<int>(models.size()) * columnsPerModel;
    constexpr int kPoints = kHistoryRows + 1;
    VxChartBaseLineArray &lines = *VxUniChart2D1->MainField()->Lines();
    lines.SetLineCount(firstMark + 2 * static_cast<int>(marks.size()));
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
    SetMarkColumns(lines, firstMark, marks, kPointSize);
    VxUniChart2D1->AutoScale(kScaleMargin);
    SpanMarks(*VxUniChart2D1, firstMark, marks);
    // The legend's size comes with its text; the field goes below it.
    VxUniChart2D1->RebuildLegend();
    placeChartElements();
}

void CompareForm::placeChartElements()
{
    TVxUniChart2D &chart = *VxUniChart2D1;
    VxChartBaseTextClassData &legend = *chart.LinesField();
    const QSize panel = chart.Panel()->size();
    legend.SetLeft(std::max(panel.width() - legend.Width() - kLegendRight, 0));
    legend.SetTop(kLegendTop);

    // The axes' upper ends (and the factor labels there) just below the
    // legend; the axes follow the field.
    VxChartBaseLinesClassData &field = *chart.MainField();
    const int top = legend.Top() + legend.Height() + kLegendGap + kAxisEndShift;
    const QRect wanted(kFieldLeft, top, std::max(panel.width() - kFieldLeft - kFieldRightRoom, 1),
                       std::max(panel.height() - kFieldBottomRoom - top, 1));
    if (QRect(field.Left(), field.Top(), field.Width(), field.Height()) != wanted)
        placeField(wanted);
    PlaceAxisCaptions(chart, kCaptionGap);
}

void CompareForm::placeField(const QRect &place)
{
    // The axes cross at the field's lower left corner, the current axis
    // stands at its right edge; each reaches a little beyond the field.
    TVxUniChart2D &chart = *VxUniChart2D1;
    const int bottom = place.top() + place.height();
    VxChartBaseAxisClassData &xAxis = *chart.XAxis();
    xAxis.SetLength(place.width() + kAxisEndShift);
    xAxis.SetCenterPointLeft(place.left());
    xAxis.SetCenterPointTop(bottom);
    for (VxChartBaseAxisClassData *axis : {chart.YAxis(), chart.YAxis2()}) {
        axis->SetLength(place.height() + kAxisEndShift);
        axis->SetCenterPointLeft(axis == chart.YAxis() ? place.left() : place.left() + place.width());
        axis->SetCenterPointTop(bottom);
    }
    chart.MainField()->Control()->SetBounds(place.left(), place.top(), place.width(), place.height());
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
        // The table in use stays; the message says which file and line.
        const QString file = QDir::toNativeSeparators(OpenDialogcsv.fileName);
        QString message = QString::fromStdString(read.message);
        if (!message.contains(file))
            message = file + QStringLiteral(": ") + message;
        m_program.desktop.messageBox(QStringLiteral("Execution Error"), message);
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
    // A refused text goes back to the value in use, so that the box never
    // shows a value the results are not for.
    auto refuse = [this, &text](const QString &message) {
        m_refusedEmissivity = text;
        m_program.desktop.messageBox(QStringLiteral("Input Error"), message);
        Edit1->setText(m_shownEmissivity);
        m_refusedEmissivity.clear();
    };
    double value = 0;
    if (!ParseRegionalNumber(text, value)) {
        refuse(QStringLiteral("Incorrect numerical format"));
        return;
    }
    if (!(value >= 0 && value <= 1)) {
        refuse(QStringLiteral("Emissivity must be a number from 0 to 1"));
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
