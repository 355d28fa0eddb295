// Unit u1: the main window.  Its menu is the program's only entry point;
// it keeps no data of its own beyond the file dialogs' last names.
#pragma once

#include <QMainWindow>

#include "ui/Desktop.h"
#include "ui/Program.h"

class QLabel;
class QMenu;
class QAction;

namespace resheat::ui {

class ImageBox;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Program &program);

    // Enables the calculation commands for plausible data and the results
    // submenus once a run has filled the temperature history.
    void UpdateMenuState();

    // Reads a case data file as "Read data for xy" / "Read data for rz" do
    // once their dialog has a name: the same loader and messages, the menu
    // state recomputed, and the dialog starting from that file next time.
    void ReadDataXY(const QString &fileName);
    void ReadDataRZ(const QString &fileName);

    QLabel *Label1;
    QLabel *Label2;
    ImageBox *Image1;
    ImageBox *Image2;

    QMenu *Files1;
    QAction *ldfxy1;
    QAction *ldfrz1;
    QAction *e1;
    QMenu *Data1;
    QAction *dataforxy1;
    QAction *Dataforrz1;
    QAction *savedforxy1;
    QAction *savedforrz1;
    QMenu *calculations1;
    QAction *oblxy;
    QAction *oblrz;
    QAction *classic1; // "Classic formulas", checkable, remembered between runs
    QMenu *Results1;
    QMenu *rfxy1;
    QAction *tr1;
    QAction *gr1;
    QAction *str1;
    QMenu *rfrz1;
    QAction *tr2;
    QAction *gr2;
    QAction *str2;
    QMenu *Compare1;
    QAction *cmpxy1;
    QAction *cmprz1;
    QMenu *Help1;
    QAction *guide1;   // "User guide" (F1)
    QAction *about1;   // "About ResHeat"

    FileDialogState OpenDialogxy{QStringLiteral("data xy|*.dxy"), QStringLiteral("dxy"), {}};
    FileDialogState SaveDialogxy{QStringLiteral("data xy|*.dxy"), QStringLiteral("dxy"), {}};
    FileDialogState OpenDialogrz{QStringLiteral("data rz|*.drz"), QStringLiteral("drz"), {}};
    FileDialogState SaveDialogrz{QStringLiteral("data rz|*.drz"), QStringLiteral("drz"), {}};
    FileDialogState SaveDialogtxt{QStringLiteral("txt|*.txt"), QStringLiteral("txt"), {}};

    // Menu commands.
    void ldfxy1Click();
    void ldfrz1Click();
    void e1Click();
    void dataforxy1Click();
    void Dataforrz1Click();
    void savedforxy1Click();
    void savedforrz1Click();
    void oblxyClick();
    void oblrzClick();
    void classic1Click();
    void tr1Click();
    void gr1Click();
    void str1Click();
    void tr2Click();
    void gr2Click();
    void str2Click();
    void cmpxy1Click();
    void cmprz1Click();
    void guide1Click();
    void about1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void SetCaptions();
    // Hides the main window and brings `window` up; nothing happens while
    // the window's unit is not part of the program.
    void OpenWindow(QWidget *window);
    QAction *addCommand(QMenu *menu, const char *name, void (TForm1::*handler)());
    QMenu *addSubmenu(QWidget *parent, const char *name);

    Program &program_;
};

} // namespace resheat::ui
