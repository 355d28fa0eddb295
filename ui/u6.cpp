#include "ui/u6.h"

#include "chart/VxUniChart2D.h"
#include "ui/ChartMarks.h"
#include "ui/ErrorReport.h"
#include "ui/ImageBox.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u1.h"
#include "ui/u5.h"
#include "ui/u7.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyleOptionHeader>
#include <algorithm>

// The sketches live in a static library; make sure they are linked in.
static void InitGraphicsResources()
{
    Q_INIT_RESOURCE(graphics);
}

namespace resheat::ui {

namespace {

// Window layout in pixels.
constexpr int kWidth = 759;
constexpr int kHeight = 554;
constexpr QRect kChart{16, 24, 441, 369};
constexpr QRect kGrid{472, 24, 265, 361};
constexpr int kGridColumnWidth = 130;
constexpr int kGridRowHeight = 24;
constexpr int kRadioLeft = 56;
constexpr int kRadioTops[3] = {408, 432, 456};
constexpr int kRadioWidth = 289;
constexpr int kRadioHeight = 17;
constexpr int kSketchLeft = 368;
constexpr int kSketchTop = 408;
constexpr int kSketchHeight = 113;
constexpr QRect kCloseButton{624, 408, 105, 25};
constexpr QRect kPrintButton{56, 488, 225, 25};
// "Classic formulas", above the chart.
constexpr QRect kFormulas{16, 4, 300, 17};

// The chart: panel colour, the plotting field on the panel, the axes along
// its left and bottom edges with their arrows a little beyond it.
const QColor kChartColor(160, 160, 160);
const QColor kFieldColor(213, 213, 213);
constexpr QRect kField{58, 16, 350, 278};
constexpr int kAxisBeginShift = 0;
constexpr int kAxisEndShift = 12;
constexpr int kWantedTicks = 5;
constexpr int kPointSize = 6;
constexpr double kScaleMargin = 10.0;   // per cent of the data span on each side
constexpr int kCaptionGap = 2;          // between an axis caption and its axis
constexpr int kLegendInset = 4;         // between the legend and the field's edge

// The marks: the heating time (a vertical line) and the finish temperature
// (a horizontal one), from column 2 on.
constexpr int kFirstMarkColumn = 2;
const QColor kHeatingTimeColor(0, 0, 0);
const QColor kFinishTemperatureColor(160, 0, 160);
const QColor kLegendColor(235, 235, 235);

constexpr int kScreenLeft = 20;
constexpr int kScreenTop = 20;

const QString kTimeHeading = QStringLiteral("Time [s]");
const QString kTemperatureHeading = QStringLiteral("Temperature [oC]");

QFont PixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont WindowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans")});
    font.setPixelSize(13);
    return font;
}

} // namespace

QString FormatTableNumber(double value)
{
    return FormatFixedSignificant(value, 5, 1);
}

QString WithoutMnemonic(const QString &caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" stands for one '&'
        plain += caption[i];
    }
    return plain;
}

std::vector<PointChoice> PointChoicesXY()
{
    return {
        {QStringLiteral("Temperature &To"), 1, QStringLiteral("To [oC]"), QColor(0, 0, 255), QColor(0, 0, 127),
         QColor(0, 0, 96)},
        {QStringLiteral("Temperature T&w"), 2, QStringLiteral("Tw [oC]"), QColor(255, 0, 0), QColor(127, 0, 0),
         QColor(96, 0, 0)},
        {QStringLiteral("Temperature T&h"), 3, QStringLiteral("Th [oC]"), QColor(0, 127, 127),
         QColor(0, 127, 0), QColor(0, 96, 0)},
    };
}

std::vector<PointChoice> PointChoicesRZ()
{
    return {
        {QStringLiteral("Temperature &To"), 1, QStringLiteral("To [oC]"), QColor(0, 0, 255), QColor(0, 0, 127),
         QColor(0, 0, 96)},
        {QStringLiteral("Temperature T&r"), 2, QStringLiteral("Tr [oC]"), QColor(255, 0, 0), QColor(127, 0, 0),
         QColor(96, 0, 0)},
    };
}

// ---------------------------------------------------------------------------
// The table

// The heading of the time column: a header section of its own in the
// table's corner, where neither header reaches.
class HistoryGrid::HeadingCell : public QWidget {
public:
    explicit HeadingCell(QWidget *parent) : QWidget(parent) {}

    QString text;
    Qt::Alignment alignment = Qt::AlignCenter;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = rect();
        option.text = text;
        option.textAlignment = alignment;
        option.orientation = Qt::Horizontal;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
        QPainter painter(this);
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
};

// The times are the sections of the vertical header, which stays beside
// the temperatures whatever the sideways scroll; the heading row is the
// horizontal header, which stays on top.
HistoryGrid::HistoryGrid(QWidget *parent) : QTableWidget(0, 1, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    QHeaderView *times = verticalHeader();
    times->setSectionResizeMode(QHeaderView::Fixed);
    times->setMinimumSectionSize(kGridRowHeight);
    times->setDefaultSectionSize(kGridRowHeight);
    times->setFixedWidth(kGridColumnWidth);
    times->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    times->setSectionsClickable(false);
    times->setHighlightSections(false);

    QHeaderView *heading = horizontalHeader();
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setFixedHeight(kGridRowHeight);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    setColumnWidth(0, kGridColumnWidth);
    setHorizontalHeaderLabels({QString()});

    m_timeHeading = new HeadingCell(this);
    m_timeHeading->alignment = heading->defaultAlignment();
}

int HistoryGrid::ColWidths(int column) const
{
    if (column == 0)
        return verticalHeader()->width();
    return column == 1 ? columnWidth(0) : 0;
}

void HistoryGrid::SetRowCount(int rows)
{
    setRowCount(std::max(rows - 1, 0));
}

QString HistoryGrid::Cells(int column, int row) const
{
    const QTableWidgetItem *cell = nullptr;
    if (column == 0 && row == 0)
        return m_timeHeading->text;
    if (column == 0)
        cell = verticalHeaderItem(row - 1);
    else if (row == 0)
        cell = horizontalHeaderItem(column - 1);
    else
        cell = item(row - 1, column - 1);
    return cell ? cell->text() : QString();
}

void HistoryGrid::SetCells(int column, int row, const QString &text)
{
    if (column < 0 || column >= ColCount() || row < 0 || row >= RowCount())
        return;
    if (column == 0 && row == 0) {
        m_timeHeading->text = text;
        m_timeHeading->update();
    } else if (column == 0) {
        if (QTableWidgetItem *time = verticalHeaderItem(row - 1))
            time->setText(text);
        else
            setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (row == 0) {
        setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
    } else {
        QTableWidgetItem *cell = item(row - 1, column - 1);
        if (!cell) {
            cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            setItem(row - 1, column - 1, cell);
        }
        cell->setText(text);
    }
}

QString HistoryGrid::SelectedText() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return {};
    int top = ranges.first().topRow(), bottom = ranges.first().bottomRow();
    for (const QTableWidgetSelectionRange &range : ranges) {
        top = std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
    }
    QStringList lines;
    for (int row = top; row <= bottom; ++row) {
        const QTableWidgetItem *cell = item(row, 0);
        lines << Cells(0, row + 1) + QLatin1Char('\t') + (cell && cell->isSelected() ? cell->text() : QString());
    }
    return lines.join(QLatin1Char('\n'));
}

void HistoryGrid::CopySelection()
{
    const QString text = SelectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void HistoryGrid::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        CopySelection();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void HistoryGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    if (!m_timeHeading)
        return; // still being built
    const QRect times = verticalHeader()->geometry();
    const QRect heading = horizontalHeader()->geometry();
    m_timeHeading->setGeometry(times.left(), heading.top(), times.width(), heading.height());
    m_timeHeading->raise();
}

// ---------------------------------------------------------------------------
// The window

GraphicResultsForm::GraphicResultsForm(Program &program, GraphicReportForm &report,
                                       std::vector<PointChoice> choices, const QString &sketch,
                                       int sketchWidth, QWidget *parent)
    : QDialog(parent), m_program(program), m_report(report), m_choices(std::move(choices))
{
    InitGraphicsResources();
    setFixedSize(kWidth, kHeight);
    setModal(false);
    setSizeGripEnabled(false);
    setFont(WindowFont());

    setUpChart();
    copyChartToClipboard = [this] { VxUniChart2D1->CopyToClipboard(); };

    StringGrid1 = new HistoryGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(kGrid);
    // Tab leaves the table; the arrow keys move inside it.
    StringGrid1->setTabKeyNavigation(false);

    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        auto *radio = new QRadioButton(this);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setGeometry(kRadioLeft, kRadioTops[i], kRadioWidth, kRadioHeight);
        // Selecting a button, by a click or from code, runs its handler.
        connect(radio, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                runGuarded([this, i] { choiceClick(static_cast<int>(i)); });
        });
        m_radios.push_back(radio);
    }
    RadioButton1 = m_radios[0];
    RadioButton2 = m_radios[1];
    RadioButton3 = m_radios.size() > 2 ? m_radios[2] : nullptr;
    // Selected at creation; nothing to show yet.
    RadioButton1->blockSignals(true);
    RadioButton1->setChecked(true);
    RadioButton1->blockSignals(false);

    Image1 = new ImageBox(sketch, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kSketchLeft, kSketchTop, sketchWidth, kSketchHeight);

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kCloseButton);
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kPrintButton);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kFormulas);
    QFont formulasFont = font();
    formulasFont.setBold(true);
    Label1->setFont(formulasFont);
    Label1->hide();

    connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });

    // Tab order: the point choice (the arrow keys pick the point), the print
    // button under it, Close, then the table.
    setTabOrder(m_radios.back(), Button2);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, StringGrid1);
}

void GraphicResultsForm::setUpChart()
{
    VxUniChart2D1 = new TVxUniChart2D(this);
    TVxUniChart2D &chart = *VxUniChart2D1;
    chart.setObjectName(QStringLiteral("VxUniChart2D1"));
    chart.setGeometry(kChart);
    chart.SetColor(kChartColor);

    // Axes: Times New Roman bold, black figures, white lines, five ticks
    // and no minor ones.  The x axis runs along the bottom of the field and
    // the y axis up its left side.
    const QFont axisFont = PixelFont(QStringLiteral("Times New Roman"), 15, true);
    VxChartBaseAxisClassData &xAxis = *chart.XAxis();
    VxChartBaseAxisClassData &yAxis = *chart.YAxis();
    for (VxChartBaseAxisClassData *axis : {&xAxis, &yAxis}) {
        axis->SetVisible(true);
        axis->SetFont(axisFont);
        axis->SetFontColor(Qt::black);
        axis->SetColor(Qt::white);
        axis->SetScaleStyle(vxcbasLinear);
        axis->SetWantedTicks(kWantedTicks);
        axis->SetMinorTicks(0);
        axis->SetEndShift(kAxisEndShift);
        axis->SetBeginShift(kAxisBeginShift);
    }
    xAxis.SetLength(kField.width() + kAxisBeginShift + kAxisEndShift);
    xAxis.SetCenterPointLeft(kField.left() - kAxisBeginShift);
    xAxis.SetCenterPointTop(kField.top() + kField.height() + kAxisBeginShift);
    yAxis.SetLength(kField.height() + kAxisBeginShift + kAxisEndShift);
    yAxis.SetCenterPointLeft(kField.left() - kAxisBeginShift);
    yAxis.SetCenterPointTop(kField.top() + kField.height() + kAxisBeginShift);

    VxChartBaseLinesClassData &field = *chart.MainField();
    field.SetColor(kFieldColor);
    field.SetShowGrid(false);
    field.Control()->SetBounds(kField.left(), kField.top(), kField.width(), kField.height());

    // Captions: "t [s]" underlined below the x axis, the y caption turned
    // left of the y axis; its text comes with the point shown.
    VxChartBaseTextClassData &xCaption = *chart.XCaption();
    xCaption.SetText(QStringLiteral("<U>t [s]"));
    xCaption.SetFont(PixelFont(QStringLiteral("Arial"), 13));
    xCaption.SetTextOrientation(vxcbto_0_Degrees);
    VxChartBaseTextClassData &yCaption = *chart.YCaption();
    yCaption.SetFont(PixelFont(QStringLiteral("Arial"), 13));
    yCaption.SetTextOrientation(vxcbto_90_Degrees);
    placeCaptions();

    chart.YAxis2()->SetVisible(false);
    chart.YCaption2()->SetVisible(false);
    chart.MainCaption()->SetVisible(false);
    chart.UserTextField()->SetVisible(false);

    // The legend names the point and gives the heating time and the finish
    // temperature; it lies in the field, over a light background of its own.
    VxChartBaseTextClassData &legend = *chart.LinesField();
    legend.SetFont(PixelFont(QStringLiteral("Arial"), 12));
    legend.SetColor(kLegendColor);
    legend.SetTransparent(false);
    legend.SetBorderStyle(vxcbbsSimple);
    legend.SetOuterGap(0);
    legend.SetInnerGap(3);
    legend.SetVisible(true);
    field.Lines()->SetListName(QString());
    // The chart places its captions and legend by its own rules when
    // something changes size; this window puts them back where it wants.
    connect(&chart, &TVxUniChart2D::Rearranged, this, [this] { placeCaptions(); });

    // The user looks at the chart; its elements cannot be moved or edited.
    chart.setEnabled(false);
}

void GraphicResultsForm::placeCaptions()
{
    PlaceAxisCaptions(*VxUniChart2D1, kCaptionGap);
    PlaceLegendInField(*VxUniChart2D1, kLegendInset);
}

QRadioButton *GraphicResultsForm::radioButton(int index) const
{
    return index >= 0 && index < static_cast<int>(m_radios.size()) ? m_radios[static_cast<std::size_t>(index)]
                                                                    : nullptr;
}

int GraphicResultsForm::selectedChoice() const
{
    for (std::size_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

const ProgramState &GraphicResultsForm::programState() const
{
    return m_program.state;
}

void GraphicResultsForm::runGuarded(const std::function<void()> &handler)
{
    RunGuarded(m_program.desktop, handler);
}

void GraphicResultsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void GraphicResultsForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void GraphicResultsForm::ShowPointHistory(int column, const QString &caption, const QColor &lineColor,
                                          const QColor &pointColor, const QColor &errorColor)
{
    const History &rows = history();

    StringGrid1->SetRowCount(kHistoryRows + 1);
    StringGrid1->SetCells(0, 0, kTimeHeading);
    StringGrid1->SetCells(1, 0, kTemperatureHeading);
    for (int i = 1; i <= kHistoryRows; ++i) {
        const HistoryRow &row = rows[static_cast<std::size_t>(i - 1)];
        StringGrid1->SetCells(0, i, FormatTableNumber(row[0]));
        StringGrid1->SetCells(1, i, FormatTableNumber(row[static_cast<std::size_t>(column)]));
    }

    // The lines: time as x data, the temperature drawn against it, then the
    // marks of the heating time and the finish temperature.
    const std::vector<ChartMark> marks{
        {true, heatingTime(), kHeatingTimeColor, HeatingTimeText(heatingTime())},
        {false, finishTemperature(), kFinishTemperatureColor, FinishTemperatureText(finishTemperature())},
    };
    VxChartBaseLineArray &lines = *VxUniChart2D1->MainField()->Lines();
    lines.SetLineCount(kFirstMarkColumn + 2 * static_cast<int>(marks.size()));
    lines.SetPointCount(kHistoryRows);
    VxChartBaseLine &times = *lines.Line(0);
    VxChartBaseLine &temperatures = *lines.Line(1);
    times.SetDataType(vxcldXData);
    temperatures.SetErrorStyle(vxcesNone);
    temperatures.SetDataType(vxcldYData);
    for (int i = 0; i < kHistoryRows; ++i) {
        const HistoryRow &row = rows[static_cast<std::size_t>(i)];
        times.Data()[i] = row[0];
        temperatures.Data()[i] = row[static_cast<std::size_t>(column)];
    }

    VxChartBaseTextClassData &yCaption = *VxUniChart2D1->YCaption();
    yCaption.SetText(caption);
    yCaption.SetFont(VxUniChart2D1->XCaption()->Font());

    temperatures.SetLineColor(lineColor);
    temperatures.SetPointColor(pointColor);
    temperatures.SetErrorColor(errorColor);
    temperatures.SetPointSize(kPointSize);
    temperatures.SetXLine(0);
    for (const PointChoice &choice : m_choices)
        if (choice.column == column)
            temperatures.SetLineName(WithoutMnemonic(choice.radioCaption));
    SetMarkColumns(lines, kFirstMarkColumn, marks, kPointSize);

    VxUniChart2D1->AutoScale(kScaleMargin);
    SpanMarks(*VxUniChart2D1, kFirstMarkColumn, marks);
    // The legend's size comes with its text.
    VxUniChart2D1->RebuildLegend();
    placeCaptions();
}

void GraphicResultsForm::choiceClick(int index)
{
    const PointChoice &choice = m_choices[static_cast<std::size_t>(index)];
    ShowPointHistory(choice.column, choice.yCaption, choice.lineColor, choice.pointColor, choice.errorColor);
    update();
}

void GraphicResultsForm::RadioButton1Click()
{
    choiceClick(0);
}

void GraphicResultsForm::RadioButton2Click()
{
    choiceClick(1);
}

void GraphicResultsForm::FormShow()
{
    PlaceWindowFrame(*this, QPoint(kScreenLeft, kScreenTop));
    // Every showing starts with the centre; selecting the button runs its
    // handler when another choice was left selected.
    RadioButton1->setChecked(true);

    setWindowTitle(caption());
    Button1->setText(QStringLiteral("&Close"));
    Button2->setText(QStringLiteral("&Print this graphic results"));
    for (std::size_t i = 0; i < m_radios.size(); ++i)
        m_radios[i]->setText(m_choices[i].radioCaption);
    Label1->setText(ClassicFormulasCaption());
    Label1->setVisible(classicResults());

    const PointChoice &centre = m_choices.front();
    ShowPointHistory(centre.column, centre.yCaption, centre.lineColor, centre.pointColor, centre.errorColor);
    Image1->setVisible(true);
    // The keyboard starts at the point choice, above the table.
    RadioButton1->setFocus(Qt::OtherFocusReason);
}

void GraphicResultsForm::FormHide()
{
    if (TForm1 *main = m_program.windows.Form1)
        main->show();
}

void GraphicResultsForm::Button1Click()
{
    hide();
}

void GraphicResultsForm::Button2Click()
{
    if (copyChartToClipboard)
        copyChartToClipboard();

    const QClipboard *clipboard = QApplication::clipboard();
    const QMimeData *content = clipboard->mimeData();
    if (content && content->hasImage())
        m_report.setPicture(clipboard->image());
    else
        m_program.desktop.informationBox(QStringLiteral("Information"),
                                         QStringLiteral("There is no bitmap on the Clipboard"));

    m_report.title().caption = caption();
    const int selected = selectedChoice();
    m_report.subtitle().caption =
        selected >= 0 ? WithoutMnemonic(m_radios[static_cast<std::size_t>(selected)]->text()) : QString();
    // The printed graphic is the one on the screen, so it carries the
    // window's caption, not that of a later run.
    m_report.formulas().caption = Label1->isVisibleTo(this) ? Label1->text() : QString();
    m_program.desktop.previewReport(m_report);
}

// ---------------------------------------------------------------------------
// The xy window

TForm6::TForm6(Program &program, TForm7 &report, QWidget *parent)
    : GraphicResultsForm(program, report, PointChoicesXY(), QStringLiteral(":/images/sketchxy.svg"), 153,
                         parent)
{
    setObjectName(QStringLiteral("Form6"));
}

void TForm6::RadioButton3Click()
{
    choiceClick(2);
}

QString TForm6::caption() const
{
    return QStringLiteral("Temperature for xy geometry");
}

const History &TForm6::history() const
{
    return programState().historyXY;
}

double TForm6::heatingTime() const
{
    return programState().resultsXY.heatingTime;
}

double TForm6::finishTemperature() const
{
    return programState().dataXY.finishTemp;
}

bool TForm6::classicResults() const
{
    return programState().classicResultsXY;
}

} // namespace resheat::ui
