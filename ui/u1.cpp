#include "ui/u1.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include "ui/ImageBox.h"

#include "files/DataFiles.h"
#include "ui/CalculationRun.h"
#include "ui/ErrorReport.h"
#include "ui/Settings.h"
#include "ui/u2.h"
#include "ui/u2a.h"
#include "ui/u11.h"
#include "ui/WindowPlacement.h"

// The resources live in a static library; make sure they are linked in.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace resheat::ui {

namespace {

constexpr double kSmallestDimension = 1e-7;
constexpr double kSmallestCentreTemperature = 1e-15;
constexpr int kHistoryRowTested = 10; // counted from 1

std::string LocalPath(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

QLabel *TitleLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = parent->font();
    font.setPixelSize(20);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

} // namespace

TForm1::TForm1(Program &program) : QMainWindow(nullptr), program_(program)
{
    InitResources();
    setObjectName(QStringLiteral("Form1"));
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(13);
    setFont(font);
    // The menus are windows of their own; they take the font too.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.svg")));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(688, 420);
    setCentralWidget(client);

    Label1 = TitleLabel(client, "Label1");
    Label1->move(168, 16);
    Label2 = TitleLabel(client, "Label2");
    Label2->move(128, 48);

    Image1 = new ImageBox(QStringLiteral(":/images/xy.svg"), client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 80, 281, 313);
    Image2 = new ImageBox(QStringLiteral(":/images/rz.svg"), client);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(376, 80, 281, 313);

    QMenuBar *bar = menuBar();
    Files1 = addSubmenu(bar, "Files1");
    ldfxy1 = addCommand(Files1, "ldfxy1", &TForm1::ldfxy1Click);
    ldfrz1 = addCommand(Files1, "ldfrz1", &TForm1::ldfrz1Click);
    e1 = addCommand(Files1, "e1", &TForm1::e1Click);

    Data1 = addSubmenu(bar, "Data1");
    dataforxy1 = addCommand(Data1, "dataforxy1", &TForm1::dataforxy1Click);
    Dataforrz1 = addCommand(Data1, "Dataforrz1", &TForm1::Dataforrz1Click);
    savedforxy1 = addCommand(Data1, "savedforxy1", &TForm1::savedforxy1Click);
    savedforrz1 = addCommand(Data1, "savedforrz1", &TForm1::savedforrz1Click);

    calculations1 = addSubmenu(bar, "calculations1");
    oblxy = addCommand(calculations1, "oblxy", &TForm1::oblxyClick);
    oblrz = addCommand(calculations1, "oblrz", &TForm1::oblrzClick);
    calculations1->addSeparator();
    classic1 = addCommand(calculations1, "classic1", &TForm1::classic1Click);
    classic1->setCheckable(true);

    Results1 = addSubmenu(bar, "Results1");
    rfxy1 = addSubmenu(Results1, "rfxy1");
    tr1 = addCommand(rfxy1, "tr1", &TForm1::tr1Click);
    gr1 = addCommand(rfxy1, "gr1", &TForm1::gr1Click);
    str1 = addCommand(rfxy1, "str1", &TForm1::str1Click);
    rfrz1 = addSubmenu(Results1, "rfrz1");
    tr2 = addCommand(rfrz1, "tr2", &TForm1::tr2Click);
    gr2 = addCommand(rfrz1, "gr2", &TForm1::gr2Click);
    str2 = addCommand(rfrz1, "str2", &TForm1::str2Click);

    Compare1 = addSubmenu(bar, "Compare1");
    cmpxy1 = addCommand(Compare1, "cmpxy1", &TForm1::cmpxy1Click);
    cmprz1 = addCommand(Compare1, "cmprz1", &TForm1::cmprz1Click);

    Help1 = addSubmenu(bar, "Help1");
    guide1 = addCommand(Help1, "guide1", &TForm1::guide1Click);
    about1 = addCommand(Help1, "about1", &TForm1::about1Click);
    guide1->setShortcut(QKeySequence::HelpContents);

    resize(688, 420 + bar->sizeHint().height());
    FormCreate();
}

QMenu *TForm1::addSubmenu(QWidget *parent, const char *name)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    // Placeholder until the first showing sets the caption.
    menu->setTitle(QString::fromLatin1(name));
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        bar->addMenu(menu);
    else
        static_cast<QMenu *>(parent)->addMenu(menu);
    return menu;
}

QAction *TForm1::addCommand(QMenu *menu, const char *name, void (TForm1::*handler)())
{
    QAction *action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TForm1::FormCreate()
{
    FillMaterialPresets(program_.state.presets);
    ClearDataXY(program_.state.dataXY);
    ClearDataRZ(program_.state.dataRZ);
    program_.state.classicFormulas = ReadClassicFormulas();
    classic1->setChecked(program_.state.classicFormulas);
}

void TForm1::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QMainWindow::showEvent(event);
}

void TForm1::FormShow()
{
    PlaceWindowFrame(*this, QPoint(10, 10));
    program_.state.fixedTimeXY = false;
    program_.state.fixedTimeRZ = false;
    setWindowTitle(QStringLiteral("Resistance heating"));
    SetCaptions();
    UpdateMenuState();
}

void TForm1::SetCaptions()
{
    Label1->setText(QStringLiteral("DIRECT RESISTANCE HEATING "));
    Label2->setText(QStringLiteral("Electroheat Laboratory"));
    // The first line stays where the design puts it; the second is centred
    // under it, whatever widths the fonts give them.
    Label1->adjustSize();
    Label2->adjustSize();
    Label2->move(Label1->x() + (Label1->width() - Label2->width()) / 2, Label2->y());

    // Alt and the underlined letter reach every command; no letter is used
    // twice on one menu.
    Files1->setTitle(QStringLiteral("&Files"));
    ldfxy1->setText(QStringLiteral("Read data for &xy"));
    ldfrz1->setText(QStringLiteral("Read data for &rz"));
    e1->setText(QStringLiteral("&Exit"));
    Data1->setTitle(QStringLiteral("&Data"));
    dataforxy1->setText(QStringLiteral("Data for &xy geometry"));
    Dataforrz1->setText(QStringLiteral("Data for &rz geometry"));
    savedforxy1->setText(QStringLiteral("Save data for x&y"));
    savedforrz1->setText(QStringLiteral("Save data for r&z"));
    calculations1->setTitle(QStringLiteral("&Calculations"));
    oblxy->setText(QStringLiteral("Calculations for &xy geometry"));
    oblrz->setText(QStringLiteral("Calculations for &rz geometry"));
    classic1->setText(QStringLiteral("C&lassic formulas"));
    Results1->setTitle(QStringLiteral("&Results"));
    rfxy1->setTitle(QStringLiteral("Results for &xy geometry"));
    tr1->setText(QStringLiteral("&Text results"));
    gr1->setText(QStringLiteral("&Graphic results"));
    str1->setText(QStringLiteral("&Save text results"));
    rfrz1->setTitle(QStringLiteral("Results for &rz geometry"));
    tr2->setText(QStringLiteral("&Text results"));
    gr2->setText(QStringLiteral("&Graphic results"));
    str2->setText(QStringLiteral("&Save text results"));
    Compare1->setTitle(QStringLiteral("Co&mpare"));
    cmpxy1->setText(QStringLiteral("Temperature-dependent, &xy geometry"));
    cmprz1->setText(QStringLiteral("Temperature-dependent, &rz geometry"));
    Help1->setTitle(QStringLiteral("&Help"));
    guide1->setText(QStringLiteral("&User guide"));
    about1->setText(QStringLiteral("&About ResHeat"));
}

void TForm1::UpdateMenuState()
{
    const ProgramState &s = program_.state;
    classic1->setChecked(s.classicFormulas);
    // The series refuse a case they cannot compute with a message that names
    // the value, so their commands stay enabled.  The classic formulas
    // compute whatever they get; their commands wait for plausible data (the
    // name is tested first; an empty name passes, a single blank does not).
    const bool plausibleXY = s.dataXY.name.str() != " " && s.dataXY.length > kSmallestDimension &&
                             s.dataXY.width > kSmallestDimension && s.dataXY.thickness > kSmallestDimension;
    const bool plausibleRZ = s.dataRZ.name.str() != " " && s.dataRZ.length > kSmallestDimension &&
                             s.dataRZ.diameter > kSmallestDimension && s.dataRZ.density > kSmallestDimension;
    oblxy->setEnabled(!s.classicFormulas || plausibleXY);
    rfxy1->menuAction()->setEnabled(s.historyXY[kHistoryRowTested - 1][1] > kSmallestCentreTemperature);
    oblrz->setEnabled(!s.classicFormulas || plausibleRZ);
    rfrz1->menuAction()->setEnabled(s.historyRZ[kHistoryRowTested - 1][1] > kSmallestCentreTemperature);
    // Comparing runs both calculations of the case, always with the series.
    cmpxy1->setEnabled(true);
    cmprz1->setEnabled(true);
}

void TForm1::OpenWindow(QWidget *window)
{
    if (!window)
        return;
    hide();
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm1::ldfxy1Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.openFileDialog(OpenDialogxy))
            ReadDataXY(OpenDialogxy.fileName);
        else
            UpdateMenuState();
    });
}

void TForm1::ldfrz1Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.openFileDialog(OpenDialogrz))
            ReadDataRZ(OpenDialogrz.fileName);
        else
            UpdateMenuState();
    });
}

void TForm1::ReadDataXY(const QString &fileName)
{
    RunGuarded(program_.desktop, [this, &fileName] {
        OpenDialogxy.fileName = fileName;
        DesktopHost host(program_.desktop);
        LoadDataXY(LocalPath(fileName), program_.state.dataXY, host);
        UpdateMenuState();
    });
}

void TForm1::ReadDataRZ(const QString &fileName)
{
    RunGuarded(program_.desktop, [this, &fileName] {
        OpenDialogrz.fileName = fileName;
        DesktopHost host(program_.desktop);
        LoadDataRZ(LocalPath(fileName), program_.state.dataRZ, host);
        UpdateMenuState();
    });
}

void TForm1::e1Click()
{
    program_.endProgram();
}

void TForm1::dataforxy1Click()
{
    OpenWindow(program_.windows.Form2);
}

void TForm1::Dataforrz1Click()
{
    OpenWindow(program_.windows.Form2a);
}

void TForm1::savedforxy1Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.saveFileDialog(SaveDialogxy))
            SaveDataXY(LocalPath(SaveDialogxy.fileName), program_.state.dataXY);
    });
}

void TForm1::savedforrz1Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.saveFileDialog(SaveDialogrz))
            SaveDataRZ(LocalPath(SaveDialogrz.fileName), program_.state.dataRZ);
    });
}

void TForm1::oblxyClick()
{
    // A fault abandons the command before the menu update.
    RunGuarded(program_.desktop, [this] {
        RunCalculationXY(program_);
        UpdateMenuState();
    });
}

void TForm1::oblrzClick()
{
    RunGuarded(program_.desktop, [this] {
        RunCalculationRZ(program_);
        UpdateMenuState();
    });
}

void TForm1::classic1Click()
{
    program_.state.classicFormulas = classic1->isChecked();
    WriteClassicFormulas(program_.state.classicFormulas);
    UpdateMenuState();
}

void TForm1::tr1Click()
{
    OpenWindow(program_.windows.Form5);
}

void TForm1::gr1Click()
{
    OpenWindow(program_.windows.Form6);
}

void TForm1::str1Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.saveFileDialog(SaveDialogtxt))
            SaveTextResultsXY(LocalPath(SaveDialogtxt.fileName), program_.state.dataXY, program_.state.resultsXY);
    });
}

void TForm1::tr2Click()
{
    OpenWindow(program_.windows.Form5a);
}

void TForm1::gr2Click()
{
    OpenWindow(program_.windows.Form6a);
}

void TForm1::str2Click()
{
    RunGuarded(program_.desktop, [this] {
        if (program_.desktop.saveFileDialog(SaveDialogtxt))
            SaveTextResultsRZ(LocalPath(SaveDialogtxt.fileName), program_.state.dataRZ, program_.state.resultsRZ);
    });
}

void TForm1::cmpxy1Click()
{
    OpenWindow(program_.windows.Form9);
}

void TForm1::cmprz1Click()
{
    OpenWindow(program_.windows.Form9a);
}

// The guide stays beside the program's windows: the main window stays.
void TForm1::guide1Click()
{
    if (QWidget *guide = program_.windows.Form11) {
        guide->show();
        guide->raise();
        guide->activateWindow();
    }
}

void TForm1::about1Click()
{
    program_.desktop.aboutBox(QStringLiteral("About ResHeat"), AboutText());
}

} // namespace resheat::ui
