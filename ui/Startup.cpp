#include "ui/Startup.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>

#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"
#include "ui/u3.h"
#include "ui/u4.h"
#include "ui/u5.h"
#include "ui/u5a.h"
#include "ui/u6.h"
#include "ui/u6a.h"
#include "ui/u7.h"
#include "ui/u7a.h"
#include "ui/u8.h"
#include "ui/u8a.h"
#include "ui/u9.h"
#include "ui/u9a.h"
#include "ui/u11.h"

namespace resheat::ui {

bool DisplayReachable(const QByteArray &display, const QByteArray &waylandDisplay, const QByteArray &platform)
{
    if (!platform.isEmpty() || !waylandDisplay.isEmpty())
        return true; // chosen by the user; the platform reports its own problems
    if (display.isEmpty())
        return false;
    // Ask the X client library the platform plugin uses; where it is not
    // there, the plugin cannot work either and Qt will say why.
    QLibrary xcb(QStringLiteral("xcb"), 1);
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    const auto connect = reinterpret_cast<Connect>(xcb.resolve("xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(xcb.resolve("xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(xcb.resolve("xcb_disconnect"));
    if (!connect || !hasError || !disconnect)
        return true;
    void *connection = connect(display.constData(), nullptr);
    const bool reachable = connection && hasError(connection) == 0;
    if (connection)
        disconnect(connection);
    return reachable;
}

Application::Application(ProgramState &state, Desktop &desktop)
    : program_(state, desktop), chartChoosers_(desktop)
{
    previousChartChoosers_ = VxChartSetChoosers(&chartChoosers_);
    previousChartSeparator_ = VxChartSetDecimalSeparator([] { return QLocale().decimalPoint(); });
    Windows &w = program_.windows;
    w.Form1 = create(new TForm1(program_));
    w.Form2 = create(new TForm2(program_));
    w.Form3 = create(new TForm3());
    w.Form4 = create(new TForm4());
    hostXY_ = std::make_unique<DesktopHost>(desktop, w.Form3);
    hostRZ_ = std::make_unique<DesktopHost>(desktop, w.Form4);
    w.Form5 = create(new TForm5(program_));
    form7_ = std::make_unique<TForm7>();
    w.Form7 = form7_.get();
    form8_ = std::make_unique<TForm8>();
    w.Form8 = form8_.get();
    w.Form2a = create(new TForm2a(program_));
    w.Form5a = create(new TForm5a(program_));
    form7a_ = std::make_unique<Tform7a>();
    w.form7a = form7a_.get();
    form8a_ = std::make_unique<TForm8a>();
    w.Form8a = form8a_.get();
    w.Form6a = create(new TForm6a(program_, *w.form7a));
    w.Form6 = create(new TForm6(program_, *w.Form7));
    w.Form9 = create(new TForm9(program_));
    w.Form9a = create(new TForm9a(program_));
    w.Form11 = create(new TForm11());
}

Application::~Application()
{
    // The other windows go first: hiding them must not bring back a main
    // window that no longer exists.
    program_.windows = Windows{};
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete *it;
    VxChartSetChoosers(previousChartChoosers_);
    VxChartSetDecimalSeparator(std::move(previousChartSeparator_));
}

void ReadStartFile(Application &program, const CommandLine &line)
{
    if (line.caseFile.empty())
        return;
    if (line.geometry == CaseGeometry::Unknown) {
        program.program().desktop.messageBox(QStringLiteral("Execution Error"),
                                             QString::fromLocal8Bit(line.caseProblem.c_str()));
        return;
    }
    const QString fileName = QFileInfo(QFile::decodeName(line.caseFile.c_str())).absoluteFilePath();
    if (line.geometry == CaseGeometry::XY)
        program.windows().Form1->ReadDataXY(fileName);
    else
        program.windows().Form1->ReadDataRZ(fileName);
}

void Application::showMainWindow()
{
    program_.windows.Form1->show();
}

} // namespace resheat::ui
